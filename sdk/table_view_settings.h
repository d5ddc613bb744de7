// The saved settings of a table view, as a table window writes them into the
// host's window-state stream after its own marker. Versions 1043 to 1046 are
// read; 1046 is written. The host's table service writes its own settings
// between the head and the tail.
#pragma once

#include <stdint.h>
#include <vector>

#include "sdk/state_stream.h"
#include "sdk/table_column_info.h"
#include "sdk/table_view_records.h"

struct SavedSortField {
  int32_t column;  // identifier in the record, position in the list
  int32_t second;  // as the list gives it
};

struct SavedTableView {
  uint32_t version = 0;
  std::vector<ColumnRef> columns;
  std::vector<SavedSortField> sortFields;
  bool hasListServiceSettings = false;  // versions 1045 and 1046
  std::vector<uint8_t> listServiceSettings;
  std::vector<FilterRecord> filters;
  std::vector<FormatRecord> formatting;

  bool HasServiceSettings() const { return version >= 1045; }
};

enum : uint32_t {
  kTableViewVersion = 1046,
  kOldestTableViewVersion = 1043,
};

// Limits on the counts read from a record, far above anything a table holds,
// so that a corrupt record is refused instead of allocating without end.
enum : uint32_t {
  kMaxSavedColumns = 1024,
  kMaxSavedSortFields = 1024,
  kMaxListServiceSettings = 1u << 20,
  kMaxSavedFilters = 4096,
  kMaxSavedFormats = 4096,
};

// Version, columns, sort fields and the list service's settings.
void WriteTableViewHead(StateStream& stream, const SavedTableView& view);
// Filters and formatting.
void WriteTableViewTail(StateStream& stream, const SavedTableView& view);

// False on an unknown version, a truncated record or a count past its limit.
bool ReadTableViewHead(StateStream& stream, SavedTableView* view);
bool ReadTableViewTail(StateStream& stream, SavedTableView* view);

// A filter or formatting record with every field at its default.
FilterRecord DefaultFilterRecord();
FormatRecord DefaultFormatRecord();
