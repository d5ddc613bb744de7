#include "windows/dialogs/calc_settings_dlg.h"

#include "windows/dialogs/calc_settings_form.h"

namespace {
constexpr UINT kTemplate = 105;
constexpr uint32_t kDialogKind = 210605;
}  // namespace

CVantrelCalcSettingsDlg::CVantrelCalcSettingsDlg(const TCalcSettings& live)
    : CZPluginDialog("Параметры расчета", kTemplate, kDialogKind), m_settings(live) {}

int CVantrelCalcSettingsDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  CDialogItemControls controls(GetDialogWindow());
  FillCalcSettingsControls(m_settings, controls);
  return result;
}

int CVantrelCalcSettingsDlg::OnOK() {
  TakeCalcSettingsControls(CDialogItemControls(GetDialogWindow()), m_settings);
  return CZPluginDialog::OnOK();
}
