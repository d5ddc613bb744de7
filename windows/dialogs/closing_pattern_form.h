// A closing pattern as the controls of the pattern dialog show it: which
// risk-table columns it tests, to which values, and how the variation
// margin and qualified clients count.
#pragma once

#include "module/settings/closing_pattern.h"
#include "windows/dialogs/dialog_controls.h"

enum ClosingPatternControl : int {
  kPatternOkButton = IDOK,
  kPatternNameEdit = 1117,
  kPatternColumnCombo = 1107,
  kPatternBoundaryEdit = 1108,
  kPatternNotMoreThanPlannedBox = 1198,
  kPatternUnitedColumnCombo = 1109,
  kPatternUnitedValueLabel = 1171,
  kPatternMinMarginEdit = 1112,
  kPatternQualMarginEdit = 1113,
  kPatternQualClientBox = 1111,
  kPatternWithoutSpotBox = 1103,
  kPatternAnyVarMarginRadio = 1167,
  kPatternNegativeVarMarginRadio = 1168,
  kPatternPositiveVarMarginRadio = 1169,
  kPatternNoVarMarginRadio = 1170,
};

// Risk-table columns that the pattern tests by name.
enum : int { kPlannedNetPositionColumn = 8, kModifiedMarginLevelColumn = 23 };

// Shows the pattern. A pattern with no column for clients of a united
// position takes the modified united margin level (the copy is changed);
// one with no column for the others shows the planned net position chosen.
void FillClosingPatternControls(TClosingPattern& pattern, IDialogControls& controls);
// The choice for clients of a united position counts at once: it decides
// how the level shows and which controls take input.
void TakeUnitedColumnChoice(const IDialogControls& controls, TClosingPattern& pattern);
// Run at the start and after each choice of a column or click on the
// qualified-client box.
void UpdateClosingPatternControls(const TClosingPattern& pattern, IDialogControls& controls);
// A pattern is confirmed only with a column chosen for clients without a
// united position; OK is disabled, and refused by keyboard too, until then.
bool ClosingPatternConfirmable(const IDialogControls& controls);
// What OK keeps.
void TakeClosingPatternControls(const IDialogControls& controls, TClosingPattern& pattern);
