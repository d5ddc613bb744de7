// Settings records, comma lists, schedules and message-body files.
#include "case_table.h"
#include "module/settings/body_templates.h"
#include "module/settings/closing_settings.h"
#include "module/settings/module_settings.h"
#include "module/settings/schedule_entry.h"
#include "module/settings/settings_paths.h"
#include "module/settings/transport_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
  assigned = closing; assigned = assigned;
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

TEST(SettingsRecordsTest, AnEmptyPortIsTheSmtpPort) {
  TTransportSettings transport;
  for (auto [port, expected] : {std::pair<const char*, int>{"", 25}, {"587", 587}, {"25", 25}}) {
    transport.Port = port;
    EXPECT_EQ(transport.GetPort(), expected) << "Port=" << port;
  }
}

TEST(CommaListTest, CopyAddressesKeepEmptyItemsAndClosingListsDropThem) {
  struct Case { const char* text; StringList copyEmails, closing; };
  const Case cases[] = {
      {"", {}, {}}, {" , ", {"", ""}, {}},
      {" A1 , B2,C3 ", {"A1", "B2", "C3"}, {"A1", "B2", "C3"}},
      {"A1 , B2,,C3", {"A1", "B2", "", "C3"}, {"A1", "B2", "C3"}},
      {"A1 ,B 2,C3,", {"A1", "B2", "C3", ""}, {"A1", "B2", "C3"}}};
  for (const Case& c : cases) {
    TTransportSettings t;
    t.CopyEmails = {"old"};
    t.SetCopyEmails(c.text);
    EXPECT_EQ(t.GetCopyEmails(), c.copyEmails) << c.text;
    StringList closing = {"old"};
    SplitCommaList(c.text, closing);
    EXPECT_EQ(closing, c.closing) << c.text;
    EXPECT_EQ(JoinWithComma(closing), c.closing.empty() ? "" : "A1, B2, C3");
  }
}

TEST(SettingsPathsTest, FilesSitInTheHostProgramFolder) {
  char name[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(NULL, name, sizeof(name)), 0u);
  const std::string folder = HostProgramFolder();
  EXPECT_EQ(JoinPath(folder, std::string(name).substr(folder.size() + 1)), name);
  EXPECT_EQ(FolderOfPath("host.exe"), "host.exe");
}

std::string MinutesOf(const ScheduleList& schedule) {
  std::string minutes;
  for (const TScheduleEntry& entry : schedule)
    minutes += (minutes.empty() ? "" : " ") + std::to_string(entry.Minutes);
  return minutes;
}

TEST(ScheduleTest, ParsesAndFormatsBackOrRejectsTheWholeText) {
  RunCaseTable("schedules.txt", {
    {"Good", [](const CaseRow& c) {
       ScheduleList schedule;
       ASSERT_TRUE(ParseScheduleList(c.Text(0), 0, schedule));
       EXPECT_EQ(MinutesOf(schedule), c.Text(1));
       EXPECT_EQ(FormatScheduleList(schedule), c.Text(2)); }},
    {"Bad", [](const CaseRow& c) {
       ScheduleList schedule;
       ASSERT_TRUE(ParseScheduleList("10:00", 0, schedule));
       EXPECT_FALSE(ParseScheduleList(c.Text(0), 0, schedule));
       EXPECT_EQ(MinutesOf(schedule), "600"); }},
    {"AutoClose", [](const CaseRow& c) {
       TClosingSettings closing;
       std::istringstream minutes(c.Text(0));
       for (int entry = 0; minutes >> entry;) closing.AddAutoCloseEntry(entry, 1, 1);
       EXPECT_EQ(FormatAutoCloseSchedule(closing), c.Text(1)); }},
  });
}

TEST(ScheduleTest, EntriesBeforeNowArePassed) {
  ScheduleList schedule;
  ASSERT_TRUE(ParseScheduleList("08:00, 10:15, 23:00", 10 * 60 + 15, schedule));
  std::vector<bool> passed;
  for (const TScheduleEntry& entry : schedule) {
    passed.push_back(entry.Passed);
    EXPECT_TRUE(entry.LastFiring == 0 && entry.PatternIndex == 0 && entry.AllClients == 0);
  }
  EXPECT_EQ(passed, (std::vector<bool>{true, false, false}));
}

TEST(ScheduleTest, KindsWithoutScheduleAreRefusedAndParsingUsesTheTimeOfDay) {
  TModuleSettings settings;
  for (int kind : {0, 8, 102}) EXPECT_FALSE(settings.ParseScheduleText(kind, "10:00")) << kind;
  EXPECT_EQ(settings.FormatNotifSchedule(8), "");
  int before = LocalMinutesNow();
  ASSERT_TRUE(settings.ParseScheduleText(2, "00:00, 24:00"));
  int after = LocalMinutesNow();
  ASSERT_EQ(settings.SFRSchedule.size(), 2u);
  // Exactly at midnight 00:00 has not yet passed.
  EXPECT_TRUE(before == 0 || after == 0 || settings.SFRSchedule[0].Passed);
  EXPECT_FALSE(settings.SFRSchedule[1].Passed);
}

const char kSection[] = "Vantrel";

TEST(BodyTemplateFileTest, LinesEndAtCarriageReturnsAndEmptyLinesAreSkipped) {
  CTempFolder folder;
  EXPECT_EQ(ReadBodyTemplateFile(folder.File("absent")), "");
  const std::pair<const char*, const char*> cases[] = {
      {"line1\r\n\r\nline2\r\n", "line1\nline2\n"}, {"a\nb", "ab\n"}, {"a\rb\r", "a\nb\n"},
      {"", ""}, {"\r\n\r\n", ""},
      {"Уважаемый клиент %CLIENT%\r\nуровень %VALUE%",
       "Уважаемый клиент %CLIENT%\nуровень %VALUE%\n"}};
  for (auto& c : cases) {
    WriteFileBytes(folder.File("body"), c.first);
    EXPECT_EQ(ReadBodyTemplateFile(folder.File("body")), c.second) << c.first;
  }
}

TEST(BodyTemplateFileTest, BodyNamedByHandIsReadThenSavedUnderTheFixedName) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  WriteIniValue(ini, kSection, "SFRBody_fp", "Other");
  WriteFileBytes(folder.File("Other"), "from other\r\n");
  WriteFileBytes(folder.File("SFRBodyFP"), "from fixed\r\n");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.SFRBody_fp, "from other\n");
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SFRBody_fp"), "SFRBodyFP");
  EXPECT_EQ(ReadFileBytes(folder.File("SFRBodyFP")), "from other\r\n");
  EXPECT_EQ(ReadFileBytes(folder.File("Other")), "from other\r\n");
}

TEST(BodyTemplateFileTest, BodyFileThatCannotBeCreatedIsReportedAndTheKeyStillWritten) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  // A folder in the way of the body file.
  ASSERT_TRUE(CreateDirectoryA(folder.File("MLBody").c_str(), NULL));
  TModuleSettings s;
  s.MLBody = "text\n";
  EXPECT_FALSE(s.WriteBodyTemplate(5, ini));
  EXPECT_EQ(ReadIniValue(ini, kSection, "MLBody"), "MLBody");
  EXPECT_TRUE(s.WriteBodyTemplate(4, ini));
  EXPECT_FALSE(s.WriteBodyTemplate(8, ini)) << "kind 8 has no body";
  EXPECT_TRUE(BodyTemplateKey(8) == nullptr && BodyTemplateFileName(108) == nullptr);
}
}  // namespace
