#include "host/zlist/list_model.h"

#include <cstring>

namespace zlist {
namespace {

template <typename T>
int Compare3(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

bool IsTextType(int type) { return type == 3 || type == 5 || type == 6; }

// Where a column at `position` ends up when the column at `from` moves to
// `to`: the columns between shift by one.
int MovedPosition(int position, int from, int to) {
  if (position == from) return to;
  if (from < to && position > from && position <= to) return position - 1;
  if (to < from && position >= to && position < from) return position + 1;
  return position;
}

template <typename V>
void MoveKey(std::map<int, V>& byColumn, int from, int to) {
  std::map<int, V> moved;
  for (auto& [key, value] : byColumn) moved.emplace(MovedPosition(key, from, to), std::move(value));
  byColumn.swap(moved);
}

template <typename V>
void RemoveKey(std::map<int, V>& byColumn, int position) {
  std::map<int, V> kept;
  for (auto& [key, value] : byColumn) {
    if (key == position) continue;
    kept.emplace(key > position ? key - 1 : key, std::move(value));
  }
  byColumn.swap(kept);
}

}  // namespace

int CompareKeys(const SortKey& a, const SortKey& b) {
  if (a.kind != b.kind) return Compare3(static_cast<int>(a.kind), static_cast<int>(b.kind));
  switch (a.kind) {
    case SortKey::Text: {
      int r = lstrcmpiA(a.text.c_str(), b.text.c_str());
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case SortKey::Int: return Compare3(a.integer, b.integer);
    case SortKey::Double: return Compare3(a.real, b.real);
    case SortKey::Unsigned: return Compare3(a.unsignedValue, b.unsignedValue);
  }
  return 0;
}

void ListModel::SetFixed(int rows, int columns) {
  fixedRows_ = rows < 0 ? 0 : rows;
  fixedColumns_ = columns < 0 ? 0 : columns;
}

int ListModel::AddColumn(int width, const ZListColumnDesc& desc) {
  Column column;
  column.width = width < 0 ? 0 : width;
  column.desc = desc;
  columns_.push_back(column);
  return static_cast<int>(columns_.size());
}

const Column* ListModel::ColumnAt(int position) const {
  if (position < 0 || position >= ColumnCount()) return nullptr;
  return &columns_[position];
}

const Line* ListModel::LineAt(int line) const {
  if (line < 0 || line >= LineCount()) return nullptr;
  return &lines_[line];
}

int ListModel::ColumnWidth(int position) const {
  const Column* column = ColumnAt(position);
  return column ? column->width : 0;
}

void ListModel::SetColumnWidth(int position, int width) {
  if (position >= 0 && position < ColumnCount()) columns_[position].width = width < 4 ? 4 : width;
}

int ListModel::TotalWidth() const {
  int total = 0;
  for (const Column& column : columns_) total += column.width;
  return total;
}

bool ListModel::MoveColumn(int from, int to) {
  if (from < fixedColumns_ || to < fixedColumns_ || from >= ColumnCount() || to >= ColumnCount())
    return false;
  if (from == to) return true;
  Column moving = columns_[from];
  columns_.erase(columns_.begin() + from);
  columns_.insert(columns_.begin() + to, moving);
  for (Line& line : lines_) MoveKey(line.cells, from, to);
  for (ZListSortField& field : sortFields_) field.column = MovedPosition(field.column, from, to);
  return true;
}

bool ListModel::RemoveColumn(int position) {
  if (position < fixedColumns_ || position >= ColumnCount()) return false;
  columns_.erase(columns_.begin() + position);
  for (Line& line : lines_) RemoveKey(line.cells, position);
  std::vector<ZListSortField> kept;
  for (ZListSortField field : sortFields_) {
    if (field.column == position) continue;
    if (field.column > position) --field.column;
    kept.push_back(field);
  }
  sortFields_.swap(kept);
  return true;
}

int ListModel::FindLine(void* data) const {
  for (int i = fixedRows_; i < LineCount(); ++i)
    if (lines_[i].data == data) return i;
  return -1;
}

int ListModel::InsertLine(void* data) {
  if (LineCount() < fixedRows_) {
    Line header;
    header.data = data;
    lines_.push_back(header);
    return LineCount() - 1;
  }
  // Data already listed: the list keeps one line per data value.
  if (FindLine(data) >= 0) return UpdateLine(data);
  Line line;
  line.data = data;
  return PlaceSorted(std::move(line));
}

int ListModel::UpdateLine(void* data) {
  int index = FindLine(data);
  if (index < 0) return -1;
  if (!Sorting()) return index;
  Line line = std::move(lines_[index]);
  lines_.erase(lines_.begin() + index);
  return PlaceSorted(std::move(line));
}

int ListModel::DeleteLine(void* data) {
  int index = FindLine(data);
  if (index >= 0) lines_.erase(lines_.begin() + index);
  return index;
}

int ListModel::DeleteLines(int first, int count) {
  if (first < 0 || first >= LineCount()) return 0;
  int last = count < 0 ? LineCount() : first + count;
  if (last > LineCount()) last = LineCount();
  lines_.erase(lines_.begin() + first, lines_.begin() + last);
  return last - first;
}

Settings* ListModel::SettingsAt(int line, int column, bool create) {
  if (line >= LineCount() || column >= ColumnCount() || line < -1 || column < -1) return nullptr;
  if (line == -1 && column == -1) return &listSettings_;
  if (line == -1) return &columns_[column].settings;
  Line& l = lines_[line];
  if (column == -1) return &l.settings;
  auto it = l.cells.find(column);
  if (it == l.cells.end()) {
    if (!create) return nullptr;
    it = l.cells.emplace(column, Settings{}).first;
  }
  return &it->second;
}

const Settings* ListModel::FindSettings(int line, int column) const {
  return const_cast<ListModel*>(this)->SettingsAt(line, column, false);
}

bool ListModel::SetProperty(int line, int column, int property, INT_PTR value) {
  if (property == ZLIST_PROP_DATA && line >= 0) {
    if (line >= LineCount()) return false;
    lines_[line].data = reinterpret_cast<void*>(value);
    return true;
  }
  Settings* settings = SettingsAt(line, column, true);
  if (!settings) return false;
  settings->properties[property] = value;
  return true;
}

bool ListModel::ResetProperty(int line, int column, int property) {
  Settings* settings = SettingsAt(line, column, false);
  if (!settings) return false;
  settings->properties.erase(property);
  return true;
}

// The most precise level wins. Cells of the fixed columns follow their
// column before their line, so a row's colours leave the fixed column alone.
INT_PTR ListModel::ResolveProperty(int line, int column, int property, bool* found) const {
  if (found) *found = false;
  if (property == ZLIST_PROP_DATA && line >= 0) {
    const Line* l = LineAt(line);
    if (found) *found = l != nullptr;
    return l ? reinterpret_cast<INT_PTR>(l->data) : 0;
  }
  const Settings* order[4] = {FindSettings(line, column), FindSettings(line, -1),
                              FindSettings(-1, column), &listSettings_};
  if (column >= 0 && column < fixedColumns_) std::swap(order[1], order[2]);
  for (const Settings* settings : order) {
    if (!settings) continue;
    auto it = settings->properties.find(property);
    if (it != settings->properties.end()) {
      if (found) *found = true;
      return it->second;
    }
  }
  return 0;
}

bool ListModel::SetStyle(int line, int column, int style, int mask) {
  Settings* settings = SettingsAt(line, column, true);
  if (!settings) return false;
  settings->style = (settings->style & ~mask) | (style & mask);
  settings->styleMask |= mask;
  return true;
}

int ListModel::ResolveStyle(int line, int column) const {
  const Settings* order[4] = {&listSettings_, FindSettings(-1, column), FindSettings(line, -1),
                              FindSettings(line, column)};
  if (column >= 0 && column < fixedColumns_) std::swap(order[1], order[2]);
  int style = 0;
  for (const Settings* settings : order)
    if (settings) style = (style & ~settings->styleMask) | (settings->style & settings->styleMask);
  return style;
}

bool ListModel::SetText(int line, int column, const char* text) {
  if (line < 0 || column < 0) return false;
  Settings* settings = SettingsAt(line, column, true);
  if (!settings) return false;
  settings->hasText = true;
  settings->text = text ? text : "";
  return true;
}

const std::string* ListModel::StaticText(int line, int column) const {
  const Settings* settings = FindSettings(line, column);
  return settings && settings->hasText ? &settings->text : nullptr;
}

int ListModel::Selection() const {
  for (int i = fixedRows_; i < LineCount(); ++i)
    if (lines_[i].selected) return i;
  return -1;
}

bool ListModel::Select(int line, bool select) {
  if (line < fixedRows_ || line >= LineCount()) return false;
  if (select)
    for (Line& l : lines_) l.selected = false;
  lines_[line].selected = select;
  return true;
}

void ListModel::SetSortCallback(ZListSortCallback callback, void* context) {
  sortCallback_ = callback;
  sortContext_ = context;
}

void ListModel::SetOrderCallback(ZListOrderCallback callback, void* context) {
  orderCallback_ = callback;
  orderContext_ = context;
}

bool ListModel::IsTextColumn(int position) const {
  if (sortCallback_) {
    char text[4] = {};
    uint8_t value[8] = {};
    return sortCallback_(sortContext_, nullptr, position, text, sizeof text, value) != 0;
  }
  const Column* column = ColumnAt(position);
  return column && IsTextType(column->desc.valueType);
}

bool ListModel::SetSortFields(const ZListSortField* fields, int count) {
  std::vector<ZListSortField> accepted;
  for (int i = 0; fields && i < count; ++i)
    if (fields[i].column >= 0 && fields[i].column < ColumnCount()) accepted.push_back(fields[i]);
  sortFields_.swap(accepted);
  Resort();
  return true;
}

SortKey ListModel::KeyOf(void* data, int column) const {
  SortKey key;
  if (!sortCallback_) return key;
  char text[1024] = {};
  union { uint8_t bytes[8]; int32_t i32; int64_t i64; double real; uint64_t u64; } value;
  std::memset(&value, 0, sizeof value);
  if (IsTextColumn(column)) {
    sortCallback_(sortContext_, data, column, text, sizeof text, value.bytes);
    text[sizeof text - 1] = 0;
    key.text = text;
    return key;
  }
  sortCallback_(sortContext_, data, column, text, sizeof text, value.bytes);
  const Column* c = ColumnAt(column);
  switch (c ? c->desc.valueType : 2) {
    case 1: key.kind = SortKey::Int; key.integer = value.i32; break;
    case 4: key.kind = SortKey::Int; key.integer = value.i64; break;
    case 7:
    case 8: key.kind = SortKey::Unsigned; key.unsignedValue = value.u64; break;
    default: key.kind = SortKey::Double; key.real = value.real; break;
  }
  return key;
}

void ListModel::RefreshKeys(Line& line) const {
  line.keys.clear();
  for (const ZListSortField& field : sortFields_) line.keys.push_back(KeyOf(line.data, field.column));
}

bool ListModel::Less(const Line& a, const Line& b) const {
  for (size_t i = 0; i < sortFields_.size() && i < a.keys.size() && i < b.keys.size(); ++i) {
    int r = CompareKeys(a.keys[i], b.keys[i]);
    if (r != 0) return sortFields_[i].ascending ? r < 0 : r > 0;
  }
  if (orderCallback_) return orderCallback_(orderContext_, a.data, b.data, 0) < 0;
  return false;
}

bool ListModel::Sorting() const { return !sortFields_.empty() || orderCallback_ != nullptr; }

// Inserts before the first line that sorts after it. A plain scan keeps the
// list sound even when a comparison callback is not a strict order.
int ListModel::PlaceSorted(Line line) {
  int at = LineCount();
  if (Sorting()) {
    RefreshKeys(line);
    for (int i = fixedRows_; i < LineCount(); ++i) {
      if (lines_[i].keys.size() != sortFields_.size()) RefreshKeys(lines_[i]);
      if (Less(line, lines_[i])) { at = i; break; }
    }
  }
  lines_.insert(lines_.begin() + at, std::move(line));
  return at;
}

void ListModel::Resort() {
  if (!Sorting()) return;
  for (int i = fixedRows_; i < LineCount(); ++i) RefreshKeys(lines_[i]);
  // Insertion sort: stable and bounded whatever the callbacks answer.
  for (int i = fixedRows_ + 1; i < LineCount(); ++i) {
    int j = i;
    while (j > fixedRows_ && Less(lines_[i], lines_[j - 1])) --j;
    if (j != i) {
      Line moving = std::move(lines_[i]);
      lines_.erase(lines_.begin() + i);
      lines_.insert(lines_.begin() + j, std::move(moving));
    }
  }
}

}  // namespace zlist
