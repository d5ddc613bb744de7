#include "host/standin/host_records.h"

#include "host/standin/plugin_library.h"

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
  PushedRecord record{host_data::kOrderCode, std::vector<uint8_t>(host_data::kOrderSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, host_data::order::kKey, order.key);
  Put<int64_t>(bytes, host_data::order::kNumber, order.number);
  Put<uint32_t>(bytes, host_data::order::kFlags, order.flags);
  PutText(bytes, host_data::order::kFirm, order.firm, host_data::order::kTextCapacity);
  Put<int32_t>(bytes, host_data::order::kTransactionId, order.transactionId);
  PutText(bytes, host_data::order::kAccount, order.account, host_data::order::kTextCapacity);
  Put<uint32_t>(bytes, host_data::order::kValueA, order.valueA);
  Put<uint32_t>(bytes, host_data::order::kValueB, order.valueB);
  return record;
}

bool PushRecord(PluginLibrary& plugin, const PushedRecord& record) {
  return plugin.Callback<22>(host_data::kRecordKind, record.code, record.bytes.data(),
                             static_cast<uint32_t>(record.bytes.size())) != FALSE;
}
