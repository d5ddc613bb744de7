#include "windows/dialogs/settings_general_dlg.h"

#include "module/host_data/client_filter_file.h"
#include "module/vantrel_module.h"
#include "sdk/modal_loops.h"
#include "windows/dialogs/general_settings_form.h"

#include <commdlg.h>

namespace {
constexpr UINT kTemplate = 103;
constexpr uint32_t kDialogKind = 210605;
constexpr int kPathCapacity = 260;
constexpr int kIntervalFractionDigits = 0;
constexpr int kIntervalIntegerDigits = 10;
}  // namespace

CVantrelSettingsGeneralDlg::CVantrelSettingsGeneralDlg(const TModuleSettings& live)
    : CZPluginDialog("Настройки", kTemplate, kDialogKind), m_settings(live) {}

int CVantrelSettingsGeneralDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  CDialogItemControls controls(GetDialogWindow());
  FillGeneralSettingsControls(m_settings, controls);
  return result;
}

int CVantrelSettingsGeneralDlg::OnCommandId(int id, int code, int third) {
  if (id == kRecalcIntervalEdit)
    g_pPluginModule->ValidateDecimalDlgItem(GetDialogWindow(), id, code, kIntervalFractionDigits,
                                            kIntervalIntegerDigits, 0, 0);
  if (code == BN_CLICKED) {
    if (id == kFilterFromFileBox) {
      CDialogItemControls controls(GetDialogWindow());
      EnableFilterFileButtons(controls);
    }
    if (id == kFilterFileBrowse) BrowseFilterFile();
    if (id == kFilterReloadButton) ReloadClientFilter();
  }
  return CZPluginDialog::OnCommandId(id, code, third);
}

// The open-file dialog leaves the process's current folder where it was.
void CVantrelSettingsGeneralDlg::BrowseFilterFile() {
  char path[kPathCapacity] = "";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = GetDialogWindow();
  choice.lpstrFilter = "All (*.*)\0*.*\0";
  choice.lpstrFile = path;
  choice.nMaxFile = kPathCapacity;
  choice.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  if (ChooseFileToOpen(&choice)) SetDlgItemTextA(GetDialogWindow(), kFilterFileEdit, path);
}

// The file named on screen, whole, fills the module's own client filter
// now; Cancel does not take it back.
void CVantrelSettingsGeneralDlg::ReloadClientFilter() {
  const CDialogItemControls controls(GetDialogWindow());
  const std::string path = controls.Text(kFilterFileEdit);
  const EClientFilterRead result = g_pModule->ReadClientFilterFile(path, nullptr);
  if (result != EClientFilterRead::kPathTooLong) g_pModule->UpdateRiskTables();
  TellClientFilterFailure(GetDialogWindow(), result, path);
}

// A filter path too long to read is kept as typed: the module refuses it
// when it comes to read it, so the user is told now.
int CVantrelSettingsGeneralDlg::OnOK() {
  HWND window = GetDialogWindow();
  if (!TakeGeneralSettingsControls(CDialogItemControls(window), m_settings)) {
    ShowMessageBox(window, kRecalcIntervalRefusal, "Внимание", MB_OK | MB_ICONEXCLAMATION);
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, kRecalcIntervalEdit)), TRUE);
    return 1;
  }
  if (m_settings.NeedReadFilterFromFile && !ClientFilterPathFits(m_settings.FilterFileName))
    TellClientFilterFailure(window, EClientFilterRead::kPathTooLong, m_settings.FilterFileName);
  return CZPluginDialog::OnOK();
}
