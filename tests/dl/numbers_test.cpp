// Tolerance comparisons, rounding, dates, conversions and the -2/-1 markers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "dl/store/numbers.h"

namespace DL {
namespace {

TEST(NumbersTest, ToleranceBoundIsStrict) {
  EXPECT_TRUE(IsEqual(1.0, 1.00000009));
  EXPECT_FALSE(IsEqual(1.0, 1.0000001));
  EXPECT_FALSE(IsGreater(1.00000005, 1.0));
  EXPECT_TRUE(IsGreater(1.0000002, 1.0));
  EXPECT_FALSE(IsLess(0.99999995, 1.0));
  EXPECT_TRUE(IsLess(0.9999998, 1.0));
  EXPECT_TRUE(IsZero(-0.00000009));
  EXPECT_FALSE(IsZero(-0.0000001));
}

TEST(NumbersTest, PartsAndAbsoluteValue) {
  EXPECT_EQ(PositivePart(2.5), 2.5);
  EXPECT_EQ(PositivePart(0.00000005), 0.0);
  EXPECT_EQ(PositivePart(-1.0), 0.0);
  EXPECT_EQ(NegativePart(-2.5), -2.5);
  EXPECT_EQ(NegativePart(-0.00000005), 0.0);
  EXPECT_EQ(NegativePart(3.0), 0.0);
  EXPECT_EQ(AbsValue(-3.5), 3.5);
}

struct RoundCase {
  double x;
  double halfAway;
  double awayFromZero;
  double towardZero;
};

TEST(NumbersTest, RoundingUsesTheTolerance) {
  const RoundCase cases[] = {
      {2.4999999, 3.0, 3.0, 2.0},   {-2.5, -3.0, -3.0, -2.0},   {2.00000005, 2.0, 2.0, 2.0},
      {2.1, 2.0, 3.0, 2.0},         {-2.1, -2.0, -3.0, -2.0},   {2.99999995, 3.0, 3.0, 3.0},
      {-2.7, -3.0, -3.0, -2.0},     {0.0, 0.0, 0.0, 0.0},       {-1.99999995, -2.0, -2.0, -2.0},
  };
  for (const RoundCase& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(RoundHalfAway(c.x), c.halfAway);
    EXPECT_EQ(RoundAwayFromZero(c.x), c.awayFromZero);
    EXPECT_EQ(TruncateTowardZero(c.x), c.towardZero);
  }
}

TEST(NumbersTest, PowerOfTen) {
  EXPECT_EQ(PowerOfTen(0), 1.0);
  EXPECT_EQ(PowerOfTen(3), 1000.0);
  EXPECT_EQ(PowerOfTen(-2), 0.1 * 0.1);
  EXPECT_TRUE(std::isinf(PowerOfTen(INT_MAX)));
  EXPECT_EQ(PowerOfTen(INT_MIN), 0.0);
}

TEST(NumbersTest, DatesAreYyyymmddNumbers) {
  TDateParts parts = SplitDate(20240315);
  EXPECT_EQ(parts.day, 15);
  EXPECT_EQ(parts.month, 3);
  EXPECT_EQ(parts.year, 2024);
  TDateParts negative = SplitDate(-20240315);
  EXPECT_EQ(negative.day, -15);
  EXPECT_EQ(negative.year, -2024);
  EXPECT_EQ(DateDifference(20240301, 20240228), 73);
  EXPECT_EQ(DateDifference(20240228, 20240301), -73);
  EXPECT_EQ(DateDifference(INT_MAX, INT_MIN), -1);
}

TEST(NumbersTest, RateConversions) {
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
}

TEST(NumbersTest, NormalizeLimitKind) {
  const int cases[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(NormalizeLimitKind(c[0]), c[1]) << c[0];
}

struct InheritedCase {
  int value;
  bool flag;
  int expected;
};

TEST(NumbersTest, ResolveInheritedTable) {
  const InheritedCase cases[] = {
      {-2, false, 5}, {-2, true, 7}, {-1, false, 7}, {-1, true, -1}, {3, false, 3}, {3, true, 3},
  };
  for (const InheritedCase& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ResolveInherited(c.value, 5, 7, c.flag), c.expected);
    EXPECT_EQ(ResolveInherited(c.value + 0.00000001, 5.0, 7.0, c.flag),
              c.value == 3 ? 3.00000001 : c.expected);
  }
  EXPECT_TRUE(ResolveInherited(true, false, false, false));
  EXPECT_EQ(ResolveInheritedSimple(-2, 9), 9);
  EXPECT_EQ(ResolveInheritedSimple(-1, 9), -1);
  EXPECT_FALSE(ResolveInheritedSimpleFlag(-2, 0));
  EXPECT_TRUE(ResolveInheritedSimpleFlag(-1, 0));
}

}  // namespace
}  // namespace DL
