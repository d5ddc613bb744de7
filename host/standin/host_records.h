// The derivatives-market records the host pushes to the plug-in through
// callback entry 22 (kind 1): client limits, client positions, limit removals
// and orders, built byte for byte as the host lays them out.
#pragma once

#include "sdk/host_data_records.h"

#include <cstdint>
#include <string>
#include <vector>

class PluginLibrary;


// Amounts are written as the host keeps them.
struct LimitSpec {
  int32_t id = 0;
  std::string firm, account;
  int16_t type = 0;
  double coefficient = 0.0;
  double dayStart = 0.0, netPosition = 0.0, planned = 0.0, realVariationMargin = 0.0;
  double interimBase = 0.0, netPositionOpen = 0.0, deduction112 = 0.0, deduction120 = 0.0;
};

struct PositionSpec {
  int32_t id = 0;
  std::string firm, account, security;
  int32_t quantity = 0;
  double variationMargin = 0.0;
};

// An order of the host that answers a transaction the plug-in sent. Times
// are FILETIMEs; the price is in units of the security's last decimal.
struct OrderSpec {
  int32_t key = 0;
  int64_t number = 0;
  uint32_t flags = 0;
  std::string comment, trader, firm, account, clientCode, settlementCode, exchangeCode;
  int32_t securityIndex = -1;
  int64_t price = 0, quantity = 0, balance = 0, repurchasePrice = 0, sourceNumber = 0;
  double volume = 0.0, coupon = 0.0;
  int32_t yield = 0;
  uint32_t transactionId = 0, uid = 0, activationTime = 0;
  int32_t expiry = 0;
  uint64_t orderTime = 0, withdrawalTime = 0;
};

// One record as it goes through callback entry 22.
struct PushedRecord {
  uint32_t code = 0;
  std::vector<uint8_t> bytes;
};

PushedRecord BuildLimit(const LimitSpec& limit);
PushedRecord BuildPosition(const PositionSpec& position);
PushedRecord BuildLimitRemoval(int32_t limitId);
PushedRecord BuildOrder(const OrderSpec& order);

// Hands the record to the plug-in (callback entry 22, kind 1); what it answers.
bool PushRecord(PluginLibrary& plugin, const PushedRecord& record);
