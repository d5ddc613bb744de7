#include "module/settings/closing_settings.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace {

const char kSection[] = "Vantrel";
const char kAutoClose[] = "Vantrel-AutoClose";

TClosingPattern DistinctPattern(int n) {
  TClosingPattern p;
  p.PatternName = "Шаблон закрытия " + std::to_string(n);
  p.ParamIdx = 10 + n;
  p.BoundaryValue = 0.25 * n;
  p.NotMoreThanPlanned = true;
  p.ParamIdx2 = 20 + n;
  p.MinMarginLvl = 0.75;
  p.MinMarginForQualClients = 0.125;
  p.UseVarMargin = n % 4;
  p.ConsiderQualClient = true;
  p.ActWithoutSpotPos = false;
  return p;
}

TClosingSettings DistinctClosing() {
  TClosingSettings c;
  c.ConsiderActiveOrders = true;
  c.Spread = 0.5;
  c.Comment = "auto close";
  c.FilterOrdersByComment = true;
  c.UseBaseActive = true;
  c.ShowSecNamesInDlg = false;
  c.UseAutoClose = false;
  c.SecsForClosing = {"SBER", "GAZP"};
  c.BaseActiveForClosing = {"Si", "RTS", "BR"};
  for (int n = 1; n <= 3; ++n)
    c.Patterns.push_back(std::make_unique<TClosingPattern>(DistinctPattern(n)));
  c.DefaultPattern = 2;
  c.AddAutoCloseEntry(9 * 60 + 5, 1, 0);
  c.AddAutoCloseEntry(18 * 60 + 45, 2, 1);
  return c;
}

void ExpectSamePattern(const TClosingPattern& a, const TClosingPattern& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
  SAME(PatternName);
  SAME(ParamIdx);
  SAME(NotMoreThanPlanned);
  SAME(ParamIdx2);
  SAME(UseVarMargin);
  SAME(ConsiderQualClient);
  SAME(ActWithoutSpotPos);
#undef SAME
  EXPECT_NEAR(a.BoundaryValue, b.BoundaryValue, 1e-6);
  EXPECT_NEAR(a.MinMarginLvl, b.MinMarginLvl, 1e-6);
  EXPECT_NEAR(a.MinMarginForQualClients, b.MinMarginForQualClients, 1e-6);
}

void ExpectSameClosing(const TClosingSettings& a, const TClosingSettings& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
  SAME(ConsiderActiveOrders);
  SAME(Comment);
  SAME(FilterOrdersByComment);
  SAME(DefaultPattern);
  SAME(UseBaseActive);
  SAME(ShowSecNamesInDlg);
  SAME(UseAutoClose);
  SAME(SecsForClosing);
  SAME(BaseActiveForClosing);
#undef SAME
  EXPECT_NEAR(a.Spread, b.Spread, 1e-9);
  ASSERT_EQ(a.AutoCloseSchedule.size(), b.AutoCloseSchedule.size());
  for (std::size_t i = 0; i < a.AutoCloseSchedule.size(); ++i) {
    EXPECT_EQ(a.AutoCloseSchedule[i].Minutes, b.AutoCloseSchedule[i].Minutes) << i;
    EXPECT_EQ(a.AutoCloseSchedule[i].PatternIndex, b.AutoCloseSchedule[i].PatternIndex) << i;
    EXPECT_EQ(a.AutoCloseSchedule[i].AllClients, b.AutoCloseSchedule[i].AllClients) << i;
  }
  ASSERT_EQ(a.Patterns.size(), b.Patterns.size());
  for (std::size_t i = 0; i < a.Patterns.size(); ++i)
    ExpectSamePattern(*a.Patterns[i], *b.Patterns[i]);
}

class ClosingFileTest : public testing::Test {
 protected:
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
};

TEST(ClosingSettingsTest, ConstructionDefaults) {
  TClosingSettings c;
  EXPECT_FALSE(c.ConsiderActiveOrders);
  EXPECT_DOUBLE_EQ(c.Spread, 0.0);
  EXPECT_EQ(c.DefaultPattern, -1);
  EXPECT_TRUE(c.ShowSecNamesInDlg);
  EXPECT_FALSE(c.UseAutoClose);
  EXPECT_TRUE(c.Patterns.empty());
  EXPECT_TRUE(c.AutoCloseSchedule.empty());

  TClosingPattern p;
  EXPECT_EQ(p.PatternName, "Шаблон");
  EXPECT_EQ(p.ParamIdx, -1);
  EXPECT_EQ(p.ParamIdx2, -1);
  EXPECT_DOUBLE_EQ(p.MinMarginLvl, 0.5);
  EXPECT_DOUBLE_EQ(p.MinMarginForQualClients, 0.25);
  EXPECT_EQ(p.UseVarMargin, 4);
  EXPECT_TRUE(p.ActWithoutSpotPos);
  EXPECT_FALSE(p.Deleted);
}

TEST(ClosingSettingsTest, CopyHoldsItsOwnPatterns) {
  TClosingSettings source = DistinctClosing();
  {
    TClosingSettings copy(source);
    ExpectSameClosing(copy, source);
    for (std::size_t i = 0; i < copy.Patterns.size(); ++i)
      EXPECT_NE(copy.Patterns[i].get(), source.Patterns[i].get());
    copy.Patterns[0]->PatternName = "changed";
    copy.Patterns[1]->Deleted = true;
  }
  ASSERT_EQ(source.Patterns.size(), 3u);
  EXPECT_EQ(source.Patterns[0]->PatternName, "Шаблон закрытия 1");
  EXPECT_FALSE(source.Patterns[1]->Deleted);

  TClosingSettings assigned;
  assigned.Patterns.push_back(std::make_unique<TClosingPattern>());
  assigned = source;
  ExpectSameClosing(assigned, source);
  assigned = assigned;
  EXPECT_EQ(assigned.Patterns.size(), 3u);
}

TEST(ClosingSettingsTest, AutoCloseEntryTakesItsThreeValues) {
  TClosingSettings c;
  c.AddAutoCloseEntry(600, 2, 1);
  ASSERT_EQ(c.AutoCloseSchedule.size(), 1u);
  EXPECT_EQ(c.AutoCloseSchedule[0].Minutes, 600);
  EXPECT_EQ(c.AutoCloseSchedule[0].PatternIndex, 2);
  EXPECT_EQ(c.AutoCloseSchedule[0].AllClients, 1);
  EXPECT_FALSE(c.AutoCloseSchedule[0].Passed);
  EXPECT_EQ(c.AutoCloseSchedule[0].LastFiring, 0);
}

TEST(ClosingSettingsTest, LivePatternsSkipThoseMarkedDeleted) {
  TClosingSettings c = DistinctClosing();
  c.Patterns.push_back(std::make_unique<TClosingPattern>());
  EXPECT_EQ(c.CountLivePatterns(), 4);
  EXPECT_EQ(c.NextLivePattern(0), 1);
  EXPECT_EQ(c.NextLivePattern(3), 0);
  c.Patterns[1]->Deleted = true;
  c.Patterns[2]->Deleted = true;
  EXPECT_EQ(c.CountLivePatterns(), 2);
  EXPECT_EQ(c.NextLivePattern(0), 3);
  EXPECT_EQ(c.NextLivePattern(1), 3);
  EXPECT_EQ(c.NextLivePattern(3), 0);
  EXPECT_EQ(c.NextLivePattern(-1), 0);
  c.Patterns[0]->Deleted = true;
  EXPECT_EQ(c.NextLivePattern(3), -1);
  c.Patterns[3]->Deleted = true;
  EXPECT_EQ(c.CountLivePatterns(), 0);
  EXPECT_EQ(c.NextLivePattern(3), -1);
  EXPECT_EQ(TClosingSettings().NextLivePattern(-1), -1);
}

TEST(CommaListTest, SplitDropsBlanksAndEmptyItems) {
  StringList list = {"old"};
  SplitCommaList("A1 , B2,,C3", list);
  EXPECT_EQ(list, (StringList{"A1", "B2", "C3"}));
  SplitCommaList(" , ", list);
  EXPECT_TRUE(list.empty());
  std::string longItem(300, 'Q');
  SplitCommaList(longItem + ",X", list);
  EXPECT_EQ(list, (StringList{longItem, "X"}));
  EXPECT_EQ(JoinWithComma(StringList{"A1", "B2"}), "A1, B2");
  EXPECT_EQ(JoinWithComma(StringList{}), "");
}

TEST_F(ClosingFileTest, EmptyFileGivesTheFileDefaults) {
  TClosingSettings c = DistinctClosing();
  c.ReadClosingSettings(ini);
  EXPECT_FALSE(c.ConsiderActiveOrders);
  EXPECT_TRUE(c.SecsForClosing.empty());
  EXPECT_TRUE(c.BaseActiveForClosing.empty());
  EXPECT_DOUBLE_EQ(c.Spread, 0.0);
  EXPECT_EQ(c.Comment, "");
  EXPECT_TRUE(c.Patterns.empty());
  EXPECT_EQ(c.DefaultPattern, -1);
  EXPECT_FALSE(c.UseBaseActive);
  EXPECT_TRUE(c.ShowSecNamesInDlg);
  EXPECT_TRUE(c.UseAutoClose);  // the file default differs from the record's
  EXPECT_TRUE(c.AutoCloseSchedule.empty());
}

TEST_F(ClosingFileTest, EveryKeyPatternAndScheduleEntrySurvivesASaveAndALoad) {
  TClosingSettings saved = DistinctClosing();
  saved.WriteClosingSettings(ini);
  TClosingSettings loaded;
  loaded.ReadClosingSettings(ini);
  ExpectSameClosing(loaded, saved);
}

TEST_F(ClosingFileTest, ConstructionDefaultsSurviveASaveAndALoad) {
  TClosingSettings saved;
  saved.Patterns.push_back(std::make_unique<TClosingPattern>());
  saved.DefaultPattern = 0;
  saved.WriteClosingSettings(ini);
  TClosingSettings loaded = DistinctClosing();
  loaded.ReadClosingSettings(ini);
  ExpectSameClosing(loaded, saved);
}

TEST_F(ClosingFileTest, ValuesAreWrittenInTheirFormats) {
  TClosingSettings c = DistinctClosing();
  c.Spread = 0.126;
  c.WriteClosingSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "Spread"), "0.13");
  EXPECT_EQ(ReadIniValue(ini, kSection, "SecsForClosing"), "SBER, GAZP");
  EXPECT_EQ(ReadIniValue(ini, kSection, "NumPatterns"), "3");
  EXPECT_EQ(ReadIniValue(ini, kSection, "DefaultPattern"), "2");
  EXPECT_EQ(ReadIniValue(ini, "ClPattern2", "BoundaryValue"), "0.500000");
  EXPECT_EQ(ReadIniValue(ini, "ClPattern3", "ParamIdx"), "13");
  EXPECT_EQ(ReadIniValue(ini, kAutoClose, "NumElementsInSchedule"), "2");
  EXPECT_EQ(ReadIniValue(ini, kAutoClose, "Time0"), "09:05");
  EXPECT_EQ(ReadIniValue(ini, kAutoClose, "Pattern1"), "2");
  EXPECT_EQ(ReadIniValue(ini, kAutoClose, "AllClients1"), "1");
}

TEST_F(ClosingFileTest, ClearedListsStayClearedAfterARestart) {
  TClosingSettings c = DistinctClosing();
  c.WriteClosingSettings(ini);
  c.SecsForClosing.clear();
  c.BaseActiveForClosing.clear();
  c.WriteClosingSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SecsForClosing"), "");
  EXPECT_EQ(ReadIniValue(ini, kSection, "BaseActiveForClosing"), "");
  TClosingSettings loaded;
  loaded.ReadClosingSettings(ini);
  EXPECT_TRUE(loaded.SecsForClosing.empty());
  EXPECT_TRUE(loaded.BaseActiveForClosing.empty());
}

TEST_F(ClosingFileTest, LongListsAndCommentsAreKept) {
  TClosingSettings saved;
  for (int i = 0; i < 2000; ++i) saved.SecsForClosing.push_back("SEC" + std::to_string(i));
  saved.Comment = std::string(5000, 'c');
  saved.WriteClosingSettings(ini);
  TClosingSettings loaded;
  loaded.ReadClosingSettings(ini);
  EXPECT_EQ(loaded.SecsForClosing, saved.SecsForClosing);
  EXPECT_EQ(loaded.Comment, saved.Comment);
}

TEST_F(ClosingFileTest, PatternsAreReadInOrderAndTheDefaultFallsBackToTheFirst) {
  WriteIniValue(ini, kSection, "NumPatterns", "2");
  WriteIniValue(ini, "ClPattern1", "PatternName", "first");
  WriteIniValue(ini, "ClPattern2", "PatternName", "second");
  WriteIniValue(ini, "ClPattern3", "PatternName", "left over");
  TClosingSettings c;
  c.ReadClosingSettings(ini);
  ASSERT_EQ(c.Patterns.size(), 2u);
  EXPECT_EQ(c.Patterns[0]->PatternName, "first");
  EXPECT_EQ(c.Patterns[1]->PatternName, "second");
  EXPECT_EQ(c.DefaultPattern, 0);
}

struct DefaultPatternCase {
  const char* NumPatterns;
  const char* DefaultPattern;  // nullptr: key absent
  int Expected;
};

class DefaultPatternTest : public testing::TestWithParam<DefaultPatternCase> {};

TEST_P(DefaultPatternTest, DefaultAlwaysNamesAPatternOrNone) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  const DefaultPatternCase& c = GetParam();
  WriteIniValue(ini, kSection, "NumPatterns", c.NumPatterns);
  if (c.DefaultPattern) WriteIniValue(ini, kSection, "DefaultPattern", c.DefaultPattern);
  TClosingSettings closing;
  closing.ReadClosingSettings(ini);
  EXPECT_EQ(closing.DefaultPattern, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, DefaultPatternTest,
    testing::Values(DefaultPatternCase{"0", nullptr, -1}, DefaultPatternCase{"0", "0", -1},
                    DefaultPatternCase{"0", "3", -1}, DefaultPatternCase{"2", nullptr, 0},
                    DefaultPatternCase{"2", "1", 1}, DefaultPatternCase{"2", "2", 0},
                    DefaultPatternCase{"2", "-7", 0}, DefaultPatternCase{"-3", "1", -1}));

struct PatternMigrationCase {
  const char* ConsiderVarMargin;     // nullptr: key absent
  const char* ConsiderPosVarMargin;  // nullptr: key absent
  int Expected;
};

class PatternMigrationTest : public testing::TestWithParam<PatternMigrationCase> {};

TEST_P(PatternMigrationTest, ConvertsOnceAndMarksTheSection) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  const PatternMigrationCase& c = GetParam();
  WriteIniValue(ini, "ClPattern1", "PatternName", "p");
  WriteIniValue(ini, "ClPattern1", "UseVarMargin", "3");
  if (c.ConsiderVarMargin)
    WriteIniValue(ini, "ClPattern1", "ConsiderVarMargin", c.ConsiderVarMargin);
  if (c.ConsiderPosVarMargin)
    WriteIniValue(ini, "ClPattern1", "ConsiderPosVarMargin", c.ConsiderPosVarMargin);
  TClosingPattern p;
  p.ReadClosingPattern(ini, "ClPattern1");
  EXPECT_EQ(p.UseVarMargin, c.Expected);
  bool alreadyCurrent = (c.ConsiderVarMargin && std::string(c.ConsiderVarMargin) == "2") ||
                        (c.ConsiderPosVarMargin && std::string(c.ConsiderPosVarMargin) == "2");
  if (!alreadyCurrent) {
    EXPECT_EQ(ReadIniValue(ini, "ClPattern1", "ConsiderVarMargin"), "2");
    EXPECT_EQ(ReadIniValue(ini, "ClPattern1", "ConsiderPosVarMargin"), "2");
    // A second read keeps the converted value's source: UseVarMargin itself.
    TClosingPattern again;
    again.ReadClosingPattern(ini, "ClPattern1");
    EXPECT_EQ(again.UseVarMargin, 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    OldKeys, PatternMigrationTest,
    testing::Values(PatternMigrationCase{nullptr, nullptr, 4}, PatternMigrationCase{"0", "0", 4},
                    PatternMigrationCase{"1", "0", 2}, PatternMigrationCase{"1", "1", 1},
                    PatternMigrationCase{"1", nullptr, 1}, PatternMigrationCase{"2", "0", 3},
                    PatternMigrationCase{"0", "2", 3}));

TEST_F(ClosingFileTest, NewPatternKeepsItsVariationMarginChoiceAcrossARestart) {
  TClosingSettings saved;
  TClosingPattern pattern;
  pattern.UseVarMargin = 1;
  saved.Patterns.push_back(std::make_unique<TClosingPattern>(pattern));
  saved.WriteClosingSettings(ini);
  TClosingSettings loaded;
  loaded.ReadClosingSettings(ini);
  ASSERT_EQ(loaded.Patterns.size(), 1u);
  EXPECT_EQ(loaded.Patterns[0]->UseVarMargin, 1);
}

TEST_F(ClosingFileTest, AutoCloseTimes) {
  WriteIniValue(ini, kAutoClose, "NumElementsInSchedule", "5");
  WriteIniValue(ini, kAutoClose, "Time0", "9:05");
  WriteIniValue(ini, kAutoClose, "Pattern0", "2");
  WriteIniValue(ini, kAutoClose, "AllClients0", "1");
  WriteIniValue(ini, kAutoClose, "Time1", "never");
  WriteIniValue(ini, kAutoClose, "Time3", "25:70");
  TClosingSettings c;
  c.ReadClosingSettings(ini);
  ASSERT_EQ(c.AutoCloseSchedule.size(), 5u);
  EXPECT_EQ(c.AutoCloseSchedule[0].Minutes, 545);
  EXPECT_EQ(c.AutoCloseSchedule[0].PatternIndex, 2);
  EXPECT_EQ(c.AutoCloseSchedule[0].AllClients, 1);
  EXPECT_EQ(c.AutoCloseSchedule[1].Minutes, -1);
  EXPECT_EQ(c.AutoCloseSchedule[2].Minutes, 0);  // absent: "0:0"
  EXPECT_EQ(c.AutoCloseSchedule[2].PatternIndex, 0);
  EXPECT_EQ(c.AutoCloseSchedule[3].Minutes, 1570);
  c.WriteClosingSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kAutoClose, "Time0"), "09:05");
}

TEST_F(ClosingFileTest, ShorterPatternListLeavesOldSectionsUnread) {
  TClosingSettings c = DistinctClosing();
  c.WriteClosingSettings(ini);
  c.Patterns.pop_back();
  c.DefaultPattern = 1;
  c.WriteClosingSettings(ini);
  TClosingSettings loaded;
  loaded.ReadClosingSettings(ini);
  EXPECT_EQ(loaded.Patterns.size(), 2u);
  EXPECT_EQ(ReadIniValue(ini, "ClPattern3", "PatternName"), "Шаблон закрытия 3");
}

}  // namespace
