#include "module/notify/engine_clock.h"
#include "module/notify/schedule_gate.h"

#include <stdlib.h>
#include <time.h>

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
    {"StartGateOnlyOnTheStartsDate", "00:00, 10:00, 18:30", At(1, 18, 0),
     {{At(0, 20, 0), -1}, {At(1, 17, 0), -1}, {At(1, 18, 10), -1}, {At(1, 18, 30), 2},
      {At(1, 18, 40), -1}, {At(2, 0, 0), 0}, {At(2, 9, 59), -1}, {At(2, 10, 0), 1},
      {At(2, 10, 1), -1}, {At(2, 18, 45), 2}, {At(3, 11, 0), 0}, {At(3, 11, 1), 1},
      {At(3, 11, 2), -1}}},
    {"AcrossMidnight", "00:05, 23:55", At(1, 23, 50),
     {{At(1, 23, 54), -1}, {At(1, 23, 55), 1}, {At(2, 0, 4), -1}, {At(2, 0, 5), 0},
      {At(2, 0, 6), -1}, {At(2, 23, 59), 1}, {At(3, 0, 0), -1}, {At(3, 0, 7), 0}}},
    {"OneEntryPerRunFromTheStartMinuteOn", "08:00, 10:00, 12:00", At(1, 8, 0),
     {{At(1, 11, 0), 0}, {At(1, 11, 0), 1}, {At(1, 11, 0), -1}, {At(1, 12, 0), 2}}},
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

// The schedules count days and times of day on the local clock.
TEST(EngineClockTest, LocalSecondsFollowTheTimeZone) {
  _putenv("TZ=MSK-3");
  _tzset();
  // 2025-12-06 20:17:09, 2024-02-29 20:59:59 and 23:59:59 (1 March in Moscow),
  // 2003-06-15 12:00:00 and 2101-03-01 00:00:00 UTC.
  for (int64_t utc : {1765052229LL, 1709240399LL, 1709251199LL, 1055678400LL, 4139078400LL}) {
    TEngineClock clock;
    ASSERT_TRUE(EngineClockAt(utc, &clock));
    EXPECT_EQ(clock.seconds, utc);
    EXPECT_EQ(clock.localSeconds, utc + 3 * 3600);
  }
  _putenv("TZ=");
  _tzset();
}

}  // namespace
