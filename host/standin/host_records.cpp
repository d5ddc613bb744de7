#include "host/standin/host_records.h"

#include "host/standin/plugin_library.h"

#include <cstring>

namespace {
using namespace pushed;

template <typename T>
void Put(std::vector<uint8_t>& record, int offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

// The host's text fields hold at most capacity - 1 characters and a NUL.
void PutText(std::vector<uint8_t>& record, int offset, const std::string& text,
             size_t capacity = kCodeCapacity) {
  const size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(record.data() + offset, text.data(), length);
}
}  // namespace

PushedRecord BuildLimit(const LimitSpec& limit) {
  PushedRecord record{kLimitCode, std::vector<uint8_t>(kLimitSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, kId, limit.id);
  PutText(bytes, kFirm, limit.firm);
  PutText(bytes, kAccount, limit.account);
  Put<int16_t>(bytes, kLimitType, limit.type);
  Put<double>(bytes, kLimitCoefficient, limit.coefficient);
  Put<double>(bytes, kLimitDayStart, limit.dayStart);
  Put<double>(bytes, kLimitNetPosition, limit.netPosition);
  Put<double>(bytes, kLimitPlanned, limit.planned);
  Put<double>(bytes, kLimitRealVariationMargin, limit.realVariationMargin);
  Put<double>(bytes, kLimitInterimBase, limit.interimBase);
  Put<double>(bytes, kLimitNetPositionOpen, limit.netPositionOpen);
  Put<double>(bytes, kLimitDeduction112, limit.deduction112);
  Put<double>(bytes, kLimitDeduction120, limit.deduction120);
  return record;
}

PushedRecord BuildPosition(const PositionSpec& position) {
  PushedRecord record{kPositionCode, std::vector<uint8_t>(kPositionSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, kId, position.id);
  PutText(bytes, kFirm, position.firm);
  PutText(bytes, kAccount, position.account);
  PutText(bytes, kPositionSecurity, position.security);
  Put<int32_t>(bytes, kPositionQuantity, position.quantity);
  Put<double>(bytes, kPositionVariationMargin, position.variationMargin);
  return record;
}

PushedRecord BuildLimitRemoval(int32_t limitId) {
  PushedRecord record{kLimitRemovalCode, std::vector<uint8_t>(kLimitRemovalSize, 0)};
  Put<int32_t>(record.bytes, 0, limitId);
  return record;
}

PushedRecord BuildOrder(const OrderSpec& order) {
  PushedRecord record{kOrderCode, std::vector<uint8_t>(kOrderSize, 0)};
  std::vector<uint8_t>& bytes = record.bytes;
  Put<int32_t>(bytes, kOrderKey, order.key);
  Put<int64_t>(bytes, kOrderNumber, order.number);
  Put<uint32_t>(bytes, kOrderFlags, order.flags);
  PutText(bytes, kOrderFirm, order.firm, kOrderTextCapacity);
  Put<int32_t>(bytes, kOrderTransactionId, order.transactionId);
  PutText(bytes, kOrderAccount, order.account, kOrderTextCapacity);
  Put<uint32_t>(bytes, kOrderValueA, order.valueA);
  Put<uint32_t>(bytes, kOrderValueB, order.valueB);
  return record;
}

bool PushRecord(PluginLibrary& plugin, const PushedRecord& record) {
  return plugin.Callback<22>(kPushKind, record.code, record.bytes.data(),
                             static_cast<uint32_t>(record.bytes.size())) != FALSE;
}
