// A test table inside the stand-in host: its frame, its rows, what the list
// shows of them and in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "support/table_environment.h"
#include "support/window_capture.h"
#include "test_table.h"

namespace table_test {
namespace {

class TableRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_[0] = {"Вторая", 30, 1234.5, 20240301, 93000, 5e9, "n1"};
    rows_[1] = {"Первая", 10, 99.0, 0, 0, -7, ""};
    rows_[2] = {"Третья", 20, -3.0, 20230115, -1, 1e30, ""};
    table_ = OpenTestTable(env_, {&rows_[0], &rows_[1], &rows_[2]});
    ASSERT_NE(table_, nullptr);
  }

  std::vector<std::string> ShownClients() {
    std::vector<std::string> clients;
    for (int line = 1; line < GetNRows(ListOf(table_)); ++line) clients.push_back(CellText(table_, line, 1));
    return clients;
  }
  // The value the sort callback gives for one cell, as 8 raw bytes over a pattern.
  uint64_t SortBytes(TestRow* row, int id) {
    uint64_t value = 0x1111111111111111ull;
    char text[16] = {};
    const int position = table_->GetView()->IndexOfColumn(id);
    EXPECT_EQ(table_->GetSortValue(0, table_, row, position, text, sizeof text, &value), reinterpret_cast<INT_PTR>(row));
    return value;
  }

  TableEnvironment env_{true};  // shown, so that the MDI client has its size
  TestRow rows_[3];
  TestTable* table_ = nullptr;
};

// A day's midnight as the list sorts it: the 64 bits of its FILETIME.
uint64_t FileTimeBits(WORD year, WORD month, WORD day) {
  const SYSTEMTIME moment = {year, month, 0, day, 0, 0, 0, 0};
  FILETIME ft = {};
  SystemTimeToFileTime(&moment, &ft);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

TEST_F(TableRowsTest, LivesInAHostFrameOfTheMdiClient) {
  HWND window = table_->GetHwnd();
  char name[64] = {}, caption[128] = {};
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_EQ(std::string(name) + "/" + caption, "HostWindow/Тестовая таблица");
  EXPECT_EQ(GetParent(window), env_.MdiClient());
  EXPECT_EQ(GetParent(ListOf(table_)), window);
  EXPECT_EQ(CZPluginChildWnd::GetWindowObject(window), table_);
  EXPECT_TRUE(env_.Module().tables.count(table_));
  for (int id : {303, 306, 316, 304, 308, 309, 310, 311}) EXPECT_TRUE(env_.Module().commands[id]) << id;
  int listWidth = 0;
  ASSERT_TRUE(GetXSize(ListOf(table_), &listWidth));
  // Widths from this run's list, frame edges and MDI client, whatever the
  // font and screen: the frame's client area never exceeds the list nor the
  // MDI client, and a narrower frame keeps its width.
  RECT mdi, outer, client;
  GetClientRect(env_.MdiClient(), &mdi);
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const int edges = (outer.right - outer.left) - client.right;
  for (int width : {static_cast<int>(mdi.right), listWidth + 100, listWidth / 2}) {
    SetWindowPos(window, nullptr, 0, 0, width + edges, 300, SWP_NOZORDER | SWP_NOMOVE);
    table_->GetView()->FitFrameToList();
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, std::min(width, listWidth)) << "frame of " << width;
    EXPECT_LE(client.right, mdi.right);
  }
}

TEST_F(TableRowsTest, ShowsTheVisibleColumnsAndACellTextPerRowInTheTableOrder) {
  EXPECT_EQ(HeaderTitles(table_),
            (std::vector<std::string>{"№", "Клиент", "Кол-во", "Сумма", "Дата", "Время", "Объём"}));
  // Widths in characters times the host's per-character widths.
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 1), 12 * env_.TextCharWidth());
  EXPECT_EQ(GetColumnWidth(ListOf(table_), 3), 10 * env_.NumberCharWidth());
  EXPECT_EQ(ShownClients(), (std::vector<std::string>{"Вторая", "Первая", "Третья"})) << "CompareRows' order";
  EXPECT_EQ(table_->GetView()->GetRowObject(2), &rows_[1]);
  std::vector<std::string> first;
  for (int column = 0; column < 7; ++column) first.push_back(CellText(table_, 1, column));
  EXPECT_EQ(first, (std::vector<std::string>{"1", "Вторая", "30", "1234.50", "20240301", "93000", "5000000000"}));
}

TEST_F(TableRowsTest, NumbersAreDrawnAtTheRightOfTheirCellsAndTextsAtTheLeft) {
  HWND list = ListOf(table_);
  const int y = env_.LineHeight() * 3 / 2;  // the middle of the first row: Вторая, 30
  // Whether the part of a column from one fraction of its width to another is drawn blank.
  auto blank = [&](int column, double from, double to) {
    const int x0 = ColumnCentre(list, column) - GetColumnWidth(list, column) / 2, width = GetColumnWidth(list, column);
    for (int x = x0 + static_cast<int>(from * width) + 2; x < x0 + static_cast<int>(to * width) - 2; ++x)
      if (DrawnPixel(list, x, y) != GetSysColor(COLOR_WINDOW)) return false;
    return true;
  };
  EXPECT_TRUE(blank(2, 0, 2.0 / 3)) << "a count of 2 digits in a column of 8";
  EXPECT_FALSE(blank(2, 2.0 / 3, 1));
  EXPECT_TRUE(blank(1, 2.0 / 3, 1)) << "a name of 6 letters in a column of 12";
  EXPECT_FALSE(blank(1, 0, 1.0 / 3));
}

TEST_F(TableRowsTest, RowsComeAndGoByTheTablesFilter) {
  TestRow added{"Альфа", 1, 1}, refused{"Дельта", 0, 0, 0, 0, 0, "", true};
  EXPECT_GT(table_->RefreshRow(&added, nullptr), 0);
  EXPECT_EQ(LineOf(table_, &added), 1) << "an unknown accepted row is inserted in order";
  rows_[0].amount = 99;
  table_->RefreshRow(&rows_[0], nullptr);
  EXPECT_EQ(CellText(table_, LineOf(table_, &rows_[0]), 3), "99.00");
  rows_[1].hidden = true;
  table_->RefreshRow(&rows_[1], nullptr);
  EXPECT_EQ(LineOf(table_, &rows_[1]), -1) << "a listed row the filter now refuses leaves";
  EXPECT_EQ(table_->RefreshRow(&refused, nullptr), 0);
  EXPECT_EQ(LineOf(table_, &refused), -1) << "an unknown refused row is not added";
  EXPECT_GE(table_->UpsertRow(&rows_[2], -1, kRowDelete, nullptr), 1);
  EXPECT_EQ(GetNRows(ListOf(table_)), 3);
  EXPECT_TRUE(!g_pCurrentTable && !g_pCurrentTableView && !g_pCurrentRowObject) << "no globals left behind";
  EXPECT_EQ(SendMessageA(table_->GetHwnd(), WM_TABLE_REFILL, 0, 0), 1);
  EXPECT_EQ(LineOf(table_, &added), -1) << "refilled from the source alone";
  EXPECT_EQ(LineOf(table_, &rows_[2]), 2);
  EXPECT_EQ(table_->ClearRows(), 1);
  EXPECT_EQ(HeaderTitles(table_)[1], "Клиент") << "the header stays";
}

TEST_F(TableRowsTest, ListShowsRowsInTheOrderOfTheTypedSortValues) {
  const struct { int id, ascending; std::vector<std::string> clients; } cases[] = {
      {kCount, 1, {"Первая", "Третья", "Вторая"}},
      {kAmount, 1, {"Третья", "Первая", "Вторая"}},
      {kDate, 1, {"Третья", "Вторая", "Первая"}},  // no date last
      {kVolume, 1, {"Первая", "Вторая", "Третья"}},
      {kClient, 0, {"Третья", "Первая", "Вторая"}},
  };
  for (const auto& c : cases) {
    ZListSortField field = {table_->GetView()->IndexOfColumn(c.id), c.ascending};
    table_->seenCurrentTable = nullptr;
    ASSERT_TRUE(ListSetSortFields(ListOf(table_), 1, &field));
    EXPECT_EQ(ShownClients(), c.clients) << c.id;
    EXPECT_EQ(table_->seenCurrentTable, table_) << "the sort callback sees its table";
  }
  HWND list = ListOf(table_);
  ASSERT_TRUE(ListSetSortFields(list, 0, nullptr));
  Drag(list, ColumnCentre(list, 2), 3, ColumnCentre(list, 2), 3);  // a click on the Кол-во header
  const std::vector<ZListSortField>& copy = table_->GetView()->SortFieldsCopy();
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_EQ(std::make_pair(copy[0].column, copy[0].ascending), std::make_pair(2, 0)) << "numbers descending first";
  EXPECT_EQ(ShownClients(), (std::vector<std::string>{"Вторая", "Третья", "Первая"}));
}

TEST_F(TableRowsTest, SortValuesAreConvertedByTheColumnType) {
  // The 8 bytes written over a pattern of 0x11: an integer in four, clamped; a 64-bit integer, clamped; the double.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct { int id; double value; uint64_t bytes; } cases[] = {
      {kCount, 7.9, 0x1111111100000007},      {kCount, -7.9, 0x11111111FFFFFFF9},  {kCount, 1e30, 0x111111117FFFFFFF},
      {kCount, -1e30, 0x1111111180000000},    {kCount, nan, 0x1111111100000000},   {kVolume, 5e9 + 0.5, 5000000000},
      {kVolume, 1e30, 0x7FFFFFFFFFFFFFFF},    {kVolume, nan, 0},                   {kAmount, -2.75, 0xC006000000000000},
  };
  for (const auto& c : cases) {
    TestRow row{"x"};
    (c.id == kCount ? row.count : c.id == kVolume ? row.volume : row.amount) = c.value;
    EXPECT_EQ(SortBytes(&row, c.id), c.bytes) << c.id << " " << c.value;
  }
  EXPECT_EQ(SortBytes(&rows_[1], kDate), ~0ull) << "date 0";
  EXPECT_EQ(SortBytes(&rows_[2], kTime), ~0ull) << "time -1";
  EXPECT_EQ(SortBytes(&rows_[0], kDate), FileTimeBits(2024, 3, 1));
  SYSTEMTIME now;
  GetSystemTime(&now);
  EXPECT_EQ(SortBytes(&rows_[1], kTime), FileTimeBits(now.wYear, now.wMonth, now.wDay)) << "time 0: midnight today";
  char text[4] = {};
  uint64_t value = 0;
  table_->GetSortValue(0, table_, &rows_[1], 1, text, sizeof text, &value);
  EXPECT_STREQ(text, "Пер") << "a text column gives its text, cut";
  EXPECT_EQ(table_->GetSortValue(0, table_, nullptr, 1, text, sizeof text, &value), 1) << "asked: a text column";
  EXPECT_EQ(table_->GetSortValue(0, table_, nullptr, 2, text, sizeof text, &value), 0);
}

TEST(TableCreation, ACancelledDialogLeavesNoWindow) {
  TableEnvironment env;
  TestTable table;
  DialogDriver cancel([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
  EXPECT_EQ(table.Create(), nullptr);
  EXPECT_EQ(cancel.Caption(), "Создание таблицы");
  EXPECT_TRUE(!table.GetView() && !table.GetHwnd() && env.Module().tables.empty());
  EXPECT_TRUE(!g_pTableBeingCreated && !g_pCurrentTable && !g_pCurrentTableView);
}

// The host ends its loop while the dialog is open: nothing the user did
// not confirm is created.
TEST(TableCreation, AQuitWhileTheDialogIsOpenLeavesNoWindow) {
  TableEnvironment env;
  TestTable table;
  DialogDriver quit(DialogDriver::Quit);
  EXPECT_EQ(table.Create(), nullptr);
  EXPECT_TRUE(DialogDriver::TakeQuit());
  EXPECT_EQ(quit.Caption(), "Создание таблицы");
  EXPECT_TRUE(!table.GetView() && !table.GetHwnd() && env.Module().tables.empty());
}

}  // namespace
}  // namespace table_test
