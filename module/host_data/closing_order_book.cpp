#include "module/host_data/closing_order_book.h"

#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kNoTransaction = 0xFFFFFFFFu;

// Executed or withdrawn: the order left the exchange's book for good. An order
// marked active counts as active even when also marked withdrawn.
bool IsSettled(const uint8_t* record) {
  return (host::record::Read<uint32_t>(record, host_data::order::kFlags) & host_data::order::kActive) == 0;
}
}  // namespace

void CClosingOrderBook::NoteSentTransaction(int32_t transactionId) {
  if (static_cast<uint32_t>(transactionId) != kNoTransaction) m_sent.push_back(static_cast<uint32_t>(transactionId));
}

bool CClosingOrderBook::WasSent(uint32_t transactionId) const {
  return transactionId != kNoTransaction &&
         std::find(m_sent.rbegin(), m_sent.rend(), transactionId) != m_sent.rend();
}

ClosingOrderRecord* CClosingOrderBook::OnOrderRecord(const uint8_t* record) {
  using host::record::Read;
  if (!WasSent(Read<uint32_t>(record, host_data::order::kTransactionId))) return nullptr;
  const int32_t key = Read<int32_t>(record, host_data::order::kKey);
  auto kept = std::find_if(m_records.rbegin(), m_records.rend(), [key](const auto& copy) {
    return Read<int32_t>(copy->bytes, host_data::order::kKey) == key;
  });
  ClosingOrderRecord* copy = nullptr;
  if (kept != m_records.rend()) {
    // A late or replayed record never takes a settled order back: the table,
    // the count of active orders, the withdrawal and the preparation windows
    // all go by the copy kept here.
    if (IsSettled((*kept)->bytes)) return nullptr;
    copy = kept->get();
  } else {
    m_records.push_back(std::make_unique<ClosingOrderRecord>());
    copy = m_records.back().get();
  }
  std::memcpy(copy->bytes, record, host_data::kOrderSize);
  return copy;
}
