#include "module/host_data/closing_order_book.h"

#include "module/host_data/client_book.h"
#include "module/market_records.h"
#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>

namespace {
using host::record::FixedText;
using host::record::Read;
namespace order = host_data::order;

bool IsActive(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kActive) != 0; }
bool IsWithdrawn(const uint8_t* record) { return (Read<uint32_t>(record, order::kFlags) & order::kWithdrawn) != 0; }
uint32_t TransactionOf(const uint8_t* record) { return Read<uint32_t>(record, order::kTransactionId); }
double BalanceOf(const uint8_t* record) {
  return std::max(0.0, static_cast<double>(Read<int64_t>(record, order::kBalance)));
}

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
  const auto id = static_cast<uint32_t>(line.TransId);
  const TSentOrder& sent = m_sent[id] = {ClosingClientOf(line), line.SecCode, line.IsBuy != 0, line.Quantity, 0.0,
                                         line.Refused, ++m_serial};
  m_holds.OnOrderSent(id, sent.Position(), sent.buy, sent.lots, line.Refused);
  if (m_sends > 0) m_noteWhileHeld.push_back(id);
}

bool CClosingOrderBook::WasSent(uint32_t transactionId) const { return m_sent.count(transactionId) != 0; }

void CClosingOrderBook::BeginSend() { ++m_sends; }

void CClosingOrderBook::EndSend(const std::function<void(const uint8_t* record)>& orderRecord) {
  if (--m_sends > 0) return;
  std::vector<THeldRecord> waiting;
  waiting.swap(m_waiting);
  std::vector<uint32_t> sentMeanwhile;
  sentMeanwhile.swap(m_noteWhileHeld);
  for (const THeldRecord& held : waiting) {
    if (held.kind == THeldRecord::kOrder) orderRecord(held.bytes.data());
    else if (held.kind == THeldRecord::kPosition) OnPositionRecord(held.bytes.data());
    else m_holds.OnNewSession(sentMeanwhile);
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
  if (sent == m_sent.end()) {
    FollowOtherOrder(record);
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

// What the host reports of the order: the lots still at the exchange (those
// a withdrawal gave back), or none once executed.
void CClosingOrderBook::FollowOrder(TSentOrder& sent, const uint8_t* record) {
  const bool active = IsActive(record);
  const double balance = std::min(sent.lots, BalanceOf(record));
  sent.closesNothing = false;
  if (!active && IsWithdrawn(record)) sent.givenBack = balance;
  m_holds.OnOrderRecord(TransactionOf(record), active || IsWithdrawn(record) ? balance : 0.0, active);
}

// The client's own orders count in the host's lots in orders beside ours.
void CClosingOrderBook::FollowOtherOrder(const uint8_t* record) {
  const uint8_t* security = GetSecurityInfoByIndex(Read<int32_t>(record, order::kSecurityIndex));
  if (security == nullptr) return;
  const TPositionKey position(FixedText(record, order::kFirm, order::kFirmCapacity),
                              FixedText(record, order::kAccount, order::kAccountCapacity),
                              SecurityCodeOf(security));
  const bool buy = (Read<uint32_t>(record, order::kFlags) & order::kSell) == 0;
  m_holds.OnOtherOrderRecord(Read<int32_t>(record, order::kKey), position, buy, BalanceOf(record), IsActive(record),
                             IsWithdrawn(record));
}

void CClosingOrderBook::OnPositionRecord(const uint8_t* record) {
  if (m_sends > 0) {
    m_waiting.push_back({THeldRecord::kPosition, Copy(record, host_data::kPositionSize)});
    return;
  }
  m_holds.OnPositionRecord(PositionOf(record), PictureOf(record));
}

void CClosingOrderBook::OnNewHostSession() {
  if (m_sends > 0) {
    m_waiting.push_back({THeldRecord::kNewSession, {}});
    return;
  }
  m_holds.OnNewSession({});
}

int CClosingOrderBook::FreeLots(const uint8_t* position, bool buy, bool considerHostCount) const {
  return static_cast<int>(
      std::lround(m_holds.FreeLots(PositionOf(position), buy, considerHostCount, PictureOf(position))));
}

int CClosingOrderBook::LotsSentSince(uint32_t sends, const uint8_t* position, bool buy) const {
  const TPositionKey key = PositionOf(position);
  double lots = 0.0;
  for (const auto& entry : m_sent) {
    const TSentOrder& sent = entry.second;
    if (sent.serial > sends && sent.buy == buy && !sent.closesNothing && sent.Position() == key)
      lots += sent.lots - sent.givenBack;
  }
  return static_cast<int>(std::lround(lots));
}

std::vector<TUnreportedOrder> CClosingOrderBook::Unreported(const uint8_t* position, bool buy) const {
  return m_holds.Unreported(PositionOf(position), buy);
}

bool CClosingOrderBook::CountsNow(const uint8_t* record) const {
  return m_holds.ReportedNow(TransactionOf(record));
}

std::vector<TPendingClosingOrder> CClosingOrderBook::PendingOf(const TClosingClient& client) const {
  std::set<std::pair<TPositionKey, bool>> sides;
  for (const auto& entry : m_sent)
    if (client.Includes(entry.second.client)) sides.emplace(entry.second.Position(), entry.second.buy);
  std::vector<TPendingClosingOrder> pending;
  for (const auto& side : sides) {
    const double held = m_holds.Held(side.first, side.second);
    if (held > 0.0) pending.push_back({std::get<1>(side.first), std::get<2>(side.first), side.second, held});
  }
  return pending;
}
