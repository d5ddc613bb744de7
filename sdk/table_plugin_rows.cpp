// The table's rows, cell values and sort values, and the list's commands.
#include <cstdio>
#include <cstring>

#include "sdk/confirmation.h"
#include "sdk/host_call.h"
#include "sdk/table_plugin.h"

namespace {

class CurrentTable {
 public:
  explicit CurrentTable(CTablePlugin* table) { g_pCurrentTable = table; }
  ~CurrentTable() { g_pCurrentTable = nullptr; }
};

}  // namespace

bool CTablePlugin::AcceptsRecord(void*) { return true; }

int CTablePlugin::UpsertRow(void* row, int column, int operation, const TableRowColours* colours) {
  if (!view_ || !AcceptsRecord(row)) return 0;
  CurrentTable current(this);
  return view_->UpdateRow(row, column, operation, colours);
}

int CTablePlugin::DeleteRow(void* row) {
  if (!view_) return 0;
  CurrentTable current(this);
  return view_->UpdateRow(row, -1, kRowDelete, nullptr);
}

double CTablePlugin::GetCellValue(int, int, void*, char* text, int, int* textFlag) {
  if (text) text[0] = 0;
  if (textFlag) *textFlag = 0;
  return 0.0;
}

int CTablePlugin::UpdateRowColors(int, void* row) { return RefreshRow(row, nullptr); }

int CTablePlugin::RefreshRow(void* row, const TableRowColours* colours) {
  if (!view_) return 0;
  if (GetPropertyWithData(view_->GetList(), row, -1, ZLIST_PROP_DATA) == ZLIST_NO_LINE)
    return UpsertRow(row, -1, kRowInsert, colours);
  CurrentTable current(this);
  return view_->UpdateRow(row, -1, AcceptsRecord(row) ? kRowUpdate : kRowDelete, colours);
}

void CTablePlugin::PostServiceRestarts(bool listWasOn, bool tableWasOn) {
  if (listWasOn) PostMessageA(window_, WM_TABLE_START_LIST_SERVICE, 0, 0);
  if (tableWasOn) PostMessageA(window_, WM_TABLE_START_TABLE_SERVICE, 0, 0);
}

bool CTablePlugin::ConfirmColumnRemoval(int position) {
  uint32_t confirm = 1;
  HostCall<101>(6, 4, &confirm);
  if (!confirm) return true;
  uint32_t language = 25;
  HostCall<101>(3, 0, &language);
  const bool english = language == 9;
  const char* format = english ? "Are you sure you want to remove column \"%s\" from table \"%s\"?"
                               : "Вы уверены, что хотите удалить столбец \"%s\" из таблицы \"%s\"?";
  const char* caption = english ? "Attention" : "Внимание";
  char column[256] = {}, table[256] = {};
  HWND list = view_->GetList();
  SendMessageA(list, ZLIST_WM_SELECT_TITLE, 0, position);
  SendMessageA(list, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(column));
  SendMessageA(window_, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(table));
  char text[1024];
  snprintf(text, sizeof text, format, column, table);
  // A table the host closed meanwhile has no column left to remove.
  return UserConfirms(window_, text, caption, MB_YESNO | MB_ICONEXCLAMATION) && !WindowGone();
}

bool CTablePlugin::OnListCommand(ZListCommandRecord* record, int code, LRESULT* result) {
  auto answer = [result](LRESULT value) { if (result) *result = value; };
  if (!record) return false;
  const int columns = view_ ? view_->GetColumnCount() : 0;
  const int column = record->column;
  switch (code) {
    case ZLIST_CMD_CONTEXT: {
      if (view_) SetFocus(view_->GetList());
      if (view_ && column > 0 && column < columns) view_->SetSelection(record->line, 1);
      OnListEvent();
      HWND window = window_;
      OnContextMenu(reinterpret_cast<HMENU>(HostCall<19>()), column, record->line);
      HostCall<20>(window);
      return false;
    }
    case ZLIST_CMD_COLUMN_QUERY: {
      if (!view_ || column <= 0 || column >= columns) return false;
      int numeric = view_->IsTextColumnAt(column) ? 0 : 1;
      answer(numeric);
      return numeric != 0;
    }
    case ZLIST_CMD_COLUMN_MOVED: {
      // The fixed first column neither moves nor is replaced.
      if (!view_ || record->source < 1 || record->source >= columns || record->target < 1 ||
          record->target >= columns)
        return false;
      bool listWasOn = view_->StopListService(false);
      bool tableWasOn = view_->StopTableService(false);
      view_->MoveColumn(record->source, record->target);
      answer(1);
      PostServiceRestarts(listWasOn, tableWasOn);
      return true;
    }
    case ZLIST_CMD_COLUMN_REMOVED: {
      if (!view_ || record->source < 1 || record->source >= columns) return false;
      if (!ConfirmColumnRemoval(record->source)) {
        answer(1);
        return false;
      }
      bool listWasOn = view_->StopListService(false);
      bool tableWasOn = view_->StopTableService(false);
      view_->RemoveColumn(record->source);
      answer(1);
      PostServiceRestarts(listWasOn, tableWasOn);
      return true;
    }
  }
  OnListEvent();
  return false;
}

INT_PTR CTablePlugin::GetSortValue(int mode, void*, void* row, int position, char* text, int textSize,
                                   void* value) {
  if (!view_) return 0;
  if (!row) return view_->IsTextColumnAt(position);
  char cell[1024] = {};
  int isText = 0;
  double number = GetCellText(mode, position, row, cell, &isText);
  cell[sizeof cell - 1] = 0;
  const TableColumnInfo* info = view_->ColumnInfoAt(position);
  uint32_t type = info ? info->valueType : 6;
  switch (type) {
    case 7:
    case 8:
      if (value) WritePackedTimeValue(type, number, value);
      break;
    case 1:
      if (value) {
        int32_t v = ClampToInt32(number);
        std::memcpy(value, &v, sizeof v);
      }
      break;
    case 2:
      if (value) std::memcpy(value, &number, sizeof number);
      break;
    case 4:
      if (value) {
        int64_t v = ClampToInt64(number);
        std::memcpy(value, &v, sizeof v);
      }
      break;
    default:
      if (text && textSize > 0) lstrcpynA(text, cell, textSize);
      break;
  }
  return reinterpret_cast<INT_PTR>(row);
}

int CTablePlugin::CompareRowsCallback(int, void* first, void* second, int) { return CompareRows(first, second); }

double CTablePlugin::GetCellText(int, int position, void*, char* text, int* textFlag) {
  if (text) text[0] = 0;
  if (textFlag) *textFlag = view_ && view_->IsTextColumnAt(position) ? 1 : 0;
  return 0.0;
}

int CTablePlugin::CompareRows(void* first, void* second) { return first == second ? 0 : -1; }

const char* CTablePlugin::GetColumnText(int position) {
  static char text[1024];
  text[0] = 0;
  int isText = 0;
  GetCellText(0, position, g_pCurrentRowObject, text, &isText);
  text[sizeof text - 1] = 0;
  return text;
}
