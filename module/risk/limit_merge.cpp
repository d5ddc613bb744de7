#include "module/risk/limit_merge.h"

#include "sdk/numeric.h"

double MergeLimitValue(double field, double v, double k, int limitType) {
  if (DoubleEquals(field, 0.0)) return v;
  if (field < 0.0) return field;
  const bool type0 = limitType == kLimitType0, type1 = limitType == kLimitType1;
  if (v < 0.0 && type0) return v;
  if (DoubleEquals(k, 0.0)) {
    if (type1) return field / (1.0 - k);
    if (type0) return field + v;
    return field;
  }
  if (DoubleEquals(k, 1.0)) {
    if (type1) return field + v;
    if (type0) return v / k;
    return field;
  }
  const double d = v / k;
  if (type1 && field < d) return field / (1.0 - k);
  if (type1 && d < field) return field + v;
  if (type0 && d > field) return field + v;
  if (type0 && d < field) return d;
  return field;
}
