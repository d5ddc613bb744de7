#include "module/settings/closing_settings.h"
#include "module/settings/module_settings.h"
#include "module/settings/settings_paths.h"
#include "module/settings/transport_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(SettingsRecordsTest, ModuleSettingsCopySharesNothing) {
  TModuleSettings source;
  source.SFRTopic = "topic";
  source.NotificationsOn = false;
  ASSERT_TRUE(source.ParseScheduleTextAt(2, "09:00, 12:30", 0));
  TModuleSettings copy;
  EXPECT_EQ(&copy.CopyFrom(source), &copy);
  EXPECT_EQ(copy.SFRTopic, "topic");
  EXPECT_FALSE(copy.NotificationsOn);
  copy.SFRSchedule.clear();
  EXPECT_EQ(source.FormatNotifSchedule(2), "09:00, 12:30");
}

TEST(SettingsRecordsTest, AssignedTransportNeverHasAnEmptyTable) {
  TTransportSettings source;
  source.SMTPServer = "smtp.example.ru";
  TTransportSettings target;
  target.DBTable = "Calls";
  target.AssignTransportSettings(source);
  EXPECT_EQ(target.SMTPServer, "smtp.example.ru");
  EXPECT_EQ(target.DBTable, "MCalls");
  source.DBTable = "Other";
  target.AssignTransportSettings(source);
  EXPECT_EQ(target.DBTable, "Other");
}

TEST(SettingsRecordsTest, ClosingCopyOwnsItsPatterns) {
  TClosingSettings source;
  for (const char* name : {"a", "b", "c"}) {
    source.Patterns.push_back(std::make_unique<TClosingPattern>());
    source.Patterns.back()->PatternName = name;
  }
  source.SecsForClosing = {"SBER"};
  source.AddAutoCloseEntry(600, 2, 1);
  {
    TClosingSettings copy(source);
    ASSERT_EQ(copy.Patterns.size(), 3u);
    EXPECT_NE(copy.Patterns[0].get(), source.Patterns[0].get());
    EXPECT_EQ(copy.Patterns[2]->PatternName, "c");
    EXPECT_EQ(copy.SecsForClosing, source.SecsForClosing);
    copy.Patterns[0]->PatternName = "changed";
  }
  EXPECT_EQ(source.Patterns[0]->PatternName, "a");
  TClosingSettings assigned;
  assigned.Patterns.push_back(std::make_unique<TClosingPattern>());
  assigned = source;
  assigned = assigned;
  ASSERT_EQ(assigned.Patterns.size(), 3u);
  const TScheduleEntry& entry = assigned.AutoCloseSchedule.at(0);
  EXPECT_EQ(entry.Minutes, 600);
  EXPECT_EQ(entry.PatternIndex, 2);
  EXPECT_EQ(entry.AllClients, 1);
  EXPECT_FALSE(entry.Passed);
}

TEST(SettingsRecordsTest, LivePatternsSkipThoseMarkedDeleted) {
  TClosingSettings c;
  EXPECT_EQ(c.NextLivePattern(-1), -1);
  for (int i = 0; i < 4; ++i) c.Patterns.push_back(std::make_unique<TClosingPattern>());
  c.Patterns[1]->Deleted = c.Patterns[2]->Deleted = true;
  EXPECT_EQ(c.CountLivePatterns(), 2);
  // index -> next live pattern after it, going round.
  const int next[][2] = {{0, 3}, {1, 3}, {3, 0}, {-1, 0}};
  for (auto& n : next) EXPECT_EQ(c.NextLivePattern(n[0]), n[1]) << n[0];
  c.Patterns[0]->Deleted = true;
  EXPECT_EQ(c.NextLivePattern(3), -1);
}

struct ListCase {
  const char* Text;
  StringList CopyEmails;  // cut at commas, blanks dropped, empty items kept
  StringList Closing;     // blanks and empty items dropped
};

class CommaListTest : public testing::TestWithParam<ListCase> {};

TEST_P(CommaListTest, Splits) {
  TTransportSettings t;
  t.CopyEmails = {"old"};
  t.SetCopyEmails(GetParam().Text);
  EXPECT_EQ(t.GetCopyEmails(), GetParam().CopyEmails);
  StringList closing = {"old"};
  SplitCommaList(GetParam().Text, closing);
  EXPECT_EQ(closing, GetParam().Closing);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommaListTest,
    testing::Values(ListCase{"", {}, {}},
                    ListCase{" a@x.ru , b@y.ru ", {"a@x.ru", "b@y.ru"}, {"a@x.ru", "b@y.ru"}},
                    ListCase{"A1 , B2,,C3", {"A1", "B2", "", "C3"}, {"A1", "B2", "C3"}},
                    ListCase{"a @x.ru", {"a@x.ru"}, {"a@x.ru"}},
                    ListCase{"a,", {"a", ""}, {"a"}}, ListCase{" , ", {"", ""}, {}}));

TEST(SettingsRecordsTest, JoinWithComma) {
  EXPECT_EQ(JoinWithComma(StringList{"A1", "B2", "C3"}), "A1, B2, C3");
  EXPECT_EQ(JoinWithComma(StringList{}), "");
}

TEST(SettingsPathsTest, FilesSitInTheHostProgramFolder) {
  EXPECT_EQ(SettingsFilePath("C:\\Host"), "C:\\Host\\info.ini");
  EXPECT_EQ(FolderOfPath("C:\\a\\b\\host.exe"), "C:\\a\\b");
  EXPECT_EQ(FolderOfPath("host.exe"), "host.exe");
  char name[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(NULL, name, sizeof(name)), 0u);
  EXPECT_EQ(JoinPath(HostProgramFolder(), std::string(name).substr(HostProgramFolder().size() + 1)),
            name);
}

}  // namespace
