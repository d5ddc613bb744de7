#include "windows/dialogs/closing_pattern_form.h"

#include "windows/dialogs/control_bindings.h"
#include "windows/tables/table_columns.h"

#include <vector>

namespace {

constexpr int kNoColumn = -1;
constexpr int kDecimals = 2;
constexpr double kPercent = 100.0;
constexpr char kMarginLevelLabel[] = "Мин. уровень маржи";
constexpr char kParameterValueLabel[] = "Значение параметра";

const int kColumns[] = {kPlannedNetPositionColumn, 6, 7, 17, 18, 19, 20, 21};
const int kUnitedColumns[] = {kModifiedMarginLevelColumn, 6, 7, 18, 19, 20, 21};
const int kVarMarginRadios[] = {kPatternAnyVarMarginRadio, kPatternNegativeVarMarginRadio,
                                kPatternPositiveVarMarginRadio, kPatternNoVarMarginRadio};

const TTextBinding<TClosingPattern> kName = {kPatternNameEdit, &TClosingPattern::PatternName};
const TSelectionBinding<TClosingPattern> kColumn = {kPatternColumnCombo, &TClosingPattern::ParamIdx};
const TSelectionBinding<TClosingPattern> kUnitedColumn = {kPatternUnitedColumnCombo, &TClosingPattern::ParamIdx2};

const TCheckBinding<TClosingPattern> kChecks[] = {
    {kPatternNotMoreThanPlannedBox, &TClosingPattern::NotMoreThanPlanned},
    {kPatternQualClientBox, &TClosingPattern::ConsiderQualClient},
    {kPatternWithoutSpotBox, &TClosingPattern::ActWithoutSpotPos},
};

const TNumberBinding<TClosingPattern> kNumbers[] = {
    {kPatternBoundaryEdit, &TClosingPattern::BoundaryValue, kDecimals, 1.0},
    {kPatternQualMarginEdit, &TClosingPattern::MinMarginForQualClients, kDecimals, kPercent},
};

// The level is a margin level, shown in percent, only while the united
// column is the modified margin level; any other column's value is as typed.
const TNumberBinding<TClosingPattern> kMarginLevel = {kPatternMinMarginEdit, &TClosingPattern::MinMarginLvl,
                                                      kDecimals, kPercent};
const TNumberBinding<TClosingPattern> kParameterValue = {kPatternMinMarginEdit, &TClosingPattern::MinMarginLvl,
                                                         kDecimals, 1.0};

const TRadioGroupBinding<TClosingPattern> kVarMargin = {
    &TClosingPattern::UseVarMargin,
    {{kPatternAnyVarMarginRadio, 1},
     {kPatternNegativeVarMarginRadio, 2},
     {kPatternPositiveVarMarginRadio, 3},
     {kPatternNoVarMarginRadio, 4}},
    4};

bool TestsMarginLevel(const TClosingPattern& pattern) {
  return pattern.ParamIdx2 == kModifiedMarginLevelColumn;
}

const TNumberBinding<TClosingPattern>& LevelBinding(const TClosingPattern& pattern) {
  return TestsMarginLevel(pattern) ? kMarginLevel : kParameterValue;
}

template <std::size_t N>
std::vector<TControlItem> ColumnItems(const int (&columns)[N]) {
  std::vector<TControlItem> items;
  for (int column : columns) items.push_back({RiskColumnTitle(column), column});
  return items;
}

}  // namespace

void FillClosingPatternControls(TClosingPattern& pattern, IDialogControls& controls) {
  Fill(kName, pattern, controls);
  controls.SetItems(kPatternColumnCombo, ColumnItems(kColumns));
  controls.SetItems(kPatternUnitedColumnCombo, ColumnItems(kUnitedColumns));
  const int shownColumn = pattern.ParamIdx == kNoColumn ? kPlannedNetPositionColumn : pattern.ParamIdx;
  controls.SelectItemData(kPatternColumnCombo, shownColumn);
  if (pattern.ParamIdx2 == kNoColumn) pattern.ParamIdx2 = kModifiedMarginLevelColumn;
  Fill(kUnitedColumn, pattern, controls);
  FillAll(kNumbers, pattern, controls);
  Fill(kVarMargin, pattern, controls);
  FillAll(kChecks, pattern, controls);
  Fill(LevelBinding(pattern), pattern, controls);
  UpdateClosingPatternControls(pattern, controls);
}

void TakeUnitedColumnChoice(const IDialogControls& controls, TClosingPattern& pattern) {
  Take(kUnitedColumn, controls, pattern);
}

// Not more than the negative planned net position means nothing while the
// planned net position is itself the tested column; the box follows the
// column chosen on screen, not the one stored before.
void UpdateClosingPatternControls(const TClosingPattern& pattern, IDialogControls& controls) {
  const auto column = controls.SelectedItemData(kPatternColumnCombo);
  controls.Enable(kPatternOkButton, ClosingPatternConfirmable(controls));
  controls.Enable(kPatternNotMoreThanPlannedBox, column != kPlannedNetPositionColumn);
  const bool marginLevel = TestsMarginLevel(pattern);
  controls.SetText(kPatternUnitedValueLabel, marginLevel ? kMarginLevelLabel : kParameterValueLabel);
  for (int radio : kVarMarginRadios) controls.Enable(radio, marginLevel);
  controls.Enable(kPatternWithoutSpotBox, marginLevel);
  controls.Enable(kPatternQualClientBox, marginLevel);
  controls.Enable(kPatternQualMarginEdit, marginLevel && controls.Checked(kPatternQualClientBox));
}

bool ClosingPatternConfirmable(const IDialogControls& controls) {
  return controls.SelectedItemData(kPatternColumnCombo).has_value();
}

void TakeClosingPatternControls(const IDialogControls& controls, TClosingPattern& pattern) {
  Take(kName, controls, pattern);
  Take(kColumn, controls, pattern);
  Take(kVarMargin, controls, pattern);
  TakeAll(kChecks, controls, pattern);
  TakeAll(kNumbers, controls, pattern);
  Take(LevelBinding(pattern), controls, pattern);
}
