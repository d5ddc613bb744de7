#include "support/table_environment.h"

#include "host/zlist/zlist_readback.h"

TableEnvironment::TableEnvironment(bool visible) {
  host_.CreateFrame("Тестовый терминал", visible);
  module_.reset(new TableTestModule(GetModuleHandleA(nullptr)));
  module_->OnPluginInit(1, host_.FunctionTable(), callbacks_, "");
  module_->SetHostUiInfo(host_.UiInfo());
  module_->SetLocaleSeparators(' ', ',');
  BuildTableColumns(schemas_);
}

TableEnvironment::~TableEnvironment() {
  // Windows still open close with the host's frame, while the module lives.
  DestroyWindow(host_.Frame());
  Pump();
  module_.reset();
}

void TableEnvironment::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HWND ListOf(CTablePlugin* table) { return table && table->GetView() ? table->GetView()->GetList() : nullptr; }

std::string CellText(CTablePlugin* table, int line, int column) {
  char text[512] = {};
  if (!ZListInspectCell(ListOf(table), line, column, text, sizeof text, nullptr, nullptr)) return "<no cell>";
  return text;
}

COLORREF CellBack(CTablePlugin* table, int line, int column, bool fore) {
  COLORREF colour = 0;
  ZListInspectCell(ListOf(table), line, column, nullptr, 0, fore ? nullptr : &colour, fore ? &colour : nullptr);
  return colour;
}

std::vector<std::string> HeaderTitles(CTablePlugin* table) {
  std::vector<std::string> titles;
  for (int c = 0; c < GetNColumns(ListOf(table)); ++c) titles.push_back(CellText(table, 0, c));
  return titles;
}

std::vector<int> ColumnIds(CTablePlugin* table) {
  std::vector<int> ids;
  for (const ColumnRef& column : table->GetView()->Columns()) ids.push_back(column.identifier);
  return ids;
}

int LineOf(CTablePlugin* table, const void* row) { return GetDefaultIndex(ListOf(table), const_cast<void*>(row)); }

int ColumnCentre(HWND list, int column) {
  int x = 0;
  for (int c = 0; c < column; ++c) x += GetColumnWidth(list, c);
  return x + GetColumnWidth(list, column) / 2;
}

void Drag(HWND window, int x0, int y0, int x1, int y1) {
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
}
