// The closing settings as the controls of the closing settings dialog show
// them, what OK keeps, which buttons take a click, and the edits of the
// pattern list that the dialog's commands make on its copy.
#pragma once

#include "module/settings/closing_settings.h"
#include "windows/dialogs/closing_instruments.h"
#include "windows/dialogs/dialog_controls.h"

#include <string>

enum ClosingSettingsControl : int {
  kClosingBaseAssetsBox = 1226,
  kClosingAvailableList = 1151,
  kClosingUsedList = 1152,
  kClosingAddButton = 1147,
  kClosingAddAllButton = 1148,
  kClosingRemoveButton = 1149,
  kClosingClearButton = 1150,
  kClosingUpButton = 1145,
  kClosingDownButton = 1146,
  kClosingNamesBox = 1156,
  kClosingActualizeButton = 1157,
  kClosingNotTradedText = 1158,
  kClosingHiddenText = 1159,
  kClosingSpreadEdit = 1118,
  kClosingCommentEdit = 1119,
  kClosingActiveOrdersBox = 1102,
  kClosingFilterByCommentBox = 1120,
  kClosingPatternList = 1115,
  kClosingAddPatternButton = 1114,
  kClosingEditPatternButton = 1116,
  kClosingDeletePatternButton = 1117,
  kClosingDefaultPatternButton = 1121,
  kClosingScheduleList = 1202,
  kClosingAddEntryButton = 1122,
  kClosingEditEntryButton = 1123,
  kClosingDeleteEntryButton = 1124,
  kClosingAutoCloseBox = 1199,
};

// The fields and switches; the instrument and pattern lists are filled apart.
void FillClosingSettingsControls(const TClosingSettings& closing, IDialogControls& controls);
// Short names and bringing the list up to date belong to securities, not to
// base assets: their controls follow UseBaseActive.
void EnableSecurityControls(const TClosingSettings& closing, IDialogControls& controls);
// The warnings under the instrument lists: a chosen security not traded,
// and how many chosen instruments the host does not list now (kept unseen).
void ShowInstrumentNotes(const CClosingInstrumentLists& lists, IDialogControls& controls);
// What OK keeps of the fields and switches.
void TakeClosingSettingsControls(const IDialogControls& controls, TClosingSettings& closing);
// The buttons that act on the instrument lists take a click only when they
// have something to act on; filtering by comment needs a comment.
void UpdateClosingButtons(const TListEntries& available, const TListEntries& used, IDialogControls& controls);

// "Основной" for the first live pattern, else "Шаблон N" with the smallest
// N that no pattern (deleted ones too) is named.
std::string NewPatternName(const TClosingSettings& closing);
// Appends the pattern; the first live one becomes the default.
void AddPattern(TClosingSettings& closing, const TClosingPattern& pattern);
// The question asked before the pattern at index is deleted.
std::string PatternDeletionQuestion(const TClosingSettings& closing, int index);
// Marks the pattern deleted (the indices of the others do not move while the
// dialog runs); the default passes to the next live pattern, and the
// auto-close entries of the pattern name none.
void DeletePattern(TClosingSettings& closing, int index);
