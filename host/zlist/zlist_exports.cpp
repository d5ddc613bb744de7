// The exported functions of the stand-in list library.
#include <cstring>

#include "host/zlist/list_window.h"
#include "host/zlist/zlist_readback.h"

using zlist::ListModel;
using zlist::ListWindow;

namespace {

ListModel* ModelOf(HWND list) {
  ListWindow* window = ListWindow::FromHandle(list);
  return window ? &window->Model() : nullptr;
}

// Runs a change of the model and redraws the list when there is one.
template <typename F>
int Change(HWND list, int failure, F change) {
  ListWindow* window = ListWindow::FromHandle(list);
  if (!window) return failure;
  int result = change(window->Model());
  window->Changed();
  return result;
}

int CopyRecords(const std::vector<uint8_t>& held, int recordSize, int count, void* out) {
  int have = static_cast<int>(held.size() / recordSize);
  if (count <= 0 || !out) return have;
  int n = count < have ? count : have;
  std::memcpy(out, held.data(), static_cast<size_t>(n) * recordSize);
  return n;
}

void StoreRecords(std::vector<uint8_t>& held, int recordSize, int count, const void* records) {
  held.clear();
  if (count <= 0 || !records) return;
  const auto* bytes = static_cast<const uint8_t*>(records);
  held.assign(bytes, bytes + static_cast<size_t>(count) * recordSize);
}

}  // namespace

ZLIST_API HWND CreateListClientEx(HINSTANCE instance, HWND parent, int) {
  return ListWindow::Create(instance, parent);
}

ZLIST_API int SetSuspendedInvalidation(HWND list, int) { return ModelOf(list) != nullptr; }

ZLIST_API int ListSortEnable(HWND list, ZListSortCallback callback, void* context) {
  return Change(list, 0, [&](ListModel& m) { m.SetSortCallback(callback, context); return callback != nullptr; });
}

ZLIST_API int EnableColumnsDND(HWND list, int enable) {
  ListWindow* window = ListWindow::FromHandle(list);
  if (!window) return 0;
  window->SetColumnsDragAndDrop(enable != 0);
  return 1;
}

ZLIST_API int ListFilteringEnable(HWND list, ZListCellCallback, void*) { return ModelOf(list) != nullptr; }
ZLIST_API int ListFormattingEnable(HWND list, ZListCellCallback, void*) { return ModelOf(list) != nullptr; }

ZLIST_API int SetFixed(HWND list, int rows, int columns) {
  return Change(list, 0, [&](ListModel& m) { m.SetFixed(rows, columns); return 1; });
}

ZLIST_API int AddColumn(HWND list, int width, const ZListColumnDesc* desc) {
  if (!desc) return 0;
  return Change(list, 0, [&](ListModel& m) { return m.AddColumn(width, *desc); });
}

ZLIST_API int ListDefSortEnableEx(HWND list, ZListOrderCallback callback, void* context, int, int) {
  return Change(list, 0, [&](ListModel& m) { m.SetOrderCallback(callback, context); m.Resort(); return 1; });
}

ZLIST_API int InsLineWithData(HWND list, void* data) {
  return Change(list, -1, [&](ListModel& m) { return m.InsertLine(data); });
}

ZLIST_API int UpdateLineWithData(HWND list, void* data) {
  return Change(list, -1, [&](ListModel& m) { return m.UpdateLine(data); });
}

ZLIST_API int DelLineWithData(HWND list, void* data) {
  return Change(list, -1, [&](ListModel& m) { return m.DeleteLine(data); });
}

ZLIST_API int GetDefaultIndex(HWND list, void* data) {
  ListModel* m = ModelOf(list);
  return m ? m->FindLine(data) : -1;
}

ZLIST_API int SetRowDataCallBack(HWND list, int line, ZListCellCallback callback) {
  return Change(list, 0, [&](ListModel& m) {
    return m.SetProperty(line, -1, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(callback)) ? 1 : 0;
  });
}

ZLIST_API int SetData(HWND list, int line, int column, const char* text) {
  return Change(list, 0, [&](ListModel& m) { return m.SetText(line, column, text) ? 1 : 0; });
}

ZLIST_API int SetStyle(HWND list, int line, int column, int style, int mask) {
  return Change(list, 0, [&](ListModel& m) { return m.SetStyle(line, column, style, mask) ? 1 : 0; });
}

ZLIST_API int SetProperty(HWND list, int line, int column, int property, INT_PTR value) {
  return Change(list, 0, [&](ListModel& m) { return m.SetProperty(line, column, property, value) ? 1 : 0; });
}

ZLIST_API INT_PTR GetProperty(HWND list, int line, int column, int property) {
  ListModel* m = ModelOf(list);
  return m ? m->ResolveProperty(line, column, property) : 0;
}

ZLIST_API int SetPropertyWithData(HWND list, void* data, int column, int property, INT_PTR value) {
  return Change(list, 0, [&](ListModel& m) {
    int line = m.FindLine(data);
    return line >= 0 && m.SetProperty(line, column, property, value) ? 1 : 0;
  });
}

ZLIST_API int ResetPropertyWithData(HWND list, void* data, int column, int property) {
  return Change(list, 0, [&](ListModel& m) {
    int line = m.FindLine(data);
    return line >= 0 && m.ResetProperty(line, column, property) ? 1 : 0;
  });
}

ZLIST_API INT_PTR GetPropertyWithData(HWND list, void* data, int column, int property) {
  ListModel* m = ModelOf(list);
  if (!m) return ZLIST_NO_LINE;
  int line = m->FindLine(data);
  return line < 0 ? ZLIST_NO_LINE : m->ResolveProperty(line, column, property);
}

ZLIST_API int SetLineHeight(HWND list, int height) {
  ListWindow* window = ListWindow::FromHandle(list);
  if (!window) return 0;
  window->SetLineHeight(height);
  return 1;
}

ZLIST_API int SetStandardSchema(HWND list) {
  return Change(list, 0, [&](ListModel& m) {
    m.SetProperty(-1, -1, ZLIST_PROP_BACK_COLOUR, 0x80000000 | COLOR_WINDOW);
    m.SetProperty(-1, -1, ZLIST_PROP_TEXT_COLOUR, 0x80000000 | COLOR_WINDOWTEXT);
    m.SetProperty(-1, -1, ZLIST_PROP_SELECTED_BACK, 0x80000000 | COLOR_HIGHLIGHT);
    m.SetProperty(-1, -1, ZLIST_PROP_SELECTED_TEXT, 0x80000000 | COLOR_HIGHLIGHTTEXT);
    return 1;
  });
}

ZLIST_API int GetColumnWidth(HWND list, int column) {
  ListModel* m = ModelOf(list);
  return m ? m->ColumnWidth(column) : 0;
}

ZLIST_API int GetXSize(HWND list, int* width) {
  ListModel* m = ModelOf(list);
  if (!m || !width) return 0;
  *width = m->TotalWidth();
  return 1;
}

ZLIST_API int GetNRows(HWND list) {
  ListModel* m = ModelOf(list);
  return m ? m->LineCount() : 0;
}

ZLIST_API int GetNFixedRows(HWND list) {
  ListModel* m = ModelOf(list);
  return m ? m->FixedRows() : 0;
}

ZLIST_API int GetNColumns(HWND list) {
  ListModel* m = ModelOf(list);
  return m ? m->ColumnCount() : 0;
}

ZLIST_API int DelLines(HWND list, int first, int count) {
  return Change(list, 0, [&](ListModel& m) { return m.DeleteLines(first, count); });
}

ZLIST_API int GetSelection(HWND list) {
  ListModel* m = ModelOf(list);
  return m ? m->Selection() : -1;
}

ZLIST_API int SetSelection(HWND list, int line, int select) {
  return Change(list, 0, [&](ListModel& m) { return m.Select(line, select != 0) ? 1 : 0; });
}

ZLIST_API int ListGetSortFields(HWND list, int count, ZListSortField* fields) {
  ListModel* m = ModelOf(list);
  if (!m) return 0;
  const auto& held = m->SortFields();
  int have = static_cast<int>(held.size());
  if (count <= 0 || !fields) return have;
  int n = count < have ? count : have;
  for (int i = 0; i < n; ++i) fields[i] = held[i];
  return n;
}

ZLIST_API int ListSetSortFields(HWND list, int count, const ZListSortField* fields) {
  return Change(list, 0, [&](ListModel& m) { return m.SetSortFields(fields, count) ? 1 : 0; });
}

ZLIST_API int ListGetFiltersEx(HWND list, int count, void* records) {
  ListModel* m = ModelOf(list);
  return m ? CopyRecords(m->filters, ZLIST_FILTER_RECORD_SIZE, count, records) : 0;
}

ZLIST_API int ListSetFiltersEx(HWND list, int count, const void* records) {
  return Change(list, 0, [&](ListModel& m) { StoreRecords(m.filters, ZLIST_FILTER_RECORD_SIZE, count, records); return 1; });
}

ZLIST_API int ListGetFormatting(HWND list) {
  ListModel* m = ModelOf(list);
  return m ? static_cast<int>(m->formatting.size() / ZLIST_FORMAT_RECORD_SIZE) : 0;
}

ZLIST_API int ListGetFormattingEx(HWND list, int count, void* records) {
  ListModel* m = ModelOf(list);
  return m ? CopyRecords(m->formatting, ZLIST_FORMAT_RECORD_SIZE, count, records) : 0;
}

ZLIST_API int ListSetFormattingEx(HWND list, int count, const void* records) {
  return Change(list, 0, [&](ListModel& m) { StoreRecords(m.formatting, ZLIST_FORMAT_RECORD_SIZE, count, records); return 1; });
}

ZLIST_API int ZListInspectCell(HWND list, int line, int column, char* text, int textSize, COLORREF* back,
                               COLORREF* fore) {
  ListWindow* window = ListWindow::FromHandle(list);
  if (!window || !window->Model().LineAt(line) || !window->Model().ColumnAt(column)) return 0;
  zlist::CellLook look = window->LookOf(line, column);
  if (text && textSize > 0) lstrcpynA(text, look.text.c_str(), textSize);
  if (back) *back = look.back;
  if (fore) *fore = look.fore;
  return 1;
}
