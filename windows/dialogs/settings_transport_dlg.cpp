#include "windows/dialogs/settings_transport_dlg.h"

#include "sdk/confirmation.h"
#include "sdk/modal_loops.h"
#include "windows/dialogs/get_pass_dlg.h"
#include "windows/dialogs/transport_form.h"

#include <commdlg.h>

namespace {
constexpr UINT kTemplate = 104;
constexpr uint32_t kDialogKind = 210605;
constexpr int kPathCapacity = 512;

constexpr char kNoUidFileQuestion[] =
    "Без указания файла с соответствиями кодов клиентов и UID рассылка работать не будет. Продолжить?";

bool SwitchesControls(int id) {
  switch (id) {
    case kNotifyByEmailBox: case kAuthorisationBox: case kTraderMsgBox: case kMc2zBox:
    case kSmsBox: case kSaveToDbBox: case kSeparateEmailsBox:
      return true;
    default:
      return false;
  }
}
}  // namespace

CVantrelSettingsTransportDlg::CVantrelSettingsTransportDlg(const TTransportSettings& live)
    : CZPluginDialog("Параметры рассылки", kTemplate, kDialogKind), m_settings(live) {}

int CVantrelSettingsTransportDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  CDialogItemControls controls(GetDialogWindow());
  FillTransportControls(m_settings, controls);
  EnableTransportControls(controls);
  return result;
}

int CVantrelSettingsTransportDlg::OnCommandId(int id, int code, int third) {
  if (code == BN_CLICKED) {
    if (SwitchesControls(id)) {
      CDialogItemControls controls(GetDialogWindow());
      EnableTransportControls(controls);
    }
    if (id == kEmailsFileBrowse) BrowseInto(kEmailsFileEdit);
    if (id == kUidsFileBrowse) BrowseInto(kUidsFileEdit);
    if (id == kMailPasswordButton) EditPassword(IDS_MAIL_PASSWORD_LABEL, &TTransportSettings::MailPass);
    if (id == kDbPasswordButton) EditPassword(IDS_DB_PASSWORD_LABEL, &TTransportSettings::DBPassword);
  }
  return CZPluginDialog::OnCommandId(id, code, third);
}

// The open-file dialog leaves the process's current folder where it was:
// relative address file paths are read against it.
void CVantrelSettingsTransportDlg::BrowseInto(int editId) {
  char path[kPathCapacity] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = GetDialogWindow();
  choice.lpstrFilter = "All (*.*)\0*.*\0";
  choice.lpstrFile = path;
  choice.nMaxFile = kPathCapacity;
  choice.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (ChooseFileToOpen(&choice)) SetDlgItemTextA(GetDialogWindow(), editId, path);
}

void CVantrelSettingsTransportDlg::EditPassword(UINT labelId, std::string TTransportSettings::*password) {
  CVantrelGetPassDlg dialog(labelId, m_settings.*password);
  if (dialog.DoModal(GetDialogWindow()) == 1) m_settings.*password = dialog.GetPasswordText();
}

int CVantrelSettingsTransportDlg::OnOK() {
  HWND window = GetDialogWindow();
  TakeTransportControls(CDialogItemControls(window), m_settings);
  if (UidFileMissing(m_settings) &&
      !UserConfirms(window, kNoUidFileQuestion, "Предупреждение", MB_OKCANCEL | MB_ICONEXCLAMATION)) {
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, kUidsFileEdit)), TRUE);
    return 1;
  }
  return CZPluginDialog::OnOK();
}
