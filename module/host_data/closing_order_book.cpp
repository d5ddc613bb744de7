#include "module/host_data/closing_order_book.h"

#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstring>

namespace {
using host::record::Read;

// Executed or withdrawn: the order left the exchange's book for good. An order
// marked active counts as active even when also marked withdrawn.
bool IsSettled(const uint8_t* record) {
  return (Read<uint32_t>(record, host_data::order::kFlags) & host_data::order::kActive) == 0;
}
}  // namespace

void CClosingOrderBook::NoteSentOrder(const TOrderLine& line) {
  if (line.TransId == kNoTransaction) return;
  const uint32_t id = static_cast<uint32_t>(line.TransId);
  const ClientKey client(line.Firm, line.Account);
  m_sent[client].push_back({id, {line.SecCode, line.IsBuy != 0, line.Quantity}, false});
  m_clientOfTransaction[id] = client;
}

bool CClosingOrderBook::WasSent(uint32_t transactionId) const {
  return m_clientOfTransaction.count(transactionId) != 0;
}

ClosingOrderRecord* CClosingOrderBook::OnOrderRecord(const uint8_t* record) {
  if (!WasSent(Read<uint32_t>(record, host_data::order::kTransactionId))) return nullptr;
  const int32_t key = Read<int32_t>(record, host_data::order::kKey);
  auto kept = std::find_if(m_records.rbegin(), m_records.rend(), [key](const auto& copy) {
    return Read<int32_t>(copy->bytes, host_data::order::kKey) == key;
  });
  ClosingOrderRecord* copy = nullptr;
  if (kept != m_records.rend()) {
    // A late or replayed record never takes a settled order back: the table,
    // the count of active orders, the withdrawal, formation and the
    // preparation windows all go by the copy kept here.
    if (IsSettled((*kept)->bytes)) return nullptr;
    copy = kept->get();
  } else {
    m_records.push_back(std::make_unique<ClosingOrderRecord>());
    copy = m_records.back().get();
  }
  std::memcpy(copy->bytes, record, host_data::kOrderSize);
  FollowOrder(record);
  return copy;
}

// Part of an active order may have filled, and the host's positions already
// show it: only the balance is still to close.
void CClosingOrderBook::FollowOrder(const uint8_t* record) {
  const uint32_t id = Read<uint32_t>(record, host_data::order::kTransactionId);
  const bool settled = IsSettled(record);
  const double balance = static_cast<double>(Read<int64_t>(record, host_data::order::kBalance));
  for (TSentOrder& sent : m_sent[m_clientOfTransaction[id]]) {
    if (sent.transactionId != id || sent.settled) continue;
    sent.settled = settled;
    sent.pending.lots = settled ? 0.0 : std::max(0.0, std::min(sent.pending.lots, balance));
  }
}

std::vector<TPendingClosingOrder> CClosingOrderBook::PendingOf(const std::string& firm,
                                                               const std::string& account) const {
  std::vector<TPendingClosingOrder> pending;
  const auto client = m_sent.find(ClientKey(firm, account));
  if (client == m_sent.end()) return pending;
  for (const TSentOrder& sent : client->second)
    if (!sent.settled && sent.pending.lots > 0.0) pending.push_back(sent.pending);
  return pending;
}
