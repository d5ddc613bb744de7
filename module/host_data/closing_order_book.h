// The plug-in's own closing orders as the host reports them back: what each
// transaction the plug-in sent closes, and a copy of every host order record
// that answers one of them. The orders table shows the copies; formation,
// the preparation windows and their sends count the lots still in orders,
// whatever window sent them.
#pragma once

#include "module/closing/closing_client.h"
#include "module/closing/order_line.h"
#include "module/host_data/position_fills.h"
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
  // (the same first word) replaces the earlier copy.
  ClosingOrderRecord* OnOrderRecord(const uint8_t* record);
  const std::vector<std::unique_ptr<ClosingOrderRecord>>& Records() const { return m_records; }

  // The host's position record (144 bytes): the lots filled that order
  // records told of before it now show in the client's position and values,
  // and its lots in active orders are what the sends take as held.
  void OnPositionRecord(const uint8_t* record);
  // The host started a new session: an order sent before counts again in the
  // client's values only once the host reports it in this one; the lots it
  // holds at a send stay held until then, or until a position record of the
  // new session shows them gone.
  void OnNewHostSession();
  // The record's order counts in this session.
  bool CountsNow(const uint8_t* record) const;

  // The client's sent orders still closing lots, in every account of a
  // united client: the lots sent until the host reports the order, then the
  // balance it reports; lots filled count on until the client's position
  // record for the security shows them, whether it comes after the order's
  // record or came before it (CPositionFills).
  std::vector<TPendingClosingOrder> PendingOf(const TClosingClient& client) const;

  // The lots of the host's position record (its account and security) on
  // the side a buy or a sell closes that no order closes yet, as a send may
  // take them (CPositionHolds): the host's count of lots in active orders is
  // subtracted when considered, else the plug-in's own orders'. May be
  // below 0.
  int FreeLots(const uint8_t* position, bool buy, bool considerHostCount) const;

 private:
  enum class Standing {
    kCounting,
    kRefusedByHost,   // an error text came with the id
    kEarlierSession,  // not reported since the host's new session
  };
  struct TSentOrder {
    TClosingClient client;
    std::string security;
    bool buy;
    double open;  // lots still at the exchange
    Standing standing;
    bool settled;
    TPositionKey Position() const { return TPositionKey(client.firm, client.account, security); }
    bool Of(const TPositionKey& position) const {
      return security == std::get<2>(position) && client.account == std::get<1>(position) &&
             client.firm == std::get<0>(position);
    }
  };
  void FollowOrder(TSentOrder& sent, const uint8_t* record);
  // The lots the position's counting orders still have open on the side.
  double OpenLots(const TPositionKey& position, bool buy) const;

  std::map<uint32_t, TSentOrder> m_sent;
  CPositionFills m_fills;
  CPositionHolds m_holds;
  std::vector<std::unique_ptr<ClosingOrderRecord>> m_records;
  struct THeldRecord {
    enum Kind { kOrder, kPosition, kNewSession } kind;
    std::vector<uint8_t> bytes;
  };
  int m_sends = 0;
  std::vector<THeldRecord> m_waiting;
};
