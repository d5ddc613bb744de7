#include "host/standin/host_records.h"

#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <cstring>

namespace {

template <typename T>
void Put(std::vector<uint8_t>& record, int offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

// The host's text fields hold at most capacity - 1 characters and a NUL.
void PutText(std::vector<uint8_t>& record, int offset, const std::string& text,
             size_t capacity = host_data::kTextCapacity) {
  const size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(record.data() + offset, text.data(), length);
}
}  // namespace

PushedRecord BuildLimit(const LimitSpec& limit) {
  PushedRecord record{host_data::kLimitCode, std::vector<uint8_t>(host_data::kLimitSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, host_data::kRecordId, limit.id);
  PutText(bytes, host_data::kFirm, limit.firm);
  PutText(bytes, host_data::kAccount, limit.account);
  Put<int16_t>(bytes, host_data::limit::kType, limit.type);
  Put<double>(bytes, host_data::limit::kCoefficient, limit.coefficient);
  Put<double>(bytes, host_data::limit::kDayStartValue, limit.dayStart);
  Put<double>(bytes, host_data::limit::kNetPosition, limit.netPosition);
  Put<double>(bytes, host_data::limit::kPlannedValue, limit.planned);
  Put<double>(bytes, host_data::limit::kRealVariationMargin, limit.realVariationMargin);
  Put<double>(bytes, host_data::limit::kInterimBase, limit.interimBase);
  Put<double>(bytes, host_data::limit::kNetPositionOpen, limit.netPositionOpen);
  Put<double>(bytes, host_data::limit::kInterimDeductionOthers, limit.deduction112);
  Put<double>(bytes, host_data::limit::kInterimDeduction, limit.deduction120);
  return record;
}

PushedRecord BuildPosition(const PositionSpec& position) {
  PushedRecord record{host_data::kPositionCode, std::vector<uint8_t>(host_data::kPositionSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, host_data::kRecordId, position.id);
  PutText(bytes, host_data::kFirm, position.firm);
  PutText(bytes, host_data::kAccount, position.account);
  PutText(bytes, host_data::position::kSecurityCodes, position.security);
  Put<int32_t>(bytes, host_data::position::kQuantity, position.quantity);
  Put<double>(bytes, host_data::position::kVariationMargin, position.variationMargin);
  return record;
}

PushedRecord BuildLimitRemoval(int32_t limitId) {
  PushedRecord record{host_data::kLimitRemovalCode, std::vector<uint8_t>(host_data::kLimitRemovalSize, 0)};
  Put<int32_t>(record.bytes, 0, limitId);
  return record;
}

PushedRecord BuildOrder(const OrderSpec& order) {
  using namespace host_data::order;
  PushedRecord record{host_data::kOrderCode, std::vector<uint8_t>(host_data::kOrderSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, kKey, order.key);
  Put<int64_t>(bytes, kNumber, order.number);
  Put<uint32_t>(bytes, kFlags, order.flags);
  PutText(bytes, kComment, order.comment, kCommentCapacity);
  PutText(bytes, kTrader, order.trader, kTraderCapacity);
  PutText(bytes, kFirm, order.firm, kFirmCapacity);
  PutText(bytes, kAccount, order.account, kAccountCapacity);
  Put<int32_t>(bytes, kSecurityIndex, order.securityIndex);
  Put<int64_t>(bytes, kPrice, order.price);
  Put<int64_t>(bytes, kQuantity, order.quantity);
  Put<int64_t>(bytes, kBalance, order.balance);
  Put<double>(bytes, kVolume, order.volume);
  Put<double>(bytes, kCoupon, order.coupon);
  Put<int32_t>(bytes, kYield, order.yield);
  Put<uint32_t>(bytes, kTransactionId, order.transactionId);
  PutText(bytes, kClientCode, order.clientCode, kClientCodeCapacity);
  Put<int64_t>(bytes, kRepurchasePrice, order.repurchasePrice);
  PutText(bytes, kSettlementCode, order.settlementCode, kSettlementCodeCapacity);
  Put<uint32_t>(bytes, kUid, order.uid);
  PutText(bytes, kExchangeCode, order.exchangeCode, kExchangeCodeCapacity);
  Put<uint32_t>(bytes, kActivationTime, order.activationTime);
  Put<int64_t>(bytes, kSourceNumber, order.sourceNumber);
  Put<int32_t>(bytes, kExpiry, order.expiry);
  Put<uint64_t>(bytes, kOrderTime, order.orderTime);
  Put<uint64_t>(bytes, kWithdrawalTime, order.withdrawalTime);
  return record;
}

bool PushRecord(PluginLibrary& plugin, const PushedRecord& record) {
  // The exchange names each order's firm as the host's records name the account's.
  StandInHost* host = StandInHost::Current();
  if (host != nullptr && (record.code == host_data::kLimitCode || record.code == host_data::kPositionCode)) {
    const auto* bytes = reinterpret_cast<const char*>(record.bytes.data());
    host->Exchange().NoteAccount(std::string(bytes + host_data::kAccount, strnlen(bytes + host_data::kAccount, host_data::kTextCapacity)),
                                 std::string(bytes + host_data::kFirm, strnlen(bytes + host_data::kFirm, host_data::kTextCapacity)));
  }
  return plugin.Callback<22>(host_data::kRecordKind, record.code, record.bytes.data(),
                             static_cast<uint32_t>(record.bytes.size())) != FALSE;
}
