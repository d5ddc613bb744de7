// Typed sort values of the cells and the order the list shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "sdk/packed_dates.h"
#include "sdk/table_view_callbacks.h"
#include "test_environment.h"

namespace table_test {
namespace {

class TableSortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_[0] = {"Вторая", 30, 1.5, 20240301, 120000, 5e9, ""};
    rows_[1] = {"Первая", 10, 99.0, 0, 0, -7, ""};
    rows_[2] = {"Третья", 20, -3.0, 20230115, -1, 1e30, ""};
    table_ = env_.CreateTable({&rows_[0], &rows_[1], &rows_[2]});
    ASSERT_NE(table_, nullptr);
  }

  // The value the sort callback gives for one cell, as 8 raw bytes.
  uint64_t SortBytes(TestRow* row, int id) {
    uint64_t value = 0x1111111111111111ull;
    char text[16] = {};
    int position = table_->GetView()->IndexOfColumn(id);
    EXPECT_EQ(table_->GetSortValue(0, table_, row, position, text, sizeof text, &value), reinterpret_cast<INT_PTR>(row));
    return value;
  }

  std::vector<std::string> ShownClients() {
    std::vector<std::string> clients;
    for (int line = 1; line < GetNRows(ListOf(table_)); ++line) clients.push_back(CellText(table_, line, 1));
    return clients;
  }

  TestEnvironment env_;
  TestRow rows_[3];
  TestTable* table_ = nullptr;
};

uint64_t FileTimeBits(int date, int time) {
  FILETIME ft = MakeFileTime(date, time);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

TEST_F(TableSortTest, DateAndTimeCellsGiveFileTimesOrAllOnes) {
  EXPECT_EQ(SortBytes(&rows_[1], kDate), ~0ull) << "date 0";
  EXPECT_EQ(SortBytes(&rows_[2], kTime), ~0ull) << "time -1";
  EXPECT_EQ(SortBytes(&rows_[0], kDate), FileTimeBits(20240301, 0));
  uint64_t midnight = SortBytes(&rows_[1], kTime);
  EXPECT_EQ(midnight, FileTimeBits(0, 0)) << "time 0 is midnight of today";
  SYSTEMTIME st;
  FILETIME ft = {static_cast<DWORD>(midnight), static_cast<DWORD>(midnight >> 32)};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  SYSTEMTIME now;
  GetSystemTime(&now);
  EXPECT_EQ(st.wDay, now.wDay);
  EXPECT_EQ(st.wHour, 0);
}

struct NumberCase {
  const char* what;
  int id;
  double value;
  int64_t expected;  // as the type's integer, or the double's bits for type 2
};

class TableSortNumberTest : public TableSortTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(TableSortNumberTest, ConvertsByTheColumnType) {
  const NumberCase& c = GetParam();
  TestRow row{"x", 0, 0, 0, 0, 0, ""};
  if (c.id == kCount) row.count = c.value;
  if (c.id == kAmount) row.amount = c.value;
  if (c.id == kVolume) row.volume = c.value;
  uint64_t bytes = SortBytes(&row, c.id);
  if (c.id == kCount) {
    int32_t v;
    std::memcpy(&v, &bytes, 4);
    EXPECT_EQ(v, c.expected) << c.what;
    EXPECT_EQ(bytes >> 32, 0x11111111ull) << "only four bytes written";
  } else if (c.id == kVolume) {
    EXPECT_EQ(static_cast<int64_t>(bytes), c.expected) << c.what;
  } else {
    double d;
    std::memcpy(&d, &bytes, 8);
    EXPECT_EQ(d, c.value) << c.what;
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Types, TableSortNumberTest,
    ::testing::Values(NumberCase{"integer truncated", kCount, 7.9, 7},
                      NumberCase{"integer negative", kCount, -7.9, -7},
                      NumberCase{"integer 1e30 clamped", kCount, 1e30, INT32_MAX},
                      NumberCase{"integer -1e30 clamped", kCount, -1e30, INT32_MIN},
                      NumberCase{"integer NaN", kCount, kNaN, 0},
                      NumberCase{"64-bit truncated", kVolume, 5e9 + 0.5, 5000000000ll},
                      NumberCase{"64-bit 1e30 clamped", kVolume, 1e30, INT64_MAX},
                      NumberCase{"64-bit NaN", kVolume, kNaN, 0},
                      NumberCase{"double kept", kAmount, -2.75, 0}));

TEST_F(TableSortTest, RowDataReachesTheListTypedByTheColumn) {
  auto cell = [&](TestRow* row, int id, char* text, int size) {
    uint64_t value = 0x1111111111111111ull;
    EXPECT_EQ(TableRowDataCallback(table_, 1, row, table_->GetView()->IndexOfColumn(id), text, size, &value), 1);
    return value;
  };
  char text[64];
  EXPECT_EQ(cell(&rows_[1], kDate, text, sizeof text), ~0ull) << "date 0";
  EXPECT_STREQ(text, "");
  EXPECT_EQ(cell(&rows_[2], kTime, text, sizeof text), ~0ull) << "time -1";
  EXPECT_EQ(cell(&rows_[0], kDate, text, sizeof text), FileTimeBits(20240301, 0));
  EXPECT_STREQ(text, "01.03.2024");
  uint64_t count = cell(&rows_[0], kCount, text, sizeof text);
  EXPECT_EQ(static_cast<int32_t>(count), 30);
  EXPECT_EQ(count >> 32, 0x11111111ull) << "an integer is four bytes";
  uint64_t volume = cell(&rows_[2], kVolume, text, sizeof text);
  double d;
  memcpy(&d, &volume, 8);
  EXPECT_EQ(d, 1e30) << "type 4 reaches the list as the double";
  char small[4];
  cell(&rows_[0], kClient, small, sizeof small);
  EXPECT_STREQ(small, "Вто") << "the text is cut to the list's buffer";
  EXPECT_EQ(TableRowDataCallback(nullptr, 1, &rows_[0], 1, text, sizeof text, nullptr), 1);
  EXPECT_STREQ(text, "") << "no table, no text";
  EXPECT_EQ(g_pCurrentTable, nullptr);
}

TEST_F(TableSortTest, TextColumnsGiveTheTextTruncated) {
  char text[4] = {};
  uint64_t value = 0;
  table_->GetSortValue(0, table_, &rows_[1], table_->GetView()->IndexOfColumn(kClient), text, sizeof text, &value);
  EXPECT_STREQ(text, "Пер");
  EXPECT_EQ(table_->GetSortValue(0, table_, nullptr, 1, text, sizeof text, &value), 1) << "client is a text column";
  EXPECT_EQ(table_->GetSortValue(0, table_, nullptr, 2, text, sizeof text, &value), 0);
}

struct OrderCase {
  const char* what;
  int id;
  int ascending;
  std::vector<std::string> clients;
};

class TableOrderTest : public TableSortTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(TableOrderTest, ListShowsRowsInSortOrder) {
  ZListSortField field = {table_->GetView()->IndexOfColumn(GetParam().id), GetParam().ascending};
  ASSERT_TRUE(ListSetSortFields(ListOf(table_), 1, &field));
  EXPECT_EQ(ShownClients(), GetParam().clients) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, TableOrderTest,
    ::testing::Values(OrderCase{"integer ascending", kCount, 1, {"Первая", "Третья", "Вторая"}},
                      OrderCase{"double descending", kAmount, 0, {"Первая", "Вторая", "Третья"}},
                      OrderCase{"date ascending, no date last", kDate, 1, {"Третья", "Вторая", "Первая"}},
                      OrderCase{"64-bit ascending", kVolume, 1, {"Первая", "Вторая", "Третья"}},
                      OrderCase{"text descending", kClient, 0, {"Третья", "Первая", "Вторая"}}));

TEST_F(TableSortTest, TheViewKeepsACopyOfTheSortFieldsAsPositionAndDirection) {
  EXPECT_TRUE(table_->GetView()->SortFieldsCopy().empty());
  HWND list = ListOf(table_);
  int x = GetColumnWidth(list, 0) + GetColumnWidth(list, 1) + GetColumnWidth(list, 2) / 2;
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 3));  // a click on the Кол-во header
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, 3));
  const std::vector<ZListSortField>& copy = table_->GetView()->SortFieldsCopy();
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy[0].column, 2);
  EXPECT_EQ(copy[0].ascending, 0) << "a numeric column sorts descending first";
  EXPECT_EQ(ShownClients(), (std::vector<std::string>{"Вторая", "Третья", "Первая"}));
}

TEST_F(TableSortTest, WithoutSortFieldsTheTableOrderHolds) {
  EXPECT_EQ(ShownClients(), (std::vector<std::string>{"Вторая", "Первая", "Третья"}));
}

}  // namespace
}  // namespace table_test
