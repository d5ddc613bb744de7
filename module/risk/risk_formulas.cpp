#include "module/risk/risk_formulas.h"

#include "sdk/numeric.h"

#include <algorithm>

namespace {
enum FundsRatioMode { kLossOnly = 2, kGainOnly = 3, kWithoutD = 4 };
enum VarMarginMode { kAllMargin = 1, kMarginLoss = 2, kMarginGain = 3 };

bool IsZeroOrNotSet(double value) {
  return DoubleEquals(value, 0.0) || DoubleEquals(value, kValueNotSet);
}
}  // namespace

double CalcFundsRatio(double a, double b, double c, double d, int mode) {
  double counted = d;
  if (mode == kLossOnly) counted = std::min(d, 0.0);
  if (mode == kGainOnly) counted = std::max(d, 0.0);
  if (mode == kWithoutD) counted = 0.0;
  const double numerator = a + b + c + counted;
  const double denominator = b + std::max(a + counted, 0.0);
  if (denominator > 0.0) return numerator / denominator;
  return numerator >= 0.0 ? 1.0 : -0.99;
}

double CalcRatioOrOne(double a, double b, double c) {
  return IsZeroOrNotSet(c) ? 1.0 : (a + b) / c;
}

double CalcRatioPlusOrOne(double a, double b, double c, double d) {
  return IsZeroOrNotSet(c) ? 1.0 : (a + b + d) / c;
}

double SumByMarginMode(double a, double b, double c, double d, int useVarMargin) {
  switch (useVarMargin) {
    case kAllMargin: return a + b + c + d;
    case kMarginLoss: return a + b + std::min(c, 0.0) + d;
    case kMarginGain: return a + b + std::max(c, 0.0) + d;
    default: return a + b + d;
  }
}

double CalcCurrentDebt(double a, double b, double c, bool useTotalAssets) {
  const double assets = useTotalAssets ? b : c;
  return std::min(0.0, std::min(a, 0.0) + std::max(assets - a, 0.0));
}

double CalcSufficiencyRatio(double a, double b, double c, bool useTotalAssets) {
  if (DoubleEquals(c, 0.0)) return kValueNotSet;
  return (useTotalAssets ? a : b) / c;
}

double CalcCashLeverage(double positionsValue, double totalAssets) {
  if (DoubleEquals(totalAssets, kValueNotSet)) return kValueNotSet;
  if (DoubleEquals(totalAssets, 0.0))
    return DoubleEquals(positionsValue, 0.0) ? 0.0 : kValueNotSet;
  return positionsValue / totalAssets;
}
