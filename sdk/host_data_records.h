// The derivatives-market records the host pushes through callback entry 22:
// client limits (32985), client positions (32986), limit removals (152) and
// orders (32973). Byte offsets are the host's.
#pragma once

#include <cstdint>

namespace host_data {

constexpr uint32_t kLimitCode = 32985, kLimitSize = 160;
constexpr uint32_t kPositionCode = 32986, kPositionSize = 144;
constexpr uint32_t kLimitRemovalCode = 152, kLimitRemovalSize = 4;
constexpr uint32_t kOrderCode = 32973, kOrderSize = 592;
// Records are handled when the host sends them as kind 1.
constexpr uint32_t kRecordKind = 1;

// Limit and position records share their head.
constexpr int kRecordId = 0;
constexpr int kFirm = 4, kAccount = 17, kTextCapacity = 13;

namespace limit {
constexpr int kType = 30;               // int16; types 0 and 1 are used
constexpr int kCoefficient = 32;        // double, percent
constexpr int kDayStartValue = 48;      // merged into the open-position limit at day start
constexpr int kNetPosition = 56;        // added to the current net position
constexpr int kPlannedValue = 64;       // merged into the planned net position
constexpr int kRealVariationMargin = 72;
constexpr int kInterimBase = 80;
constexpr int kResetMarkA = 88, kResetMarkB = 92;  // int32 -111 and -333 once removed
constexpr int kNetPositionOpen = 104;
constexpr int kInterimDeductionOthers = 112;
constexpr int kInterimDeduction = 120;
constexpr int32_t kResetA = -111, kResetB = -333;
}  // namespace limit

namespace order {
constexpr int kKey = 0;             // int32
constexpr int kNumber = 8;          // int64
constexpr int kFlags = 16;          // uint32: bit 0 active, bit 1 withdrawn
constexpr int kFirm = 120;          // zero-terminated texts
constexpr int kTransactionId = 196; // int32
constexpr int kAccount = 200;
constexpr int kTextCapacity = 33;
constexpr int kValueA = 348, kValueB = 352;  // uint32
}  // namespace order

namespace position {
constexpr int kSecurityCodes = 30;  // class and security codes
constexpr int kQuantity = 68;       // int32, signed
constexpr int kVariationMargin = 96;
}  // namespace position

}  // namespace host_data
