#include "engine_recorder.h"
#include "module/notify/engine_schedule.h"
#include "module/notify/schedule_gate.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Local seconds of a time of day on day d (day 1 a Monday, say).
int64_t At(int d, int hour, int minute) { return d * 86400LL + hour * 3600 + minute * 60; }

struct GatePath {
  const char* name;
  const char* schedule;
  int64_t start;
  std::vector<std::pair<int64_t, int>> runs;  // a run's time and the entry that fires
};

const GatePath kGatePaths[] = {
    {"StartGateOnlyOnTheStartsDate", "10:00, 18:30", At(1, 18, 0),
     {{At(1, 18, 10), -1}, {At(1, 18, 30), 1}, {At(1, 18, 40), -1}, {At(2, 0, 1), -1},
      {At(2, 9, 59), -1}, {At(2, 10, 0), 0}, {At(2, 10, 1), -1}, {At(2, 18, 45), 1},
      {At(3, 11, 0), 0}, {At(3, 11, 1), -1}}},
    {"AcrossMidnight", "00:05, 23:55", At(1, 23, 50),
     {{At(1, 23, 54), -1}, {At(1, 23, 55), 1}, {At(2, 0, 4), -1}, {At(2, 0, 5), 0},
      {At(2, 0, 6), -1}, {At(2, 23, 59), 1}, {At(3, 0, 0), -1}, {At(3, 0, 7), 0}}},
    {"OneEntryPerRun", "09:00, 10:00, 12:00", At(1, 8, 0),
     {{At(1, 11, 0), 0}, {At(1, 11, 0), 1}, {At(1, 11, 0), -1}, {At(1, 12, 0), 2}}},
    {"StartItselfCounts", "09:00", At(1, 9, 0), {{At(1, 9, 0), 0}, {At(0, 23, 0), -1}}},
};

class ScheduleGateTest : public testing::TestWithParam<GatePath> {};

TEST_P(ScheduleGateTest, FiresEachEntryOnceADayFromTheStart) {
  ScheduleList entries;
  ASSERT_TRUE(ParseScheduleList(GetParam().schedule, 0, entries));
  for (const auto& run : GetParam().runs)
    EXPECT_EQ(FireNextDueEntry(entries, GetParam().start, run.first), run.second)
        << "at " << run.first;
}

INSTANTIATE_TEST_SUITE_P(Schedule, ScheduleGateTest, testing::ValuesIn(kGatePaths),
                         [](const testing::TestParamInfo<GatePath>& p) { return p.param.name; });

TEST(ScheduleSendingTest, BrokenClientsGetOneCallPerDueEntry) {
  TModuleSettings s;  // warning 1.0, critical 0.5; all sending switches off
  ASSERT_TRUE(ParseScheduleList("10:00", 0, s.SFRSchedule));
  s.UseSFRWarnSchedule = true;
  TClientRiskRecord a, b, excluded, fine;
  a.sfr = 0.9, b.sfr = 0.3, excluded.sfr = 0.1, fine.sfr = 1.5;
  excluded.ExclusionMark = kRuleExcluded;
  a.clientCode[0] = 'A', b.clientCode[0] = 'B', excluded.clientCode[0] = 'X';
  const std::vector<TClientRiskRecord*> clients{&a, &fine, &excluded, &b};
  const TEngineClock start{1000, At(1, 9, 0)}, morning{5000, At(1, 10, 0)};
  CRecordingSender sender;
  EXPECT_FALSE(SendMarginCallsBySchedule(s, clients, TEngineClock{}, morning, sender));
  EXPECT_TRUE(SendMarginCallsBySchedule(s, clients, start, morning, sender));
  EXPECT_FALSE(SendMarginCallsBySchedule(s, clients, start, morning, sender));
  EXPECT_EQ(sender.calls, "A2@1 B2@1");
  EXPECT_EQ(b.lastSentTimeSfr, 5000);
  // With the critical schedule on too, only critical calls go out.
  s.UseSFRCritSchedule = true;
  sender.calls.clear();
  EXPECT_TRUE(SendMarginCallsBySchedule(s, clients, start, {9000, At(2, 10, 0)}, sender));
  EXPECT_EQ(sender.calls, "B2@0.5");
}

}  // namespace
