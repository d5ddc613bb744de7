// One entry of the auto-close schedule as the controls of the schedule
// entry dialog show it: its time of day, its pattern and whether it closes
// the positions of all clients.
#pragma once

#include "module/settings/closing_settings.h"
#include "windows/dialogs/dialog_controls.h"

enum ScheduleEntryControl : int {
  kScheduleTimeEdit = 1203,
  kSchedulePatternCombo = 1204,
  kScheduleAllClientsBox = 1205,
};

// Why OK keeps the dialog open: the time is not a time of day.
extern const char kScheduleTimeRefusal[];

// The copy the dialog edits: for no entry a new one with no time yet, the
// first pattern and all clients; otherwise the entry as it is, except that
// the copy has never fired.
TScheduleEntry AutoCloseEntryToEdit(const TScheduleEntry* entry);

// Shows the entry with the live patterns of closing to choose from. An entry
// with no time yet shows an empty time.
void FillScheduleEntryControls(const TClosingSettings& closing, const TScheduleEntry& entry,
                               IDialogControls& controls);
// What OK keeps. A time that is not "hour:minute" of a time of day (00:00 to
// 23:59) is refused: false, the entry left as it was.
bool TakeScheduleEntryControls(const IDialogControls& controls, TScheduleEntry& entry);
