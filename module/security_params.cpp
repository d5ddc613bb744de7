#include "module/security_params.h"

#include "sdk/host_call.h"
#include "module/market_records.h"
#include "sdk/numeric.h"

#include <cmath>
#include <cstring>

namespace {
constexpr char kRoubles[] = "SUR";
constexpr double kNoTradeBelow = 1e-6;

// The host writes the value only when it knows the parameter.
void AskParameter(int securityIndex, const char* name, double* value) {
  if (securityIndex != -1) HostCall<43>(securityIndex, name, value);
}

// Index of the security in its own class, or -1 when the class is unknown.
int IndexInOwnClass(const uint8_t* security) {
  if (security == nullptr) return -1;
  const uint8_t* classRecord = GetClassInfoByIndex(SecurityClassIndexOf(security));
  if (classRecord == nullptr) return -1;
  return HostCall<91>(SecurityCodeOf(security), ClassCodeOf(classRecord));
}

double Parameter(const uint8_t* security, const char* name) {
  return QuotedParameter(IndexInOwnClass(security), name);
}

// "crossrate" of a currency in the class of cross rates; 1.0 when not given.
double CurrencyRate(const char* currency, const char* crossRateClass) {
  double rate = 1.0;
  AskParameter(HostCall<91>(currency, crossRateClass), "crossrate", &rate);
  return rate;
}

const uint8_t* CrossRateClass() {
  const int count = HostCall<32>(host::record::kClassKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* classRecord = GetClassInfoByIndex(index);
    if (classRecord != nullptr && (ClassFlagsOf(classRecord) & host::record::kClassCrossRates) != 0)
      return classRecord;
  }
  return nullptr;
}
}  // namespace

double GetBidPrice(const uint8_t* security) { return Parameter(security, "bid"); }
double GetOfferPrice(const uint8_t* security) { return Parameter(security, "offer"); }
double GetTheorPrice(const uint8_t* security) { return Parameter(security, "theorprice"); }
double GetStepPriceT(const uint8_t* security) { return Parameter(security, "steppricet"); }

double GetDepoRequirement(const uint8_t* security, bool buy) {
  return Parameter(security, buy ? "buydepo" : "selldepo");
}

double GetLastPrice(const uint8_t* security) { return QuotedLastPrice(IndexInOwnClass(security)); }

double QuotedParameter(int securityIndex, const char* name) {
  double value = 0.0;
  AskParameter(securityIndex, name, &value);
  return value;
}

double QuotedLastPrice(int securityIndex) {
  double value = 0.0;
  AskParameter(securityIndex, "last", &value);
  if (std::fabs(value) < kNoTradeBelow) AskParameter(securityIndex, "prevprice", &value);
  return value;
}

double GetCrossRate(const uint8_t* security) {
  if (security == nullptr) return 1.0;
  const char* currency = SecurityCurrencyOf(security);
  if (strncmp(currency, kRoubles, host::record::kSecurityCurrencyCapacity) == 0) return 1.0;
  const uint8_t* crossRates = CrossRateClass();
  if (crossRates == nullptr) return 1.0;
  char currencyCode[host::record::kSecurityCurrencyCapacity + 1] = {};
  std::memcpy(currencyCode, currency, host::record::kSecurityCurrencyCapacity);
  const double rate = CurrencyRate(currencyCode, ClassCodeOf(crossRates));
  const double roubleRate = CurrencyRate(kRoubles, ClassCodeOf(crossRates));
  // A rouble rate of 0 would divide by zero; the security is then taken at par.
  if (DoubleEquals(roubleRate, 0.0)) return 1.0;
  return rate / roubleRate;
}

bool HasClassInBlockedState() {
  const int count = HostCall<32>(host::record::kSecurityKind);
  for (int index = 0; index < count; ++index) {
    double state = 0.0;
    HostCall<43>(index, "clstate", &state);
    if (state == 2.0 || state == 4.0) return true;
  }
  return false;
}
