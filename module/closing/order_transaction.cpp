#include "module/closing/order_transaction.h"

#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
using host::record::FixedText;
using host::record::Read;

using namespace host::record::form_field;
using host::record::kFormFieldArray;
using host::record::kFormFieldCount;

std::string Printed(const char* format, int precision, double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, precision, value);
  return buffer;
}


// The value a field takes: the first of its flags in this order decides.
std::string FieldValue(const uint8_t* field, const TOrderTransactionValues& values) {
  const uint32_t flags = Read<uint32_t>(field, kFlags);
  if (flags & kFirstText) return values.firstText;
  if (flags & kClassCode) return values.classCode;
  if (flags & kSecurityCode) return values.securityCode;
  if (flags & kAccount) return values.account;
  if (flags & kPrice) return Printed("%.*f", std::clamp(values.priceDecimals, 0, 15), values.price);
  if (flags & kQuantity) return Printed("%.*f", 0, values.quantity);
  if (flags & kDirection) return values.buy ? "B" : "S";
  if (flags & kLimitOrder) return "L";
  if (flags & kComment) {
    const int16_t limit = Read<int16_t>(field, kMaxLength);
    return values.comment.substr(0, static_cast<size_t>(std::max<int16_t>(limit, 0)));
  }
  return FixedText(field, kDefault, kDefaultCapacity);
}
}  // namespace

bool BuildOrderTransaction(const uint8_t* form, const TOrderTransactionValues& values, std::string& text) {
  text.clear();
  const auto fields = reinterpret_cast<const uint8_t* const*>(Read<uintptr_t>(form, kFormFieldArray));
  const int count = Read<int32_t>(form, kFormFieldCount);
  for (int index = 0; fields != nullptr && index < count; ++index) {
    const uint8_t* field = fields[index];
    if (field == nullptr) continue;
    text += FixedText(field, kName, kNameCapacity) + "=" + FieldValue(field, values) + "[]|";
    if (text.size() > kMaxTransactionLength) return false;
  }
  return true;
}

std::string BuildWithdrawalTransaction(double orderNumber) {
  return "OrderNum=" + Printed("%.*f", 0, orderNumber) + "[]";
}
