#include "module/settings/module_settings.h"
#include "module/settings/schedule_entry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> MinutesOf(const ScheduleList& schedule) {
  std::vector<int> minutes;
  for (const TScheduleEntry& entry : schedule) minutes.push_back(entry.Minutes);
  return minutes;
}

struct GoodSchedule { const char* Text; std::vector<int> Minutes; const char* Formatted; };

class GoodScheduleTest : public testing::TestWithParam<GoodSchedule> {};

TEST_P(GoodScheduleTest, ParsesAndFormatsBack) {
  const GoodSchedule& c = GetParam();
  ScheduleList schedule;
  ASSERT_TRUE(ParseScheduleList(c.Text, 0, schedule));
  EXPECT_EQ(MinutesOf(schedule), c.Minutes);
  EXPECT_EQ(FormatScheduleList(schedule), c.Formatted);
}

INSTANTIATE_TEST_SUITE_P(Schedules, GoodScheduleTest,
                         testing::Values(GoodSchedule{"", {}, ""},
                                         GoodSchedule{"0:00", {0}, "00:00"},
                                         GoodSchedule{"9:30, 24:00", {570, 1440}, "09:30, 24:00"},
                                         GoodSchedule{"09:30,14:00", {570, 840}, "09:30, 14:00"},
                                         GoodSchedule{"9: 5", {545}, "09:05"},
                                         // Without a comma the rest is not looked at.
                                         GoodSchedule{"9:30 14:00", {570}, "09:30"}));

class BadScheduleTest : public testing::TestWithParam<const char*> {};

TEST_P(BadScheduleTest, IsRejectedAndLeavesTheListAlone) {
  ScheduleList schedule;
  ASSERT_TRUE(ParseScheduleList("10:00", 0, schedule));
  EXPECT_FALSE(ParseScheduleList(GetParam(), 0, schedule));
  EXPECT_EQ(MinutesOf(schedule), std::vector<int>{600});
}

INSTANTIATE_TEST_SUITE_P(Schedules, BadScheduleTest,
                         testing::Values("9:30,,14:00", "9:60", "25:00", "-1:30", "9:-5", "930",
                                         "9:30,", "abc", "9:30, x", "99999999999999999999:00"));

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

TEST(ScheduleTest, KindsWithoutScheduleAreRefused) {
  TModuleSettings settings;
  for (int kind : {0, 8, 102}) EXPECT_FALSE(settings.ParseScheduleText(kind, "10:00")) << kind;
  EXPECT_EQ(settings.FormatNotifSchedule(8), "");
}

TEST(ScheduleTest, ParsingUsesTheCurrentTimeOfDay) {
  TModuleSettings settings;
  int before = LocalMinutesNow();
  ASSERT_TRUE(settings.ParseScheduleText(2, "00:00, 24:00"));
  int after = LocalMinutesNow();
  ASSERT_EQ(settings.SFRSchedule.size(), 2u);
  // Exactly at midnight 00:00 has not yet passed.
  if (before > 0 && after > 0) {
    EXPECT_TRUE(settings.SFRSchedule[0].Passed);
  }
  EXPECT_FALSE(settings.SFRSchedule[1].Passed);
}

}  // namespace
