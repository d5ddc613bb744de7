#include "sdk/table_view_settings.h"

#include <cstring>

namespace {

#pragma pack(push, 1)
// Layouts of versions 1044 and 1045.
struct OldFilterRecord {
  int32_t column;
  uint32_t values[3];
  char text1[256];
  uint32_t value1;
  char text2[256];
  uint32_t value2;
};

struct OldFormatBlock {
  char text[256];
  uint32_t value;
  uint8_t style[80];
};

struct OldFormatRecord {
  int32_t column;
  uint32_t values[2];
  OldFormatBlock blocks[3];
};
#pragma pack(pop)
static_assert(sizeof(OldFilterRecord) == 536, "old filter record layout");
static_assert(sizeof(OldFormatRecord) == 1032, "old formatting record layout");

TableCondition DefaultCondition() {
  TableCondition condition;
  std::memset(&condition, 0, sizeof condition);
  condition.last = -1;
  return condition;
}

TableCondition ConditionFromOld(const char (&text)[256], uint32_t value) {
  TableCondition condition = DefaultCondition();
  condition.value = value;
  std::memcpy(condition.text, text, sizeof condition.text);
  condition.text[sizeof condition.text - 1] = 0;
  return condition;
}

bool ReadCount(StateStream& stream, uint32_t limit, uint32_t* count) {
  return stream.ReadU32(count) && *count <= limit;
}

bool ReadCurrentFilters(StateStream& stream, std::vector<FilterRecord>* filters) {
  uint32_t count = 0;
  if (!ReadCount(stream, kMaxSavedFilters, &count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    FilterRecord record;
    if (!stream.Read(&record, sizeof record)) return false;
    for (TableCondition& c : record.conditions) c.text[sizeof c.text - 1] = 0;
    filters->push_back(record);
  }
  return true;
}

bool ReadCurrentFormatting(StateStream& stream, std::vector<FormatRecord>* formatting) {
  uint32_t count = 0;
  if (!ReadCount(stream, kMaxSavedFormats, &count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    FormatRecord record = DefaultFormatRecord();
    if (!stream.Read(&record.column, 12)) return false;
    for (FormatBlock& block : record.blocks) {
      if (!stream.Read(&block.condition, sizeof block.condition) || !stream.Read(&block.style, sizeof block.style))
        return false;
      block.condition.text[sizeof block.condition.text - 1] = 0;
    }
    formatting->push_back(record);
  }
  return true;
}

bool ReadOldFilters(StateStream& stream, std::vector<FilterRecord>* filters) {
  uint32_t count = 0;
  if (!ReadCount(stream, kMaxSavedFilters, &count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    OldFilterRecord old;
    if (!stream.Read(&old, sizeof old)) return false;
    FilterRecord record = DefaultFilterRecord();
    record.column = old.column;
    std::memcpy(record.values, old.values, sizeof record.values);
    record.conditions[0] = ConditionFromOld(old.text1, old.value1);
    record.conditions[1] = ConditionFromOld(old.text2, old.value2);
    filters->push_back(record);
  }
  return true;
}

bool ReadOldFormatting(StateStream& stream, std::vector<FormatRecord>* formatting) {
  uint32_t count = 0;
  if (!ReadCount(stream, kMaxSavedFormats, &count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    OldFormatRecord old;
    if (!stream.Read(&old, sizeof old)) return false;
    FormatRecord record = DefaultFormatRecord();
    record.column = old.column;
    std::memcpy(record.values, old.values, sizeof record.values);
    for (int b = 0; b < 3; ++b) {
      record.blocks[b].condition = ConditionFromOld(old.blocks[b].text, old.blocks[b].value);
      std::memcpy(&record.blocks[b].style, old.blocks[b].style, sizeof record.blocks[b].style);
    }
    formatting->push_back(record);
  }
  return true;
}

}  // namespace

FilterRecord DefaultFilterRecord() {
  FilterRecord record;
  std::memset(&record, 0, sizeof record);
  record.values[2] = 1;
  record.conditions[0] = DefaultCondition();
  record.conditions[1] = DefaultCondition();
  return record;
}

FormatRecord DefaultFormatRecord() {
  FormatRecord record;
  std::memset(&record, 0, sizeof record);
  for (FormatBlock& block : record.blocks) {
    block.condition = DefaultCondition();
    for (int32_t& v : block.style.values) v = -1;
  }
  return record;
}

void WriteTableViewHead(StateStream& stream, const SavedTableView& view) {
  stream.WriteU32(kTableViewVersion);
  stream.WriteU32(static_cast<uint32_t>(view.columns.size()));
  for (const ColumnRef& column : view.columns) {
    stream.WriteU32(static_cast<uint32_t>(column.identifier));
    stream.WriteU32(static_cast<uint32_t>(column.width));
  }
  uint8_t hasSort = view.sortFields.empty() ? 0 : 1;
  stream.Write(&hasSort, 1);
  if (hasSort) {
    stream.WriteU32(static_cast<uint32_t>(view.sortFields.size()));
    for (const SavedSortField& field : view.sortFields) {
      stream.WriteU32(static_cast<uint32_t>(field.column));
      stream.WriteU32(static_cast<uint32_t>(field.second));
    }
  }
  stream.WriteU32(static_cast<uint32_t>(view.listServiceSettings.size()));
  if (!view.listServiceSettings.empty())
    stream.Write(view.listServiceSettings.data(), static_cast<uint32_t>(view.listServiceSettings.size()));
}

void WriteTableViewTail(StateStream& stream, const SavedTableView& view) {
  stream.WriteU32(static_cast<uint32_t>(view.filters.size()));
  for (const FilterRecord& record : view.filters) stream.Write(&record, sizeof record);
  stream.WriteU32(static_cast<uint32_t>(view.formatting.size()));
  for (const FormatRecord& record : view.formatting) {
    stream.Write(&record.column, 12);
    for (const FormatBlock& block : record.blocks) {
      stream.Write(&block.condition, sizeof block.condition);
      stream.Write(&block.style, sizeof block.style);
    }
  }
}

bool ReadTableViewHead(StateStream& stream, SavedTableView* view) {
  *view = SavedTableView();
  if (!stream.ReadU32(&view->version)) return false;
  if (view->version < kOldestTableViewVersion || view->version > kTableViewVersion) return false;

  uint32_t count = 0;
  if (!ReadCount(stream, kMaxSavedColumns, &count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    ColumnRef column;
    if (!stream.Read(&column, sizeof column)) return false;
    view->columns.push_back(column);
  }

  uint8_t hasSort = 0;
  if (!stream.Read(&hasSort, 1) || hasSort > 1) return false;
  if (hasSort) {
    uint32_t fields = 1;
    if (view->version > 1043 && !ReadCount(stream, kMaxSavedSortFields, &fields)) return false;
    for (uint32_t i = 0; i < fields; ++i) {
      SavedSortField field;
      if (!stream.Read(&field, sizeof field)) return false;
      view->sortFields.push_back(field);
    }
  }

  if (view->HasServiceSettings()) {
    uint32_t length = 0;
    if (!ReadCount(stream, kMaxListServiceSettings, &length)) return false;
    view->listServiceSettings.resize(length);
    if (length && !stream.Read(view->listServiceSettings.data(), length)) return false;
    view->hasListServiceSettings = true;
  }
  return true;
}

bool ReadTableViewTail(StateStream& stream, SavedTableView* view) {
  switch (view->version) {
    case 1043:
      return true;
    case 1044:
    case 1045:
      return ReadOldFilters(stream, &view->filters) && ReadOldFormatting(stream, &view->formatting);
    case 1046:
      return ReadCurrentFilters(stream, &view->filters) && ReadCurrentFormatting(stream, &view->formatting);
  }
  return false;
}
