// The plug-in's own closing orders as the host reports them back: what each
// transaction the plug-in sent closes, and a copy of every host order record
// that answers one of them. The orders table shows the copies; formation,
// the preparation windows and their sends count the lots still in orders,
// whatever window sent them.
#pragma once

#include "module/closing/closing_client.h"
#include "module/closing/order_line.h"
#include "module/host_data/position_holds.h"
#include "sdk/host_data_records.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The module's copy of a host order record (592 bytes at the host's offsets).
struct ClosingOrderRecord {
  uint8_t bytes[host_data::kOrderSize];
};

// Lots of a client's position in an account that a sent closing order still
// closes.
struct TPendingClosingOrder {
  std::string account;
  std::string security;
  bool buy = false;
  double lots = 0.0;
};

class CClosingOrderBook {
 public:
  // Notes the transaction the host gave the line an id for; a line without
  // one is not kept: no record answers it. A line the host refused with an
  // error text closes nothing until a record of its id arrives.
  void NoteSentOrder(const TOrderLine& line);
  bool WasSent(uint32_t transactionId) const;
  // How many orders have been noted: a line formed now is cut at its send
  // by the orders noted after this.
  uint32_t Sends() const { return m_serial; }

  // The host may report an order while its transaction is still being sent,
  // before the plug-in knows the id: from BeginSend until the outermost
  // EndSend every order and position record, and a new host session, waits.
  // EndSend, once the send's id is noted, takes them in the order they came,
  // each order record through orderRecord (which hands it to OnOrderRecord).
  void BeginSend();
  void EndSend(const std::function<void(const uint8_t* record)>& orderRecord);

  // The copy the record updated or added, or null when the record answers no
  // transaction the plug-in sent, comes for an order already executed or
  // withdrawn, or waits for a send. A later record of an order still active
  // (the same first word) replaces the earlier copy. A record of an order
  // the plug-in did not send tells what the client's own orders hold.
  ClosingOrderRecord* OnOrderRecord(const uint8_t* record);
  const std::vector<std::unique_ptr<ClosingOrderRecord>>& Records() const { return m_records; }

  // The host's position record (144 bytes): the lots filled that order
  // records told of before it now show in the client's position and values,
  // and its lots in active orders are what the sends take as held.
  void OnPositionRecord(const uint8_t* record);
  // The host started a new session: an order sent before, reported or not,
  // holds its lots until the host reports it in this one or a position
  // record of the session shows it gone.
  void OnNewHostSession();
  // The record's order was reported in this session and is not settled.
  bool CountsNow(const uint8_t* record) const;

  // What the client's sent orders close, per position and side, in every
  // account of a united client: the lots of the position's last record they
  // close, and those filled that it does not show yet (CPositionHolds). The
  // cap of a send reads the same account.
  std::vector<TPendingClosingOrder> PendingOf(const TClosingClient& client) const;

  // The lots of the host's position record (its account and security) on
  // the side a buy or a sell closes that no order closes yet, as a send may
  // take them: the host's count of lots in active orders is subtracted when
  // considered, else the plug-in's own orders'. May be below 0.
  int FreeLots(const uint8_t* position, bool buy, bool considerHostCount) const;
  // The lots that the client's orders noted after the given number of sends
  // close or closed in the position record's account and security on the
  // side: sent less given back by a withdrawal, none while refused.
  int LotsSentSince(uint32_t sends, const uint8_t* position, bool buy) const;
  // The client's orders of the position on the side that hold lots with no
  // record of this host session.
  std::vector<TUnreportedOrder> Unreported(const uint8_t* position, bool buy) const;

 private:
  struct TSentOrder {
    TClosingClient client;
    std::string security;
    bool buy;
    double lots;             // as sent
    double givenBack;        // by its withdrawal
    bool closesNothing;      // an error text came with its id and no record since
    uint32_t serial;         // the how-many-th noted
    TPositionKey Position() const { return TPositionKey(client.firm, client.account, security); }
  };
  void FollowOrder(TSentOrder& sent, const uint8_t* record);
  void FollowOtherOrder(const uint8_t* record);

  std::map<uint32_t, TSentOrder> m_sent;
  uint32_t m_serial = 0;
  CPositionHolds m_holds;
  std::vector<std::unique_ptr<ClosingOrderRecord>> m_records;
  struct THeldRecord {
    enum Kind { kOrder, kPosition, kNewSession } kind;
    std::vector<uint8_t> bytes;
  };
  int m_sends = 0;
  std::vector<THeldRecord> m_waiting;
  // Orders noted while records wait: a new session among those records
  // started before the host took them.
  std::vector<uint32_t> m_noteWhileHeld;
};
