#include "windows/dialogs/edit_schedule_dlg.h"

#include "sdk/modal_loops.h"
#include "windows/dialogs/schedule_entry_form.h"

namespace {
constexpr UINT kTemplate = 121;
constexpr uint32_t kDialogKind = 210605;
}  // namespace

CVantrelEditScheduleDlg::CVantrelEditScheduleDlg(const TClosingSettings& closing, const TScheduleEntry* entry)
    : CZPluginDialog("Редактирование расписания", kTemplate, kDialogKind),
      m_closing(closing),
      m_entry(AutoCloseEntryToEdit(entry)) {}

int CVantrelEditScheduleDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  CDialogItemControls controls(GetDialogWindow());
  FillScheduleEntryControls(m_closing, m_entry, controls);
  return result;
}

int CVantrelEditScheduleDlg::OnOK() {
  HWND window = GetDialogWindow();
  if (!TakeScheduleEntryControls(CDialogItemControls(window), m_entry)) {
    ShowMessageBox(window, kScheduleTimeRefusal, "Внимание", MB_OK | MB_ICONEXCLAMATION);
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, kScheduleTimeEdit)), TRUE);
    return 1;
  }
  return CZPluginDialog::OnOK();
}
