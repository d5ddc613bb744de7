// The plug-in's own closing orders as the host reports them back: the
// transaction ids the plug-in sent, and a copy of every host order record
// that answers one of them. The orders table shows the copies.
#pragma once

#include "sdk/host_data_records.h"

#include <cstdint>
#include <memory>
#include <vector>

// The module's copy of a host order record (592 bytes at the host's offsets).
struct ClosingOrderRecord {
  uint8_t bytes[host_data::kOrderSize];
};

class CClosingOrderBook {
 public:
  // An id of -1 (the host assigned none) is not kept: it answers nothing.
  void NoteSentTransaction(int32_t transactionId);
  bool WasSent(uint32_t transactionId) const;
  // The copy the record updated or added, or null when the record answers no
  // transaction the plug-in sent or comes for an order already executed or
  // withdrawn. A later record of an order still active (the same first word)
  // replaces the earlier copy.
  ClosingOrderRecord* OnOrderRecord(const uint8_t* record);
  const std::vector<std::unique_ptr<ClosingOrderRecord>>& Records() const { return m_records; }

 private:
  std::vector<uint32_t> m_sent;
  std::vector<std::unique_ptr<ClosingOrderRecord>> m_records;
};
