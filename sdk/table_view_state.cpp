// What a table view saves into the host's layout and restores from it, and
// the list state kept pending while the list is rebuilt.
#include <algorithm>
#include <cstring>

#include "sdk/host_call.h"
#include "sdk/table_view.h"
#include "sdk/table_view_callbacks.h"

namespace {

template <typename F>
void* Entry(F function) { return reinterpret_cast<void*>(function); }

template <typename Record>
std::vector<Record> ReadListRecords(HWND list, int (*get)(HWND, int, void*)) {
  std::vector<Record> records;
  int count = get(list, 0, nullptr);
  if (count <= 0) return records;
  records.resize(count);
  count = get(list, count, records.data());
  records.resize(count < 0 ? 0 : count);
  return records;
}

}  // namespace

void CZPluginTableView::TakeListStateIntoPending() {
  pendingSortFields_.clear();
  pendingFilters_.clear();
  pendingFormatting_.clear();
  if (!list_) return;
  RefreshSortFieldsCopy();
  for (const ZListSortField& field : sortFieldsCopy_) {
    int id = ColumnIdAt(field.column);
    if (id >= 0) pendingSortFields_.push_back({id, field.ascending});
  }
  for (FilterRecord record : ReadListRecords<FilterRecord>(list_, ListGetFiltersEx)) {
    record.column = ColumnIdAt(record.column);
    if (record.column >= 0) pendingFilters_.push_back(record);
  }
  for (FormatRecord record : ReadListRecords<FormatRecord>(list_, ListGetFormattingEx)) {
    record.column = ColumnIdAt(record.column);
    if (record.column >= 0) pendingFormatting_.push_back(record);
  }
}

void CZPluginTableView::ApplyPendingListState() {
  std::vector<ZListSortField> sortFields;
  for (const SavedSortField& field : pendingSortFields_) {
    int position = PositionOf(field.column);
    if (position >= 0) sortFields.push_back({position, field.second});
  }
  std::vector<FilterRecord> filters;
  for (FilterRecord record : pendingFilters_) {
    record.column = PositionOf(record.column);
    if (record.column >= 0) filters.push_back(record);
  }
  std::vector<FormatRecord> formatting;
  for (FormatRecord record : pendingFormatting_) {
    record.column = PositionOf(record.column);
    if (record.column >= 0) formatting.push_back(record);
  }
  ListSetSortFields(list_, static_cast<int>(sortFields.size()), sortFields.empty() ? nullptr : sortFields.data());
  ListSetFiltersEx(list_, static_cast<int>(filters.size()), filters.empty() ? nullptr : filters.data());
  ListSetFormattingEx(list_, static_cast<int>(formatting.size()), formatting.empty() ? nullptr : formatting.data());
  pendingSortFields_.clear();
  pendingFilters_.clear();
  pendingFormatting_.clear();
  RefreshSortFieldsCopy();
}

bool CZPluginTableView::SaveSettings(StateStream& stream) {
  SavedTableView saved;
  for (int position = 0; position < GetColumnCount(); ++position)
    saved.columns.push_back({columns_[position].identifier, GetColumnWidth(list_, position)});
  TakeListStateIntoPending();
  for (const SavedSortField& field : pendingSortFields_) saved.sortFields.push_back(field);

  // With no settings from the host the record still carries a length of 0,
  // so that the table restores.
  void* data = nullptr;
  uint32_t length = 0;
  if (HostCall<173>(listServiceId_, &data, &length) && data) {
    if (length > kMaxListServiceSettings) length = 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    saved.listServiceSettings.assign(bytes, bytes + length);
    HostCall<174>(data);
  }
  WriteTableViewHead(stream, saved);
  HostCall<86>(tableServiceBlock_, 0);

  saved.filters.swap(pendingFilters_);
  saved.formatting.swap(pendingFormatting_);
  pendingSortFields_.clear();
  WriteTableViewTail(stream, saved);
  return true;
}

bool CZPluginTableView::LoadSettings(StateStream& stream) {
  SavedTableView saved;
  if (!ReadTableViewHead(stream, &saved)) return false;
  if (saved.HasServiceSettings()) HostCall<87>(tableServiceBlock_);
  if (!ReadTableViewTail(stream, &saved)) return false;

  dialogRequired_ = false;
  // Columns the schema no longer defines are dropped; the fixed column with
  // id 0 stays first, and no column is shown twice.
  columns_.clear();
  bool fixedSaved = false;
  for (const ColumnRef& column : saved.columns) {
    if (!schema_ || !schema_->count(column.identifier) || PositionOf(column.identifier) >= 0) continue;
    if (column.identifier == 0) {
      columns_.insert(columns_.begin(), column);
      fixedSaved = true;
    } else {
      columns_.push_back(column);
    }
  }
  if (!columns_.empty() && !fixedSaved && schema_ && schema_->count(0))
    columns_.insert(columns_.begin(), {0, DefaultWidth(schema_->at(0))});

  pendingSortFields_ = saved.sortFields;
  pendingFilters_ = saved.filters;
  pendingFormatting_ = saved.formatting;

  if (saved.HasServiceSettings()) {
    RegisterListService(saved.listServiceSettings.empty() ? nullptr : saved.listServiceSettings.data(),
                        static_cast<uint32_t>(saved.listServiceSettings.size()));
  } else {
    uint8_t block[100 + 432] = {};
    HostCall<81>(block);
    HostCall<164>(&listServiceId_, this, Entry(ListServiceDimensions), Entry(ListServiceReady),
                 Entry(ListServiceColumns), Entry(ListServiceCell), block);
  }
  restored_ = true;
  return true;
}
