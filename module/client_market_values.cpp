#include "module/client_market_values.h"

#include "sdk/host_call.h"

#include <cmath>
#include <cstring>

namespace {
using namespace host::record;

constexpr double kMoneyScale = 100.0;
constexpr double kPresentFrom = 1e-6;

double ReadDouble(const uint8_t* record, int offset) {
  double value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

// Client value by number; 0.0 unless the host reports success (0).
double ClientValue(const TClientMarketKey& client, int number) {
  double value = 0.0;
  if (HostCall<134>(client.firm, client.clientCode, number, &value, 0) != 0) return 0.0;
  return value;
}

double SpotValue(const TSpotRecord& spot) {
  if (!spot.usable) return 0.0;
  return ReadDouble(spot.bytes, kSpotValue48) + ReadDouble(spot.bytes, kSpotValue56) -
         ReadDouble(spot.bytes, kSpotValue64);
}
}  // namespace

TSpotRecord ReadSpotRecord(const TClientMarketKey& client) {
  TSpotRecord spot;
  const int index = HostCall<149>(client.firm, client.clientCode, client.boardTag,
                                        client.currency, 0);
  if (index == -1) return spot;
  if (HostCall<34>(kSpotKind, kSpotSize, index, spot.bytes) == 0) return spot;
  int32_t status;
  std::memcpy(&status, spot.bytes + kSpotStatus, sizeof status);
  spot.usable = status == 0;
  return spot;
}

void GetSpotPortfolioValues(const TClientMarketKey& client, double* spot, double* value6,
                            double* value5, double* value40) {
  GetSpotPortfolioValues(client, ReadSpotRecord(client), spot, value6, value5, value40);
}

void GetSpotPortfolioValues(const TClientMarketKey& client, const TSpotRecord& spotRecord,
                            double* spot, double* value6, double* value5, double* value40) {
  const double spotValue = SpotValue(spotRecord);
  const double v6 = ClientValue(client, kClientValue6) * kMoneyScale;
  const double v5 = ClientValue(client, kClientValue5) * kMoneyScale;
  const double v40 = ClientValue(client, kClientValue40) * kMoneyScale;
  if (spot != nullptr) *spot = spotValue;
  if (value6 != nullptr) *value6 = v6;
  if (value5 != nullptr) *value5 = v5;
  if (value40 != nullptr) *value40 = v40;
}

bool HasUnitedPositionValues(const TClientMarketKey* client) {
  if (client == nullptr || !client->united) return false;
  return std::fabs(ClientValue(*client, kClientValue6)) >= kPresentFrom ||
         std::fabs(ClientValue(*client, kClientValue5)) >= kPresentFrom;
}
