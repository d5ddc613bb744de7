#include "dl/store/numbers.h"

#include <cmath>

namespace DL {

bool IsZero(double x) { return -kTolerance < x && x < kTolerance; }
bool IsEqual(double a, double b) { return IsZero(a - b); }
bool IsGreater(double a, double b) { return !IsEqual(a, b) && a > b; }
bool IsLess(double a, double b) { return !IsEqual(a, b) && a < b; }
double PositivePart(double x) { return IsGreater(x, 0.0) ? x : 0.0; }
double NegativePart(double x) { return IsLess(x, 0.0) ? x : 0.0; }
double AbsValue(double x) { return std::fabs(x); }

double RoundHalfAway(double x) {
  return x >= 0 ? std::floor((x + kTolerance) + 0.5) : std::ceil((x - kTolerance) - 0.5);
}

double RoundAwayFromZero(double x) {
  return x >= 0 ? std::floor((x - kTolerance) + 1.0) : std::ceil((x + kTolerance) - 1.0);
}

double TruncateTowardZero(double x) {
  return x >= 0 ? std::floor(x + kTolerance) : std::ceil(x - kTolerance);
}

double PowerOfTen(int n) {
  // 10^400 is already infinite and 0.1^400 already zero.
  constexpr int kLimit = 400;
  if (n > kLimit) n = kLimit;
  if (n < -kLimit) n = -kLimit;
  double result = 1.0;
  for (; n > 0; --n) result *= 10.0;
  for (; n < 0; ++n) result *= 0.1;
  return result;
}

TDateParts SplitDate(int v) { return TDateParts{v % 100, (v / 100) % 100, v / 10000}; }

int DateDifference(int a, int b) {
  TDateParts x = SplitDate(a), y = SplitDate(b);
  // Computed wide: the parts of two extreme ints overflow 32 bits.
  long long years = static_cast<long long>(x.year) - y.year;
  long long result = ((years * 100 + x.month - y.month) * 100) + x.day - y.day;
  return static_cast<int>(static_cast<unsigned int>(result));
}

double ApplyPercentFlag(double x, double p, int flags) {
  return (flags & 0x400) != 0 ? x * p * 0.01 : x;
}

double ConvertByRate(double x, char side, double y, char mode, double rate) {
  if (mode != 1 || rate == 0.0) return x;
  if (side == 'S') return (x * y) * (1 / rate);
  if (side == 'B') return (x * y) * rate;
  return x * y;
}

double ConvertPercentByRate(double x, char side, int flags, double p, double y, char mode,
                            double rate) {
  return ConvertByRate(ApplyPercentFlag(x, p, flags), side, y, mode, rate);
}

int NormalizeLimitKind(int k) { return k == 1 || k == 2 ? k : 0; }

int ResolveInherited(int value, int inherited, int alternative, bool flag) {
  if (value == -2) return flag ? alternative : inherited;
  if (value == -1) return flag ? -1 : alternative;
  return value;
}

double ResolveInherited(double value, double inherited, double alternative, bool flag) {
  if (IsEqual(value, -2.0)) return flag ? alternative : inherited;
  if (IsEqual(value, -1.0)) return flag ? -1.0 : alternative;
  return value;
}

bool ResolveInherited(bool value, bool inherited, bool alternative, bool flag) {
  return ResolveInherited(static_cast<int>(value), static_cast<int>(inherited),
                          static_cast<int>(alternative), flag) != 0;
}

int ResolveInheritedSimple(int value, int inherited) { return value == -2 ? inherited : value; }

bool ResolveInheritedSimpleFlag(int value, int inherited) {
  return ResolveInheritedSimple(value, inherited) != 0;
}

}  // namespace DL
