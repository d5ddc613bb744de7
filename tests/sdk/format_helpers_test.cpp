// Number, date and text helpers as tables of cases, with the separators of a
// Russian desktop (blank thousands, comma decimal) and of the default ones.
#include "sdk/numeric.h"
#include "sdk/packed_dates.h"
#include "sdk/plugin_module.h"
#include "sdk/text_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {
class FormatModule : public CZenkPluginModule {
 public:
  FormatModule(char thousands, char decimal) : CZenkPluginModule(GetModuleHandleA(nullptr)) {
    SetLocaleSeparators(thousands, decimal);
  }
};

TEST(DoubleEquals, UsesTheCommonTolerance) {
  EXPECT_EQ(std::vector<bool>({DoubleEquals(1.0, 1.00000009), DoubleEquals(1.0, 1.0000002),
                               DoubleEquals(1.0, std::nan("")), DoubleEquals(kValueNotSet, 1e30)}),
            std::vector<bool>({true, false, false, true}));
}

TEST(FormatDouble, FormatsWithTheLocaleSeparators) {
  const struct {
    double value;
    int precision;
    bool localeDecimal, group;
    char thousands, decimal;
    const char* expected;
  } cases[] = {
      {1234.5, 2, true, true, ' ', ',', "1 234,50"},  {1234.5, 2, true, false, ' ', ',', "1234,50"},
      {1234.5, 2, false, true, ' ', ',', "1 234.50"}, {1234.5, 2, false, false, ' ', ',', "1234.50"},
      {-1234567.5, 1, true, true, ' ', ',', "-1 234 567,5"}, {-123, 0, true, true, ' ', ',', "-123"},
      {123456, 0, true, true, ' ', ',', "123 456"},   {1234567, 0, true, true, '.', ',', "1.234.567"},
      {1234567, 0, true, true, 0, '.', "1234567"},    {0.5, 3, true, true, ' ', '.', "0.500"},
      {-0.25, 2, true, true, ' ', ',', "-0,25"},
  };
  for (const auto& c : cases) {
    FormatModule module(c.thousands, c.decimal);
    char out[64];
    EXPECT_STREQ(module.FormatDouble(out, sizeof out, c.value, c.precision, c.localeDecimal, c.group),
                 c.expected)
        << c.value << " precision " << c.precision;
  }
}

TEST(FormatDouble, NeverWritesPastItsBufferAndScalesByPowersOfTen) {
  FormatModule module(' ', ',');
  char out[12];
  std::memset(out, 'G', sizeof out);
  module.FormatDouble(out, 8, -1e300, 600, true, true);
  EXPECT_EQ(std::strlen(out), 7u);
  EXPECT_EQ(std::string(out), "-1 000 ");
  EXPECT_EQ(out[8], 'G') << "the byte past the given size is untouched";
  // Without a buffer the static one takes the text, cut to its 1024 bytes.
  const char* text = module.FormatDouble(nullptr, 0, 1e308, 1000, false, false);
  EXPECT_LT(std::strlen(text), 1024u);
  // A scaled number is divided by ten to the power of its scale.
  EXPECT_STREQ(module.FormatScaled(out, sizeof out, 123456, 2, true, true), "1 234,56");
  EXPECT_STREQ(module.FormatScaled(out, sizeof out, 12, -2, false, false), "1200");
}

// A ratio is shown with as many fraction digits as its denominator says.
TEST(FormatRatio, DividesAndTakesTheDenominatorAsThePrecision) {
  const struct {
    double numerator;
    int denominator;
    char thousands, decimal;
    const char* expected;
  } cases[] = {
      {12345, 2, ' ', ',', "6 172,50"},  {1, 3, ' ', ',', "0,333"},          {-7, 4, ' ', ',', "-1,7500"},
      {5e6, 1, ' ', ',', "5 000 000,0"}, {1234567, 1, '.', ',', "1.234.567,0"}, {2, 1, ' ', '.', "2.0"},
  };
  for (const auto& c : cases) {
    FormatModule module(c.thousands, c.decimal);
    char out[64];
    EXPECT_STREQ(module.FormatRatio(out, sizeof out, c.numerator, c.denominator), c.expected)
        << c.numerator << " / " << c.denominator;
  }
}

TEST(ParseNumber, ReadsWhatTheUserTyped) {
  const struct { char thousands, decimal; const char* text; double expected; } cases[] = {
      {' ', ',', "1 234,5", 1234.5}, {' ', ',', " -12 345 678,25\n", -12345678.25},
      {'.', ',', "1.234.567,5", 1234567.5}, {',', '.', "1,234.5", 1234.5}, {' ', ',', "", 0.0}, {' ', ',', "abc", 0.0},
  };
  for (const auto& c : cases) {
    FormatModule module(c.thousands, c.decimal);
    char text[64];
    std::strcpy(text, c.text);
    EXPECT_DOUBLE_EQ(module.ParseNumber(text), c.expected) << c.text;
  }
  FormatModule module(' ', ',');
  EXPECT_DOUBLE_EQ(module.ParseNumber(nullptr), 0.0);
}

TEST(PackedDates, FormatAsDayMonthYearAndTime) {
  char date[32], time[32], tiny[6];
  FormatPackedDate(date, sizeof date, 20240105);
  FormatPackedTime(time, sizeof time, 93005);
  FormatPackedDate(tiny, sizeof tiny, 20240105);
  EXPECT_EQ(std::vector<std::string>({date, time, FormatPackedDateText(19991231), FormatPackedTimeText(0), tiny}),
            std::vector<std::string>({"05.01.2024", "09:30:05", "31.12.1999", "00:00:00", "05.01"}));
}

TEST(PackedDates, CalendarArithmetic) {
  const struct { long first, second, days; } between[] = {
      {20240101, 20240301, 60}, {20230101, 20230301, 59},  // with and without a leap February
      {20240331, 20240401, 1},    // across a daylight-saving change in many zones
      {20241027, 20241028, 1}, {20240301, 20240101, -60}, {19700101, 20000101, 10957},
  };
  for (const auto& c : between) EXPECT_EQ(DaysBetween(c.first, c.second), c.days) << c.first;

  const struct { long date, days, expected; } adds[] = {
      {20240228, 1, 20240229}, {20240229, 1, 20240301}, {20231231, 1, 20240101},
      {20240101, -1, 20231231}, {20240330, 2, 20240401},
      {19700101, -1, 19700101},   // before the epoch: unchanged
      {20240101, 100000000, 20240101},
  };
  for (const auto& c : adds) EXPECT_EQ(AddDays(c.date, c.days), c.expected) << c.date << "+" << c.days;
}

TEST(TextHelpers, TrimAndReplaceInPlace) {
  const struct { void (*operation)(char*); const char *input, *expected; } cases[] = {
      {TrimBlanks, "  a b  ", "a b"}, {TrimLeftBlanks, "  a ", "a "}, {TrimRightBlanks, " a  ", " a"},
      {TrimBlanks, "    ", ""},
      {TrimRightBlanksDots, "text. .\r\n", "text"},
      {RemoveBlanksAndNewlines, " a b\nc \r", "abc\r"},
  };
  for (const auto& c : cases) {
    char text[64];
    std::strcpy(text, c.input);
    c.operation(text);
    EXPECT_STREQ(text, c.expected) << "'" << c.input << "'";
  }
  char text[] = "a-b-c";
  ReplaceChar(text, '-', '+');
  EXPECT_STREQ(text, "a+b+c");
  std::string message = "Клиент %C, клиент %C";
  EXPECT_TRUE(ReplaceFirst(message, "%C", "K01"));
  EXPECT_EQ(message, "Клиент K01, клиент %C");
  EXPECT_FALSE(ReplaceFirst(message, "%X", "-"));
  EXPECT_FALSE(ReplaceFirst(message, "", "-"));
}

TEST(TextHelpers, IsInListIgnoresCaseAndBlanks) {
  const struct { const char* item; char separator; const char* list; bool expected; } cases[] = {
      {"b", ';', "a; B ;c", true}, {"c", ';', "a; B ;c", true}, {"d", ';', "a; B ;c", false},
      {"b", ';', "", false},       {"b", ';', nullptr, false},   {"ab", ',', "a b,\nc", true},
      {"счёт", ',', "СЧЁТ,x", true}, {"", ';', "a;;b", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsInList(c.item, c.separator, c.list), c.expected)
        << c.item << " in " << (c.list ? c.list : "(null)");
  const std::string longElement(700, 'x');
  EXPECT_TRUE(IsInList(std::string(511, 'x').c_str(), ';', longElement.c_str()))
      << "elements are cut at 511 characters";
}
}  // namespace
