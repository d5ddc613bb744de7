// The derivatives-market records the host pushes to the plug-in through
// callback entry 22 (kind 1): client limits, client positions, limit removals
// and orders, built byte for byte as the host lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PluginLibrary;

namespace pushed {
constexpr uint32_t kPushKind = 1;

constexpr uint32_t kLimitCode = 32985;
constexpr int kLimitSize = 160;
constexpr uint32_t kPositionCode = 32986;
constexpr int kPositionSize = 144;
constexpr uint32_t kLimitRemovalCode = 152;
constexpr int kLimitRemovalSize = 4;

// Shared by limits and positions.
constexpr int kId = 0;                       // int32
constexpr int kFirm = 4, kAccount = 17;      // char[13] each
constexpr int kCodeCapacity = 13;

constexpr int kLimitType = 30;               // int16; 0 and 1 are used
constexpr int kLimitCoefficient = 32;        // double, percent
constexpr int kLimitDayStart = 48;           // doubles from here on
constexpr int kLimitNetPosition = 56;
constexpr int kLimitPlanned = 64;
constexpr int kLimitRealVariationMargin = 72;
constexpr int kLimitInterimBase = 80;
constexpr int kLimitResetMarkA = 88, kLimitResetMarkB = 92;  // int32 -111 and -333 when removed
constexpr int kLimitNetPositionOpen = 104;
constexpr int kLimitDeduction112 = 112;
constexpr int kLimitDeduction120 = 120;

constexpr uint32_t kOrderCode = 32973;
constexpr int kOrderSize = 592;
constexpr int kOrderKey = 0;                 // int32
constexpr int kOrderNumber = 8;              // int64
constexpr int kOrderFlags = 16;              // uint32: bit 0 active, bit 1 withdrawn
constexpr int kOrderFirm = 120;              // zero-terminated texts
constexpr int kOrderTransactionId = 196;     // int32
constexpr int kOrderAccount = 200;
constexpr int kOrderTextCapacity = 33;
constexpr int kOrderValueA = 348, kOrderValueB = 352;  // uint32

constexpr int kPositionSecurity = 30;        // the security code the plug-in looks up
constexpr int kPositionQuantity = 68;        // int32, signed
constexpr int kPositionVariationMargin = 96; // double
}  // namespace pushed

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

// An order of the host that answers a transaction the plug-in sent.
struct OrderSpec {
  int32_t key = 0;
  int64_t number = 0;
  uint32_t flags = 0;
  std::string firm, account;
  int32_t transactionId = 0;
  uint32_t valueA = 0, valueB = 0;
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
