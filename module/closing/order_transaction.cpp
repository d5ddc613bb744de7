#include "module/closing/order_transaction.h"

#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
using host::record::Read;

constexpr int kFormFields = 156, kFormFieldCount = 160;
constexpr int kFieldName = 4, kFieldDefault = 166, kFieldFlags = 200, kFieldMaxLength = 204;
constexpr size_t kFieldNameCapacity = 64, kFieldDefaultCapacity = kFieldFlags - kFieldDefault;

enum FieldFlag : uint32_t {
  kFirstText = 0x100000,
  kClassCode = 0x800,
  kSecurityCode = 0x1,
  kAccount = 0x1000,
  kPrice = 0x10000,
  kQuantity = 0x20000,
  kDirection = 0x40000,
  kLimitOrder = 0x800000,
  kComment = 0x400000,
};

std::string Printed(const char* format, int precision, double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, precision, value);
  return buffer;
}

std::string FixedText(const uint8_t* field, int offset, size_t capacity) {
  const char* text = reinterpret_cast<const char*>(field + offset);
  return std::string(text, strnlen(text, capacity));
}

// The value a field takes: the first of its flags in this order decides.
std::string FieldValue(const uint8_t* field, const TOrderTransactionValues& values) {
  const uint32_t flags = Read<uint32_t>(field, kFieldFlags);
  if (flags & kFirstText) return values.firstText;
  if (flags & kClassCode) return values.classCode;
  if (flags & kSecurityCode) return values.securityCode;
  if (flags & kAccount) return values.account;
  if (flags & kPrice) return Printed("%.*f", std::clamp(values.priceDecimals, 0, 15), values.price);
  if (flags & kQuantity) return Printed("%.*f", 0, values.quantity);
  if (flags & kDirection) return values.buy ? "B" : "S";
  if (flags & kLimitOrder) return "L";
  if (flags & kComment) {
    const int16_t limit = Read<int16_t>(field, kFieldMaxLength);
    return values.comment.substr(0, static_cast<size_t>(std::max<int16_t>(limit, 0)));
  }
  return FixedText(field, kFieldDefault, kFieldDefaultCapacity);
}
}  // namespace

bool BuildOrderTransaction(const uint8_t* form, const TOrderTransactionValues& values, std::string& text) {
  text.clear();
  const auto fields = reinterpret_cast<const uint8_t* const*>(Read<uintptr_t>(form, kFormFields));
  const int count = Read<int32_t>(form, kFormFieldCount);
  for (int index = 0; fields != nullptr && index < count; ++index) {
    const uint8_t* field = fields[index];
    if (field == nullptr) continue;
    text += FixedText(field, kFieldName, kFieldNameCapacity) + "=" + FieldValue(field, values) + "[]|";
    if (text.size() > kMaxTransactionLength) return false;
  }
  return true;
}

std::string BuildWithdrawalTransaction(double orderNumber) {
  return "OrderNum=" + Printed("%.*f", 0, orderNumber) + "[]";
}
