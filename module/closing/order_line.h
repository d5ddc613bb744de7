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
  // The client's accounts count as one client (a united client).
  bool United = false;
  // How many closing orders the plug-in had sent when the quantity was
  // formed or set: what orders sent after them close of the same position
  // is taken off the line at its send.
  uint32_t SendsSeen = 0;
  // The last send took nothing: the plug-in could not build or send the
  // transaction, or the host refused it, the reason given when one is known.
  // A line without a transaction id stays sendable and a new send clears
  // the mark. One the host refused with an error text yet gave an id is
  // never sent again (the order may exist after all) and counts as
  // closing nothing until a record of that id arrives.
  bool Refused = false;
  std::string RefusalReason;

  // The host gave the line's transaction an id.
  bool Sent() const { return TransId != kNoTransaction; }
  // Prepared and never given an id: the only line that may be sent, edited
  // and counted as still to be sent.
  bool Sendable() const { return State == kLinePrepared && !Sent(); }
  // Not taken by the host: never sent, or refused. Such a line may be
  // deleted and is counted as not submitted; a line taken stands for a real
  // order and stays until the host settles it.
  bool NotTaken() const { return State == kLinePrepared && (!Sent() || Refused); }
};

// A prepared line for the client's position in the security (a host
// security record).
TOrderLine MakeOrderLine(const TClientRiskRecord& client, const uint8_t* security, bool buy,
                         double price, double quantity, double positionMargin);
