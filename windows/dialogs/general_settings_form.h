// The general settings as the controls of the general settings dialog show
// them: the recalculation period in seconds, the client kinds, how assets
// and variation margin count, the risk-table colours, the client filter
// file and the mail log.
#pragma once

#include "module/settings/module_settings.h"
#include "windows/dialogs/dialog_controls.h"

enum GeneralSettingsControl : int {
  kRecalcIntervalEdit = 1010,
  kClientsWithoutUnitedBox = 1159,
  kClientsUnitedWithSpotBox = 1160,
  kClientsUnitedWithoutSpotBox = 1161,
  kUseTotalAssetsBox = 1055,
  kAnyVarMarginRadio = 1163,
  kNegativeVarMarginRadio = 1164,
  kPositiveVarMarginRadio = 1165,
  kNoVarMarginRadio = 1166,
  kNormalColorChooser = 1023,
  kWarningColorChooser = 1024,
  kCriticalColorChooser = 1025,
  kFilterFromFileBox = 1096,
  kFilterFileEdit = 1097,
  kFilterFileBrowse = 1098,
  kFilterReloadButton = 1099,
  kMailLogLevelCombo = 1188,
  kLogFileNameEdit = 1189,
};

// Why OK keeps the dialog open: the period is below zero or too long for
// the timer (no more than 2147483 seconds).
extern const char kRecalcIntervalRefusal[];

void FillGeneralSettingsControls(const TModuleSettings& settings, IDialogControls& controls);
// Run at the start and after each click on the filter-from-file box: the
// file can be chosen and reloaded only while the filter is read from it.
void EnableFilterFileButtons(IDialogControls& controls);
// What OK keeps; with no mail log level chosen, -1 (nothing is logged). A
// period that the timer cannot run is refused: false, the settings left as
// they were.
bool TakeGeneralSettingsControls(const IDialogControls& controls, TModuleSettings& settings);
