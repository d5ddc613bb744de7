// The notification settings command: the dialog edits a copy of the
// module's settings, which OK puts in force, then re-arms and recolours what
// the change calls for. A schedule entry whose time stayed keeps its firing,
// so OK never sends a day's call twice. Settings reach info.ini when the
// plug-in is unloaded.
#include "module/notification_changes.h"
#include "module/vantrel_module.h"
#include "windows/dialogs/notifications_dlg.h"

TNotificationChanges NotificationChanges(const TModuleSettings& before, const TModuleSettings& after) {
  TNotificationChanges changes;
  changes.rearmUp = before.UPParam != after.UPParam || before.UPLevel != after.UPLevel;
  changes.rearmMl2 = before.ML2Param != after.ML2Param || before.ML2Level != after.ML2Level ||
                     before.ML2LevelQual != after.ML2LevelQual || before.ConsiderQualClient != after.ConsiderQualClient;
  changes.rowColours =
      before.SFRWarningLevel != after.SFRWarningLevel || before.SFRCriticalLevel != after.SFRCriticalLevel ||
      before.SFRWarningLevel_fp != after.SFRWarningLevel_fp || before.SFRCriticalLevel_fp != after.SFRCriticalLevel_fp;
  return changes;
}

void CVantrelModule::EditNotificationSettings() {
  CVantrelNotificationsDlg dialog(m_settings);
  if (dialog.DoModal(nullptr) != 1) return;
  TModuleSettings edited = dialog.Settings();
  KeepFiringMarks(edited, m_settings);
  const TNotificationChanges changes = NotificationChanges(m_settings, edited);
  m_settings.CopyFrom(edited);
  if (changes.rearmUp || changes.rearmMl2) ResetClientMarks(changes.rearmUp, changes.rearmMl2);
  if (changes.rowColours) UpdateRiskTables();
}
