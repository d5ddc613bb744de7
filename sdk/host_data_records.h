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
constexpr int kKey = 0;               // int32: the host's row order
constexpr int kNumber = 8;            // int64, the exchange's order number
constexpr int kFlags = 16;            // uint32, the flags below
constexpr int kComment = 20, kCommentCapacity = 35;
constexpr int kTrader = 55, kTraderCapacity = 65;
constexpr int kFirm = 120, kFirmCapacity = 13;
constexpr int kAccount = 133, kAccountCapacity = 15;
constexpr int kSecurityIndex = 148;   // int32
constexpr int kPrice = 152;           // int64, in units of the security's last decimal
constexpr int kQuantity = 160, kBalance = 168;  // int64
constexpr int kVolume = 176;          // double, hundredths
constexpr int kCoupon = 184;          // double, percent
constexpr int kYield = 192;           // int32
constexpr int kTransactionId = 196;   // uint32
constexpr int kClientCode = 200, kClientCodeCapacity = 16;
constexpr int kRepurchasePrice = 216; // int64
constexpr int kSettlementCode = 224, kSettlementCodeCapacity = 16;
constexpr int kUid = 240;             // uint32
constexpr int kExchangeCode = 244, kExchangeCodeCapacity = 68;
constexpr int kActivationTime = 312;  // packed HHMMSS
constexpr int kSourceNumber = 320;    // int64
constexpr int kExpiry = 328;          // int32: 0 good till cancelled, -1 none, else YYYYMMDD
constexpr int kOrderTime = 348, kWithdrawalTime = 356;  // FILETIME
constexpr uint32_t kActive = 1, kWithdrawn = 2, kSell = 4;
constexpr uint32_t kLimitType = 8, kTypeLetter2 = 16, kTypeLetter3 = 32, kMarketMaker = 64;
}  // namespace order

namespace position {
constexpr int kSecurityCodes = 30;  // class and security codes
constexpr int kQuantity = 68;       // int32, signed
// int32: lots in every active order of the position that buy (they count for
// a short position) and that sell (for a long one).
constexpr int kActiveBuys = 72, kActiveSells = 76;
constexpr int kVariationMargin = 96;
}  // namespace position

}  // namespace host_data
