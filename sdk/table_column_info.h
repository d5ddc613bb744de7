// A column of a table schema, and a shown column of a table.
#pragma once

#include <stdint.h>
#include <map>
#include <string>

struct TableColumnInfo {
  TableColumnInfo() = default;
  TableColumnInfo(int32_t id, const std::string& title, bool visible, uint32_t type, uint32_t width)
      : identifier(id), title(title), visible(visible), valueType(type), width(width) {}
  TableColumnInfo(int32_t id, const std::string& shortTitle, bool shortTitleFlag, const std::string& title,
                  bool visible, uint32_t type, uint32_t width)
      : identifier(id), shortTitle(shortTitle), shortTitleFlag(shortTitleFlag), title(title), visible(visible),
        valueType(type), width(width) {}

  // Types 3, 5 and 6 hold text; the others a number.
  static bool IsTextType(const TableColumnInfo& info) {
    return info.valueType == 3 || info.valueType == 5 || info.valueType == 6;
  }
  // The kind code the host's table service knows a column by.
  static int32_t ServiceKind(const TableColumnInfo& info) {
    return info.valueType == 1 ? -15 : info.valueType == 2 ? 8 : 1;
  }

  int32_t identifier = -1;
  std::string shortTitle;
  bool shortTitleFlag = false;
  std::string title;
  bool visible = false;
  uint32_t valueType = 6;
  uint32_t width = 0;  // in characters
};

using TableSchema = std::map<int, TableColumnInfo>;

// A shown column: its identifier and its width in pixels.
struct ColumnRef {
  int32_t identifier;
  int32_t width;
};
