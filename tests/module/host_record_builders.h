// Limit and position records for the module's tests, laid out here byte by
// byte at the host's offsets, so that a wrong offset in the product fails a
// test; the fields come in the order the tests name a client: firm, account,
// id, then the values.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

constexpr uint32_t kLimitRecordCode = 32985, kPositionRecordCode = 32986, kLimitRemovalCode = 152;

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

template <typename T>
void PutField(std::vector<uint8_t>& record, int offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

// The host's codes hold at most 12 characters and a NUL.
inline void PutCode(std::vector<uint8_t>& record, int offset, const std::string& text) {
  std::memcpy(record.data() + offset, text.data(), text.size() < 12 ? text.size() : 12);
}

inline std::vector<uint8_t> LimitRecord(const LimitFields& f) {
  std::vector<uint8_t> record(160, 0);
  PutField<int32_t>(record, 0, f.id);
  PutCode(record, 4, f.firm);
  PutCode(record, 17, f.account);
  PutField<int16_t>(record, 30, f.type);
  PutField(record, 32, f.coefficient);
  PutField(record, 48, f.dayStart);
  PutField(record, 56, f.netPosition);
  PutField(record, 64, f.planned);
  PutField(record, 72, f.realVariationMargin);
  PutField(record, 80, f.interimBase);
  PutField(record, 104, f.netPositionOpen);
  PutField(record, 112, f.deduction112);
  PutField(record, 120, f.deduction120);
  return record;
}

inline std::vector<uint8_t> PositionRecord(const PositionFields& f) {
  std::vector<uint8_t> record(144, 0);
  PutField<int32_t>(record, 0, f.id);
  PutCode(record, 4, f.firm);
  PutCode(record, 17, f.account);
  PutCode(record, 30, f.security);
  PutField<int32_t>(record, 68, f.quantity);
  PutField(record, 96, f.variationMargin);
  return record;
}
