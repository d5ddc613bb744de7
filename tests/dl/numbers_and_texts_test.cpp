// Tolerance comparisons, rounding, dates, conversions, inherited values,
// number texts, comma lists, five-number lists and key tokens.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

TEST(Numbers, ToleranceBoundIsStrict) {
  const std::tuple<double, double, bool, bool, bool> cases[] = {  // a, b, equal, greater, less
      {1.0, 1.00000009, true, false, false}, {1.0, 1.0000001, false, false, true},
      {1.00000005, 1.0, true, false, false}, {1.0000002, 1.0, false, true, false},
      {0.99999995, 1.0, true, false, false}, {0.9999998, 1.0, false, false, true},
  };
  for (const auto& [a, b, equal, greater, less] : cases) {
    EXPECT_EQ(IsEqual(a, b), equal) << a << " " << b;
    EXPECT_EQ(IsGreater(a, b), greater) << a << " " << b;
    EXPECT_EQ(IsLess(a, b), less) << a << " " << b;
  }
  EXPECT_TRUE(IsZero(-0.00000009));
  EXPECT_FALSE(IsZero(kTolerance) || IsZero(-kTolerance));
  const double parts[][3] = {{2.5, 2.5, 0}, {0.00000005, 0, 0}, {-1, 0, -1}, {-0.00000005, 0, 0}};
  for (const auto& p : parts)
    EXPECT_EQ((Doubles{PositivePart(p[0]), NegativePart(p[0])}), (Doubles{p[1], p[2]})) << p[0];
  EXPECT_EQ(AbsValue(-3.5), 3.5);
}

TEST(Numbers, RoundingUsesTheTolerance) {
  // x, half away from zero, away from zero, toward zero
  const double cases[][4] = {
      {2.4999999, 3, 3, 2},   {-2.5, -3, -3, -2}, {2.00000005, 2, 2, 2},     {2.1, 2, 3, 2},
      {-2.1, -2, -3, -2},     {2.99999995, 3, 3, 3}, {-2.7, -3, -3, -2},     {0, 0, 0, 0},
      {-1.99999995, -2, -2, -2}, {-2.4999999, -3, -3, -2}, {-2.00000005, -2, -2, -2},
  };
  for (const auto& c : cases)
    EXPECT_EQ((Doubles{RoundHalfAway(c[0]), RoundAwayFromZero(c[0]), TruncateTowardZero(c[0])}),
              (Doubles{c[1], c[2], c[3]})) << c[0];
}

TEST(Numbers, PowersDatesAndConversions) {
  EXPECT_EQ((Doubles{PowerOfTen(0), PowerOfTen(3), PowerOfTen(INT_MIN)}), (Doubles{1, 1000, 0}));
  EXPECT_EQ(PowerOfTen(-2), 0.1 * 0.1);
  EXPECT_TRUE(std::isinf(PowerOfTen(INT_MAX)));
  const TDateParts parts = SplitDate(20240315);
  EXPECT_EQ((std::vector<int>{parts.day, parts.month, parts.year}), (std::vector<int>{15, 3, 2024}));
  EXPECT_EQ(SplitDate(-20240315).day, -15);
  // The difference of the YYYYMMDD digits: a month less 27 days.
  EXPECT_EQ((std::vector<int>{DateDifference(20240301, 20240228), DateDifference(20250101, 20241231),
                              DateDifference(INT_MAX, INT_MIN)}),
            (std::vector<int>{73, 8870, -1}));
  EXPECT_EQ(ApplyPercentFlag(200.0, 5.0, 0x400), 10.0);
  EXPECT_EQ(ApplyPercentFlag(200.0, 5.0, 0x3ff), 200.0);
  for (char side : {'S', 'B', 'X'}) {
    EXPECT_EQ(ConvertByRate(7.0, side, 3.0, 1, 0.0), 7.0) << side;
    EXPECT_EQ(ConvertByRate(7.0, side, 3.0, 0, 2.0), 7.0) << side;
  }
  EXPECT_EQ((Doubles{ConvertByRate(8.0, 'S', 2.0, 1, 4.0), ConvertByRate(8.0, 'B', 2.0, 1, 4.0),
                     ConvertByRate(8.0, 'X', 2.0, 1, 4.0), ConvertPercentByRate(200.0, 'B', 0x400, 5.0, 2.0, 1, 3.0)}),
            (Doubles{4, 64, 16, 60}));
  const int kinds[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
  for (const auto& k : kinds) EXPECT_EQ(NormalizeLimitKind(k[0]), k[1]) << k[0];
}

TEST(Numbers, InheritedValues) {
  // value, flag, expected with inherited 5 and alternative 7
  const int cases[][3] = {{-2, 0, 5}, {-2, 1, 7}, {-1, 0, 7}, {-1, 1, -1}, {3, 0, 3}, {3, 1, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveInherited(c[0], 5, 7, c[1] != 0), c[2]) << c[0] << " " << c[1];
    EXPECT_EQ(ResolveInherited(c[0] + 0.00000001, 5.0, 7.0, c[1] != 0), c[0] == 3 ? 3.00000001 : c[2]) << c[0];
  }
  EXPECT_TRUE(ResolveInherited(true, false, false, false));
  EXPECT_FALSE(ResolveInherited(false, true, true, false));
  EXPECT_EQ(ResolveInheritedSimple(-2, 9) * 10 + ResolveInheritedSimple(-1, 9), 89);  // 9 and -1
  EXPECT_FALSE(ResolveInheritedSimpleFlag(-2, 0));
  EXPECT_TRUE(ResolveInheritedSimpleFlag(-1, 0));
}

TEST(NumberText, NumbersFollowAtoiAndAtofWithAPoint) {
  const std::pair<const char*, int> integers[] = {
      {"", 0},     {"42", 42},   {"  \t-17x", -17}, {"+8", 8}, {"- 8", 0}, {"abc", 0}, {"12.9", 12},
      {"\n\v\f\r5", 5}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"0x10", 0}, {"--3", 0},
  };
  for (const auto& [text, value] : integers) EXPECT_EQ(TextToInt(text), value) << text;
  // Out of range: the first significant digit moved by the exponent decides
  // between an overflow and an underflow.
  const std::string underflow = "0." + std::string(1324, '0') + "1e1000";
  const std::pair<std::string, double> doubles[] = {
      {"", 0.0},        {"1.5", 1.5},     {"  -2.25abc", -2.25}, {"+.5", 0.5},  {"1e3", 1000.0},  {"1E-2", 0.01},
      {"5.", 5.0},      {"1,5", 1.0},     {"e5", 0.0},       {".", 0.0},        {"-", 0.0},       {"--1", 0.0},
      {"0x1p4", 16.0},  {"0x", 0.0},      {"0xg", 0.0},      {"1e", 1.0},       {"0xF", 15.0},    {"0xf", 15.0},
      {"0XA", 10.0},    {"0x.8", 0.5},    {"0x.", 0.0},      {"0x.g", 0.0},     {"-0x10", -16.0}, {"1e+", 1.0},
      {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0}, {"0x1p99999", HUGE_VAL}, {"0x1p-99999", 0.0},
      {"0.0001e-330", 0.0}, {"1000e306", HUGE_VAL}, {underflow, 0.0}, {"inf", HUGE_VAL}, {"-Infinity", -HUGE_VAL},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const auto& [text, value] : doubles) EXPECT_EQ(TextToDouble(text), value) << text.substr(0, 40);
  EXPECT_TRUE(std::isnan(TextToDouble("nan")));
}

TEST(NumberText, DecimalPointIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  // Any locale with a decimal comma will do; the test is moot without one.
  const bool changed = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr ||
                       std::setlocale(LC_NUMERIC, "Russian_Russia.1251") != nullptr;
  EXPECT_EQ(TextToDouble("2.5"), 2.5);
  EXPECT_EQ(ParseDouble("0.25"), 0.25);
  EXPECT_EQ(DoubleToString(2.5), "2.500000");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!changed) GTEST_SKIP() << "no locale with a decimal comma installed";
}

TEST(TextLists, TextsAndLists) {
  std::string text = "abz\xe0\xff_1AZ`{@[";
  MakeUpper(text);
  EXPECT_EQ(text, "ABZ\xe0\xff_1AZ`{@[");
  text = " a \tb  c ";
  RemoveSpaces(text);
  EXPECT_EQ(text, "a\tbc");
  EXPECT_EQ(ToUpperCopy("cl_a1") + " " + DoubleToString(1.5) + " " + DoubleToString(-0.0000004) + " " +
                DoubleToString(1e20) + " " + IntToString(-42),
            "CL_A1 1.500000 -0.000000 100000000000000000000.000000 -42");
  const std::pair<const char*, Strings> lists[] = {
      {"", {}},     {"x", {"x"}},         {"a, b,c", {"a", "b", "c"}}, {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}}, {",", {"", ""}}, {" ", {""}},                 {"a b\t,c", {"ab\t", "c"}},
  };
  for (const auto& [list, items] : lists) EXPECT_EQ(SplitCommaList(list), items) << list;
  EXPECT_EQ(SplitToInts("1, ,x,-4", 9), (std::vector<int>{1, 9, 0, -4}));
  EXPECT_EQ(SplitToInts("", 9), std::vector<int>{});
  EXPECT_EQ(SplitToDoubles("1.5,,2"), (Doubles{1.5, 0.0, 2.0}));
  EXPECT_EQ(SplitToDoublesOrUnset("1.5,,2"), (Doubles{1.5, -1.0, 2.0}));
  // Five numbers: an empty field fills the omitted tail with the defaults.
  const std::pair<const char*, Doubles> numbers[] = {
      {"", {1, 1, -1, -1, -1}}, {"2", {2}}, {"2,", {2, 1, -1, -1, -1}}, {"2,,3", {2, 1, -1, -1, -1, 3}},
      {"-1.5", {1.5}}, {"1,2,3,4,", {1, 2, 3, 4, -1}}, {"1,2,3,4,5,", {1, 2, 3, 4, 5}},
      {"1,2,3,4,5,,7", {1, 2, 3, 4, 5, 7}}, {"a", {1, 1, -1, -1, -1}}, {"0.5,9", {0.5, 9}},
  };
  for (const auto& [list, expected] : numbers) EXPECT_EQ(ParseNumberList(list), expected) << list;
}

TEST(TextLists, ParseKeySuffixFindsTheNextToken) {
  // key, from, found, start, end
  const std::tuple<const char*, std::size_t, bool, std::size_t, std::size_t> cases[] = {
      {"SPREAD_T1_T2", 7, true, 7, 8},       {"SPREAD_T1_T2", 10, true, 10, 11}, {"SPREAD_T1_T2", 12, false, 0, 0},
      {"SPREAD_(A_B)_T2", 7, true, 8, 10},   {"SPREAD_(A_B)_T2", 12, true, 13, 14}, {"SPREAD_()", 7, true, 8, 7},
      {"SPREAD_(AB", 7, false, 0, 0},        {"SPREAD_(", 7, true, 7, 7},        {"SPREAD_", 7, false, 0, 0},
      {"SPREAD", 1, false, 0, 0},            {"A__B", 2, true, 2, 3},            {"", 1, false, 0, 0},
      {"_X", 0, true, 1, 1},                 {"_X", 1, true, 1, 1},
  };
  for (const auto& [key, from, found, start, end] : cases) {
    std::size_t gotStart = 99, gotEnd = 99;
    EXPECT_EQ(ParseKeySuffix(key, from, gotStart, gotEnd), found) << key << " " << from;
    EXPECT_EQ(gotStart * 100 + gotEnd, start * 100 + end) << key << " " << from;
  }
}

}  // namespace
}  // namespace DL
