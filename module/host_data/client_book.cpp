#include "module/host_data/client_book.h"

#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"

#include <cstring>

namespace {
std::string FixedText(const uint8_t* record, int offset) {
  return host::record::FixedText(record, offset, host_data::kTextCapacity);
}

bool IsRemoved(const uint8_t* limit) {
  using namespace host_data::limit;
  return host::record::Read<int32_t>(limit, kResetMarkA) == kResetA &&
         host::record::Read<int32_t>(limit, kResetMarkB) == kResetB;
}
}  // namespace

std::string RecordFirm(const uint8_t* record) { return FixedText(record, host_data::kFirm); }
std::string RecordAccount(const uint8_t* record) { return FixedText(record, host_data::kAccount); }
std::string RecordSecurityCode(const uint8_t* position) {
  return FixedText(position, host_data::position::kSecurityCodes);
}

TClientRiskRecord* CClientBook::ClientOf(const uint8_t* record) {
  const std::string firm = RecordFirm(record), account = RecordAccount(record);
  std::unique_ptr<TClientRiskRecord>& client = m_clients[{firm, account}];
  if (!client) client = std::make_unique<TClientRiskRecord>(firm.c_str(), account.c_str());
  return client.get();
}

void CClientBook::Upsert(const uint8_t* record, uint32_t size,
                         std::vector<uint8_t*>& clientRecords, RecordCopies& allRecords) {
  const int32_t id = host::record::Read<int32_t>(record, host_data::kRecordId);
  for (uint8_t* kept : clientRecords) {
    if (kept != nullptr && host::record::Read<int32_t>(kept, host_data::kRecordId) == id) {
      std::memcpy(kept, record, size);
      return;
    }
  }
  allRecords.emplace_back(new uint8_t[size]);
  std::memcpy(allRecords.back().get(), record, size);
  clientRecords.push_back(allRecords.back().get());
}

TClientRiskRecord* CClientBook::OnLimit(const uint8_t* record, int64_t now) {
  if (IsRemoved(record)) return nullptr;
  TClientRiskRecord* client = ClientOf(record);
  Upsert(record, host_data::kLimitSize, client->limits, m_limits);
  client->dataTime = now;
  return client;
}

TClientRiskRecord* CClientBook::OnPosition(const uint8_t* record, int64_t now) {
  TClientRiskRecord* client = ClientOf(record);
  Upsert(record, host_data::kPositionSize, client->positions, m_positions);
  client->dataTime = now;
  return client;
}

void CClientBook::OnLimitRemoval(int32_t limitId, int64_t now) {
  using namespace host_data::limit;
  for (auto& limit : m_limits) {
    uint8_t* record = limit.get();
    if (host::record::Read<int32_t>(record, host_data::kRecordId) != limitId) continue;
    std::memcpy(record + kResetMarkA, &kResetA, sizeof kResetA);
    std::memcpy(record + kResetMarkB, &kResetB, sizeof kResetB);
    if (TClientRiskRecord* client = Find(RecordFirm(record), RecordAccount(record)))
      client->dataTime = now;
    return;
  }
}

TClientRiskRecord* CClientBook::Find(const std::string& firm, const std::string& account) const {
  const auto found = m_clients.find({firm, account});
  return found == m_clients.end() ? nullptr : found->second.get();
}

void CClientBook::Clear() {
  if (m_uses > 0) {
    for (auto& client : m_clients) client.second->forgotten = true;
    m_forgotten.push_back({std::move(m_clients), std::move(m_limits), std::move(m_positions)});
  }
  m_clients.clear();
  m_limits.clear();
  m_positions.clear();
}
