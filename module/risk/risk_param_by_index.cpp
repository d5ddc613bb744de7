#include "module/risk/risk_param_by_index.h"

#include "module/risk/risk_formulas.h"

namespace {
constexpr double kMoneyScale = 100.0;

double FundsRatio(const TRiskParamInputs& in) {
  return CalcFundsRatio(in.fundsA, in.fundsB, in.fundsC, in.fundsD, in.fundsMode);
}

// The client's assets with this net position.
double Assets(const TClientRiskRecord& record, double planned, double netPosition,
              const TFormulaModes& modes) {
  return SumByMarginMode(planned, netPosition, record.realVariationMargin,
                         record.optionLiquidationValue, modes.useVarMargin);
}
}  // namespace

double GetRiskParamByIndex(const TClientRiskRecord& record, int index,
                           const TRiskParamInputs& in, bool united, const TFormulaModes& modes) {
  if (united) return FundsRatio(in);
  const double planned = in.plannedNetPosition, current = in.currentNetPosition;
  switch (index) {
    case kCurrentNetPositionId: return current / kMoneyScale;
    case kCurrentNetPositionOpenId: return in.currentNetPositionOpen / kMoneyScale;
    case kPlannedNetPositionId: return planned / kMoneyScale;
    case kDerivativesAssetsId: return Assets(record, planned, current, modes) / kMoneyScale;
    case kCurrentDebtId: {
      const double assets = Assets(record, planned, current, modes);
      return CalcCurrentDebt(planned, assets, assets, modes.useTotalAssets) / kMoneyScale;
    }
    case kSfrId: {
      const double assets = Assets(record, planned, current, modes);
      return CalcSufficiencyRatio(assets, assets, current, modes.useTotalAssets);
    }
    case kSfrOpenPositionsId: {
      const double assets = Assets(record, planned, in.currentNetPositionOpen, modes);
      return CalcSufficiencyRatio(assets, assets, in.currentNetPositionOpen, modes.useTotalAssets);
    }
    case kClgoId: return CalcRatioOrOne(record.dayStartLimit, record.accruedIncome, current);
    case kEclgoId:
      return CalcRatioPlusOrOne(record.dayStartLimit, record.accruedIncome, current,
                                record.variationMargin);
    case kModifiedMarginLevelId: return FundsRatio(in);
    default: return current;
  }
}
