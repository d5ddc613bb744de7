// The closing pattern as its dialog's controls show it and what OK keeps,
// without a window.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/fake_dialog_controls.h"
#include "windows/dialogs/closing_pattern_form.h"

namespace {

enum : int {
  kOk = 1, kName = 1117, kColumn = 1107, kBoundary = 1108, kNotMoreThanPlanned = 1198, kUnitedColumn = 1109,
  kLabel = 1171, kLevel = 1112, kQualLevel = 1113, kQualClient = 1111, kWithoutSpot = 1103,
  kAnyVm = 1167, kNegativeVm = 1168, kPositiveVm = 1169, kNoVm = 1170,
};

const std::vector<int> kSwitched = {kOk, kNotMoreThanPlanned, kAnyVm, kNegativeVm, kPositiveVm, kNoVm,
                                    kWithoutSpot, kQualClient, kQualLevel};

// A pattern whose every field differs from the defaults.
TClosingPattern Distinct() {
  TClosingPattern pattern;
  pattern.PatternName = "Ночной";
  pattern.ParamIdx = 17;
  pattern.BoundaryValue = 1234.5;
  pattern.NotMoreThanPlanned = true;
  pattern.ParamIdx2 = 23;
  pattern.MinMarginLvl = 0.37;
  pattern.MinMarginForQualClients = 0.12;
  pattern.UseVarMargin = 3;
  pattern.ConsiderQualClient = true;
  pattern.ActWithoutSpotPos = false;
  return pattern;
}

// The controls that take input, in the order of kSwitched, as 1 and 0.
std::string EnabledOnes(const FakeDialogControls& controls) {
  std::string ones;
  for (int id : kSwitched) ones += controls.Enabled(id) ? '1' : '0';
  return ones;
}

TEST(ClosingPatternForm, OffersTheColumnsInTheirOrder) {
  TClosingPattern pattern;
  FakeDialogControls controls;
  FillClosingPatternControls(pattern, controls);
  EXPECT_EQ(controls.ItemTexts(kColumn),
            (std::vector<std::string>{"План. чист. поз.=8", "Тек. чист. поз.=6",
                                      "Тек. чист. поз.(под открытые позиции)=7", "Текущая задолженность=17",
                                      "Достаточность средств=18", "Достаточность средств(под открытые позиции)=19",
                                      "Коэфф. ликвидности ГО=20", "Ожидаемый коэфф. ликвидности ГО=21"}));
  EXPECT_EQ(controls.ItemTexts(kUnitedColumn),
            (std::vector<std::string>{"Модиф. единый уровень маржи=23", "Тек. чист. поз.=6",
                                      "Тек. чист. поз.(под открытые позиции)=7", "Достаточность средств=18",
                                      "Достаточность средств(под открытые позиции)=19", "Коэфф. ликвидности ГО=20",
                                      "Ожидаемый коэфф. ликвидности ГО=21"}));
}

TEST(ClosingPatternForm, ShowsThePattern) {
  TClosingPattern fresh;
  TClosingPattern otherColumn = Distinct();
  otherColumn.ParamIdx2 = 18, otherColumn.MinMarginLvl = 1.25, otherColumn.UseVarMargin = 7;
  otherColumn.ParamIdx = 8;
  TClosingPattern unknownColumn = Distinct();
  unknownColumn.ParamIdx = 22, unknownColumn.ConsiderQualClient = false, unknownColumn.UseVarMargin = 1;
  struct Case {
    const char* what;
    TClosingPattern pattern;
    int column, unitedColumn;  // selected; -1 none
    std::vector<std::string> texts;  // 1117, 1108, 1171, 1112, 1113
    std::set<int> checked;
    std::string enabled;  // as EnabledOnes
  };
  const Case cases[] = {
      {"a distinct pattern", Distinct(), 17, 23, {"Ночной", "1234.50", "Мин. уровень маржи", "37.00", "12.00"},
       {kNotMoreThanPlanned, kQualClient, kPositiveVm}, "111111111"},
      {"a new pattern: the planned net position and the modified margin level", fresh, 8, 23,
       {"Шаблон", "0.00", "Мин. уровень маржи", "50.00", "25.00"}, {kWithoutSpot, kNoVm}, "101111110"},
      {"another united column: its value as stored, no variation margin choice", otherColumn, 8, 18,
       {"Ночной", "1234.50", "Значение параметра", "1.25", "12.00"}, {kNotMoreThanPlanned, kQualClient},
       "100000000"},
      {"a column not offered: nothing chosen, no OK", unknownColumn, -1, 23,
       {"Ночной", "1234.50", "Мин. уровень маржи", "37.00", "12.00"}, {kNotMoreThanPlanned, kAnyVm},
       "011111110"},
  };
  for (const Case& c : cases) {
    TClosingPattern pattern = c.pattern;
    FakeDialogControls controls;
    FillClosingPatternControls(pattern, controls);
    EXPECT_EQ(controls.SelectedItemData(kColumn).value_or(-1), c.column) << c.what;
    EXPECT_EQ(controls.SelectedItemData(kUnitedColumn).value_or(-1), c.unitedColumn) << c.what;
    std::vector<std::string> texts;
    for (int id : {kName, kBoundary, kLabel, kLevel, kQualLevel}) texts.push_back(controls.Text(id));
    EXPECT_EQ(texts, c.texts) << c.what;
    EXPECT_EQ(controls.checked, c.checked) << c.what;
    EXPECT_EQ(EnabledOnes(controls), c.enabled) << c.what;
  }
}

TEST(ClosingPatternForm, ANewPatternTakesTheModifiedMarginLevelAndKeepsItsOtherColumnUnset) {
  TClosingPattern pattern;
  FakeDialogControls controls;
  FillClosingPatternControls(pattern, controls);
  EXPECT_EQ(pattern.ParamIdx2, 23);
  EXPECT_EQ(pattern.ParamIdx, -1) << "only OK stores the column shown";
}

// The user's edits: each row changes some controls of a shown pattern; OK
// keeps what the row expects.
TEST(ClosingPatternForm, OkKeepsWhatTheControlsHold) {
  struct Case {
    const char* what;
    TClosingPattern pattern;
    std::function<void(FakeDialogControls&, TClosingPattern&)> edit;
    TClosingPattern expected;
  };
  TClosingPattern edited = Distinct();
  edited.PatternName = "Дневной", edited.ParamIdx = 6, edited.BoundaryValue = 12.5, edited.UseVarMargin = 1;
  edited.NotMoreThanPlanned = false, edited.ConsiderQualClient = false, edited.ActWithoutSpotPos = true;
  edited.MinMarginLvl = 0.4, edited.MinMarginForQualClients = 0.1;
  TClosingPattern otherUnited = Distinct();
  otherUnited.ParamIdx2 = 19, otherUnited.MinMarginLvl = 37.0;
  TClosingPattern noRadio = Distinct();
  noRadio.UseVarMargin = 4;
  TClosingPattern fresh;
  TClosingPattern freshKept;
  freshKept.ParamIdx = 8, freshKept.ParamIdx2 = 23;
  TClosingPattern marginAgain = Distinct();
  marginAgain.ParamIdx2 = 20, marginAgain.MinMarginLvl = 0.75;
  TClosingPattern backToMargin = marginAgain;
  backToMargin.ParamIdx2 = 23, backToMargin.MinMarginLvl = 0.0075;
  const Case cases[] = {
      {"every field edited", Distinct(),
       [](FakeDialogControls& controls, TClosingPattern&) {
         controls.texts[kName] = "Дневной";
         controls.SelectItemData(kColumn, 6);
         controls.texts[kBoundary] = "12.5";
         controls.checked = {kAnyVm, kWithoutSpot};
         controls.texts[kLevel] = "40";
         controls.texts[kQualLevel] = "10";
       },
       edited},
      {"another united column: the level as typed", Distinct(),
       [](FakeDialogControls& controls, TClosingPattern& pattern) {
         controls.SelectItemData(kUnitedColumn, 19);
         TakeUnitedColumnChoice(controls, pattern);
       },
       otherUnited},
      {"the modified margin level chosen again: the level in percent", marginAgain,
       [](FakeDialogControls& controls, TClosingPattern& pattern) {
         controls.SelectItemData(kUnitedColumn, 23);
         TakeUnitedColumnChoice(controls, pattern);
       },
       backToMargin},
      {"no radio ticked", Distinct(), [](FakeDialogControls& controls, TClosingPattern&) { controls.checked.erase(kPositiveVm); },
       noRadio},
      {"a new pattern kept as shown", fresh, [](FakeDialogControls&, TClosingPattern&) {}, freshKept},
  };
  for (const Case& c : cases) {
    TClosingPattern pattern = c.pattern;
    FakeDialogControls controls;
    FillClosingPatternControls(pattern, controls);
    c.edit(controls, pattern);
    TakeClosingPatternControls(controls, pattern);
    EXPECT_EQ(pattern.PatternName, c.expected.PatternName) << c.what;
    EXPECT_EQ(pattern.ParamIdx, c.expected.ParamIdx) << c.what;
    EXPECT_DOUBLE_EQ(pattern.BoundaryValue, c.expected.BoundaryValue) << c.what;
    EXPECT_EQ(pattern.NotMoreThanPlanned, c.expected.NotMoreThanPlanned) << c.what;
    EXPECT_EQ(pattern.ParamIdx2, c.expected.ParamIdx2) << c.what;
    EXPECT_DOUBLE_EQ(pattern.MinMarginLvl, c.expected.MinMarginLvl) << c.what;
    EXPECT_DOUBLE_EQ(pattern.MinMarginForQualClients, c.expected.MinMarginForQualClients) << c.what;
    EXPECT_EQ(pattern.UseVarMargin, c.expected.UseVarMargin) << c.what;
    EXPECT_EQ(pattern.ConsiderQualClient, c.expected.ConsiderQualClient) << c.what;
    EXPECT_EQ(pattern.ActWithoutSpotPos, c.expected.ActWithoutSpotPos) << c.what;
  }
}

// The label and the controls that take input follow the choices on screen.
TEST(ClosingPatternForm, ControlsFollowTheChoices) {
  const struct {
    int column, unitedColumn;
    bool qualClient;
    const char* label;
    std::string enabled;
  } cases[] = {
      {8, 23, false, "Мин. уровень маржи", "101111110"}, {17, 23, true, "Мин. уровень маржи", "111111111"},
      {6, 18, true, "Значение параметра", "110000000"},  {8, 21, false, "Значение параметра", "100000000"},
  };
  for (const auto& c : cases) {
    TClosingPattern pattern;
    FakeDialogControls controls;
    FillClosingPatternControls(pattern, controls);
    controls.SelectItemData(kColumn, c.column);
    controls.SelectItemData(kUnitedColumn, c.unitedColumn);
    TakeUnitedColumnChoice(controls, pattern);
    controls.SetChecked(kQualClient, c.qualClient);
    UpdateClosingPatternControls(pattern, controls);
    EXPECT_EQ(controls.Text(kLabel), c.label) << c.column << "/" << c.unitedColumn;
    EXPECT_EQ(EnabledOnes(controls), c.enabled) << c.column << "/" << c.unitedColumn;
  }
}

}  // namespace
