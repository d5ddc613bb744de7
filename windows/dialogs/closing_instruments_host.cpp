// What the closing settings dialog reads of the host: its securities of
// classes fit for closing and the securities of its position records.
#include "windows/dialogs/closing_instruments.h"

#include "module/market_records.h"
#include "sdk/host_call.h"
#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"

namespace {
using namespace host::record;

// Classes whose securities the plug-in closes: both bits of the include
// mask, none of the exclude mask (the same test as the order sender's).
constexpr uint32_t kClosingClassInclude = 0x48, kClosingClassExclude = 0x900;
constexpr int kPositionKind = 9;
constexpr int kShortNameCapacity = kSecurityCurrency - kSecurityShortName;

bool FitForClosing(const uint8_t* classRecord) {
  const uint32_t flags = ClassFlagsOf(classRecord);
  return ContainsMask(flags, kClosingClassInclude) && (flags & kClosingClassExclude) == 0;
}
}  // namespace

std::vector<TClosingInstrument> ReadClosingInstruments() {
  std::vector<TClosingInstrument> instruments;
  const int count = HostCall<32>(kSecurityKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* security = GetSecurityInfoByIndex(index);
    if (security == nullptr) continue;
    const uint8_t* classRecord = GetClassInfoByIndex(SecurityClassIndexOf(security));
    if (classRecord == nullptr || !FitForClosing(classRecord)) continue;
    instruments.push_back({index, SecurityCodeOf(security), FixedText(security, kSecurityShortName, kShortNameCapacity),
                           FixedText(security, kSecurityBaseAsset, kSecurityBaseAssetCapacity),
                           Read<int32_t>(security, kSecurityTrading) != -1});
  }
  return instruments;
}

std::vector<std::string> ReadPositionSecurityCodes() {
  std::vector<std::string> codes;
  const int count = HostCall<32>(kPositionKind);
  for (int index = 0; index < count; ++index) {
    uint8_t record[host_data::kPositionSize] = {};
    if (HostCall<34>(kPositionKind, static_cast<int>(host_data::kPositionSize), index, record) == 0) continue;
    codes.push_back(FixedText(record, host_data::position::kSecurityCodes, kSecurityCodeCapacity));
  }
  return codes;
}
