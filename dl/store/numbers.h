#pragma once

namespace DL {

// Two doubles closer than this are equal everywhere in the library.
constexpr double kTolerance = 1e-7;

bool IsZero(double x);
bool IsEqual(double a, double b);
bool IsGreater(double a, double b);
bool IsLess(double a, double b);
double PositivePart(double x);
double NegativePart(double x);
double AbsValue(double x);

// Rounding with the tolerance: a value within 1e-7 of the boundary counts as
// being on it.
double RoundHalfAway(double x);
double RoundAwayFromZero(double x);
double TruncateTowardZero(double x);

// 10 to the power n. The exponent is clamped to the range where the result
// still changes (beyond it the result is infinity or zero anyway), so a huge
// argument costs no time.
double PowerOfTen(int n);

struct TDateParts {
  int day;
  int month;
  int year;
};

// Dates are yyyymmdd integers.
TDateParts SplitDate(int yyyymmdd);
// The difference of the two dates as yyyymmdd numbers, not a count of days.
int DateDifference(int a, int b);

double ApplyPercentFlag(double x, double p, int flags);
double ConvertByRate(double x, char side, double y, char mode, double rate);
double ConvertPercentByRate(double x, char side, int flags, double p, double y, char mode,
                            double rate);

int NormalizeLimitKind(int k);

// Per-client settings use -2 for "the inherited value applies" and -1 for
// "not set".
int ResolveInherited(int value, int inherited, int alternative, bool flag);
double ResolveInherited(double value, double inherited, double alternative, bool flag);
bool ResolveInherited(bool value, bool inherited, bool alternative, bool flag);
int ResolveInheritedSimple(int value, int inherited);
bool ResolveInheritedSimpleFlag(int value, int inherited);

}  // namespace DL
