#include "module/table_refresh.h"

#include "sdk/host_call.h"

#include <vector>

namespace {
constexpr uint32_t kRefreshBit = 0x01;

// Positions of the list's entries that the host accepts, asked once each.
std::vector<int32_t> AcceptedPositions(const host::ItemList* list) {
  std::vector<int32_t> positions;
  if (list == nullptr || list->entries == nullptr) return positions;
  for (int32_t position = 0; position < list->count; ++position)
    if (HostCall<137>(list->entries[position].key, 1, 0) != 0) positions.push_back(position);
  return positions;
}

// False when the host has no buffer for them; the selection stays empty then.
bool FillSelection(host::FilterSelection& selection, const std::vector<int32_t>& positions) {
  selection.reserved1 = selection.reserved2 = 0;
  auto* array = static_cast<int32_t*>(
      HostCall<3>(static_cast<uint32_t>(positions.size() * sizeof(int32_t))));
  if (array == nullptr) return false;
  selection.positions = array;
  for (int32_t position : positions) selection.positions[selection.count++] = position;
  return true;
}

// Takes the selection afresh from what the host accepts: the trading accounts
// when it accepts any, else the clients.
void TakeAcceptedEntries(TTableFilterSelections& selections, const TFilterHandles& handles) {
  ClearFilterSelection(selections.first);
  ClearFilterSelection(selections.second);
  const std::vector<int32_t> accounts = AcceptedPositions(handles.second);
  if (!accounts.empty()) {
    FillSelection(selections.second, accounts);
    return;
  }
  const std::vector<int32_t> clients = AcceptedPositions(handles.first);
  if (!clients.empty()) FillSelection(selections.first, clients);
}

bool DropIfActive(host::FilterSelection& selection) {
  if (HostCall<53>(&selection) == 0) return false;
  ClearFilterSelection(selection);
  return true;
}
}  // namespace

void ClearFilterSelection(host::FilterSelection& selection) {
  if (selection.positions != nullptr) HostCall<4>(static_cast<void*>(selection.positions));
  selection = host::FilterSelection{};
}

bool HandleTableRefreshMessage(int tableType, TTableFilterSelections* selections,
                               const TFilterHandles& handles) {
  if (tableType != kRiskTableType && tableType != kOrdersTableType) return false;
  if (selections == nullptr) return false;
  uint32_t wordA = 0, wordB = 0;
  HostCall<136>(&wordA, &wordB, 0);
  bool changed = false;
  if ((wordA & kRefreshBit) != 0 && (wordB & kRefreshBit) == 0) {
    changed = true;
    TakeAcceptedEntries(*selections, handles);
  }
  if ((wordB & kRefreshBit) != 0) {
    const bool firstDropped = DropIfActive(selections->first);
    const bool secondDropped = DropIfActive(selections->second);
    changed = changed || firstDropped || secondDropped;
  }
  return changed;
}
