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
  EXPECT_TRUE(IsEqual(1.0, 1.00000009));
  EXPECT_FALSE(IsEqual(1.0, 1.0000001));
  EXPECT_FALSE(IsGreater(1.00000005, 1.0));
  EXPECT_TRUE(IsGreater(1.0000002, 1.0));
  EXPECT_FALSE(IsLess(0.99999995, 1.0));
  EXPECT_TRUE(IsLess(0.9999998, 1.0));
  EXPECT_TRUE(IsZero(-0.00000009));
  EXPECT_FALSE(IsZero(kTolerance));
  EXPECT_FALSE(IsZero(-kTolerance));
  const double parts[][3] = {{2.5, 2.5, 0}, {0.00000005, 0, 0}, {-1, 0, -1}, {-0.00000005, 0, 0}};
  for (const auto& p : parts) {
    EXPECT_EQ(PositivePart(p[0]), p[1]) << p[0];
    EXPECT_EQ(NegativePart(p[0]), p[2]) << p[0];
  }
  EXPECT_EQ(AbsValue(-3.5), 3.5);
}

TEST(Numbers, RoundingUsesTheTolerance) {
  // x, half away from zero, away from zero, toward zero
  const double cases[][4] = {
      {2.4999999, 3, 3, 2},  {-2.5, -3, -3, -2},   {2.00000005, 2, 2, 2},
      {2.1, 2, 3, 2},        {-2.1, -2, -3, -2},   {2.99999995, 3, 3, 3},
      {-2.7, -3, -3, -2},    {0, 0, 0, 0},         {-1.99999995, -2, -2, -2},
      {-2.4999999, -3, -3, -2}, {-2.00000005, -2, -2, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(RoundHalfAway(c[0]), c[1]);
    EXPECT_EQ(RoundAwayFromZero(c[0]), c[2]);
    EXPECT_EQ(TruncateTowardZero(c[0]), c[3]);
  }
}

TEST(Numbers, PowersDatesAndConversions) {
  EXPECT_EQ(PowerOfTen(0), 1.0);
  EXPECT_EQ(PowerOfTen(3), 1000.0);
  EXPECT_EQ(PowerOfTen(-2), 0.1 * 0.1);
  EXPECT_TRUE(std::isinf(PowerOfTen(INT_MAX)));
  EXPECT_EQ(PowerOfTen(INT_MIN), 0.0);
  const TDateParts parts = SplitDate(20240315);
  EXPECT_EQ((std::vector<int>{parts.day, parts.month, parts.year}), (std::vector<int>{15, 3, 2024}));
  EXPECT_EQ(SplitDate(-20240315).day, -15);
  EXPECT_EQ(DateDifference(20240301, 20240228), 73);  // 1 month less 27 days, as YYYYMMDD digits
  EXPECT_EQ(DateDifference(20250101, 20241231), 8870);
  EXPECT_EQ(DateDifference(INT_MAX, INT_MIN), -1);
  EXPECT_EQ(ApplyPercentFlag(200.0, 5.0, 0x400), 10.0);
  EXPECT_EQ(ApplyPercentFlag(200.0, 5.0, 0x3ff), 200.0);
  for (char side : {'S', 'B', 'X'}) {
    EXPECT_EQ(ConvertByRate(7.0, side, 3.0, 1, 0.0), 7.0) << side;
    EXPECT_EQ(ConvertByRate(7.0, side, 3.0, 0, 2.0), 7.0) << side;
  }
  EXPECT_EQ(ConvertByRate(8.0, 'S', 2.0, 1, 4.0), 4.0);
  EXPECT_EQ(ConvertByRate(8.0, 'B', 2.0, 1, 4.0), 64.0);
  EXPECT_EQ(ConvertByRate(8.0, 'X', 2.0, 1, 4.0), 16.0);
  EXPECT_EQ(ConvertPercentByRate(200.0, 'B', 0x400, 5.0, 2.0, 1, 3.0), 60.0);
  const int kinds[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
  for (const auto& k : kinds) EXPECT_EQ(NormalizeLimitKind(k[0]), k[1]) << k[0];
}

TEST(Numbers, InheritedValues) {
  // value, flag, expected with inherited 5 and alternative 7
  const int cases[][3] = {{-2, 0, 5}, {-2, 1, 7}, {-1, 0, 7}, {-1, 1, -1}, {3, 0, 3}, {3, 1, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0] * 10 + c[1]);
    EXPECT_EQ(ResolveInherited(c[0], 5, 7, c[1] != 0), c[2]);
    EXPECT_EQ(ResolveInherited(c[0] + 0.00000001, 5.0, 7.0, c[1] != 0),
              c[0] == 3 ? 3.00000001 : c[2]);
  }
  EXPECT_TRUE(ResolveInherited(true, false, false, false));
  EXPECT_FALSE(ResolveInherited(false, true, true, false));
  EXPECT_EQ(ResolveInheritedSimple(-2, 9), 9);
  EXPECT_EQ(ResolveInheritedSimple(-1, 9), -1);
  EXPECT_FALSE(ResolveInheritedSimpleFlag(-2, 0));
  EXPECT_TRUE(ResolveInheritedSimpleFlag(-1, 0));
}

TEST(NumberText, IntegersFollowAtoi) {
  const std::pair<const char*, int> cases[] = {
      {"", 0},           {"42", 42},          {"  \t-17x", -17}, {"+8", 8},
      {"- 8", 0},        {"abc", 0},          {"12.9", 12},      {"\n\v\f\r5", 5},
      {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"0x10", 0}, {"--3", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TextToInt(text), value) << text;
}

TEST(NumberText, DoublesFollowAtofWithAPoint) {
  const std::pair<const char*, double> cases[] = {
      {"", 0.0},         {"1.5", 1.5},       {"  -2.25abc", -2.25}, {"+.5", 0.5},
      {"1e3", 1000.0},   {"1E-2", 0.01},     {"5.", 5.0},           {"1,5", 1.0},
      {"e5", 0.0},       {".", 0.0},         {"-", 0.0},            {"--1", 0.0},
      {"0x1p4", 16.0},   {"0x", 0.0},        {"0xg", 0.0},          {"1e", 1.0},
      {"0xF", 15.0},     {"0xf", 15.0},      {"0XA", 10.0},         {"0x.8", 0.5},
      {"0x.", 0.0},      {"0x.g", 0.0},      {"-0x10", -16.0},
      {"1e+", 1.0},      {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0},
      {"0x1p99999", HUGE_VAL}, {"0x1p-99999", 0.0}, {"0.0001e-330", 0.0}, {"1000e306", HUGE_VAL},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"inf", HUGE_VAL}, {"-Infinity", -HUGE_VAL},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TextToDouble(text), value) << text;
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

TEST(Texts, UpperCaseSpacesAndNumberTexts) {
  std::string text = "abz\xe0\xff_1AZ`{@[";
  MakeUpper(text);
  EXPECT_EQ(text, "ABZ\xe0\xff_1AZ`{@[");
  EXPECT_EQ(ToUpperCopy("cl_a1"), "CL_A1");
  text = " a \tb  c ";
  RemoveSpaces(text);
  EXPECT_EQ(text, "a\tbc");
  EXPECT_EQ(DoubleToString(1.5), "1.500000");
  EXPECT_EQ(DoubleToString(-0.0000004), "-0.000000");
  EXPECT_EQ(DoubleToString(1e20), "100000000000000000000.000000");
  EXPECT_EQ(IntToString(-42), "-42");
}

TEST(TextLists, SplitCommaListAndNumbers) {
  const std::pair<const char*, Strings> cases[] = {
      {"", {}},          {"x", {"x"}},              {"a, b,c", {"a", "b", "c"}},
      {"a,,b", {"a", "", "b"}}, {"a,", {"a", ""}},  {",", {"", ""}},
      {" ", {""}},       {"a b\t,c", {"ab\t", "c"}},
  };
  for (const auto& [text, items] : cases) EXPECT_EQ(SplitCommaList(text), items) << text;
  EXPECT_EQ(SplitToInts("1, ,x,-4", 9), (std::vector<int>{1, 9, 0, -4}));
  EXPECT_EQ(SplitToInts("", 9), std::vector<int>{});
  EXPECT_EQ(SplitToDoubles("1.5,,2"), (Doubles{1.5, 0.0, 2.0}));
  EXPECT_EQ(SplitToDoublesOrUnset("1.5,,2"), (Doubles{1.5, -1.0, 2.0}));
}

TEST(TextLists, ParseNumberListFillsTheOmittedTail) {
  const std::pair<const char*, Doubles> cases[] = {
      {"", {1, 1, -1, -1, -1}},     {"2", {2}},
      {"2,", {2, 1, -1, -1, -1}},   {"2,,3", {2, 1, -1, -1, -1, 3}},
      {"-1.5", {1.5}},              {"1,2,3,4,", {1, 2, 3, 4, -1}},
      {"1,2,3,4,5,", {1, 2, 3, 4, 5}}, {"1,2,3,4,5,,7", {1, 2, 3, 4, 5, 7}},
      {"a", {1, 1, -1, -1, -1}},    {"0.5,9", {0.5, 9}},
  };
  for (const auto& [text, numbers] : cases) EXPECT_EQ(ParseNumberList(text), numbers) << text;
}

struct KeySuffixCase {
  const char* key;
  std::size_t from;
  bool found;
  std::size_t start;
  std::size_t end;
};

TEST(TextLists, ParseKeySuffixFindsTheNextToken) {
  const KeySuffixCase cases[] = {
      {"SPREAD_T1_T2", 7, true, 7, 8},     {"SPREAD_T1_T2", 10, true, 10, 11},
      {"SPREAD_T1_T2", 12, false, 0, 0},   {"SPREAD_(A_B)_T2", 7, true, 8, 10},
      {"SPREAD_(A_B)_T2", 12, true, 13, 14}, {"SPREAD_()", 7, true, 8, 7},
      {"SPREAD_(AB", 7, false, 0, 0},      {"SPREAD_(", 7, true, 7, 7},
      {"SPREAD_", 7, false, 0, 0},         {"SPREAD", 1, false, 0, 0},
      {"A__B", 2, true, 2, 3},             {"", 1, false, 0, 0},
      {"_X", 0, true, 1, 1},               {"_X", 1, true, 1, 1},
  };
  for (const KeySuffixCase& c : cases) {
    std::size_t start = 99, end = 99;
    EXPECT_EQ(ParseKeySuffix(c.key, c.from, start, end), c.found) << c.key << " " << c.from;
    EXPECT_EQ(start, c.start) << c.key << " " << c.from;
    EXPECT_EQ(end, c.end) << c.key << " " << c.from;
  }
}

}  // namespace
}  // namespace DL
