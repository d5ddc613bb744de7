#include "list_fixture.h"


namespace zlist_test {

ParentLog ListFixture::log_;

void ListFixture::SetUp() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ZListTestParent";
  RegisterClassA(&wc);
  parent_ = CreateWindowExA(0, "ZListTestParent", "list test", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300,
                            nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(parent_, nullptr);
  list_ = CreateListClientEx(wc.hInstance, parent_, 1);
  ASSERT_NE(list_, nullptr);
  log_ = ParentLog{};
}

void ListFixture::TearDown() {
  if (parent_) DestroyWindow(parent_);
}

void ListFixture::BuildColumns() {
  ASSERT_TRUE(ListSortEnable(list_, SortValue, this));
  ASSERT_TRUE(SetFixed(list_, 1, 1));
  const uint16_t types[] = {1, 3, 1, 2};
  for (uint16_t type : types) {
    ZListColumnDesc desc = {type, 0, 1};
    ASSERT_TRUE(AddColumn(list_, 80, &desc));
  }
  ASSERT_EQ(InsLineWithData(list_, nullptr), 0);
  const char* titles[] = {"", "Name", "Count", "Price"};
  for (int c = 0; c < 4; ++c) ASSERT_TRUE(SetData(list_, 0, c, titles[c]));
  SetProperty(list_, -1, -1, ZLIST_PROP_DATA, reinterpret_cast<INT_PTR>(this));
  SetProperty(list_, -1, -1, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&CellData));
  SetProperty(list_, -1, 0, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&RowNumber));
  SetProperty(list_, 0, -1, ZLIST_PROP_DATA_CALLBACK, 0);
}

std::string ListFixture::Text(int line, int column) {
  char text[256] = {};
  EXPECT_TRUE(ZListInspectCell(list_, line, column, text, sizeof text, nullptr, nullptr));
  return text;
}

COLORREF ListFixture::Back(int line, int column) {
  COLORREF back = 0;
  EXPECT_TRUE(ZListInspectCell(list_, line, column, nullptr, 0, &back, nullptr));
  return back;
}

void ListFixture::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int __stdcall ListFixture::CellData(void*, int, void* data, int column, char* text, int size, void*) {
  auto* r = static_cast<Record*>(data);
  char buffer[128] = {};
  if (column == 1) snprintf(buffer, sizeof buffer, "%s", r->name.c_str());
  if (column == 2) snprintf(buffer, sizeof buffer, "%d", r->count);
  if (column == 3) snprintf(buffer, sizeof buffer, "%.2f", r->price);
  lstrcpynA(text, buffer, size);
  return 1;
}

int __stdcall ListFixture::RowNumber(void*, int line, void*, int, char* text, int size, void*) {
  snprintf(text, size, "%d", line);
  return 1;
}

INT_PTR __stdcall ListFixture::SortValue(void*, void* data, int column, char* text, int size, void* value) {
  if (!data) return column == 1;
  auto* r = static_cast<Record*>(data);
  if (column == 1) lstrcpynA(text, r->name.c_str(), size);
  if (column == 2) { int32_t v = r->count; std::memcpy(value, &v, 4); }
  if (column == 3) std::memcpy(value, &r->price, 8);
  return reinterpret_cast<INT_PTR>(data);
}

LRESULT CALLBACK ListFixture::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ZLIST_WM_COMMAND) {
    log_.commands.push_back(*reinterpret_cast<ZListCommandRecord*>(lParam));
    return wParam == ZLIST_CMD_COLUMN_QUERY ? log_.numericAnswer : log_.answer;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace zlist_test
