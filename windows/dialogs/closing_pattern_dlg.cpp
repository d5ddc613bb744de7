#include "windows/dialogs/closing_pattern_dlg.h"

#include "sdk/plugin_module.h"
#include "windows/dialogs/closing_pattern_form.h"

namespace {
constexpr UINT kTemplate = 115;
constexpr uint32_t kDialogKind = 210605;
constexpr int kFractionDigits = 2;
constexpr int kIntegerDigits = 10;

bool IsNumberEdit(int id) {
  return id == kPatternBoundaryEdit || id == kPatternMinMarginEdit || id == kPatternQualMarginEdit;
}
}  // namespace

CVantrelClosingPatternDlg::CVantrelClosingPatternDlg(const TClosingPattern& pattern)
    : CZPluginDialog("Шаблон настроек закрытия", kTemplate, kDialogKind), m_pattern(pattern) {}

int CVantrelClosingPatternDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  const int result = CZPluginDialog::OnInitDialog(wParam, lParam);
  CDialogItemControls controls(GetDialogWindow());
  FillClosingPatternControls(m_pattern, controls);
  return result;
}

int CVantrelClosingPatternDlg::OnCommandId(int id, int code, int third) {
  HWND window = GetDialogWindow();
  if (IsNumberEdit(id)) {
    g_pPluginModule->ValidateDecimalDlgItem(window, id, code, kFractionDigits, kIntegerDigits, 0, 0);
    return CZPluginDialog::OnCommandId(id, code, third);
  }
  CDialogItemControls controls(window);
  if (id == kPatternUnitedColumnCombo && code == CBN_SELCHANGE) TakeUnitedColumnChoice(controls, m_pattern);
  if (code == CBN_SELCHANGE || (id == kPatternQualClientBox && code == BN_CLICKED))
    UpdateClosingPatternControls(m_pattern, controls);
  return CZPluginDialog::OnCommandId(id, code, third);
}

int CVantrelClosingPatternDlg::OnOK() {
  const CDialogItemControls controls(GetDialogWindow());
  if (!ClosingPatternConfirmable(controls)) return 1;
  TakeClosingPatternControls(controls, m_pattern);
  return CZPluginDialog::OnOK();
}
