#include "module/settings/closing_settings.h"
#include "module/settings/module_settings.h"
#include "module/settings/settings_paths.h"
#include "module/settings/transport_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(SettingsRecordsTest, CopiesShareNothing) {
  TModuleSettings general;
  general.SFRTopic = "topic", general.NotificationsOn = false;
  ASSERT_TRUE(general.ParseScheduleTextAt(2, "09:00, 12:30", 0));
  TModuleSettings generalCopy;
  EXPECT_EQ(&generalCopy.CopyFrom(general), &generalCopy);
  EXPECT_TRUE(generalCopy.SFRTopic == "topic" && !generalCopy.NotificationsOn);
  generalCopy.SFRSchedule.clear();
  EXPECT_EQ(general.FormatNotifSchedule(2), "09:00, 12:30");

  TTransportSettings transport, transportCopy;
  transport.SMTPServer = "smtp.example.ru", transportCopy.DBTable = "Calls";
  transportCopy.AssignTransportSettings(transport);
  EXPECT_EQ(transportCopy.SMTPServer, "smtp.example.ru");
  EXPECT_EQ(transportCopy.DBTable, "MCalls");  // never empty

  TClosingSettings closing;
  for (const char* name : {"a", "b", "c"}) {
    closing.Patterns.push_back(std::make_unique<TClosingPattern>());
    closing.Patterns.back()->PatternName = name;
  }
  closing.SecsForClosing = {"SBER"};
  closing.AddAutoCloseEntry(600, 2, 1);
  TClosingSettings assigned;
  assigned.Patterns.push_back(std::make_unique<TClosingPattern>());
  assigned = closing;
  assigned = assigned;
  { TClosingSettings(closing).Patterns[0]->PatternName = "changed"; }
  for (const TClosingSettings* c : {&closing, &assigned}) {
    ASSERT_EQ(c->Patterns.size(), 3u);
    EXPECT_EQ(c->Patterns[0]->PatternName + c->Patterns[2]->PatternName, "ac");
    EXPECT_EQ(c->SecsForClosing, StringList{"SBER"});
    const TScheduleEntry& entry = c->AutoCloseSchedule.at(0);
    EXPECT_TRUE(entry.Minutes == 600 && entry.PatternIndex == 2 && entry.AllClients == 1);
    EXPECT_FALSE(entry.Passed);
  }
  EXPECT_NE(assigned.Patterns[0].get(), closing.Patterns[0].get());
}

TEST(SettingsRecordsTest, LivePatternsSkipThoseMarkedDeleted) {
  TClosingSettings c;
  EXPECT_EQ(c.NextLivePattern(-1), -1);
  for (int i = 0; i < 4; ++i) c.Patterns.push_back(std::make_unique<TClosingPattern>());
  c.Patterns[1]->Deleted = c.Patterns[2]->Deleted = true;
  EXPECT_EQ(c.CountLivePatterns(), 2);
  const int next[][2] = {{0, 3}, {1, 3}, {3, 0}, {-1, 0}};  // index -> next live, going round
  for (auto& n : next) EXPECT_EQ(c.NextLivePattern(n[0]), n[1]) << n[0];
  c.Patterns[0]->Deleted = true;
  EXPECT_EQ(c.NextLivePattern(3), -1);
}

// Copy addresses are cut at every comma with blanks dropped and empty items
// kept; the closing lists drop blanks and empty items.
struct ListCase { const char* Text; StringList CopyEmails, Closing; };

class CommaListTest : public testing::TestWithParam<ListCase> {};

TEST_P(CommaListTest, Splits) {
  TTransportSettings t;
  t.CopyEmails = {"old"};
  t.SetCopyEmails(GetParam().Text);
  EXPECT_EQ(t.GetCopyEmails(), GetParam().CopyEmails);
  StringList closing = {"old"};
  SplitCommaList(GetParam().Text, closing);
  EXPECT_EQ(closing, GetParam().Closing);
  EXPECT_EQ(JoinWithComma(closing), GetParam().Closing.empty() ? "" : "A1, B2, C3");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommaListTest,
    testing::Values(ListCase{"", {}, {}}, ListCase{" , ", {"", ""}, {}},
                    ListCase{" A1 , B2,C3 ", {"A1", "B2", "C3"}, {"A1", "B2", "C3"}},
                    ListCase{"A1 , B2,,C3", {"A1", "B2", "", "C3"}, {"A1", "B2", "C3"}},
                    ListCase{"A1 ,B 2,C3,", {"A1", "B2", "C3", ""}, {"A1", "B2", "C3"}}));

TEST(SettingsPathsTest, FilesSitInTheHostProgramFolder) {
  char name[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(NULL, name, sizeof(name)), 0u);
  const std::string folder = HostProgramFolder();
  EXPECT_EQ(JoinPath(folder, std::string(name).substr(folder.size() + 1)), name);
  EXPECT_EQ(FolderOfPath("host.exe"), "host.exe");
}

}  // namespace
