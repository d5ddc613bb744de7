#include "module/host_data/closing_order_book.h"

#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstring>

namespace {
using host::record::Read;
namespace order = host_data::order;

bool IsActive(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kActive) != 0; }
bool IsWithdrawn(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kWithdrawn) != 0; }
uint32_t TransactionOf(const uint8_t* record) { return Read<uint32_t>(record, order::kTransactionId); }
}  // namespace

void CClosingOrderBook::NoteSentOrder(const TOrderLine& line) {
  if (!line.Sent()) return;
  const Standing standing = line.Refused ? Standing::kRefusedByHost : Standing::kCounting;
  const int held = HeldNow(PositionKey(line.Firm, line.Account, line.SecCode), line.IsBuy != 0);
  m_sent[static_cast<uint32_t>(line.TransId)] = {ClosingClientOf(line), line.SecCode, line.IsBuy != 0,
                                                 line.Quantity, 0.0, held, standing, false};
}

int CClosingOrderBook::HeldNow(const PositionKey& position, bool buy) const {
  const auto found = m_positions.find(position);
  if (found == m_positions.end()) return -1;
  return std::max(0, buy ? -found->second : found->second);
}

bool CClosingOrderBook::WasSent(uint32_t transactionId) const { return m_sent.count(transactionId) != 0; }

void CClosingOrderBook::BeginSend() {
  m_sending = true;
  m_waiting.clear();
}

std::vector<ClosingOrderRecord> CClosingOrderBook::EndSend(int32_t transactionId) {
  std::vector<ClosingOrderRecord> answers;
  for (const ClosingOrderRecord& record : m_waiting)
    if (transactionId != kNoTransaction && TransactionOf(record.bytes) == static_cast<uint32_t>(transactionId))
      answers.push_back(record);
  m_waiting.clear();
  m_sending = false;
  return answers;
}

ClosingOrderRecord* CClosingOrderBook::OnOrderRecord(const uint8_t* record) {
  const auto sent = m_sent.find(TransactionOf(record));
  if (sent == m_sent.end()) {
    // Most records answer other transactions; only one that may answer the
    // transaction in flight waits.
    if (m_sending) {
      m_waiting.emplace_back();
      std::memcpy(m_waiting.back().bytes, record, host_data::kOrderSize);
    }
    return nullptr;
  }
  const int32_t key = Read<int32_t>(record, order::kKey);
  auto kept = std::find_if(m_records.rbegin(), m_records.rend(),
                           [key](const auto& copy) { return Read<int32_t>(copy->bytes, order::kKey) == key; });
  ClosingOrderRecord* copy = nullptr;
  if (kept != m_records.rend()) {
    // A late or replayed record never takes a settled order back: the table,
    // the count of active orders, the withdrawal, formation and the
    // preparation windows all go by the copy kept here.
    if (!IsActive((*kept)->bytes)) return nullptr;
    copy = kept->get();
  } else {
    m_records.push_back(std::make_unique<ClosingOrderRecord>());
    copy = m_records.back().get();
  }
  std::memcpy(copy->bytes, record, host_data::kOrderSize);
  FollowOrder(sent->second, record);
  return copy;
}

// What the host reports of the order: the lots still at the exchange, and
// those filled since the last report, which the client's position shows
// only once its next record arrives.
void CClosingOrderBook::FollowOrder(TSentOrder& sent, const uint8_t* record) {
  if (sent.settled) return;
  const bool active = IsActive(record);
  const double balance = std::max(0.0, static_cast<double>(Read<int64_t>(record, order::kBalance)));
  // An executed order has nothing left, whatever balance it carries.
  const double left = active || IsWithdrawn(record) ? std::min(sent.open, balance) : 0.0;
  if (sent.standing == Standing::kEarlierSession) {
    // The new session's positions are the host's own: fills before it show.
    sent.filled = 0.0;
  } else {
    sent.filled += sent.open - left;
  }
  sent.open = active ? left : 0.0;
  sent.settled = !active;
  sent.standing = Standing::kCounting;
}

void CClosingOrderBook::OnPositionRecord(const std::string& firm, const std::string& account,
                                         const std::string& security, int32_t lots) {
  m_positions[PositionKey(firm, account, security)] = lots;
  for (auto& entry : m_sent) {
    TSentOrder& sent = entry.second;
    if (sent.client.firm == firm && sent.client.account == account && sent.security == security) sent.filled = 0.0;
  }
}

void CClosingOrderBook::OnNewHostSession() {
  for (auto& entry : m_sent) {
    TSentOrder& sent = entry.second;
    sent.filled = 0.0;
    if (!sent.settled) sent.standing = Standing::kEarlierSession;
  }
}

bool CClosingOrderBook::CountsNow(const uint8_t* record) const {
  const auto sent = m_sent.find(TransactionOf(record));
  return sent != m_sent.end() && sent->second.standing == Standing::kCounting;
}

std::vector<TPendingClosingOrder> CClosingOrderBook::PendingOf(const TClosingClient& client) const {
  std::vector<TPendingClosingOrder> pending;
  // Fills of one position, side by side: what its record already shows of
  // them is the lots it lost since the first of those orders was sent.
  struct TFills {
    double lots = 0.0;
    int heldAtSend = -1;
  };
  std::map<std::pair<PositionKey, bool>, TFills> fills;
  for (const auto& entry : m_sent) {
    const TSentOrder& sent = entry.second;
    if (!client.Includes(sent.client)) continue;
    if (sent.standing == Standing::kCounting && sent.open > 0.0)
      pending.push_back({sent.client.account, sent.security, sent.buy, sent.open});
    if (sent.filled <= 0.0) continue;
    TFills& position = fills[{PositionKey(sent.client.firm, sent.client.account, sent.security), sent.buy}];
    position.lots += sent.filled;
    position.heldAtSend = std::max(position.heldAtSend, sent.heldAtSend);
  }
  for (const auto& position : fills) {
    const int now = HeldNow(position.first.first, position.first.second);
    const int shown = position.second.heldAtSend < 0 || now < 0 ? 0 : std::max(0, position.second.heldAtSend - now);
    const double unseen = position.second.lots - shown;
    if (unseen > 0.0)
      pending.push_back({std::get<1>(position.first.first), std::get<2>(position.first.first), position.first.second,
                         unseen});
  }
  return pending;
}
