#include "module/risk/position_values.h"

#include "module/market_records.h"
#include "module/recalc/pass_market_facts.h"
#include "sdk/host_api.h"
#include "sdk/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double kMoneyScale = 100.0;

int64_t Int64Field(const uint8_t* record, int offset) {
  int64_t value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}
}  // namespace

double CashLeverageAddend(CPassMarketFacts& market, const uint8_t* security, int32_t quantity) {
  if (security == nullptr) return 0.0;
  const int64_t divisor = Int64Field(security, host::record::kSecurityValueDivisor);
  if (divisor == 0) return 0.0;
  const double size = std::fabs(static_cast<double>(quantity)) * kMoneyScale;
  const double stepPrice = market.StepPrice(security);
  double value;
  if (IsDerivativeSecurity(security)) {
    const int64_t units = Int64Field(security, host::record::kSecurityContractUnits);
    value = stepPrice * (size * static_cast<double>(units));
  } else {
    value = stepPrice * market.LastPrice(security) * size;
  }
  return value / static_cast<double>(divisor);
}

double OptionLiquidationPrice(int32_t quantity, int optValueParam, double bid, double offer,
                              double theorPrice) {
  const bool byBidOffer = optValueParam == kOptionValueByBidOffer;
  if (quantity >= 0) return byBidOffer ? bid : std::max(offer, theorPrice);
  if (byBidOffer) return offer;
  const bool noOffer = DoubleEquals(offer, 0.0), noTheor = DoubleEquals(theorPrice, 0.0);
  if (!noOffer && !noTheor) return std::min(offer, theorPrice);
  return noOffer && !noTheor ? theorPrice : offer;
}

double OptionLiquidationAddend(CPassMarketFacts& market, const uint8_t* security, int32_t quantity,
                               int optValueParam) {
  if (!IsDerivativeSecurity(security) || market.IsOptionClass(security)) return 0.0;
  const double bid = market.Bid(security);
  const double offer = market.Offer(security);
  const double theorPrice = market.TheorPrice(security);
  const double price = OptionLiquidationPrice(quantity, optValueParam, bid, offer, theorPrice);
  return price * quantity * kMoneyScale;
}
