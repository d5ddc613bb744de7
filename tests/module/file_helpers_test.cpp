// Packed date and time of a file time, and the open-file dialog's guard.
#include "module/file_helpers.h"

#include <gtest/gtest.h>

namespace {
FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  const SYSTEMTIME system = {year, month, 0, day, hour, minute, second, 0};
  FILETIME fileTime = {};
  EXPECT_TRUE(SystemTimeToFileTime(&system, &fileTime));
  return fileTime;
}

TEST(FileTimeToHhmmssYyyymmdd, PacksDateAndTime) {
  int date = 0, time = 0;
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(2026, 12, 6, 9, 5, 7), &date, &time));
  EXPECT_EQ(date, 20261206);
  EXPECT_EQ(time, 90507);
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(1999, 1, 31, 23, 59, 59), nullptr, &time));
  EXPECT_EQ(time, 235959);
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(2000, 2, 29, 0, 0, 0), &date, nullptr));
  EXPECT_EQ(date, 20000229);
}

TEST(FileTimeToHhmmssYyyymmdd, AFileTimeThatCannotBeConvertedIsRefused) {
  FILETIME invalid = {0xFFFFFFFF, 0xFFFFFFFF};
  int date = -1, time = -1;
  EXPECT_FALSE(FileTimeToHhmmssYyyymmdd(invalid, &date, &time));
  EXPECT_EQ(date, -1);
  EXPECT_EQ(time, -1);
}

TEST(BrowseForFile, NoBufferShowsNoDialog) {
  EXPECT_FALSE(BrowseForFile(nullptr, nullptr, 260));
  char buffer[4] = "";
  EXPECT_FALSE(BrowseForFile(nullptr, buffer, 0));
}
}  // namespace
