// What a list holds: columns, lines, per-level properties and styles, sort
// fields, and the saved filter and formatting records. No window here.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <map>
#include <string>
#include <vector>

#include "sdk/zlist_api.h"

namespace zlist {

// Properties and style bits set at one level (a cell, a line, a column or
// the whole list).
struct Settings {
  std::map<int, INT_PTR> properties;
  int style = 0;
  int styleMask = 0;
  bool hasText = false;
  std::string text;
};

struct Column {
  int width = 0;
  ZListColumnDesc desc{};
  Settings settings;  // line -1
};

// One typed sort key of a cell.
struct SortKey {
  enum Kind { Text, Int, Double, Unsigned } kind = Text;
  std::string text;
  int64_t integer = 0;
  double real = 0;
  uint64_t unsignedValue = 0;
};
int CompareKeys(const SortKey& a, const SortKey& b);

struct Line {
  void* data = nullptr;
  bool selected = false;
  Settings settings;                  // column -1
  std::map<int, Settings> cells;      // by column position
  std::vector<SortKey> keys;          // one per sort field, refreshed before sorting
};

class ListModel {
 public:
  // Structure.
  void SetFixed(int rows, int columns);
  int FixedRows() const { return fixedRows_; }
  int FixedColumns() const { return fixedColumns_; }
  int AddColumn(int width, const ZListColumnDesc& desc);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  const Column* ColumnAt(int position) const;
  const Line* LineAt(int line) const;
  int ColumnWidth(int position) const;
  void SetColumnWidth(int position, int width);
  int TotalWidth() const;
  bool MoveColumn(int from, int to);
  bool RemoveColumn(int position);

  // Lines keyed by their data.
  int FindLine(void* data) const;
  int InsertLine(void* data);
  int UpdateLine(void* data);
  int DeleteLine(void* data);
  int DeleteLines(int first, int count);

  // Levels: line -1 = every line, column -1 = every column.
  bool SetProperty(int line, int column, int property, INT_PTR value);
  bool ResetProperty(int line, int column, int property);
  INT_PTR ResolveProperty(int line, int column, int property, bool* found = nullptr) const;
  bool SetStyle(int line, int column, int style, int mask);
  int ResolveStyle(int line, int column) const;
  bool SetText(int line, int column, const char* text);
  const std::string* StaticText(int line, int column) const;

  // Selection (one line at most).
  int Selection() const;
  bool Select(int line, bool select);

  // Sorting through the callbacks.
  void SetSortCallback(ZListSortCallback callback, void* context);
  void SetOrderCallback(ZListOrderCallback callback, void* context);
  bool HasSortCallback() const { return sortCallback_ != nullptr; }
  bool IsTextColumn(int position) const;
  const std::vector<ZListSortField>& SortFields() const { return sortFields_; }
  bool SetSortFields(const ZListSortField* fields, int count);
  void Resort();

  // Records kept for the host's saved layout; opaque to the list.
  std::vector<uint8_t> filters;
  std::vector<uint8_t> formatting;

 private:
  Settings* SettingsAt(int line, int column, bool create);
  const Settings* FindSettings(int line, int column) const;
  void RefreshKeys(Line& line) const;
  SortKey KeyOf(void* data, int column) const;
  bool Less(const Line& a, const Line& b) const;
  bool Sorting() const;
  int PlaceSorted(Line line);

  int fixedRows_ = 0;
  int fixedColumns_ = 0;
  std::vector<Column> columns_;
  std::vector<Line> lines_;
  Settings listSettings_;
  ZListSortCallback sortCallback_ = nullptr;
  void* sortContext_ = nullptr;
  ZListOrderCallback orderCallback_ = nullptr;
  void* orderContext_ = nullptr;
  std::vector<ZListSortField> sortFields_;
};

}  // namespace zlist
