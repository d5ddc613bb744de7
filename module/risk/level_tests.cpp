#include "module/risk/level_tests.h"

namespace {
constexpr double kMarginLevelScale = 100.0;

// A broken funds-sufficiency level counts only while the collateral
// liquidity coefficient is low enough, when the settings ask for that.
bool Breaks(double value, double level, const TClientRiskRecord& record, bool onlyWithLowClgo,
            double clgoLevel) {
  if (!(value < level)) return false;
  return !onlyWithLowClgo || record.clgo <= clgoLevel;
}
}  // namespace

bool IsSfrWarningReached(const TClientRiskRecord& record, const TModuleSettings& settings) {
  return Breaks(record.sfr, settings.SFRWarningLevel, record, settings.DontSendSFRifCLGO,
                settings.ValCLGOforSFR);
}

bool IsSfrFpWarningReached(const TClientRiskRecord& record, const TModuleSettings& settings) {
  return Breaks(record.sfrOpenPositions, settings.SFRWarningLevel_fp, record,
                settings.DontSendSFRifCLGO_fp, settings.ValCLGOforSFR_fp);
}

bool IsSfrCriticalReached(const TClientRiskRecord& record, const TModuleSettings& settings) {
  return Breaks(record.sfr, settings.SFRCriticalLevel, record, settings.DontSendSFRifCLGO,
                settings.ValCLGOforSFR);
}

bool IsSfrFpCriticalReached(const TClientRiskRecord& record, const TModuleSettings& settings) {
  return Breaks(record.sfrOpenPositions, settings.SFRCriticalLevel_fp, record,
                settings.DontSendSFRifCLGO_fp, settings.ValCLGOforSFR_fp);
}

bool IsSfrWarningLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                              int kind) {
  if (kind == kSfrKind) return IsSfrWarningReached(record, settings);
  if (kind == kSfrOpenPositionsKind) return IsSfrFpWarningReached(record, settings);
  return false;
}

bool IsSfrCriticalLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                               int kind) {
  if (kind == kSfrKind) return IsSfrCriticalReached(record, settings);
  if (kind == kSfrOpenPositionsKind) return IsSfrFpCriticalReached(record, settings);
  return false;
}

bool IsMl2LevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                       double* level) {
  if (!record.united) return false;
  const double applied = settings.ConsiderQualClient && record.qualified ? settings.ML2LevelQual
                                                                         : settings.ML2Level;
  if (level != nullptr) *level = applied;
  if (!IsRiskValueId(settings.ML2Param)) return false;
  // The unified margin level is compared in percent.
  const double scale = settings.ML2Param == kMarginLevelId ? kMarginLevelScale : 1.0;
  return record.GetValueByColumn(settings.ML2Param) < scale * applied;
}

bool IsUpLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings) {
  if (!IsRiskValueId(settings.UPParam)) return false;
  const double value = record.GetValueByColumn(settings.UPParam);
  if (settings.UPParam == kCashLeverageId) return value > settings.UPLevel;
  return value < settings.UPLevel;
}

bool UsesMl2SecondTemplate(const TClientRiskRecord& record, const TModuleSettings& settings) {
  return record.united && settings.ConsiderQualClient && settings.UseML2Template2 && record.qualified;
}
