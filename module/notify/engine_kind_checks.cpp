#include "module/notify/engine_kind_checks.h"

#include "module/risk/level_tests.h"
#include "module/risk/margin_call_kinds.h"

namespace {

TKindCheck Test(double value, double level, const char* name) {
  TKindCheck check;
  check.action = KindAction::Test;
  check.value = value;
  check.level = level;
  check.name = name;
  return check;
}

TKindCheck Rearm() {
  TKindCheck check;
  check.action = KindAction::Rearm;
  return check;
}

// The collateral calls name whether the open-position limit itself is negative.
double ClgoReason(const TClientRiskRecord& record) {
  return record.openPositionLimit < 0 ? 1.0 : 0.0;
}

TKindCheck SfrCheck(int kind, const TClientRiskRecord& record, const TModuleSettings& s) {
  const bool fp = kind == kSfrOpenPositionsKind;
  const double value = fp ? record.sfrOpenPositions : record.sfr;
  const bool criticalOn = !(fp ? s.SendSFRCriticalMsg_fp : s.SendSFRCriticalMsg);
  const bool warningOn = !(fp ? s.SendSFRWarningMsg_fp : s.SendSFRWarningMsg);
  const double warningLevel = fp ? s.SFRWarningLevel_fp : s.SFRWarningLevel;
  if (criticalOn && IsSfrCriticalLevelReached(record, s, kind))
    return Test(value, fp ? s.SFRCriticalLevel_fp : s.SFRCriticalLevel,
                fp ? "critical level of SFR(forPosition)" : "critical level of SFR");
  if (warningOn && IsSfrWarningLevelReached(record, s, kind))
    return Test(value, warningLevel, fp ? "warning level of SFR(forPosition)" : "warning level of SFR");
  return warningLevel < value ? Rearm() : TKindCheck();
}

TKindCheck LowFundsCheck(const TClientRiskRecord& record, const TModuleSettings& s) {
  // Compared as stored, so MinParamChange counts in hundredths here.
  const double value = record.plannedNetPosition;
  if (value < 0 && !s.SendLowFundsMsg) {
    TKindCheck check = Test(value, 0.0, "LF");
    check.logScale = 100.0;
    return check;
  }
  return value > 0 ? Rearm() : TKindCheck();
}

TKindCheck MarginLevelCheck(const TClientRiskRecord& record, const TModuleSettings& s) {
  if (s.SendMLMsg || !IsMlBroken(record, s)) return Rearm();
  if (record.united) return Test(record.marginLevel, s.MLLevel, "ML");
  TKindCheck check = Test(record.plannedNetPosition, 0.0, "ML");
  check.needsMinChange = false;
  return check;
}

TKindCheck UpCheck(const TClientRiskRecord& record, const TModuleSettings& s) {
  if (s.SendUPMsg || (s.OnlyUnitedPos && !record.united) || !IsUpLevelReached(record, s))
    return Rearm();
  TKindCheck check = Test(record.GetValueByColumn(s.UPParam), s.UPLevel, "UP");
  check.higherIsWorse = s.UPParam == kCashLeverageId;
  return check;
}

TKindCheck Ml2Check(const TClientRiskRecord& record, const TModuleSettings& s) {
  double level = 0.0;
  if (s.SendML2Msg || !IsMl2LevelReached(record, s, &level)) return Rearm();
  return Test(record.GetValueByColumn(s.ML2Param), level, "ML2");
}

}  // namespace

bool IsClgoBroken(const TClientRiskRecord& record, const TModuleSettings& s) {
  double limit = s.CLGOLimitType == 1 ? record.openPositionLimit : record.dayStartLimit;
  if (s.CLGOUseVMAI) limit += record.accruedIncome + record.realVariationMargin;
  return record.clgo < s.CLGOLevel || limit < 0;
}

bool IsMlBroken(const TClientRiskRecord& record, const TModuleSettings& s) {
  if (!(record.currentNetPosition > 0)) return false;
  return record.united ? record.marginLevel < s.MLLevel : record.plannedNetPosition < 0;
}

TKindCheck CheckOfKind(int kind, const TClientRiskRecord& record, const TModuleSettings& s) {
  switch (kind) {
    case kSfrKind:
    case kSfrOpenPositionsKind: return SfrCheck(kind, record, s);
    case kLowFundsKind: return LowFundsCheck(record, s);
    case kClgoKind:
      if (s.SendCLGOMsg || !IsClgoBroken(record, s)) return Rearm();
      return Test(record.clgo, ClgoReason(record), "CLGO");
    case kEclgoKind:
      if (s.SendECLGOMsg || !(record.eclgo < s.ECLGOLevel)) return Rearm();
      // The log names it as the collateral coefficient too.
      return Test(record.eclgo, ClgoReason(record), "CLGO");
    case kMarginLevelKind: return MarginLevelCheck(record, s);
    case kUpKind: return UpCheck(record, s);
    case kMl2Kind: return Ml2Check(record, s);
    default: return TKindCheck();
  }
}
