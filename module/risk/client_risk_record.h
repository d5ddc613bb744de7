// TClientRiskRecord: one client of the derivatives market, with the values
// the recalculation computes, the levels the margin-call engine tests and the
// last values it sent. Money values are held multiplied by 100; kValueNotSet
// (1e30) means "no value".
#pragma once

#include "module/client_market_values.h"

#include <cstdint>
#include <vector>

// Identifiers of a client's values: the risk table's column ids.
enum RiskValueId : int {
  kDayStartLimitId = 4,
  kOpenPositionLimitId = 5,
  kCurrentNetPositionId = 6,
  kCurrentNetPositionOpenId = 7,
  kPlannedNetPositionId = 8,
  kRealVariationMarginId = 9,
  kVariationMarginId = 10,
  kInterimVariationMarginId = 12,
  kAccruedIncomeId = 13,
  kOptionLiquidationValueId = 14,
  kDerivativesAssetsId = 15,
  kTotalAssetsId = 16,
  kCurrentDebtId = 17,
  kSfrId = 18,
  kSfrOpenPositionsId = 19,
  kClgoId = 20,
  kEclgoId = 21,
  kMarginLevelId = 22,
  kModifiedMarginLevelId = 23,
  kCashLeverageId = 24,
};

// True for an id that names one of a client's values (4 to 10, 12 to 24);
// a parameter setting holding anything else (-1, 0, a text column) is not set.
bool IsRiskValueId(int id);

// The client's standing under the client-code change rules.
enum RuleState : int32_t { kRuleUndecided = -1, kRuleIncluded = 0, kRuleExcluded = 1 };

constexpr int kCodeCapacity = 33;      // firm, trading account, client code
constexpr int kBoardTagCapacity = 13;  // a board tag of up to 12 characters
constexpr int kCurrencyCapacity = 13;

struct TClientRiskRecord {
  TClientRiskRecord();
  // A new client as its first host record names it; texts too long for their
  // fields are cut.
  TClientRiskRecord(const char* firmCode, const char* tradingAccount);

  // Amounts (ids 4 to 10 and 12 to 17) divided by 100, ratios (18 to 24) as
  // kept; kValueNotSet for any other id.
  double GetValueByColumn(int id) const;

  // What the host's client lookups need; valid while this record lives.
  TClientMarketKey MarketKey() const;

  // The host takes the record by its firm text, so the firm leads it.
  char firm[kCodeCapacity];
  // The firm that accounts for the client under the change rules.
  char secondFirm[kCodeCapacity];
  char account[kCodeCapacity];
  char clientCode[kCodeCapacity];
  char boardTag[kBoardTagCapacity];
  char currency[kCurrencyCapacity];
  bool united;  // the host resolved the trading account to a client code
  bool qualified;
  bool specialPortfolio;
  int32_t portfolioId;

  // Amounts, multiplied by 100.
  double dayStartLimit;
  double openPositionLimit;
  double plannedNetPosition;
  double currentNetPosition;
  double currentNetPositionOpen;  // for open positions
  double realVariationMargin;
  double variationMargin;
  double interimVariationMargin;  // after interim clearing
  double accruedIncome;
  double optionLiquidationValue;
  double derivativesAssets;
  double totalAssets;
  double currentDebt;

  // Ratios, as they are.
  double sfr;  // funds sufficiency level
  double sfrOpenPositions;
  double clgo;   // collateral liquidity coefficient
  double eclgo;  // expected collateral liquidity coefficient
  double marginLevel;
  double modifiedMarginLevel;
  double cashLeverage;

  // Last value sent in a margin call of each kind; kValueNotSet once re-armed.
  double lastSentLowFunds;
  double lastSentSfr;
  double lastSentSfrOpenPositions;
  double lastSentClgo;
  double lastSentEclgo;
  double lastSentMarginLevel;
  double lastSentUp;
  double lastSentMl2;

  // Whether a kind is re-armed: nothing sent since the client was last on the
  // safe side (or was made), so its next breach is called whatever the last
  // value says. Kept apart from that value: a value sent may be kValueNotSet
  // too (cash leverage without assets).
  bool rearmedLowFunds;
  bool rearmedSfr;
  bool rearmedSfrOpenPositions;
  bool rearmedClgo;
  bool rearmedEclgo;
  bool rearmedMarginLevel;
  bool rearmedUp;
  bool rearmedMl2;

  int64_t dataTime;  // seconds; when the host last changed the client's data

  // Last sending time of each kind (seconds); the two funds-sufficiency kinds
  // share one.
  int64_t lastSentTimeLowFunds;
  int64_t lastSentTimeSfr;
  int64_t lastSentTimeClgo;
  int64_t lastSentTimeEclgo;
  int64_t lastSentTimeMarginLevel;
  int64_t lastSentTimeUp;
  int64_t lastSentTimeMl2;

  bool listed;  // scratch mark of the risk-table update
  // The host stopped the plug-in while a run held the record: the clients
  // are forgotten, and whatever holds it sends nothing more for it.
  bool forgotten;
  int32_t ExclusionMark;  // a RuleState

  // Copies of the host's limit and position records that the module owns.
  std::vector<uint8_t*> limits;
  std::vector<uint8_t*> positions;
};
