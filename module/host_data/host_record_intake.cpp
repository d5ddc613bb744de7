// The host's derivatives-market records, pushed through callback entry 22.
#include "module/vantrel_module.h"

#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"

#include <ctime>

bool CVantrelModule::OnHostCommand(uint32_t kind, uint32_t code, const void* data, uint32_t size) {
  using namespace host_data;
  if (kind != kRecordKind || data == nullptr) return true;
  const auto* record = static_cast<const uint8_t*>(data);
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  // A record shorter than its kind is ignored: its fields would be read
  // past the host's data.
  if (code == kLimitCode && size >= kLimitSize) {
    if (m_clients.OnLimit(record, now) != nullptr) {
      m_accountsFilter.Add(RecordAccount(record));
      m_firmsFilter.Add(RecordFirm(record));
    }
  } else if (code == kPositionCode && size >= kPositionSize) {
    m_clients.OnPosition(record, now);
    m_closingOrders.OnPositionRecord(record);
    m_accountsFilter.Add(RecordAccount(record));
    m_firmsFilter.Add(RecordFirm(record));
  } else if (code == kLimitRemovalCode && size >= kLimitRemovalSize) {
    m_clients.OnLimitRemoval(host::record::Read<int32_t>(record, 0), now);
  } else if (code == kOrderCode && size >= kOrderSize) {
    OnClosingOrderRecord(record);
  }
  return true;
}
