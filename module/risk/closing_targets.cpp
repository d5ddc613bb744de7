#include "module/risk/closing_targets.h"

#include "module/client_market_values.h"

bool IsLevelReachedForParam(double value, double level, bool united, int id,
                            bool notMoreThanPlanned, double plannedNetPosition) {
  if (united || id == kPlannedNetPositionId) return value > level;
  const bool reached = id == kCurrentNetPositionId || id == kCurrentNetPositionOpenId
                           ? value < level
                           : value > level;
  return reached || (notMoreThanPlanned && plannedNetPosition >= 0.0);
}

bool IsUnitedParamApplicable(const TClientRiskRecord& record, const TClosingPattern& pattern) {
  return IsUnitedParamApplicableByIdx(record, pattern, pattern.ParamIdx2);
}

bool IsUnitedParamApplicableByIdx(const TClientRiskRecord& record,
                                  const TClosingPattern& pattern, int id) {
  if (!record.united || id != kModifiedMarginLevelId) return false;
  if (pattern.ActWithoutSpotPos) return true;
  const TClientMarketKey key = record.MarketKey();
  return HasUnitedPositionValues(&key);
}

double GetPatternTargetLevel(const TClosingPattern& pattern, const TClientRiskRecord& record) {
  if (IsUnitedParamApplicable(record, pattern))
    return pattern.ConsiderQualClient && record.qualified ? pattern.MinMarginForQualClients
                                                          : pattern.MinMarginLvl;
  if (record.united && pattern.ParamIdx2 != kModifiedMarginLevelId) return pattern.MinMarginLvl;
  return pattern.BoundaryValue;
}
