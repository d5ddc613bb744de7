// A list redraws every cell each time a table is recalculated. The window
// must never show the list half drawn: while a repaint asks for the cells'
// texts, the window still shows the cells it showed before, not the empty
// list's background.
#include "sdk/zlist_api.h"

#include <gtest/gtest.h>

namespace {
constexpr int kLineHeight = 20;
constexpr int kColumnWidth = 120;
constexpr int kLines = 6;
constexpr COLORREF kLineColour = RGB(0xFF, 0x80, 0x80);

// What the window showed of the last line's cell when the list asked for that
// cell's text.
struct LastLineWatch {
  HWND list = nullptr;
  bool seen = false;
  COLORREF shown = CLR_INVALID;
};
LastLineWatch g_watch;

int __stdcall CellText(void*, int line, void*, int, char* text, int textSize, void*) {
  if (line == kLines - 1 && !g_watch.seen) {
    HDC dc = GetDC(g_watch.list);
    g_watch.shown = GetPixel(dc, kColumnWidth / 2, line * kLineHeight + kLineHeight / 2);
    ReleaseDC(g_watch.list, dc);
    g_watch.seen = true;
  }
  lstrcpynA(text, "1 234,56", textSize);
  return 1;
}

class ListPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    // On top of the other tests' windows and without taking their focus: the
    // pixels read back are the list's own.
    parent = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0,
                             2 * kColumnWidth, (kLines + 2) * kLineHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    list = CreateListClientEx(GetModuleHandleA(nullptr), parent, 1);
    ASSERT_NE(list, nullptr);
    SetFixed(list, 0, 0);
    SetLineHeight(list, kLineHeight);
    ZListColumnDesc text = {6, 0, 1};
    ASSERT_TRUE(AddColumn(list, kColumnWidth, &text));
    for (INT_PTR line = 1; line <= kLines; ++line) ASSERT_GE(InsLineWithData(list, reinterpret_cast<void*>(line)), 0);
    SetProperty(list, -1, -1, ZLIST_PROP_BACK_COLOUR, kLineColour);
    SetProperty(list, -1, -1, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&CellText));
    g_watch = {list, false, CLR_INVALID};
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
  }

  HWND parent = nullptr;
  HWND list = nullptr;
};

TEST_F(ListPaint, ARepaintShowsTheCellsDrawnBeforeUntilItIsDone) {
  UpdateWindow(list);
  ASSERT_TRUE(g_watch.seen) << "the first paint asked for the last line";
  HDC dc = GetDC(list);
  EXPECT_EQ(GetPixel(dc, kColumnWidth / 2, (kLines - 1) * kLineHeight + kLineHeight / 2), kLineColour)
      << "the first paint drew the last line";
  ReleaseDC(list, dc);

  g_watch.seen = false;
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_TRUE(g_watch.seen) << "the repaint asked for the last line";
  EXPECT_EQ(g_watch.shown, kLineColour) << "the window showed " << std::hex << g_watch.shown << " meanwhile";
}
}  // namespace
