// TOrderLine: one closing order of a preparation window, from its formation
// through sending to what the host reports of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct TClientRiskRecord;

enum OrderLineState : int32_t {
  kLineNone = 0,
  kLinePrepared = 1,
  kLineActive = 2,
  kLineExecuted = 3,
  kLineWithdrawn = 4,
};

// The host answers a transaction it took with an id; -1 is "none".
constexpr int32_t kNoTransaction = -1;

struct TOrderLine {
  char Firm[33] = {};
  // The firm that accounts for the client; the closing transaction starts with it.
  char SecondFirm[33] = {};
  char Account[33] = {};
  char ClientCode[33] = {};
  char SecCode[33] = {};
  char ClassCode[33] = {};
  char BaseAsset[13] = {};
  uint8_t IsBuy = 1;  // a buy closes a short position
  double Quantity = 0.0;
  double Price = 0.0;
  int32_t State = kLineNone;
  double OrderNum = 0.0;
  FILETIME OrderTime = {};
  int32_t TransId = kNoTransaction;
  double PositionMargin = 0.0;
  // The last send took nothing: the plug-in could not build the transaction
  // or the host refused it. The line stays prepared and may be sent again,
  // which clears the mark. The reason, when one is known.
  bool Refused = false;
  std::string RefusalReason;

  // Once the host took the line's transaction, the line stands for a real
  // order: it is never sent, edited or deleted again.
  bool Sent() const { return TransId != kNoTransaction; }
  // Prepared and not yet taken by the host: the only line that may be sent.
  bool Sendable() const { return State == kLinePrepared && !Sent(); }
};

// A prepared line for the client's position in the security (a host
// security record).
TOrderLine MakeOrderLine(const TClientRiskRecord& client, const uint8_t* security, bool buy,
                         double price, double quantity, double positionMargin);
