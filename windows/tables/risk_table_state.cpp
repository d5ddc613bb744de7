// The risk-parameters table's own part of its window's saved state, after
// the SDK's part: version 104, the three filters in the host's form, the
// conditions, the closing pattern, the client and position types and the
// table's filter file. Older versions hold fewer of the fields.
#include "windows/tables/risk_params_table.h"

#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "sdk/host_state_stream.h"
#include "windows/tables/legacy_client_filter.h"
#include "windows/tables/risk_table_source.h"

namespace {
constexpr int32_t kStateVersion = 104;
constexpr int32_t kFirstVersionWithClientType = 102, kFirstVersionWithClientTypes = 103;
constexpr size_t kPathBufferSize = 260;

template <typename T>
void Put(HostStateStream& stream, T value) {
  stream.Write(&value, sizeof value);
}

// A field the record does not hold keeps its value.
template <typename T>
void Take(HostStateStream& stream, T* value) {
  T read;
  if (stream.Read(&read, sizeof read)) *value = read;
}

void TakeFlag(HostStateStream& stream, bool* flag) {
  uint8_t byte = *flag ? 1 : 0;
  Take(stream, &byte);
  *flag = byte != 0;
}

CVantrelModule* Module() { return dynamic_cast<CVantrelModule*>(GetPluginModule()); }

// The single client type of version 102 as the bits of ClientTypes.
uint32_t ClientTypesOfVersion102(int32_t type) {
  switch (type) {
    case 1: return 3;
    case 3: return 6;
    default: return 1;
  }
}
}  // namespace

int CVantrelFutRiskParamsTable::SaveState(LPARAM hostValue) {
  if (!CTablePlugin::SaveState(hostValue)) return 0;
  IRiskTableSource* source = GetRiskTableSource();
  const TOrdersFilterLists lists = source != nullptr ? source->RiskItemLists() : TOrdersFilterLists{};
  HostStateStream stream;
  Put(stream, kStateVersion);
  HostCall<56>(&filters_.first, lists.clients);
  HostCall<56>(&filters_.second, lists.accounts);
  HostCall<56>(&firmFilter_, lists.firms);
  Put<uint8_t>(stream, filter_.UseSfrLevel ? 1 : 0);
  Put(stream, filter_.SfrLevel);
  Put<uint8_t>(stream, filter_.UseMarginCallCondition ? 1 : 0);
  Put<int32_t>(stream, filter_.NotificationType);
  Put<int32_t>(stream, patternIndex_);
  Put<int32_t>(stream, static_cast<int32_t>(filter_.ClientTypes));
  Put<int32_t>(stream, filter_.PositionType);
  Put<int32_t>(stream, filterFromFile_ ? 1 : 0);
  HostCall<64>(filter_.FilterFilePath.c_str());
  return 1;
}

bool CVantrelFutRiskParamsTable::LoadState() {
  if (!CTablePlugin::LoadState()) return false;
  IRiskTableSource* source = GetRiskTableSource();
  const TOrdersFilterLists lists = source != nullptr ? source->RiskItemLists() : TOrdersFilterLists{};
  HostStateStream stream;
  int32_t version = 0;
  Take(stream, &version);
  if (version > kStateVersion) version = kStateVersion;
  HostCall<57>(&filters_.first, lists.clients);
  DropLegacyClientFilter(filters_.first, lists.clients, [] {
    if (CVantrelModule* module = Module()) module->DropClientFilterItems();
  });
  HostCall<57>(&filters_.second, lists.accounts);
  HostCall<57>(&firmFilter_, lists.firms);

  TakeFlag(stream, &filter_.UseSfrLevel);
  Take(stream, &filter_.SfrLevel);
  TakeFlag(stream, &filter_.UseMarginCallCondition);
  Take(stream, &filter_.NotificationType);
  Take(stream, &patternIndex_);
  if (version == kFirstVersionWithClientType) {
    int32_t type = 0;
    if (stream.Read(&type, sizeof type)) filter_.ClientTypes = ClientTypesOfVersion102(type);
  } else if (version >= kFirstVersionWithClientTypes) {
    Take(stream, &filter_.ClientTypes);
  }
  if (version >= kStateVersion) Take(stream, &filter_.PositionType);

  int32_t fromFile = 0;
  Take(stream, &fromFile);
  filterFromFile_ = fromFile != 0;
  if (filterFromFile_) {
    char path[kPathBufferSize] = {};
    HostCall<65>(path);
    path[kPathBufferSize - 1] = 0;
    filter_.FilterFilePath = path;
    if (CVantrelModule* module = Module()) module->ReadClientFilterFile(filter_.FilterFilePath, this);
  }
  return true;
}
