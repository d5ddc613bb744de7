// Upper-casing, number texts, comma lists, five-number lists and key tokens.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

TEST(TextTest, UpperCaseFoldsAsciiOnly) {
  std::string text = "abz\xe0\xff_1AZ";
  MakeUpper(text);
  EXPECT_EQ(text, "ABZ\xe0\xff_1AZ");
  EXPECT_EQ(ToUpperCopy("cl_a1"), "CL_A1");
}

TEST(TextTest, RemoveSpacesKeepsTabs) {
  std::string text = " a \tb  c ";
  RemoveSpaces(text);
  EXPECT_EQ(text, "a\tbc");
}

TEST(TextTest, NumberToText) {
  EXPECT_EQ(DoubleToString(1.5), "1.500000");
  EXPECT_EQ(DoubleToString(-0.0000004), "-0.000000");
  EXPECT_EQ(DoubleToString(1e20), "100000000000000000000.000000");
  EXPECT_EQ(IntToString(-42), "-42");
}

struct IntCase {
  const char* text;
  int value;
};

TEST(NumberTextTest, IntegersFollowAtoi) {
  const IntCase cases[] = {
      {"", 0},           {"42", 42},          {"  \t-17x", -17}, {"+8", 8},
      {"- 8", 0},        {"abc", 0},          {"12.9", 12},      {"\n\v\f\r5", 5},
      {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN}, {"0x10", 0}, {"--3", 0},
  };
  for (const IntCase& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << c.text;
}

struct DoubleCase {
  const char* text;
  double value;
};

TEST(NumberTextTest, DoublesFollowAtofWithAPoint) {
  const DoubleCase cases[] = {
      {"", 0.0},         {"1.5", 1.5},       {"  -2.25abc", -2.25}, {"+.5", 0.5},
      {"1e3", 1000.0},   {"1E-2", 0.01},     {"5.", 5.0},           {"1,5", 1.0},
      {"e5", 0.0},       {".", 0.0},         {"-", 0.0},            {"--1", 0.0},
      {"0x1p4", 16.0},   {"0x", 0.0},        {"0xg", 0.0},          {"1e", 1.0},
      {"1e+", 1.0},      {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0},
      {"0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000001", 0.0},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"inf", HUGE_VAL}, {"-Infinity", -HUGE_VAL},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(TextToDouble(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isnan(TextToDouble("nan")));
}

TEST(NumberTextTest, DecimalPointIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous != nullptr ? previous : "C";
  // Any locale with a decimal comma will do; the test is moot without one.
  bool changed = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr ||
                 std::setlocale(LC_NUMERIC, "Russian_Russia.1251") != nullptr;
  EXPECT_EQ(TextToDouble("2.5"), 2.5);
  EXPECT_EQ(ParseDouble("0.25"), 0.25);
  EXPECT_EQ(DoubleToString(2.5), "2.500000");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!changed) GTEST_SKIP() << "no locale with a decimal comma installed";
}

struct SplitCase {
  const char* text;
  Strings items;
};

TEST(TextListTest, SplitCommaList) {
  const SplitCase cases[] = {
      {"", {}},          {"x", {"x"}},              {"a, b,c", {"a", "b", "c"}},
      {"a,,b", {"a", "", "b"}}, {"a,", {"a", ""}},  {",", {"", ""}},
      {" ", {""}},       {"a b\t,c", {"ab\t", "c"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitCommaList(c.text), c.items) << c.text;
}

TEST(TextListTest, SplitToNumbers) {
  EXPECT_EQ(SplitToInts("1, ,x,-4", 9), (std::vector<int>{1, 9, 0, -4}));
  EXPECT_EQ(SplitToInts("", 9), std::vector<int>{});
  EXPECT_EQ(SplitToDoubles("1.5,,2"), (Doubles{1.5, 0.0, 2.0}));
  EXPECT_EQ(SplitToDoublesOrUnset("1.5,,2"), (Doubles{1.5, -1.0, 2.0}));
}

struct NumberListCase {
  const char* text;
  Doubles numbers;
};

TEST(TextListTest, ParseNumberListFillsTheOmittedTail) {
  const NumberListCase cases[] = {
      {"", {1, 1, -1, -1, -1}},
      {"2", {2}},
      {"2,", {2, 1, -1, -1, -1}},
      {"2,,3", {2, 1, -1, -1, -1, 3}},
      {"-1.5", {1.5}},
      {"1,2,3,4,", {1, 2, 3, 4, -1}},
      {"1,2,3,4,5,", {1, 2, 3, 4, 5}},
      {"1,2,3,4,5,,7", {1, 2, 3, 4, 5, 7}},
      {"a", {1, 1, -1, -1, -1}},
  };
  for (const NumberListCase& c : cases) EXPECT_EQ(ParseNumberList(c.text), c.numbers) << c.text;
}

struct KeySuffixCase {
  const char* key;
  std::size_t from;
  bool found;
  std::size_t start;
  std::size_t end;
};

TEST(TextListTest, ParseKeySuffixFindsTheNextToken) {
  const KeySuffixCase cases[] = {
      {"SPREAD_T1_T2", 7, true, 7, 8},
      {"SPREAD_T1_T2", 10, true, 10, 11},
      {"SPREAD_T1_T2", 12, false, 0, 0},
      {"SPREAD_(A_B)_T2", 7, true, 8, 10},
      {"SPREAD_(A_B)_T2", 12, true, 13, 14},
      {"SPREAD_()", 7, true, 8, 7},
      {"SPREAD_(AB", 7, false, 0, 0},
      {"SPREAD_(", 7, true, 7, 7},
      {"SPREAD_", 7, false, 0, 0},
      {"SPREAD", 1, false, 0, 0},
      {"A__B", 2, true, 2, 3},
      {"", 1, false, 0, 0},
      {"_X", 0, true, 1, 1},
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
