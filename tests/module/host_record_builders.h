// Limit and position records laid out as the host sends them.
#pragma once

#include "module/host_data/host_data_records.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

struct LimitFields {
  std::string firm, account;
  int32_t id = 1;
  int16_t type = 0;
  double coefficient = 0, dayStart = 0, netPosition = 0, planned = 0, realVariationMargin = 0;
  double interimBase = 0, netPositionOpen = 0, deduction112 = 0, deduction120 = 0;
};

struct PositionFields {
  std::string firm, account, security;
  int32_t id = 1, quantity = 0;
  double variationMargin = 0;
};

namespace record_bytes {
template <typename T>
void Put(std::vector<uint8_t>& bytes, int offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}
inline void PutText(std::vector<uint8_t>& bytes, int offset, const std::string& text) {
  std::memcpy(bytes.data() + offset, text.data(), std::min<size_t>(text.size(), 12));
}
}  // namespace record_bytes

inline std::vector<uint8_t> LimitRecord(const LimitFields& f) {
  using namespace host_data;
  using namespace record_bytes;
  std::vector<uint8_t> bytes(kLimitSize, 0);
  Put(bytes, kRecordId, f.id);
  PutText(bytes, kFirm, f.firm);
  PutText(bytes, kAccount, f.account);
  Put(bytes, limit::kType, f.type);
  Put(bytes, limit::kCoefficient, f.coefficient);
  Put(bytes, limit::kDayStartValue, f.dayStart);
  Put(bytes, limit::kNetPosition, f.netPosition);
  Put(bytes, limit::kPlannedValue, f.planned);
  Put(bytes, limit::kRealVariationMargin, f.realVariationMargin);
  Put(bytes, limit::kInterimBase, f.interimBase);
  Put(bytes, limit::kNetPositionOpen, f.netPositionOpen);
  Put(bytes, limit::kInterimDeductionOthers, f.deduction112);
  Put(bytes, limit::kInterimDeduction, f.deduction120);
  return bytes;
}

inline std::vector<uint8_t> PositionRecord(const PositionFields& f) {
  using namespace host_data;
  using namespace record_bytes;
  std::vector<uint8_t> bytes(kPositionSize, 0);
  Put(bytes, kRecordId, f.id);
  PutText(bytes, kFirm, f.firm);
  PutText(bytes, kAccount, f.account);
  PutText(bytes, position::kSecurityCodes, f.security);
  Put(bytes, position::kQuantity, f.quantity);
  Put(bytes, position::kVariationMargin, f.variationMargin);
  return bytes;
}
