#include "module/recalc/risk_recalculation.h"

#include "module/client_market_values.h"
#include "sdk/host_call.h"
#include "sdk/host_data_records.h"
#include "module/market_records.h"
#include "module/risk/client_rule_state.h"
#include "module/risk/limit_merge.h"
#include "module/risk/position_values.h"
#include "module/risk/risk_formulas.h"
#include "sdk/host_record_fields.h"
#include "sdk/numeric.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {
using host::record::Read;

constexpr int kQualificationValue = 36;
constexpr int32_t kSpecialPortfolioParam = 58;
constexpr double kSpecialPortfolioMark = 4.0;
constexpr int kPlannedNetPositionValue = 16;
constexpr int kCollateralValue = 7;
constexpr int kMarginLevelValue = 8;
constexpr uint32_t kPositionClassMask = 0x48;

// Client types of the ClientsType2 setting.
constexpr int kTypeNotUnited = 1, kTypeUnitedA = 2, kTypeUnitedB = 4;

template <size_t N>
void CopyText(char (&field)[N], const char* text) {
  const char* source = text != nullptr ? text : "";
  std::memset(field, 0, N);
  std::memcpy(field, source, strnlen(source, N - 1));
}

// A client parameter of the host (host function 134); the fallback when the
// host does not answer.
double ClientValue(const TClientRiskRecord& record, int number, double fallback) {
  double value = 0;  // a host that answers without writing gives 0, never stack garbage
  return HostCall<134>(record.firm, record.clientCode, number, &value, 0) == 0 ? value
                                                                                   : fallback;
}

bool AskClientParam(const TClientRiskRecord& record, int32_t portfolioId, int32_t id,
                    double* value) {
  host::ClientParamRequest request = {id, -1, 0.0};
  HostCall<202>(record.firm, record.clientCode, portfolioId, &request, 1);
  if (request.status != 0) return false;
  *value = request.value;
  return true;
}

// A client parameter of a portfolio; the fallback when the host does not answer.
double ClientParam(const TClientRiskRecord& record, int32_t portfolioId, int32_t id, double fallback) {
  double value = fallback;
  AskClientParam(record, portfolioId, id, &value);
  return value;
}

// More portfolios than any client holds: a count beyond it is the host's
// garbage, and sizing the list by it would exhaust the memory.
constexpr int32_t kPortfolioListLimit = 1024;

int32_t LastPortfolioId(const TClientRiskRecord& record) {
  int32_t count = 0;
  HostCall<203>(record.firm, record.clientCode, nullptr, &count);
  if (count < 1) return 0;
  count = std::min(count, kPortfolioListLimit);
  // The host never gets to write more entries than it counted first, and
  // only the entries it says it filled are read.
  std::vector<int32_t> ids(static_cast<size_t>(count), 0);
  int32_t filled = count;
  HostCall<203>(record.firm, record.clientCode, ids.data(), &filled);
  filled = std::clamp(filled, 0, count);
  return filled > 0 ? ids[filled - 1] : 0;
}

}  // namespace

CRiskRecalculation::CRiskRecalculation(CClientBook& clients, const CClientCodeRules& rules,
                                       const TModuleSettings& settings, const TCalcSettings& calc,
                                       CHostItemList& clientsFilter, CFirmSettingsText& firmText,
                                       CFirmDefaultConfigs& defaultConfigs)
    : m_clients(clients),
      m_rules(rules),
      m_settings(settings),
      m_calc(calc),
      m_clientsFilter(clientsFilter),
      m_firmText(firmText),
      m_defaultConfigs(defaultConfigs),
      m_market(kPositionClassMask) {}

void CRiskRecalculation::Run(bool fullRun, int64_t now,
                             const std::function<bool(TClientRiskRecord&)>& afterTimerRun) {
  m_fullRun = fullRun;
  m_cachedConfig = nullptr;
  m_market = CPassMarketFacts(kPositionClassMask);
  for (auto& entry : m_clients.Clients()) {
    TClientRiskRecord& record = *entry.second;
    if (!DecideClientRuleState(record, m_rules)) continue;
    if (!fullRun && now - record.dataTime < 2) continue;
    // A client not yet identified counts as not united; identifying it
    // first keeps a filter of united clients from hiding it for ever.
    const bool identifiedNow = record.clientCode[0] == 0;
    if (identifiedNow) Identify(record);
    if (!PassesClientTypeFilter(record)) continue;
    if (fullRun && !identifiedNow) Identify(record);
    if (record.united && (fullRun || record.boardTag[0] == 0)) TakeBrokerSettings(record);
    if (fullRun || record.secondFirm[0] == 0) TakeSecondFirm(record);
    ApplyLimits(record);
    const double leverageNumerator = ApplyPositions(record);
    record.openPositionLimit = record.interimVariationMargin + record.dayStartLimit;
    // Read once: the spot record gives both the limits and the spot value.
    const TSpotRecord spot = record.united ? ReadSpotRecord(record.MarketKey()) : TSpotRecord();
    if (record.united) ApplyUnitedValues(record, spot);
    ComputeParameters(record, spot, leverageNumerator);
    if (!fullRun && afterTimerRun && !afterTimerRun(record)) return;
  }
}

bool CRiskRecalculation::PassesClientTypeFilter(const TClientRiskRecord& record) const {
  const int types = m_settings.ClientsType2;
  if (record.united) return (types & (kTypeUnitedA | kTypeUnitedB)) != 0;
  return (types & kTypeNotUnited) != 0;
}

void CRiskRecalculation::Identify(TClientRiskRecord& record) {
  char code[kCodeCapacity] = {};
  if (HostCall<148>(record.firm, record.account, code, kCodeCapacity) != 0) {
    code[kCodeCapacity - 1] = 0;
    record.united = true;
    CopyText(record.clientCode, code);
  } else {
    record.united = false;
    CopyText(record.clientCode, record.account);
  }
  if (record.united) {
    double qualification = 0;
    if (HostCall<135>(record.firm, record.clientCode, kQualificationValue, &qualification,
                            0) == 0)
      record.qualified = qualification != 0;
    double portfolioKind = 0;
    if (AskClientParam(record, 0, kSpecialPortfolioParam, &portfolioKind))
      record.specialPortfolio = DoubleEquals(portfolioKind, kSpecialPortfolioMark);
    record.portfolioId = LastPortfolioId(record);
  }
  m_clientsFilter.Add(std::string(record.clientCode) + " (" + record.firm + ")");
}

void CRiskRecalculation::TakeBrokerSettings(TClientRiskRecord& record) {
  if (m_cachedConfig == nullptr || m_cachedFirm != record.firm) {
    // A text the host does not deliver leaves an empty text: the library's defaults.
    m_firmText.Fetch(record.firm);
    m_cachedConfig = &m_defaultConfigs.Of(record.firm, m_firmText.Text());
    m_cachedFirm = record.firm;
  }
  CopyText(record.boardTag, m_cachedConfig->boardTag.c_str());
  CopyText(record.currency, m_cachedConfig->currency.c_str());
}

void CRiskRecalculation::TakeSecondFirm(TClientRiskRecord& record) const {
  if (record.united) {
    const std::string firm = m_rules.SecondFirmOf(record.account);
    if (!firm.empty()) CopyText(record.secondFirm, firm.c_str());
  } else {
    CopyText(record.secondFirm, record.firm);
  }
}

void CRiskRecalculation::ApplyLimits(TClientRiskRecord& record) const {
  using namespace host_data::limit;
  record.dayStartLimit = record.openPositionLimit = record.plannedNetPosition = 0;
  record.currentNetPosition = record.currentNetPositionOpen = record.realVariationMargin = 0;
  record.interimVariationMargin = record.accruedIncome = 0;
  for (const uint8_t* limit : record.limits) {
    if (limit == nullptr || IsResetMarked(limit)) continue;
    const int type = Read<int16_t>(limit, kType);
    if (type != 0 && type != 1) continue;
    const double k = Read<double>(limit, kCoefficient) / 100;
    if (!record.united) {
      record.dayStartLimit = MergeLimitValue(record.dayStartLimit, Read<double>(limit, kDayStartValue), k, type);
      record.plannedNetPosition = MergeLimitValue(record.plannedNetPosition, Read<double>(limit, kPlannedValue), k, type);
    }
    record.currentNetPosition += Read<double>(limit, kNetPosition);
    record.currentNetPositionOpen += Read<double>(limit, kNetPositionOpen);
    if (type != 0) continue;
    record.realVariationMargin = Read<double>(limit, kRealVariationMargin);
    const double base = Read<double>(limit, kInterimBase);
    const double deduction = Read<double>(limit, kInterimDeduction);
    if (record.united) {
      record.interimVariationMargin = base;
      record.accruedIncome = base - deduction;
    } else {
      record.interimVariationMargin = base - deduction - Read<double>(limit, kInterimDeductionOthers);
      record.accruedIncome = base;
    }
  }
}

double CRiskRecalculation::ApplyPositions(TClientRiskRecord& record) {
  using namespace host_data::position;
  // The assets, debt, ratios and leverage that follow from these are all
  // computed afresh from them.
  record.variationMargin = record.optionLiquidationValue = 0;
  double numerator = 0;
  for (const uint8_t* position : record.positions) {
    if (position == nullptr) continue;
    record.variationMargin += Read<double>(position, kVariationMargin);
    const uint8_t* security = m_market.FindSecurity(RecordSecurityCode(position));
    if (security == nullptr) continue;
    const int32_t quantity = Read<int32_t>(position, kQuantity);
    numerator += CashLeverageAddend(m_market, security, quantity);
    record.optionLiquidationValue +=
        OptionLiquidationAddend(m_market, security, quantity, m_calc.OptValueParam);
  }
  return numerator;
}

// Values the host keeps for a client with a united position: the planned net
// position and, from the client's spot record, the limits at day start.
void CRiskRecalculation::ApplyUnitedValues(TClientRiskRecord& record, const TSpotRecord& spot) const {
  double planned = 0;
  if (HostCall<134>(record.firm, record.clientCode, kPlannedNetPositionValue, &planned, 0) == 0)
    record.plannedNetPosition = planned * 100;
  if (!spot.usable) return;
  record.dayStartLimit = Read<double>(spot.bytes, host::record::kSpotValue40);
  record.openPositionLimit = Read<double>(spot.bytes, host::record::kSpotValue56);
}

void CRiskRecalculation::ComputeParameters(TClientRiskRecord& record, const TSpotRecord& spot,
                                           double leverageNumerator) const {
  record.modifiedMarginLevel = 0;
  const double m14 = std::max(record.currentNetPosition, 0.0);
  record.derivativesAssets = SumByMarginMode(record.plannedNetPosition, m14, record.realVariationMargin,
                                             record.optionLiquidationValue, m_settings.UseVarMargin);
  if (!record.united) {
    record.totalAssets = record.derivativesAssets;
    record.marginLevel = 0;
  } else {
    // A special portfolio's collateral is a parameter of its portfolio.
    const double collateral = record.specialPortfolio
                                  ? ClientParam(record, record.portfolioId, kCollateralValue, 0)
                                  : ClientValue(record, kCollateralValue, 0);
    record.totalAssets = m14 + record.optionLiquidationValue + collateral * 100;
    // A value the host does not answer keeps the one shown so far.
    record.marginLevel = ClientValue(record, kMarginLevelValue, record.marginLevel);
    double spotValue, value6, value5, value40;
    GetSpotPortfolioValues(record.MarketKey(), spot, &spotValue, &value6, &value5, &value40);
    record.modifiedMarginLevel = CalcFundsRatio(spotValue, value6, value5, record.variationMargin, 1);
  }
  const bool useTotalAssets = m_settings.UseTotalAssets;
  record.currentDebt = CalcCurrentDebt(record.plannedNetPosition, record.totalAssets,
                                       record.derivativesAssets, useTotalAssets);
  record.sfr = CalcSufficiencyRatio(record.totalAssets, record.derivativesAssets, m14, useTotalAssets);
  record.sfrOpenPositions = CalcSufficiencyRatio(record.totalAssets, record.derivativesAssets,
                                                 std::max(record.currentNetPositionOpen, 0.0),
                                                 useTotalAssets);
  record.clgo = CalcRatioOrOne(record.dayStartLimit, record.accruedIncome, m14);
  record.eclgo = CalcRatioPlusOrOne(record.dayStartLimit, record.accruedIncome, m14,
                                    record.variationMargin);
  record.cashLeverage = CalcCashLeverage(leverageNumerator, record.totalAssets);
}
