// The list's own user interface: what a click or a drag sends to the parent.
#include "list_fixture.h"

namespace zlist_test {
namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class ListMouseTest : public ListFixture {
 protected:
  void SetUp() override {
    ListFixture::SetUp();
    BuildColumns();
    SetLineHeight(list_, kLineHeight);
    Add(a_);
    Add(b_);
  }
  void Drag(int x0, int y0, int x1, int y1) {
    SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, At(x0, y0));
    SendMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, At(x1, y1));
    SendMessageA(list_, WM_LBUTTONUP, 0, At(x1, y1));
  }
  // Farther below the list than a line: where a dragged header is let go to remove it.
  int BelowTheList() {
    RECT client;
    GetClientRect(list_, &client);
    return client.bottom + 2 * kLineHeight;
  }
  static constexpr int kLineHeight = 20;
  Record a_{"a", 1, 1}, b_{"b", 2, 2};
};

TEST_F(ListMouseTest, RightButtonReportsTheLineAndColumn) {
  SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, At(170, 45));  // line 2, column 2
  ASSERT_EQ(log_.commands.size(), 1u);
  EXPECT_EQ(log_.commands[0].code, static_cast<uint32_t>(ZLIST_CMD_CONTEXT));
  EXPECT_EQ(log_.commands[0].line, 2);
  EXPECT_EQ(log_.commands[0].column, 2);
  EXPECT_EQ(log_.commands[0].list, list_);
}

TEST_F(ListMouseTest, LeftClickSelectsAndDoubleClickReports) {
  SendMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 25));
  SendMessageA(list_, WM_LBUTTONUP, 0, At(100, 25));
  EXPECT_EQ(GetSelection(list_), 1);
  SendMessageA(list_, WM_LBUTTONDBLCLK, MK_LBUTTON, At(100, 25));
  ASSERT_EQ(log_.commands.size(), 1u);
  EXPECT_EQ(log_.commands[0].code, static_cast<uint32_t>(ZLIST_CMD_DOUBLE_CLICK));
  EXPECT_EQ(log_.commands[0].line, 1);
}

TEST_F(ListMouseTest, HeaderClickAsksTheColumnKindThenSorts) {
  log_.numericAnswer = 1;
  Drag(170, 5, 170, 5);  // click on the Count header
  ASSERT_EQ(log_.commands.size(), 1u);
  EXPECT_EQ(log_.commands[0].code, static_cast<uint32_t>(ZLIST_CMD_COLUMN_QUERY));
  EXPECT_EQ(log_.commands[0].column, 2);
  ZListSortField field = {};
  ASSERT_EQ(ListGetSortFields(list_, 1, &field), 1);
  EXPECT_EQ(field.column, 2);
  EXPECT_EQ(field.ascending, 0) << "a numeric column starts descending";
  EXPECT_EQ(Text(1, 1), "b");
  Drag(170, 5, 170, 5);
  ASSERT_EQ(ListGetSortFields(list_, 1, &field), 1);
  EXPECT_EQ(field.ascending, 1);
  EXPECT_EQ(Text(1, 1), "a");
}

TEST_F(ListMouseTest, DraggingAHeaderMovesTheColumnWhenTheParentAgrees) {
  EnableColumnsDND(list_, 1);
  Drag(100, 5, 250, 5);  // Name onto Price
  ASSERT_EQ(log_.commands.size(), 1u);
  EXPECT_EQ(log_.commands[0].code, static_cast<uint32_t>(ZLIST_CMD_COLUMN_MOVED));
  EXPECT_EQ(log_.commands[0].source, 1);
  EXPECT_EQ(log_.commands[0].target, 3);
  EXPECT_EQ(Text(0, 3), "Name");
  EXPECT_EQ(Text(0, 1), "Count");
  log_.answer = 0;
  Drag(100, 5, 250, 5);
  EXPECT_EQ(Text(0, 1), "Count") << "a refused move leaves the columns";
}

TEST_F(ListMouseTest, SortFieldsFollowAMovedColumn) {
  EnableColumnsDND(list_, 1);
  ZListSortField field = {2, 1};
  ASSERT_TRUE(ListSetSortFields(list_, 1, &field));
  Drag(100, 5, 250, 5);  // Name from 1 to 3: Count shifts to 1
  ASSERT_EQ(ListGetSortFields(list_, 1, &field), 1);
  EXPECT_EQ(field.column, 1);
  Drag(100, 5, 250, 5);  // Count itself moves to 3
  ASSERT_EQ(ListGetSortFields(list_, 1, &field), 1);
  EXPECT_EQ(field.column, 3);
}

TEST_F(ListMouseTest, TheFixedColumnNeverMoves) {
  EnableColumnsDND(list_, 1);
  Drag(20, 5, 250, 5);
  Drag(250, 5, 20, 5);
  for (const auto& c : log_.commands) EXPECT_NE(c.code, static_cast<uint32_t>(ZLIST_CMD_COLUMN_MOVED));
  EXPECT_EQ(Text(0, 3), "Price");
}

TEST_F(ListMouseTest, DraggingAHeaderAwayRemovesTheColumnWhenTheParentAgrees) {
  EnableColumnsDND(list_, 1);
  log_.answer = 0;
  Drag(170, 5, 170, BelowTheList());
  ASSERT_EQ(log_.commands.size(), 1u);
  EXPECT_EQ(log_.commands[0].code, static_cast<uint32_t>(ZLIST_CMD_COLUMN_REMOVED));
  EXPECT_EQ(log_.commands[0].source, 2);
  EXPECT_EQ(GetNColumns(list_), 4);
  log_.answer = 1;
  Drag(170, 5, 170, BelowTheList());
  EXPECT_EQ(GetNColumns(list_), 3);
  EXPECT_EQ(Text(0, 2), "Price");
}

TEST_F(ListMouseTest, WithoutDragAndDropColumnsStay) {
  Drag(100, 5, 250, 5);
  Drag(170, 5, 170, BelowTheList());
  EXPECT_TRUE(log_.commands.empty());
  EXPECT_EQ(GetNColumns(list_), 4);
}

TEST_F(ListMouseTest, DraggingABorderResizesTheColumn) {
  Drag(160, 5, 200, 5);  // right border of Name
  EXPECT_EQ(GetColumnWidth(list_, 1), 120);
  int width = 0;
  ASSERT_TRUE(GetXSize(list_, &width));
  EXPECT_EQ(width, 360);
}

TEST_F(ListMouseTest, ColumnTitleMessageThenGetText) {
  EXPECT_TRUE(SendMessageA(list_, ZLIST_WM_SELECT_TITLE, 0, 3));
  char title[64] = {};
  EXPECT_EQ(SendMessageA(list_, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title)), 5);
  EXPECT_STREQ(title, "Price");
  EXPECT_FALSE(SendMessageA(list_, ZLIST_WM_SELECT_TITLE, 0, 99));
}

TEST_F(ListMouseTest, ColumnsAfterTheFixedOneScrollSideways) {
  MoveWindow(list_, 0, 0, 200, 150, TRUE);
  SendMessageA(list_, WM_HSCROLL, SB_LINERIGHT, 0);
  SendMessageA(list_, WM_HSCROLL, SB_LINERIGHT, 0);  // 40 pixels
  SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 25));
  SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, At(90, 25));
  SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, At(130, 25));
  ASSERT_EQ(log_.commands.size(), 3u);
  EXPECT_EQ(log_.commands[0].column, 0) << "the fixed column stays in place";
  EXPECT_EQ(log_.commands[1].column, 1);
  EXPECT_EQ(log_.commands[2].column, 2);
  SendMessageA(list_, WM_HSCROLL, SB_PAGERIGHT, 0);
  SendMessageA(list_, WM_HSCROLL, SB_PAGERIGHT, 0);
  SendMessageA(list_, WM_RBUTTONDOWN, MK_RBUTTON, At(190, 25));
  EXPECT_EQ(log_.commands.back().column, 3) << "scrolled no further than the last column";
}

TEST_F(ListMouseTest, KeysMoveTheSelection) {
  SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(GetSelection(list_), 1);
  SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(list_, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(GetSelection(list_), 2);
  SendMessageA(list_, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(GetSelection(list_), 1);
}

}  // namespace
}  // namespace zlist_test
