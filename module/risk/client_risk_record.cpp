#include "module/risk/client_risk_record.h"

#include "sdk/numeric.h"

#include <cstring>

namespace {
constexpr double kMoneyScale = 100.0;

template <size_t N>
void CopyText(char (&field)[N], const char* text) {
  field[0] = '\0';
  if (text != nullptr) std::strncat(field, text, N - 1);
}
}  // namespace

TClientRiskRecord::TClientRiskRecord()
    : firm(),
      secondFirm(),
      account(),
      clientCode(),
      boardTag(),
      currency(),
      united(false),
      qualified(false),
      specialPortfolio(false),
      portfolioId(0),
      dayStartLimit(0.0),
      openPositionLimit(0.0),
      plannedNetPosition(0.0),
      currentNetPosition(0.0),
      currentNetPositionOpen(0.0),
      realVariationMargin(0.0),
      variationMargin(0.0),
      interimVariationMargin(0.0),
      accruedIncome(0.0),
      optionLiquidationValue(0.0),
      derivativesAssets(0.0),
      totalAssets(0.0),
      currentDebt(0.0),
      sfr(kValueNotSet),
      sfrOpenPositions(kValueNotSet),
      clgo(kValueNotSet),
      eclgo(kValueNotSet),
      marginLevel(0.0),
      modifiedMarginLevel(0.0),
      cashLeverage(0.0),
      lastSentLowFunds(kValueNotSet),
      lastSentSfr(kValueNotSet),
      lastSentSfrOpenPositions(kValueNotSet),
      lastSentClgo(kValueNotSet),
      lastSentEclgo(kValueNotSet),
      lastSentMarginLevel(kValueNotSet),
      lastSentUp(kValueNotSet),
      lastSentMl2(kValueNotSet),
      rearmedLowFunds(true),
      rearmedSfr(true),
      rearmedSfrOpenPositions(true),
      rearmedClgo(true),
      rearmedEclgo(true),
      rearmedMarginLevel(true),
      rearmedUp(true),
      rearmedMl2(true),
      dataTime(0),
      lastSentTimeLowFunds(0),
      lastSentTimeSfr(0),
      lastSentTimeClgo(0),
      lastSentTimeEclgo(0),
      lastSentTimeMarginLevel(0),
      lastSentTimeUp(0),
      lastSentTimeMl2(0),
      listed(false),
      forgotten(false),
      ExclusionMark(kRuleUndecided) {}

TClientRiskRecord::TClientRiskRecord(const char* firmCode, const char* tradingAccount)
    : TClientRiskRecord() {
  CopyText(firm, firmCode);
  CopyText(account, tradingAccount);
}

bool IsRiskValueId(int id) {
  constexpr int kNoValueColumn = 11;  // between the variation margins, a column of no value
  return id >= kDayStartLimitId && id <= kCashLeverageId && id != kNoValueColumn;
}

double TClientRiskRecord::GetValueByColumn(int id) const {
  switch (id) {
    case kDayStartLimitId: return dayStartLimit / kMoneyScale;
    case kOpenPositionLimitId: return openPositionLimit / kMoneyScale;
    case kCurrentNetPositionId: return currentNetPosition / kMoneyScale;
    case kCurrentNetPositionOpenId: return currentNetPositionOpen / kMoneyScale;
    case kPlannedNetPositionId: return plannedNetPosition / kMoneyScale;
    case kRealVariationMarginId: return realVariationMargin / kMoneyScale;
    case kVariationMarginId: return variationMargin / kMoneyScale;
    case kInterimVariationMarginId: return interimVariationMargin / kMoneyScale;
    case kAccruedIncomeId: return accruedIncome / kMoneyScale;
    case kOptionLiquidationValueId: return optionLiquidationValue / kMoneyScale;
    case kDerivativesAssetsId: return derivativesAssets / kMoneyScale;
    case kTotalAssetsId: return totalAssets / kMoneyScale;
    case kCurrentDebtId: return currentDebt / kMoneyScale;
    case kSfrId: return sfr;
    case kSfrOpenPositionsId: return sfrOpenPositions;
    case kClgoId: return clgo;
    case kEclgoId: return eclgo;
    case kMarginLevelId: return marginLevel;
    case kModifiedMarginLevelId: return modifiedMarginLevel;
    case kCashLeverageId: return cashLeverage;
    default: return kValueNotSet;
  }
}

TClientMarketKey TClientRiskRecord::MarketKey() const {
  TClientMarketKey key;
  key.firm = firm;
  key.clientCode = clientCode;
  key.boardTag = boardTag;
  key.currency = currency;
  key.united = united;
  return key;
}
