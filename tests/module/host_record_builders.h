// Limit and position records for the module's tests, laid out by the
// stand-in host's record builders; the fields come in the order the tests
// name a client: firm, account, id, then the values.
#pragma once

#include "host/standin/host_records.h"

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

inline std::vector<uint8_t> LimitRecord(const LimitFields& f) {
  LimitSpec limit;
  limit.id = f.id;
  limit.firm = f.firm;
  limit.account = f.account;
  limit.type = f.type;
  limit.coefficient = f.coefficient;
  limit.dayStart = f.dayStart;
  limit.netPosition = f.netPosition;
  limit.planned = f.planned;
  limit.realVariationMargin = f.realVariationMargin;
  limit.interimBase = f.interimBase;
  limit.netPositionOpen = f.netPositionOpen;
  limit.deduction112 = f.deduction112;
  limit.deduction120 = f.deduction120;
  return BuildLimit(limit).bytes;
}

inline std::vector<uint8_t> PositionRecord(const PositionFields& f) {
  PositionSpec position;
  position.id = f.id;
  position.firm = f.firm;
  position.account = f.account;
  position.security = f.security;
  position.quantity = f.quantity;
  position.variationMargin = f.variationMargin;
  return BuildPosition(position).bytes;
}
