// A test table inside the stand-in host: creation, rows and what the list shows.
#include <gtest/gtest.h>

#include "support/dialog_driver.h"
#include "test_environment.h"

namespace table_test {
namespace {

class TableRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = {"Бета", 5, 1234.5, 20240131, 93000, 1e6, "n1"};
    b_ = {"Альфа", 7, -2.25, 0, -1, 3, "n2"};
    table_ = env_.CreateTable({&a_, &b_});
    ASSERT_NE(table_, nullptr);
  }
  void TearDown() override { env_.Pump(); }

  int LineOf(TestRow* row) { return GetDefaultIndex(ListOf(table_), row); }

  TestEnvironment env_{true};  // shown, so that the MDI client has its size
  TestRow a_, b_;
  TestTable* table_ = nullptr;
};

TEST_F(TableRowsTest, LivesInAHostFrameOfTheMdiClient) {
  HWND window = table_->GetHwnd();
  ASSERT_TRUE(IsWindow(window));
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  EXPECT_STREQ(name, "HostWindow");
  EXPECT_STREQ(table_->GetWindowClassName(), "HostWindow");
  EXPECT_EQ(GetParent(window), env_.MdiClient());
  EXPECT_EQ(table_->GetHostFrame(), window);
  EXPECT_TRUE(table_->IsMdiFrame());
  char caption[128] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Тестовая таблица");
  EXPECT_EQ(GetParent(ListOf(table_)), window);
  EXPECT_EQ(CZPluginChildWnd::GetWindowObject(window), table_);
  EXPECT_TRUE(env_.Module().tables.count(table_));
  for (int id : {303, 306, 316, 304, 308, 309, 310, 311}) EXPECT_TRUE(env_.Module().commands[id]) << id;
  EXPECT_EQ(table_->GetView()->DialogCaption(), "Редактирование таблицы");
  int listWidth = 0;
  ASSERT_TRUE(GetXSize(ListOf(table_), &listWidth));
  // The frame's client area never exceeds the list nor the MDI client.
  RECT mdi, client;
  GetClientRect(env_.MdiClient(), &mdi);
  SetWindowPos(window, nullptr, 0, 0, mdi.right, mdi.bottom, SWP_NOZORDER | SWP_NOMOVE);
  table_->GetView()->FitFrameToList();
  GetClientRect(window, &client);
  EXPECT_LE(client.right, listWidth) << "a wider frame shrinks to the list";
  EXPECT_LE(client.right, mdi.right);
}

TEST_F(TableRowsTest, ViewAnswersAboutItsColumns) {
  CZPluginTableView* view = table_->GetView();
  EXPECT_EQ(view->GetColumnCount(), 7);
  EXPECT_EQ(view->IndexOfColumn(kAmount), 3);
  EXPECT_EQ(view->IndexOfColumn(kNote), 0) << "a column not shown answers the fixed column";
  EXPECT_EQ(view->IndexOfColumn(99), 0);
  EXPECT_EQ(view->ColumnIdAt(-1), -1);
  EXPECT_EQ(view->ColumnIdAt(7), -1);
  EXPECT_TRUE(view->IsTextColumnAt(1));
  EXPECT_FALSE(view->IsTextColumnAt(2));
  EXPECT_FALSE(view->IsTextColumnAt(42));
  EXPECT_EQ(view->DefaultSortDirection(1), 1);
  EXPECT_EQ(view->DefaultSortDirection(3), 0);
  EXPECT_EQ(view->GetRowCount(), 3) << "the header row counts";
  EXPECT_EQ(view->GetSelectedRow(), nullptr);
  view->SetSelection(GetDefaultIndex(ListOf(table_), &b_), 1);
  EXPECT_EQ(view->GetSelectedRow(), &b_);
}

TEST_F(TableRowsTest, ShowsTheVisibleColumnsWithTheirTitlesAndWidths) {
  EXPECT_EQ(HeaderTitles(table_),
            (std::vector<std::string>{"№", "Клиент", "Кол-во", "Сумма", "Дата", "Время", "Объём"}));
  // Widths in characters times the host's per-character widths.
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 1), 12 * env_.TextCharWidth());
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 3), 10 * env_.NumberCharWidth());
}

TEST_F(TableRowsTest, FillsOneLinePerAcceptedRowWithTheCellTexts) {
  ASSERT_EQ(GetNRows(ListOf(table_)), 3);
  int la = LineOf(&a_), lb = LineOf(&b_);
  ASSERT_GT(la, 0);
  ASSERT_GT(lb, 0);
  EXPECT_LT(lb, la) << "default order from CompareRows: Альфа before Бета";
  EXPECT_EQ(CellText(table_, la, 0), std::to_string(la)) << "row numbers";
  EXPECT_EQ(CellText(table_, la, 1), "Бета");
  EXPECT_EQ(CellText(table_, la, 2), "5");
  EXPECT_EQ(CellText(table_, la, 3), "1234.50");
  EXPECT_EQ(CellText(table_, la, 4), "31.01.2024");
  EXPECT_EQ(CellText(table_, la, 5), "09:30:00");
  EXPECT_EQ(CellText(table_, lb, 4), "");
  EXPECT_EQ(table_->GetView()->GetRowObject(la), &a_);
}

TEST_F(TableRowsTest, RowColoursReachTheListAndLeaveTheFixedColumn) {
  TableRowColours colours = {0x01 | 0x02, {RGB(1, 2, 3), 0, RGB(250, 240, 230), 0, 0}};
  ASSERT_GE(table_->UpsertRow(&a_, -1, kRowUpdate, &colours), 1);
  int la = LineOf(&a_);
  EXPECT_EQ(CellBack(table_, la, 2), RGB(250, 240, 230));
  EXPECT_EQ(CellFore(table_, la, 2), RGB(1, 2, 3));
  EXPECT_EQ(CellBack(table_, la, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(CellBack(table_, LineOf(&b_), 2), GetSysColor(COLOR_WINDOW));
}

TEST_F(TableRowsTest, RefreshRowInsertsUpdatesAndRemoves) {
  TestRow c{"Гамма", 1, 1, 0, 0, 0, ""};
  EXPECT_GT(table_->RefreshRow(&c, nullptr), 0);
  EXPECT_GT(LineOf(&c), 0) << "an unknown accepted row is inserted";

  a_.amount = 99;
  table_->RefreshRow(&a_, nullptr);
  EXPECT_EQ(CellText(table_, LineOf(&a_), 3), "99.00");

  b_.hidden = true;
  table_->RefreshRow(&b_, nullptr);
  EXPECT_EQ(LineOf(&b_), -1) << "a listed row the filter now refuses leaves";

  TestRow refused{"Дельта", 0, 0, 0, 0, 0, "", true};
  EXPECT_EQ(table_->RefreshRow(&refused, nullptr), 0);
  EXPECT_EQ(LineOf(&refused), -1) << "an unknown refused row is not added";
  EXPECT_EQ(GetNRows(ListOf(table_)), 3);
  EXPECT_EQ(g_pCurrentTable, nullptr);
}

TEST_F(TableRowsTest, UpsertRowDeletesAndClears) {
  EXPECT_GE(table_->UpsertRow(&a_, -1, kRowDelete, nullptr), 1);
  EXPECT_EQ(LineOf(&a_), -1);
  EXPECT_EQ(table_->ClearRows(), 1);
  EXPECT_EQ(GetNRows(ListOf(table_)), 1) << "the header stays";
  EXPECT_EQ(HeaderTitles(table_)[1], "Клиент");
}

TEST_F(TableRowsTest, ListCallbacksSeeTheirTableAndLeaveNoGlobalsBehind) {
  ZListSortField sort = {3, 1};
  ASSERT_TRUE(ListSetSortFields(ListOf(table_), 1, &sort));
  table_->seenCurrentTable = nullptr;
  TestRow c{"Гамма", 1, 50, 0, 0, 0, ""};
  table_->UpsertRow(&c, -1, kRowInsert, nullptr);
  EXPECT_EQ(table_->seenCurrentTable, table_) << "the sort callback ran for the new row";
  EXPECT_EQ(g_pCurrentTable, nullptr);
  EXPECT_EQ(g_pCurrentTableView, nullptr);
  EXPECT_EQ(g_pCurrentRowObject, nullptr);
  EXPECT_EQ(CellText(table_, 2, 1), "Гамма") << "sorted by Сумма: -2.25, 50, 1234.5";
}

TEST_F(TableRowsTest, RefillMessageRebuildsTheRows) {
  TestRow c{"Гамма", 1, 1, 0, 0, 0, ""};
  table_->source.push_back(&c);
  EXPECT_EQ(SendMessageA(table_->GetHwnd(), WM_TABLE_REFILL, 0, 0), 1);
  EXPECT_EQ(GetNRows(ListOf(table_)), 4);
}

TEST(TableCreation, ACancelledDialogLeavesNoWindow) {
  TestEnvironment env;
  auto* table = new TestTable;
  DialogDriver cancel([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
  EXPECT_EQ(table->Create(), nullptr);
  EXPECT_TRUE(cancel.Ran());
  EXPECT_EQ(cancel.Caption(), "Создание таблицы");
  EXPECT_EQ(table->GetView(), nullptr);
  EXPECT_EQ(table->GetHwnd(), nullptr);
  EXPECT_EQ(g_pTableBeingCreated, nullptr);
  EXPECT_EQ(g_pCurrentTable, nullptr);
  EXPECT_EQ(g_pCurrentTableView, nullptr);
  EXPECT_TRUE(env.Module().tables.empty());
  delete table;
}

}  // namespace
}  // namespace table_test
