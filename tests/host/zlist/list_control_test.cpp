// The host's list control where the plug-in's table tests do not reach it:
// what a click or a drag sends to its parent and does when the parent
// refuses, and which column a click hits as the list scrolls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "host/zlist/zlist_readback.h"
#include "sdk/zlist_api.h"

namespace {

struct Record {
  std::string cells[4];  // column 0 shows the line number
};

class ListTest : public ::testing::Test {
 protected:
  // A top-level window holding one list of 80-pixel columns and 20-pixel
  // lines: 0 row number, 1 name (text), 2 count (int), 3 price (double).
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZListTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowExA(0, "ZListTestParent", "list test", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300, nullptr,
                              nullptr, wc.hInstance, nullptr);
    list_ = CreateListClientEx(wc.hInstance, parent_, 1);
    ASSERT_NE(list_, nullptr);
    commands_.clear();
    answer_ = 1;
    ASSERT_TRUE(ListSortEnable(list_, SortValue, this));
    ASSERT_TRUE(SetFixed(list_, 1, 1));
    for (uint16_t type : {1, 3, 1, 2}) {
      ZListColumnDesc desc = {type, 0, 1};
      ASSERT_TRUE(AddColumn(list_, 80, &desc));
    }
    ASSERT_EQ(InsLineWithData(list_, nullptr), 0);
    const char* titles[] = {"", "Name", "Count", "Price"};
    for (int c = 0; c < 4; ++c) ASSERT_TRUE(SetData(list_, 0, c, titles[c]));
    SetProperty(list_, -1, -1, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&CellData));
    SetProperty(list_, 0, -1, ZLIST_PROP_DATA_CALLBACK, 0);
    SetLineHeight(list_, 20);
    for (Record* r : {&a_, &b_}) ASSERT_GE(InsLineWithData(list_, r), 1);
  }
  void TearDown() override { DestroyWindow(parent_); }

  std::string Text(int line, int column) {
    char text[256] = {};
    EXPECT_TRUE(ZListInspectCell(list_, line, column, text, sizeof text, nullptr, nullptr));
    return text;
  }
  // The header's titles, joined with '|'.
  std::string Header() {
    std::string text = Text(0, 0);
    for (int column = 1; column < GetNColumns(list_); ++column) text += "|" + Text(0, column);
    return text;
  }
  void Drag(int x0, int y0, int x1, int y1) {
    SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
    SendMessageA(list_, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
  }
  void RightClick(int x, int y) { SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y)); }
  // A command the list sent its parent, as words.
  std::string Sent(size_t index) {
    const ZListCommandRecord& c = commands_.at(index);
    if (c.code == ZLIST_CMD_COLUMN_MOVED) return "moved " + std::to_string(c.source) + " to " + std::to_string(c.target);
    if (c.code == ZLIST_CMD_COLUMN_REMOVED) return "removed " + std::to_string(c.source);
    if (c.code == ZLIST_CMD_CONTEXT) return "context at line " + std::to_string(c.line) + " column " + std::to_string(c.column);
    return "code " + std::to_string(c.code);
  }

  static int __stdcall CellData(void*, int line, void* data, int column, char* text, int size, void*) {
    const std::string cell = column == 0 ? std::to_string(line) : static_cast<Record*>(data)->cells[column];
    return lstrcpynA(text, cell.c_str(), size), 1;
  }
  static INT_PTR __stdcall SortValue(void*, void* data, int column, char* text, int size, void*) {
    if (data) lstrcpynA(text, static_cast<Record*>(data)->cells[column].c_str(), size);
    return data ? reinterpret_cast<INT_PTR>(data) : 1;  // every column sorts as text
  }
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != ZLIST_WM_COMMAND) return DefWindowProcA(hwnd, message, wParam, lParam);
    commands_.push_back(*reinterpret_cast<ZListCommandRecord*>(lParam));
    return answer_;
  }

  HWND parent_ = nullptr, list_ = nullptr;
  Record a_{{"", "beta", "5", "1.50"}}, b_{{"", "alpha", "7", "2.25"}};
  static std::vector<ZListCommandRecord> commands_;  // what the list sent its parent
  static LRESULT answer_;                            // and what the parent answers
};
std::vector<ZListCommandRecord> ListTest::commands_;
LRESULT ListTest::answer_ = 1;

TEST_F(ListTest, DraggingAHeaderMovesOrRemovesTheColumnWhenTheParentAgreesAndABorderResizes) {
  Drag(100, 5, 250, 5);
  Drag(170, 5, 170, 900);
  EXPECT_TRUE(commands_.empty()) << "without drag and drop the columns stay";
  EXPECT_EQ(Header(), "|Name|Count|Price");
  EnableColumnsDND(list_, 1);
  ZListSortField field = {2, 1};
  ASSERT_TRUE(ListSetSortFields(list_, 1, &field));
  Drag(100, 5, 250, 5);  // Name onto Price
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(Sent(0), "moved 1 to 3");
  EXPECT_EQ(Header(), "|Count|Price|Name");
  ASSERT_EQ(ListGetSortFields(list_, 1, &field), 1);
  EXPECT_EQ(field.column, 1) << "the sort field follows Count";
  Drag(20, 5, 250, 5);
  Drag(250, 5, 20, 5);
  EXPECT_EQ(commands_.size(), 1u) << "the fixed column never moves";
  answer_ = 0;
  Drag(100, 5, 250, 5);
  EXPECT_EQ(Header(), "|Count|Price|Name") << "a refused move leaves the columns";
  Drag(170, 5, 170, 900);
  EXPECT_EQ(Sent(commands_.size() - 1), "removed 2");
  EXPECT_EQ(GetNColumns(list_), 4) << "a refused removal";
  answer_ = 1;
  Drag(170, 5, 170, 900);
  EXPECT_EQ(Header(), "|Count|Name");
  Drag(160, 5, 200, 5);  // the right border of Count
  EXPECT_EQ(GetColumnWidth(list_, 1), 120);
  int width = 0;
  ASSERT_TRUE(GetXSize(list_, &width));
  EXPECT_EQ(width, 280);
}

TEST_F(ListTest, ClicksAreReportedByLineAndColumnAsScrolled) {
  RightClick(170, 45);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(Sent(0), "context at line 2 column 2");
  EXPECT_EQ(commands_[0].list, list_);
  MoveWindow(list_, 0, 0, 200, 150, TRUE);
  SendMessageA(list_, WM_HSCROLL, SB_LINERIGHT, 0);
  SendMessageA(list_, WM_HSCROLL, SB_LINERIGHT, 0);  // 40 pixels
  for (int x : {10, 90, 130}) RightClick(x, 25);
  EXPECT_EQ(std::vector<int>({commands_[1].column, commands_[2].column, commands_[3].column}), std::vector<int>({0, 1, 2}))
      << "the fixed column stays in place";
  SendMessageA(list_, WM_HSCROLL, SB_PAGERIGHT, 0);
  SendMessageA(list_, WM_HSCROLL, SB_PAGERIGHT, 0);
  RightClick(190, 25);
  EXPECT_EQ(commands_.back().column, 3) << "scrolled no further than the last column";
  EXPECT_TRUE(SendMessageA(list_, ZLIST_WM_SELECT_TITLE, 0, 3));
  char title[64] = {};
  EXPECT_EQ(SendMessageA(list_, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title)), 5);
  EXPECT_STREQ(title, "Price") << "a column's title by message";
  EXPECT_FALSE(SendMessageA(list_, ZLIST_WM_SELECT_TITLE, 0, 99));
}

// A bulk insert is drawn once, by the next paint: a shown list takes its
// lines about as fast as a hidden one, which draws nothing.
TEST_F(ListTest, ABulkInsertIntoAShownListLeavesTheDrawingToThePaint) {
  std::vector<Record> records(300, Record{{"", "r", "1", "1"}});
  auto insertAll = [&] {
    const DWORD start = GetTickCount();
    for (Record& record : records) InsLineWithData(list_, &record);
    const DWORD taken = GetTickCount() - start;
    DelLines(list_, 1, -1);
    return static_cast<int>(taken);
  };
  const int hidden = insertAll();
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  const int shown = insertAll();
  EXPECT_LE(shown, 5 * hidden + 250) << "hidden " << hidden << " ms, shown " << shown << " ms";
}

}  // namespace
