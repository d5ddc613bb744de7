// The list library's filter and formatting records, as the list holds them
// in memory. The table view only gives meaning to their column field.
#pragma once

#include <windows.h>
#include <stdint.h>

#pragma pack(push, 1)
struct TableCondition {
  uint32_t kind;   // 0 by default
  uint32_t value;
  char text[256];
  int32_t last;    // -1 by default
};

struct TableStyle {
  int32_t values[4];  // -1 = not set
  LOGFONTA font;
  uint8_t flag;
};

struct FilterRecord {
  int32_t column;       // a position in the list, an identifier in the saved record
  uint32_t values[3];   // 0, 0, 1 by default
  TableCondition conditions[2];
};
#pragma pack(pop)

// In the list's array each style is followed by 3 bytes of alignment.
struct FormatBlock {
  TableCondition condition;
  TableStyle style;
  uint8_t alignment[3];
};

struct FormatRecord {
  int32_t column;
  uint32_t values[2];
  FormatBlock blocks[3];
};

static_assert(sizeof(TableCondition) == 268, "condition layout");
static_assert(sizeof(TableStyle) == 77, "style layout");
static_assert(sizeof(FilterRecord) == 552, "filter record layout");
static_assert(sizeof(FormatRecord) == 1056, "formatting record layout");
