#include "module/market_records.h"

#include "sdk/host_call.h"
#include "sdk/host_record_fields.h"

#include <cstring>

namespace {
using namespace host::record;

constexpr const char* kOptionClassCodes[] = {"SPBOPT",  "OPTENV",   "OPTEXP",   "PSOPT",
                                             "OPTUX",   "OPTUXEXP", "OPTUXENV", "PSOPTUX"};
constexpr char kOptionMonthLetters[] = "BbDdFfHh";

constexpr int kResetMarkOffsetA = 88, kResetMarkOffsetB = 92;
constexpr int32_t kResetMarkA = -111, kResetMarkB = -333;
}  // namespace

const uint8_t* GetClassInfoByIndex(int classIndex) {
  if (classIndex == -1) return nullptr;
  auto* record = static_cast<const uint8_t*>(HostCall<33>(kClassKind, kClassSize, classIndex));
  return record != nullptr && Read<int32_t>(record, kClassId) != -1 ? record : nullptr;
}

const uint8_t* GetSecurityInfoByIndex(int securityIndex) {
  if (securityIndex == -1) return nullptr;
  auto* record =
      static_cast<const uint8_t*>(HostCall<33>(kSecurityKind, kSecuritySize, securityIndex));
  return record != nullptr && Read<int32_t>(record, kSecurityId) != -1 ? record : nullptr;
}

const uint8_t* FindClassByCode(const char* classCode) {
  const int count = HostCall<32>(kClassKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* record = GetClassInfoByIndex(index);
    if (record != nullptr && SameFixedText(record, kClassCode, kClassCodeCapacity, classCode))
      return record;
  }
  return nullptr;
}

const uint8_t* FindSecurityByCode(const char* securityCode) {
  const int count = HostCall<32>(kSecurityKind);
  for (int index = 0; index < count; ++index) {
    const uint8_t* record = GetSecurityInfoByIndex(index);
    if (record != nullptr && SameFixedText(record, kSecurityCode, kSecurityCodeCapacity, securityCode))
      return record;
  }
  return nullptr;
}

const uint8_t* FindSecurityInClasses(const char* securityCode, uint32_t includeMask,
                                     uint32_t excludeMask, int* securityIndex) {
  if (includeMask == 0 || securityCode == nullptr) return nullptr;
  const int count = HostCall<32>(kClassKind);
  for (int classIndex = 0; classIndex < count; ++classIndex) {
    const uint8_t* classRecord = GetClassInfoByIndex(classIndex);
    if (classRecord == nullptr) continue;
    const uint32_t flags = Read<uint32_t>(classRecord, kClassFlags);
    if ((flags & excludeMask) != 0 || !ContainsMask(flags, includeMask)) continue;
    const int index = HostCall<91>(securityCode, ClassCodeOf(classRecord));
    const uint8_t* security = GetSecurityInfoByIndex(index);
    if (security == nullptr) continue;
    if (securityIndex != nullptr) *securityIndex = index;
    return security;
  }
  return nullptr;
}

int FindTransactionForm(int classIndex, uint32_t mask) {
  const int count = HostCall<35>(classIndex);
  for (int formIndex = 0; formIndex < count; ++formIndex) {
    auto* form = static_cast<const uint8_t*>(HostCall<36>(classIndex, kFormSize, formIndex));
    if (form != nullptr && ContainsMask(Read<uint32_t>(form, kFormFlags), mask) &&
        Read<int32_t>(form, kFormValue) != 0)
      return formIndex;
  }
  return -1;
}

const char* ClassCodeOf(const uint8_t* classRecord) {
  return reinterpret_cast<const char*>(classRecord + kClassCode);
}

uint32_t ClassFlagsOf(const uint8_t* classRecord) { return Read<uint32_t>(classRecord, kClassFlags); }

const char* SecurityCodeOf(const uint8_t* security) {
  return reinterpret_cast<const char*>(security + kSecurityCode);
}

const char* SecurityCurrencyOf(const uint8_t* security) {
  return reinterpret_cast<const char*>(security + kSecurityCurrency);
}

int SecurityClassIndexOf(const uint8_t* security) {
  return Read<int16_t>(security, kSecurityClassIndex);
}

bool IsDerivativeSecurity(const uint8_t* security) {
  return security != nullptr && Read<uint16_t>(security, kSecurityType) == kDerivative;
}

bool IsOptionSecurity(const uint8_t* security) {
  return IsDerivativeSecurity(security) && (security[kSecurityFlagByte] & kOptionFlag) != 0;
}

bool IsFuturesSecurity(const uint8_t* security) {
  return IsDerivativeSecurity(security) && (security[kSecurityFlagByte] & kOptionFlag) == 0;
}

bool IsOptionClass(const uint8_t* security) {
  return IsDerivativeSecurity(security) &&
         IsOptionClassOf(security, GetClassInfoByIndex(SecurityClassIndexOf(security)));
}

bool IsOptionClassOf(const uint8_t* security, const uint8_t* classRecord) {
  if (classRecord == nullptr) return false;
  for (const char* code : kOptionClassCodes)
    if (SameFixedText(classRecord, kClassCode, kClassCodeCapacity, code)) return true;
  const char* code = SecurityCodeOf(security);
  const size_t length = strnlen(code, kSecurityCodeCapacity);
  if (length < 3) return false;
  return std::strchr(kOptionMonthLetters, code[length - 3]) != nullptr;
}

bool IsResetMarked(const void* hostRecord) {
  if (hostRecord == nullptr) return false;
  const auto* record = static_cast<const uint8_t*>(hostRecord);
  return Read<int32_t>(record, kResetMarkOffsetA) == kResetMarkA &&
         Read<int32_t>(record, kResetMarkOffsetB) == kResetMarkB;
}
