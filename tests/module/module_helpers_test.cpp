// Small helpers of the module: file times, trimmed numbers and the re-entry
// guard.
#include "case_table.h"
#include "module/file_helpers.h"
#include "module/reentry_guard.h"
#include "module/trimmed_number.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  const SYSTEMTIME system = {year, month, 0, day, hour, minute, second, 0};
  FILETIME fileTime = {};
  EXPECT_TRUE(SystemTimeToFileTime(&system, &fileTime));
  return fileTime;
}

TEST(FileTimeToHhmmssYyyymmdd, PacksDateAndTimeOrRefusesWithoutWriting) {
  int date = 0, time = 0;
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(2026, 12, 6, 9, 5, 7), &date, &time));
  EXPECT_EQ(std::make_pair(date, time), std::make_pair(20261206, 90507));
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(1999, 1, 31, 23, 59, 59), nullptr, &time));
  ASSERT_TRUE(FileTimeToHhmmssYyyymmdd(FileTimeOf(2000, 2, 29, 0, 0, 0), &date, nullptr));
  EXPECT_EQ(std::make_pair(date, time), std::make_pair(20000229, 235959));
  EXPECT_FALSE(FileTimeToHhmmssYyyymmdd({0xFFFFFFFF, 0xFFFFFFFF}, &date, &time));
  EXPECT_EQ(std::make_pair(date, time), std::make_pair(20000229, 235959));
}

TEST(BrowseForFile, NoBufferShowsNoDialog) {
  EXPECT_FALSE(BrowseForFile(nullptr, nullptr, 260));
  char buffer[4] = "";
  EXPECT_FALSE(BrowseForFile(nullptr, buffer, 0));
}

TEST(FormatTrimmedDouble, TrailingZerosOfTheFractionGo) {
  RunCaseTable("trimmed_numbers.txt", {{"Trimmed", [](const CaseRow& c) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    FormatTrimmedDouble(buffer, sizeof buffer, c[0], c.Text(1)[0]);
    EXPECT_STREQ(buffer, c.Text(2)); }}});
}

TEST(FormatTrimmedDouble, TheBufferSizeIsKeptAndNoBufferIsNotWritten) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  FormatTrimmedDouble(buffer, 5, 12345.0, '.');
  EXPECT_STREQ(buffer, "1234");
  EXPECT_EQ(buffer[5], 'x') << "nothing is written past the size";

  char huge[16];
  FormatTrimmedDouble(huge, sizeof huge, 1e30, '.');
  EXPECT_STREQ(huge, "100000000000000");
  FormatTrimmedDouble(nullptr, 16, 1.5, '.');
  FormatTrimmedDouble(huge, 0, 1.5, '.');
  EXPECT_STREQ(huge, "100000000000000") << "a size of 0 writes nothing";
}

TEST(ReentryGuard, ARunInsideAnotherIsSkippedAndTheGuardReopens) {
  CReentryGuard guard;
  {
    CReentryGuard::Scope outer(guard);
    ASSERT_TRUE(outer.Entered());
    CReentryGuard::Scope inner(guard);
    EXPECT_FALSE(inner.Entered());
  }
  EXPECT_FALSE(guard.Running()) << "a skipped run does not end the outer one";
  CReentryGuard::Scope next(guard);
  EXPECT_TRUE(next.Entered());
}
}  // namespace
