#include "sdk/table_view_callbacks.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "sdk/packed_dates.h"
#include "sdk/table_plugin.h"

namespace {

// Sets the table and view globals for one call from the list. Afterwards
// they are cleared, or given back to an operation that the list called
// back from (a row update sets the table itself).
class CallbackContext {
 public:
  explicit CallbackContext(CTablePlugin* table)
      : outerTable_(g_pCurrentTable), outerView_(g_pCurrentTableView) {
    g_pCurrentTable = table;
    g_pCurrentTableView = table ? table->GetView() : nullptr;
  }
  ~CallbackContext() {
    g_pCurrentTable = outerTable_;
    g_pCurrentTableView = outerView_;
  }

 private:
  CTablePlugin* outerTable_;
  CZPluginTableView* outerView_;
};

void CopyOut(char* text, int textSize, const char* source) {
  if (!text || textSize <= 0) return;
  lstrcpynA(text, source ? source : "", textSize);
}

CZPluginTableView* ViewOf(void* view) { return static_cast<CZPluginTableView*>(view); }

const TableColumnInfo* SchemaColumn(void* view, int n) {
  CZPluginTableView* v = ViewOf(view);
  if (!v || !v->GetSchema() || n < 0 || n >= static_cast<int>(v->GetSchema()->size())) return nullptr;
  return &std::next(v->GetSchema()->begin(), n)->second;
}

}  // namespace

int32_t ClampToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int64_t ClampToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775807.0) return INT64_MAX;
  if (value <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(value);
}

void WritePackedTimeValue(uint32_t valueType, double value, void* out) {
  bool none = valueType == 8 ? !(value > 0) : !(value > -1);
  if (none) {
    std::memset(out, 0xFF, 8);
    return;
  }
  int packed = ClampToInt32(value);
  FILETIME time = valueType == 8 ? MakeFileTime(packed, 0) : MakeFileTime(0, packed);
  std::memcpy(out, &time, 8);
}

int __stdcall TableRowDataCallback(void* table, int, void* row, int position, char* text, int textSize,
                                   void* value) {
  auto* t = static_cast<CTablePlugin*>(table);
  if (!t) {
    CopyOut(text, textSize, "");
    return 1;
  }
  static char cellText[4096];
  CallbackContext context(t);
  cellText[0] = 0;
  int isText = 0;
  double number = t->GetCellText(0, position, row, cellText, &isText);
  cellText[sizeof cellText - 1] = 0;
  CopyOut(text, textSize, cellText);
  if (!isText && value) {
    const TableColumnInfo* info = t->GetView() ? t->GetView()->ColumnInfoAt(position) : nullptr;
    uint32_t type = info ? info->valueType : 2;
    if (type == 7 || type == 8) {
      WritePackedTimeValue(type, number, value);
    } else if (type == 1) {
      int32_t v = ClampToInt32(number);
      std::memcpy(value, &v, sizeof v);
    } else {
      std::memcpy(value, &number, sizeof number);
    }
  }
  return 1;
}

int __stdcall TableRowNumberCallback(void*, int line, void*, int, char* text, int textSize, void*) {
  char number[16];
  snprintf(number, sizeof number, "%d", line);
  CopyOut(text, textSize, number);
  return 1;
}

INT_PTR __stdcall TableSortCallback(void* table, void* row, int position, char* text, int textSize, void* value) {
  auto* t = static_cast<CTablePlugin*>(table);
  if (!t) return 0;
  CallbackContext context(t);
  return t->GetSortValue(0, table, row, position, text, textSize, value);
}

int __stdcall TableRowOrderCallback(void* table, void* first, void* second, int reserved) {
  auto* t = static_cast<CTablePlugin*>(table);
  if (!t) return 0;
  CallbackContext context(t);
  return t->CompareRowsCallback(0, first, second, reserved);
}

int __stdcall ListServiceDimensions(void* view, int* rows, int* fixedRows, int* columns, int* fourth) {
  CZPluginTableView* v = ViewOf(view);
  if (!v) return 0;
  if (rows) *rows = GetNRows(v->GetList());
  if (fixedRows) *fixedRows = GetNFixedRows(v->GetList());
  if (columns) *columns = GetNColumns(v->GetList());
  if (fourth) *fourth = 1;
  return 1;
}

int __stdcall ListServiceReady(void*) { return 1; }

int __stdcall ListServiceColumns(void* view) {
  CZPluginTableView* v = ViewOf(view);
  return v ? GetNColumns(v->GetList()) : 0;
}

double __stdcall ListServiceCell(void* view, int mode, int titleFlag, int line, int position, char* text,
                                 int textSize, int* textFlag) {
  CZPluginTableView* v = ViewOf(view);
  if (textFlag) *textFlag = 1;
  CopyOut(text, textSize, "");
  if (!v || !v->GetTable()) return 0.0;
  if (line == 0) {
    const TableColumnInfo* info = v->ColumnInfoAt(position);
    if (position == 0 || !info) return 0.0;
    bool useShort = titleFlag && !info->shortTitle.empty();
    CopyOut(text, textSize, useShort ? info->shortTitle.c_str() : info->title.c_str());
    return 0.0;
  }
  if (position == 0) {
    if (textFlag) *textFlag = 0;
    return line;
  }
  void* row = reinterpret_cast<void*>(GetProperty(v->GetList(), line, position, ZLIST_PROP_DATA));
  if (!row) return 0.0;
  // The table writes into a buffer of its own size, then the host's gets a copy.
  char cell[1024] = {};
  double result = v->GetTable()->GetCellValue(mode, position, row, cell, titleFlag, textFlag);
  cell[sizeof cell - 1] = 0;
  CopyOut(text, textSize, cell);
  return result;
}

int __stdcall TableServiceShownCount(void* view) { return ViewOf(view) ? ViewOf(view)->GetColumnCount() : 0; }

double __stdcall TableServiceCellValue(void* view, int mode, void* row, int id, char* text, int titleFlag,
                                       int* textFlag) {
  CZPluginTableView* v = ViewOf(view);
  if (!v || !v->GetTable()) return 0.0;
  return v->GetTable()->GetCellValue(mode, v->IndexOfColumn(id), row, text, titleFlag, textFlag);
}

const char* __stdcall TableServiceShownTitle(void* view, int position) {
  const TableColumnInfo* info = ViewOf(view) ? ViewOf(view)->ColumnInfoAt(position) : nullptr;
  return info ? info->title.c_str() : nullptr;
}

int __stdcall TableServiceShownId(void* view, int position) {
  return ViewOf(view) ? ViewOf(view)->ColumnIdAt(position) : -1;
}

int __stdcall TableServiceShownShortFlag(void* view, int position) {
  const TableColumnInfo* info = ViewOf(view) ? ViewOf(view)->ColumnInfoAt(position) : nullptr;
  return info ? info->shortTitleFlag : 0;
}

int __stdcall TableServiceShownKind(void* view, int position) {
  const TableColumnInfo* info = ViewOf(view) ? ViewOf(view)->ColumnInfoAt(position) : nullptr;
  return info ? TableColumnInfo::ServiceKind(*info) : 1;
}

int __stdcall TableServiceSchemaCount(void* view) {
  CZPluginTableView* v = ViewOf(view);
  return v && v->GetSchema() ? static_cast<int>(v->GetSchema()->size()) : 0;
}

const char* __stdcall TableServiceSchemaTitle(void* view, int n) {
  const TableColumnInfo* info = SchemaColumn(view, n);
  return info ? info->title.c_str() : nullptr;
}

int __stdcall TableServiceSchemaId(void* view, int n) {
  const TableColumnInfo* info = SchemaColumn(view, n);
  return info ? info->identifier : -1;
}

int __stdcall TableServiceSchemaShortFlag(void* view, int n) {
  const TableColumnInfo* info = SchemaColumn(view, n);
  return info ? info->shortTitleFlag : 0;
}

int __stdcall TableServiceSchemaKind(void* view, int n) {
  const TableColumnInfo* info = SchemaColumn(view, n);
  return info ? TableColumnInfo::ServiceKind(*info) : 1;
}
