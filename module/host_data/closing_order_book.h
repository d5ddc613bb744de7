// The plug-in's own closing orders as the host reports them back: what each
// transaction the plug-in sent closes, and a copy of every host order record
// that answers one of them. The orders table shows the copies; formation and
// the preparation windows count the lots still in orders, whatever window
// sent them.
#pragma once

#include "module/closing/order_line.h"
#include "sdk/host_data_records.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The module's copy of a host order record (592 bytes at the host's offsets).
struct ClosingOrderRecord {
  uint8_t bytes[host_data::kOrderSize];
};

// Lots of a client's position that a sent closing order still closes.
struct TPendingClosingOrder {
  std::string security;
  bool buy = false;
  double lots = 0.0;
};

class CClosingOrderBook {
 public:
  // Notes the line the host took; a line without a transaction id (-1, the
  // host assigned none) is not kept: no record answers it.
  void NoteSentOrder(const TOrderLine& line);
  bool WasSent(uint32_t transactionId) const;
  // The copy the record updated or added, or null when the record answers no
  // transaction the plug-in sent or comes for an order already executed or
  // withdrawn. A later record of an order still active (the same first word)
  // replaces the earlier copy.
  ClosingOrderRecord* OnOrderRecord(const uint8_t* record);
  const std::vector<std::unique_ptr<ClosingOrderRecord>>& Records() const { return m_records; }

  // The client's sent orders not yet executed or withdrawn: the lots sent
  // until the host reports the order, then the balance it reports.
  std::vector<TPendingClosingOrder> PendingOf(const std::string& firm, const std::string& account) const;

 private:
  using ClientKey = std::pair<std::string, std::string>;  // firm, trading account
  struct TSentOrder {
    uint32_t transactionId;
    TPendingClosingOrder pending;
    bool settled;
  };
  void FollowOrder(const uint8_t* record);

  // By client, as formation asks for them client by client.
  std::map<ClientKey, std::vector<TSentOrder>> m_sent;
  std::map<uint32_t, ClientKey> m_clientOfTransaction;
  std::vector<std::unique_ptr<ClosingOrderRecord>> m_records;
};
