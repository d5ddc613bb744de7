// The general and calculation settings commands: each dialog edits a copy
// that OK puts in force. General settings that decide which clients the risk
// tables show and how their values count bring the tables up to date; a new
// filter file is read at once and a new period restarts the recalculation
// timer. The schedules keep what fired while the dialog was open. Settings
// reach info.ini when the plug-in is unloaded.
#include "module/vantrel_module.h"

#include "windows/dialogs/calc_settings_dlg.h"
#include "windows/dialogs/settings_general_dlg.h"

void CVantrelModule::EditGeneralSettings() {
  CVantrelSettingsGeneralDlg dialog(m_settings);
  if (dialog.DoModal(nullptr) != 1) return;
  TModuleSettings edited = dialog.Settings();
  KeepFiringMarks(edited, m_settings);
  const bool intervalChanged = edited.RecalcRiskParamsInterval != m_settings.RecalcRiskParamsInterval;
  const bool filterChanged = edited.FilterFileName != m_settings.FilterFileName ||
                             edited.NeedReadFilterFromFile != m_settings.NeedReadFilterFromFile;
  const bool valuesChanged = intervalChanged || filterChanged || edited.ClientsType2 != m_settings.ClientsType2 ||
                             edited.UseTotalAssets != m_settings.UseTotalAssets ||
                             edited.UseVarMargin != m_settings.UseVarMargin;
  m_settings = edited;
  // The dialog's OK has told of a path too long already.
  if (filterChanged && m_settings.NeedReadFilterFromFile &&
      ReadClientFilterFile(m_settings.FilterFileName, nullptr) == EClientFilterRead::kUnreadable)
    TellClientFilterFailure(static_cast<HWND>(CallHost<25>(host::kMainFrame)), EClientFilterRead::kUnreadable,
                            m_settings.FilterFileName);
  if (valuesChanged) UpdateRiskTables();
  if (intervalChanged) RestartRecalcTimer();
}

void CVantrelModule::EditCalcSettings() {
  CVantrelCalcSettingsDlg dialog(m_calc);
  if (dialog.DoModal(nullptr) == 1) m_calc = dialog.Settings();
}
