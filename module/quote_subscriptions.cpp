#include "module/quote_subscriptions.h"

#include "sdk/host_call.h"
#include "module/market_records.h"

namespace {
constexpr uint32_t kFuturesClass = 0x40, kOptionsClass = 0x800;
constexpr const char* kFuturesParameters[] = {"last", "prevprice", "offer",
                                              "bid",  "buydepo",   "selldepo"};
constexpr char kOptionsParameter[] = "theorprice";

void SubscribeSecuritiesOf(int classIndex, const char* classCode) {
  const int count = HostCall<32>(host::record::kSecurityKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* security = GetSecurityInfoByIndex(index);
    if (security != nullptr && SecurityClassIndexOf(security) == classIndex)
      HostCall<153>(classCode, SecurityCodeOf(security));
  }
}
}  // namespace

void SubscribeQuoteParams() {
  const int count = HostCall<32>(host::record::kClassKind);
  for (int classIndex = 0; classIndex < count; ++classIndex) {
    const uint8_t* classRecord = GetClassInfoByIndex(classIndex);
    if (classRecord == nullptr) continue;
    const uint32_t flags = ClassFlagsOf(classRecord);
    const bool futures = (flags & kFuturesClass) != 0, options = (flags & kOptionsClass) != 0;
    if (!futures && !options) continue;
    const char* classCode = ClassCodeOf(classRecord);
    for (const char* parameter : kFuturesParameters) HostCall<154>(classCode, parameter);
    if (options) HostCall<154>(classCode, kOptionsParameter);
    SubscribeSecuritiesOf(classIndex, classCode);
  }
}
