#include "windows/tables/order_cells.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "sdk/host_api.h"
#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"
#include "sdk/packed_dates.h"
#include "sdk/plugin_module.h"

namespace {
using host::record::Read;
namespace order = host_data::order;

// The host's number of price decimals is its own field; more than this would
// ask the formatting for digits no price has.
constexpr int kMaxDecimals = 10;
constexpr int kClassName = 41, kClassNameCapacity = host::record::kClassFlags - kClassName;
constexpr int kSecurityNameCapacity = host::record::kSecurityShortName - host::record::kSecurityName;
constexpr int kShortNameCapacity = host::record::kSecurityCurrency - host::record::kSecurityShortName;

// A text field of a host record, never read past its field.
void CopyField(const uint8_t* record, int offset, size_t capacity, char* text, size_t size) {
  const char* field = reinterpret_cast<const char*>(record + offset);
  std::snprintf(text, size, "%.*s", static_cast<int>(strnlen(field, capacity)), field);
}

void CopyText(const char* source, char* text, size_t size) { std::snprintf(text, size, "%s", source); }

// Grouped: the host's decimal separator and thousands groups; plain: neither.
double Number(double value, int decimals, bool grouped, char* text, size_t size) {
  if (CZenkPluginModule* module = GetPluginModule())
    module->FormatDouble(text, size, value, decimals, grouped, grouped);
  return value;
}

int PriceDecimals(const uint8_t* security) {
  const int decimals = Read<int16_t>(security, host::record::kSecurityPriceDecimals);
  return decimals < 0 ? 0 : decimals > kMaxDecimals ? kMaxDecimals : decimals;
}

// A FILETIME field: its text (empty when the host left it 0) and its packed
// time of day or date.
double Moment(const uint8_t* record, int offset, bool date, char* text, size_t size) {
  const uint64_t value = Read<uint64_t>(record, offset);
  FILETIME time = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
  SYSTEMTIME parts;
  if (value == 0 || !FileTimeToSystemTime(&time, &parts)) return 0.0;
  FormatFileTime(text, size, time, date);
  return date ? parts.wYear * 10000.0 + parts.wMonth * 100.0 + parts.wDay
              : parts.wHour * 10000.0 + parts.wMinute * 100.0 + parts.wSecond;
}

const char* State(uint32_t flags) {
  if ((flags & order::kActive) != 0) return "Активна";
  return (flags & order::kWithdrawn) != 0 ? "Снята" : "Исполнена";
}

void TypeLetters(uint32_t flags, char* text, size_t size) {
  std::snprintf(text, size, "%s%s%s", (flags & order::kLimitType) != 0 ? "Л" : "Р",
                (flags & order::kTypeLetter2) != 0 ? "Р" : "Н", (flags & order::kTypeLetter3) != 0 ? "С" : "О");
}
}  // namespace

double OrderCellText(int columnId, const uint8_t* record, const uint8_t* security, const uint8_t* classRecord,
                     char* text, size_t size) {
  if (text == nullptr || size == 0) return 0.0;
  text[0] = 0;
  const uint32_t flags = Read<uint32_t>(record, order::kFlags);
  const int decimals = PriceDecimals(security);
  switch (columnId) {
    case 1: return Number(static_cast<double>(Read<int64_t>(record, order::kNumber)), 0, false, text, size);
    case 2: return Moment(record, order::kOrderTime, false, text, size);
    case 3: CopyText((flags & order::kSell) != 0 ? "Продажа" : "Купля", text, size); return 0.0;
    case 4: CopyField(record, order::kComment, order::kCommentCapacity, text, size); return 0.0;
    case 5: CopyField(record, order::kTrader, order::kTraderCapacity, text, size); return 0.0;
    case 6: CopyField(record, order::kFirm, order::kFirmCapacity, text, size); return 0.0;
    case 7: CopyField(record, order::kAccount, order::kAccountCapacity, text, size); return 0.0;
    case 8: CopyField(security, host::record::kSecurityName, kSecurityNameCapacity, text, size); return 0.0;
    case 9: {
      const double price = static_cast<double>(Read<int64_t>(record, order::kPrice)) / std::pow(10.0, decimals);
      return Number(price, decimals, true, text, size);
    }
    case 10: return Number(static_cast<double>(Read<int64_t>(record, order::kQuantity)), 0, true, text, size);
    case 12: return Number(static_cast<double>(Read<int64_t>(record, order::kBalance)), 0, true, text, size);
    case 13: return Number(Read<double>(record, order::kVolume) / 100.0, 2, true, text, size);
    case 14: {
      const double number = static_cast<double>(Read<int64_t>(record, order::kSourceNumber));
      return number == 0.0 ? 0.0 : Number(number, 0, false, text, size);
    }
    case 15: {
      const double coupon = Read<double>(record, order::kCoupon);
      return coupon == 0.0 ? 0.0 : Number(coupon, 2, true, text, size);
    }
    case 16: {
      const int32_t expiry = Read<int32_t>(record, order::kExpiry);
      if (expiry == 0) CopyText("До отмены", text, size);
      else if (expiry != -1) FormatPackedDate(text, size, expiry);
      return 0.0;
    }
    case 17: return Number(Read<int32_t>(record, order::kYield), 2, true, text, size);
    case 18: CopyText(State(flags), text, size); return 0.0;
    case 19: TypeLetters(flags, text, size); return 0.0;
    case 20: CopyField(classRecord, kClassName, kClassNameCapacity, text, size); return 0.0;
    case 21:
      CopyField(security, host::record::kSecurityCode, host::record::kSecurityCodeCapacity, text, size);
      return 0.0;
    case 22: CopyField(classRecord, host::record::kClassCode, host::record::kClassCodeCapacity, text, size); return 0.0;
    case 24: CopyField(record, order::kClientCode, order::kClientCodeCapacity, text, size); return 0.0;
    case 25: return Number(Read<uint32_t>(record, order::kTransactionId), 0, false, text, size);
    case 26: return Moment(record, order::kOrderTime, true, text, size);
    case 27: CopyField(security, host::record::kSecurityShortName, kShortNameCapacity, text, size); return 0.0;
    case 28: CopyField(record, order::kSettlementCode, order::kSettlementCodeCapacity, text, size); return 0.0;
    case 29: {
      const double price = static_cast<double>(Read<int64_t>(record, order::kRepurchasePrice));
      return price == 0.0 ? 0.0 : Number(price, decimals, true, text, size);
    }
    case 30: return Number(Read<uint32_t>(record, order::kUid), 0, false, text, size);
    case 31: return Moment(record, order::kWithdrawalTime, false, text, size);
    case 32:
      CopyField(security, host::record::kSecurityCurrency, host::record::kSecurityCurrencyCapacity, text, size);
      return 0.0;
    case 33: CopyField(record, order::kExchangeCode, order::kExchangeCodeCapacity, text, size); return 0.0;
    case 34: {
      const uint32_t time = Read<uint32_t>(record, order::kActivationTime);
      if (time == 0) return -1.0;
      FormatPackedTime(text, size, static_cast<long>(time));
      return time;
    }
    case 35: CopyText((flags & order::kMarketMaker) != 0 ? "Да" : "Нет", text, size); return 0.0;
    default: return 0.0;
  }
}
