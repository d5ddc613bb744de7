// The closing settings command: the preparation windows close first (they
// hold orders formed by the settings about to change), the dialog edits a
// copy, and OK puts the copy in force. Patterns deleted in the dialog leave
// the list then, and the risk tables follow the new numbering: a table bound
// to a deleted pattern is bound to none.
#include "module/vantrel_module.h"

#include "module/settings/closing_pattern_removal.h"
#include "sdk/confirmation.h"
#include "windows/dialogs/closing_settings_dlg.h"
#include "windows/tables/risk_params_table.h"

void CVantrelModule::EditClosingSettings(HWND window) {
  if (HasPrepOrdersDialog() &&
      !UserConfirms(window,
                    "У вас открыто одно или несколько окон с заявками по закрытию позиций. Перед открытием диалога "
                    "настроек закрытия позиций эти окна будут автоматически закрыты. Продолжить?",
                    "Внимание!", MB_OKCANCEL | MB_ICONEXCLAMATION))
    return;
  // The host may have been done with the plug-in while the question was open.
  if (!IsRunning()) return;
  ClosePrepOrdersDialogs();
  CVantrelClosingSettingsDlg dialog(m_closing);
  if (dialog.DoModal(nullptr) != IDOK || !IsRunning()) return;
  TClosingSettings edited = dialog.Settings();
  KeepFiringMarks(edited.AutoCloseSchedule, m_closing.AutoCloseSchedule);
  m_closing = edited;
  const std::vector<int> renumbering = RemoveDeletedPatterns(m_closing);
  for (CTablePlugin* plugin : m_tables)
    if (auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(plugin))
      table->SetPatternIndex(RenumberedPattern(renumbering, table->GetPatternIndex()));
}
