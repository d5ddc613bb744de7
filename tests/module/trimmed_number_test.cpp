// Numbers for dialog fields without trailing zeros.
#include "module/trimmed_number.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
TEST(FormatTrimmedDouble, TrailingZerosOfTheFractionGo) {
  struct Case { double value; char separator; const char* expected; };
  const Case cases[] = {
      {2.5, '.', "2.5"},     {3.0, '.', "3"},         {0.0, '.', "0"},
      {10.0, '.', "10"},     {100.0, ',', "100"},     {-1.25, ',', "-1,25"},
      {0.000001, '.', "0.000001"}, {0.0000001, '.', "0"}, {1234.5678, ',', "1234,5678"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    FormatTrimmedDouble(buffer, sizeof buffer, c.value, c.separator);
    EXPECT_STREQ(buffer, c.expected) << c.value;
  }
}

TEST(FormatTrimmedDouble, TheBufferSizeIsKept) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  FormatTrimmedDouble(buffer, 5, 123456.5, '.');
  EXPECT_STREQ(buffer, "1234");
  EXPECT_EQ(buffer[5], 'x') << "nothing is written past the size";

  char huge[16];
  FormatTrimmedDouble(huge, sizeof huge, 1e30, '.');
  EXPECT_EQ(std::strlen(huge), 15u);
  EXPECT_EQ(std::strncmp(huge, "100000000000000", 15), 0);
}

TEST(FormatTrimmedDouble, NoBufferIsNotWritten) {
  FormatTrimmedDouble(nullptr, 16, 1.5, '.');
  char buffer[4] = "abc";
  FormatTrimmedDouble(buffer, 0, 1.5, '.');
  EXPECT_STREQ(buffer, "abc");
}
}  // namespace
