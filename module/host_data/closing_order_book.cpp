#include "module/host_data/closing_order_book.h"

#include "module/host_data/client_book.h"
#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>

namespace {
using host::record::Read;
namespace order = host_data::order;

bool IsActive(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kActive) != 0; }
bool IsWithdrawn(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kWithdrawn) != 0; }
uint32_t TransactionOf(const uint8_t* record) { return Read<uint32_t>(record, order::kTransactionId); }

TPositionKey PositionOf(const uint8_t* position) {
  return TPositionKey(RecordFirm(position), RecordAccount(position), RecordSecurityCode(position));
}

TPositionPicture PictureOf(const uint8_t* position) {
  namespace fields = host_data::position;
  return {Read<int32_t>(position, fields::kQuantity), Read<int32_t>(position, fields::kActiveBuys),
          Read<int32_t>(position, fields::kActiveSells)};
}

std::vector<uint8_t> Copy(const uint8_t* record, uint32_t size) { return std::vector<uint8_t>(record, record + size); }
}  // namespace

void CClosingOrderBook::NoteSentOrder(const TOrderLine& line) {
  if (!line.Sent()) return;
  const Standing standing = line.Refused ? Standing::kRefusedByHost : Standing::kCounting;
  const auto id = static_cast<uint32_t>(line.TransId);
  const TSentOrder& sent = m_sent[id] = {ClosingClientOf(line), line.SecCode, line.IsBuy != 0, line.Quantity,
                                         standing, false};
  m_holds.OnOrderSent(id, sent.Position(), sent.buy, sent.open, line.Refused);
}

// Every position record of every client asks this of every order sent that
// session: the orders with nothing open are passed over first, and no key is
// built for the others.
double CClosingOrderBook::OpenLots(const TPositionKey& position, bool buy) const {
  double lots = 0.0;
  for (const auto& entry : m_sent) {
    const TSentOrder& sent = entry.second;
    if (sent.open > 0.0 && sent.standing == Standing::kCounting && sent.buy == buy && sent.Of(position))
      lots += sent.open;
  }
  return lots;
}

bool CClosingOrderBook::WasSent(uint32_t transactionId) const { return m_sent.count(transactionId) != 0; }

void CClosingOrderBook::BeginSend() { ++m_sends; }

void CClosingOrderBook::EndSend(const std::function<void(const uint8_t* record)>& orderRecord) {
  if (--m_sends > 0) return;
  std::vector<THeldRecord> waiting;
  waiting.swap(m_waiting);
  for (const THeldRecord& held : waiting) {
    if (held.kind == THeldRecord::kOrder) orderRecord(held.bytes.data());
    else if (held.kind == THeldRecord::kPosition) OnPositionRecord(held.bytes.data());
    else OnNewHostSession();
  }
}

ClosingOrderRecord* CClosingOrderBook::OnOrderRecord(const uint8_t* record) {
  // Whether a position record came before or after an order's record tells
  // what it shows: every record waits for the send, in the order it came.
  if (m_sends > 0) {
    m_waiting.push_back({THeldRecord::kOrder, Copy(record, host_data::kOrderSize)});
    return nullptr;
  }
  const auto sent = m_sent.find(TransactionOf(record));
  if (sent == m_sent.end()) return nullptr;
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
// those filled since its last report, which the client's position may show
// already or only once its next record arrives.
void CClosingOrderBook::FollowOrder(TSentOrder& sent, const uint8_t* record) {
  if (sent.settled) return;
  const bool active = IsActive(record);
  const double balance = std::max(0.0, static_cast<double>(Read<int64_t>(record, order::kBalance)));
  // An executed order has nothing left, whatever balance it carries.
  const double left = active || IsWithdrawn(record) ? std::min(sent.open, balance) : 0.0;
  // The new session's positions are the host's own: fills before it show.
  const double filled = sent.standing == Standing::kEarlierSession ? 0.0 : sent.open - left;
  sent.open = active ? left : 0.0;
  sent.settled = !active;
  sent.standing = Standing::kCounting;
  m_fills.OnOrderRecord(sent.Position(), sent.buy, filled, OpenLots(sent.Position(), sent.buy));
  m_holds.OnOrderRecord(TransactionOf(record), active || IsWithdrawn(record) ? balance : 0.0, active);
}

void CClosingOrderBook::OnPositionRecord(const uint8_t* record) {
  if (m_sends > 0) {
    m_waiting.push_back({THeldRecord::kPosition, Copy(record, host_data::kPositionSize)});
    return;
  }
  const TPositionKey position = PositionOf(record);
  const TPositionPicture picture = PictureOf(record);
  m_fills.OnPositionRecord(position, picture.lots, OpenLots(position, false), OpenLots(position, true));
  m_holds.OnPositionRecord(position, picture);
}

void CClosingOrderBook::OnNewHostSession() {
  if (m_sends > 0) {
    m_waiting.push_back({THeldRecord::kNewSession, {}});
    return;
  }
  m_fills.Forget();
  m_holds.OnNewSession();
  for (auto& entry : m_sent)
    if (!entry.second.settled) entry.second.standing = Standing::kEarlierSession;
}

int CClosingOrderBook::FreeLots(const uint8_t* position, bool buy, bool considerHostCount) const {
  return static_cast<int>(
      std::lround(m_holds.FreeLots(PositionOf(position), buy, considerHostCount, PictureOf(position))));
}

bool CClosingOrderBook::CountsNow(const uint8_t* record) const {
  const auto sent = m_sent.find(TransactionOf(record));
  return sent != m_sent.end() && sent->second.standing == Standing::kCounting;
}

std::vector<TPendingClosingOrder> CClosingOrderBook::PendingOf(const TClosingClient& client) const {
  std::vector<TPendingClosingOrder> pending;
  std::set<std::pair<TPositionKey, bool>> sides;
  for (const auto& entry : m_sent) {
    const TSentOrder& sent = entry.second;
    if (!client.Includes(sent.client)) continue;
    if (sent.standing == Standing::kCounting && sent.open > 0.0)
      pending.push_back({sent.client.account, sent.security, sent.buy, sent.open});
    sides.emplace(sent.Position(), sent.buy);
  }
  for (const auto& side : sides) {
    const double unseen = m_fills.Unseen(side.first, side.second);
    if (unseen > 0.0) pending.push_back({std::get<1>(side.first), std::get<2>(side.first), side.second, unseen});
  }
  return pending;
}
