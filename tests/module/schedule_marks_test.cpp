// A schedule entry goes out at most once a day whatever settings dialogs
// were opened: the rule that carries its firing marks into the edited
// settings, then the module in this process over the stand-in host, its
// notification, general and closing settings dialogs driven under Xvfb
// between the runs of the margin-call and auto-close schedules.
#include "closing_orders_fixture.h"

#include "module/notify/engine_clock.h"
#include "module/temp_folder.h"
#include "resources/resource_ids.h"
#include "support/notification_tree.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int64_t kDay = 86400;

// An entry's time of day, its pattern and its marks.
struct TEntryRow {
  int minutes, pattern;
  bool passed;
  int64_t lastFiring;
};

ScheduleList Entries(const std::vector<TEntryRow>& rows) {
  ScheduleList entries;
  for (const TEntryRow& row : rows) {
    TScheduleEntry entry;
    entry.Minutes = row.minutes, entry.PatternIndex = row.pattern;
    entry.Passed = row.passed, entry.LastFiring = row.lastFiring;
    entries.push_back(entry);
  }
  return entries;
}

// "10:00 p2 passed fired 1000, 11:40 p0"
std::string Describe(const ScheduleList& entries) {
  std::string text;
  for (const TScheduleEntry& entry : entries) {
    text += (text.empty() ? "" : ", ") + FormatHourMinute(entry.Minutes) + " p" + std::to_string(entry.PatternIndex);
    if (entry.Passed) text += " passed";
    if (entry.LastFiring != 0) text += " fired " + std::to_string(entry.LastFiring);
  }
  return text;
}

TEST(KeepFiringMarks, EachEditedEntryTakesTheMarksOfTheLiveOneAtItsTime) {
  const struct {
    const char* name;
    std::vector<TEntryRow> live, edited;
    const char* kept;
  } cases[] = {
      {"times unchanged", {{600, 0, true, 1000}, {700, 0, false, 0}}, {{600, 0, false, 0}, {700, 0, false, 0}},
       "10:00 p0 passed fired 1000, 11:40 p0"},
      {"the entry's settings are the edited ones", {{600, 0, true, 1000}}, {{600, 2, false, 0}},
       "10:00 p2 passed fired 1000"},
      // The copy was taken before the time changed; Passed stays as the dialog made it.
      {"a changed time has never fired", {{600, 0, true, 1000}}, {{630, 0, true, 1000}}, "10:30 p0 passed"},
      {"equal times one to one in order", {{600, 0, true, 1000}, {600, 0, true, 2000}},
       {{600, 0, false, 0}, {600, 0, false, 0}, {600, 0, false, 0}},
       "10:00 p0 passed fired 1000, 10:00 p0 passed fired 2000, 10:00 p0"},
      {"reordered and removed entries follow their times",
       {{600, 0, true, 1000}, {700, 0, true, 2000}, {800, 0, false, 0}}, {{800, 0, false, 0}, {600, 0, false, 0}},
       "13:20 p0, 10:00 p0 passed fired 1000"},
      // The copy was taken when the entry had last fired the day before.
      {"a firing while the dialog was open", {{600, 0, true, 90000}}, {{600, 0, true, 3600}},
       "10:00 p0 passed fired 90000"},
      {"nothing live", {}, {{600, 0, true, 1000}}, "10:00 p0 passed"},
  };
  for (const auto& c : cases) {
    ScheduleList edited = Entries(c.edited);
    KeepFiringMarks(edited, Entries(c.live));
    EXPECT_EQ(Describe(edited), c.kept) << c.name;
  }
}

TEST(KeepFiringMarks, EveryMarginCallScheduleKeepsItsMarks) {
  const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 9};
  TModuleSettings live, edited;
  for (int kind : kinds) {
    ASSERT_TRUE(live.ParseScheduleTextAt(kind, "10:00", 0));
    ASSERT_TRUE(edited.ParseScheduleTextAt(kind, "10:00", 0));
    live.ScheduleOfKind(kind)->front().LastFiring = 1000 + kind;
  }
  KeepFiringMarks(edited, live);
  for (int kind : kinds) EXPECT_EQ(edited.ScheduleOfKind(kind)->front().LastFiring, 1000 + kind) << kind;
}

// The funds sufficiency page and its schedule: OK takes the schedule of an
// opened page back as a new text.
enum : int { kSfrPage = 108, kSfrScheduleEdit = 1058 };

// Four clients below the critical funds sufficiency; the critical calls go
// out by schedule as the host's trader messages, one a client. The start of
// work falls in the minute the test runs.
class ScheduledCallsAcrossDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
    g_pModule = &module;
    module.OnHostEvent(1, nullptr, 0, 0);
    TEngineClock start;
    ASSERT_TRUE(EngineClockAt(module.StartTime(), &start));
    startMinute = static_cast<int>(start.localSeconds % kDay / 60);
    if (startMinute == 0 || startMinute == 24 * 60 - 1) GTEST_SKIP() << "the start is too close to midnight";
    std::string uids;
    for (int n = 1; n <= 4; ++n) {
      const std::string code = "C" + std::to_string(n), account = "ACC" + std::to_string(n);
      TClientRiskRecord* client = module.Clients().OnLimit(LimitRecord({"FIRM1", account}).data(), 0);
      lstrcpynA(client->clientCode, code.c_str(), sizeof client->clientCode);
      client->sfr = 0.3;
      uids += code + "=" + std::to_string(10 + n) + "\r";
    }
    WriteFileBytes(temp.File("uids"), uids);
    TTransportSettings& transport = module.Transport();
    transport.NotifyByEmail = false, transport.NotifyByTraderMsg = true;
    transport.ZenkUIDsVsClientCodesFile = temp.File("uids");
    module.ReloadAddressFiles();
    TModuleSettings& settings = module.Settings();
    settings.ConsiderFilters = false;
    settings.SFRCriticalLevel = 0.5;
    settings.UseSFRCritSchedule = true;
    settings.SFRBody = settings.SFRBody2 = "%cc";
  }
  void TearDown() override {
    module.OnModuleStop();
    g_pModule = nullptr;
  }

  // The host's ticks up to the schedule's run.
  void RunSchedule() {
    for (int tick = 0; tick < 30; ++tick) module.OnTimerTick(0, 0);
  }
  // The calls the host took since the last look.
  int NewCalls() {
    const int all = host.Log().Count(156);
    const int calls = all - seenCalls;
    seenCalls = all;
    return calls;
  }
  void RunCommand(int command, const std::function<void(HWND)>& action) {
    DialogDriver driver(action);
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), command, false), 1);
    EXPECT_TRUE(driver.Ran()) << command;
  }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
  int startMinute = 0;
  int seenCalls = 0;
};

TEST_F(ScheduledCallsAcrossDialogs, OkInASettingsDialogSendsNoEntryTwice) {
  const struct {
    int command;
    bool firesWhileOpen;
  } rows[] = {
      {ID_NOTIFICATION_SETTINGS, false},
      {ID_NOTIFICATION_SETTINGS, true},
      {ID_GENERAL_SETTINGS, false},
      {ID_GENERAL_SETTINGS, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.command) + (row.firesWhileOpen ? " fired while open" : " fired before"));
    ASSERT_TRUE(module.Settings().ParseScheduleText(2, FormatHourMinute(startMinute)));
    if (!row.firesWhileOpen) RunSchedule();
    bool pageOpened = true;
    RunCommand(row.command, [&](HWND dialog) {
      if (row.firesWhileOpen) RunSchedule();
      if (row.command == ID_NOTIFICATION_SETTINGS) pageOpened = OpenNotificationPage(dialog, kSfrPage) != nullptr;
      DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_TRUE(pageOpened);
    EXPECT_EQ(NewCalls(), 4) << "the day's calls";
    RunSchedule();
    RunSchedule();
    EXPECT_EQ(NewCalls(), 0) << "sent again after OK";
  }
}

// The entry before the start, never due today, is moved to the start's
// minute: a new entry, it goes out at its new time once, beside the one
// that went out there already.
TEST_F(ScheduledCallsAcrossDialogs, AnEntryMovedInTheDialogGoesOutAtItsNewTime) {
  const std::string before = FormatHourMinute(startMinute - 1), at = FormatHourMinute(startMinute);
  ASSERT_TRUE(module.Settings().ParseScheduleText(2, before + ", " + at));
  RunSchedule();
  RunSchedule();
  EXPECT_EQ(NewCalls(), 4);
  RunCommand(ID_NOTIFICATION_SETTINGS, [&](HWND dialog) {
    SetDlgItemTextA(OpenNotificationPage(dialog, kSfrPage), kSfrScheduleEdit, (at + ", " + at).c_str());
    DialogDriver::Press(dialog, IDOK);
  });
  EXPECT_EQ(module.Settings().FormatNotifSchedule(2), at + ", " + at);
  RunSchedule();
  EXPECT_EQ(NewCalls(), 4) << "the moved entry";
  RunSchedule();
  EXPECT_EQ(NewCalls(), 0);
}

enum : int { kScheduleList = 1202, kEditEntry = 1123, kEntryTime = 1203, kEntryAllClients = 1205 };

// One auto-close entry at the start's minute, closing every client's
// positions by the risk table's pattern.
class AutoCloseAcrossTheDialog : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    ClientShortOfTarget("ACC1");
    module.OnHostEvent(1, nullptr, 0, 0);
    ASSERT_NE(OpenRiskTable(), nullptr);
    ClientShortOfTarget("ACC1");  // again, after the table's recalculation
    TEngineClock started;
    ASSERT_TRUE(EngineClockAt(module.StartTime(), &started));
    startDay = started.localSeconds - started.localSeconds % kDay;
    startMinute = static_cast<int>(started.localSeconds % kDay / 60);
    if (startMinute >= 24 * 60 - 2) GTEST_SKIP() << "the start is too close to midnight";
    module.Closing().UseAutoClose = true;
  }

  // The auto-close step half a minute into a minute of the start's day;
  // whether an entry fired and told the user.
  bool FiresAt(int minutes) {
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    TEngineClock now;
    now.localSeconds = startDay + minutes * 60 + 30;
    module.AutoCloseStep(now);
    return told.Ran();
  }

  // The user edits the schedule's first entry in its own dialog.
  static void EditFirstEntry(HWND dialog, const std::function<void(HWND)>& edit) {
    ListView_SetSelectionMark(GetDlgItem(dialog, kScheduleList), 0);
    DialogDriver entry([&](HWND window) {
      edit(window);
      DialogDriver::Press(window, IDOK);
    });
    DialogDriver::Press(dialog, kEditEntry);
    EXPECT_TRUE(entry.Ran());
  }

  int64_t startDay = 0;
  int startMinute = 0;
};

TEST_F(AutoCloseAcrossTheDialog, AnEntryClosesOnceUnlessItsTimeChanged) {
  const int start = startMinute;
  const struct {
    const char* name;
    bool firesWhileOpen;
    std::function<void(HWND)> edit;  // in the dialog, before OK
    int stepMinute;                  // of the step after OK
    bool firesAgain;
  } rows[] = {
      {"OK alone", false, [](HWND) {}, start, false},
      {"fired while the dialog was open", true, [](HWND) {}, start, false},
      {"the entry's clients changed",
       false,
       [](HWND dialog) {
         EditFirstEntry(dialog, [](HWND entry) { CheckDlgButton(entry, kEntryAllClients, BST_UNCHECKED); });
       },
       start, false},
      {"the entry's time changed",
       false,
       [start](HWND dialog) {
         EditFirstEntry(dialog, [start](HWND entry) {
           SetDlgItemTextA(entry, kEntryTime, FormatHourMinute(start + 1).c_str());
         });
       },
       start + 1, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    module.Closing().AutoCloseSchedule.clear();
    module.Closing().AddAutoCloseEntry(start, 0, 1);
    if (!row.firesWhileOpen) EXPECT_TRUE(FiresAt(start));
    module.ClosePrepOrdersDialogs();
    bool firedWhileOpen = false;
    DialogDriver driver([&](HWND dialog) {
      if (row.firesWhileOpen) firedWhileOpen = FiresAt(start);
      row.edit(dialog);
      DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false), 1);
    EXPECT_EQ(driver.Caption(), "Настройки закрытия позиций");
    EXPECT_EQ(firedWhileOpen, row.firesWhileOpen);
    ASSERT_EQ(module.Closing().AutoCloseSchedule.size(), 1u);
    EXPECT_EQ(module.Closing().AutoCloseSchedule[0].Minutes, row.stepMinute);
    EXPECT_EQ(FiresAt(row.stepMinute), row.firesAgain);
    EXPECT_FALSE(FiresAt(row.stepMinute)) << "twice in a day";
    module.ClosePrepOrdersDialogs();
  }
}

}  // namespace
