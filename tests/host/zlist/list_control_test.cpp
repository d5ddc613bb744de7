#include "list_fixture.h"

namespace zlist_test {
namespace {

TEST_F(ListFixture, ShowsHeaderRowNumbersAndCellsFromTheCallbacks) {
  BuildColumns();
  Record a{"beta", 5, 1.5}, b{"alpha", 7, 2.25};
  Add(a);
  Add(b);
  EXPECT_EQ(GetNRows(list_), 3);
  EXPECT_EQ(GetNFixedRows(list_), 1);
  EXPECT_EQ(GetNColumns(list_), 4);
  EXPECT_EQ(Text(0, 1), "Name");
  EXPECT_EQ(Text(0, 3), "Price");
  EXPECT_EQ(Text(1, 0), "1");
  EXPECT_EQ(Text(2, 0), "2");
  EXPECT_EQ(Text(1, 1), "beta");
  EXPECT_EQ(Text(2, 2), "7");
  EXPECT_EQ(Text(2, 3), "2.25");
  a.name = "gamma";
  EXPECT_EQ(UpdateLineWithData(list_, &a), 1);
  EXPECT_EQ(Text(1, 1), "gamma");
}

TEST_F(ListFixture, KeepsOneLinePerDataAndFindsLinesByData) {
  BuildColumns();
  Record a{"a", 1, 1}, b{"b", 2, 2}, missing{"m", 0, 0};
  Add(a);
  Add(b);
  EXPECT_EQ(InsLineWithData(list_, &a), 1) << "a second insert of the same data is an update";
  EXPECT_EQ(GetNRows(list_), 3);
  EXPECT_EQ(GetDefaultIndex(list_, &b), 2);
  EXPECT_EQ(GetDefaultIndex(list_, &missing), -1);
  EXPECT_EQ(GetProperty(list_, 2, -1, ZLIST_PROP_DATA), reinterpret_cast<INT_PTR>(&b));
  EXPECT_EQ(GetPropertyWithData(list_, &b, -1, ZLIST_PROP_DATA), reinterpret_cast<INT_PTR>(&b));
  EXPECT_EQ(GetPropertyWithData(list_, &missing, -1, ZLIST_PROP_DATA), ZLIST_NO_LINE);
  EXPECT_EQ(UpdateLineWithData(list_, &missing), -1);
  EXPECT_EQ(DelLineWithData(list_, &a), 1);
  EXPECT_EQ(DelLineWithData(list_, &a), -1);
  EXPECT_EQ(GetDefaultIndex(list_, &b), 1);
  EXPECT_EQ(DelLines(list_, 1, -1), 1);
  EXPECT_EQ(GetNRows(list_), 1) << "the header stays";
  EXPECT_EQ(Text(0, 1), "Name");
}

TEST_F(ListFixture, ColoursResolveFromCellToLineToColumnToList) {
  BuildColumns();
  SetStandardSchema(list_);
  Record a{"a", 1, 1}, b{"b", 2, 2};
  Add(a);
  Add(b);
  const COLORREF columnColour = RGB(10, 20, 30), lineColour = RGB(200, 0, 0), cellColour = RGB(0, 0, 200);
  ASSERT_TRUE(SetProperty(list_, -1, 2, ZLIST_PROP_BACK_COLOUR, columnColour));
  ASSERT_TRUE(SetPropertyWithData(list_, &a, -1, ZLIST_PROP_BACK_COLOUR, lineColour));
  ASSERT_TRUE(SetProperty(list_, 2, 3, ZLIST_PROP_BACK_COLOUR, cellColour));
  ASSERT_TRUE(SetProperty(list_, -1, 0, ZLIST_PROP_BACK_COLOUR, 0x8000000F));
  EXPECT_EQ(Back(1, 1), lineColour);
  EXPECT_EQ(Back(1, 2), lineColour) << "a line's colour wins over its column's";
  EXPECT_EQ(Back(2, 2), columnColour);
  EXPECT_EQ(Back(2, 3), cellColour);
  EXPECT_EQ(Back(2, 1), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Back(1, 0), GetSysColor(COLOR_BTNFACE)) << "the fixed column keeps its own colour";
  ASSERT_TRUE(ResetPropertyWithData(list_, &a, -1, ZLIST_PROP_BACK_COLOUR));
  EXPECT_EQ(Back(1, 1), GetSysColor(COLOR_WINDOW));
  EXPECT_FALSE(SetPropertyWithData(list_, reinterpret_cast<void*>(0x1234), -1, ZLIST_PROP_BACK_COLOUR, 0));
}

TEST_F(ListFixture, SelectionShowsInTheSelectionColours) {
  BuildColumns();
  SetStandardSchema(list_);
  Record a{"a", 1, 1}, b{"b", 2, 2};
  Add(a);
  Add(b);
  EXPECT_EQ(GetSelection(list_), -1);
  ASSERT_TRUE(SetSelection(list_, 2, 1));
  EXPECT_EQ(GetSelection(list_), 2);
  EXPECT_EQ(Back(2, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_FALSE(SetSelection(list_, 0, 1)) << "the header cannot be selected";
  EXPECT_FALSE(SetSelection(list_, 9, 1));
  ASSERT_TRUE(SetSelection(list_, 2, 0));
  EXPECT_EQ(GetSelection(list_), -1);
}

struct SortCase {
  const char* what;
  int column;
  int ascending;
  std::vector<std::string> names;  // in display order
};

class ListSortTest : public ListFixture, public ::testing::WithParamInterface<SortCase> {};

TEST_P(ListSortTest, OrdersLinesByTheSortCallbackValues) {
  BuildColumns();
  Record a{"delta", 3, 9.5}, b{"Alpha", 10, -1.0}, c{"charlie", 2, 100.0};
  Add(a);
  Add(b);
  Add(c);
  ZListSortField field = {GetParam().column, GetParam().ascending};
  ASSERT_TRUE(ListSetSortFields(list_, 1, &field));
  std::vector<std::string> shown;
  for (int line = 1; line < GetNRows(list_); ++line) shown.push_back(Text(line, 1));
  EXPECT_EQ(shown, GetParam().names) << GetParam().what;
  ZListSortField back = {};
  EXPECT_EQ(ListGetSortFields(list_, 0, nullptr), 1);
  EXPECT_EQ(ListGetSortFields(list_, 1, &back), 1);
  EXPECT_EQ(back.column, field.column);
  Record d{"bravo", 5, 0};
  EXPECT_GE(InsLineWithData(list_, &d), 1);
  int line = GetDefaultIndex(list_, &d);
  if (GetParam().column == 1 && GetParam().ascending) {
    EXPECT_EQ(line, 2) << "inserted in sorted place";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ListSortTest,
    ::testing::Values(SortCase{"text ascending, case-blind", 1, 1, {"Alpha", "charlie", "delta"}},
                      SortCase{"text descending", 1, 0, {"delta", "charlie", "Alpha"}},
                      SortCase{"integers ascending (not as text)", 2, 1, {"charlie", "delta", "Alpha"}},
                      SortCase{"doubles descending", 3, 0, {"charlie", "delta", "Alpha"}}));

TEST_F(ListFixture, SortFieldsForMissingColumnsAreDropped) {
  BuildColumns();
  ZListSortField fields[] = {{7, 1}, {-1, 0}, {2, 1}};
  ASSERT_TRUE(ListSetSortFields(list_, 3, fields));
  ZListSortField back[3] = {};
  ASSERT_EQ(ListGetSortFields(list_, 3, back), 1);
  EXPECT_EQ(back[0].column, 2);
}

TEST_F(ListFixture, FilterAndFormattingRecordsRoundTrip) {
  BuildColumns();
  std::vector<uint8_t> filters(2 * ZLIST_FILTER_RECORD_SIZE), formats(ZLIST_FORMAT_RECORD_SIZE);
  for (size_t i = 0; i < filters.size(); ++i) filters[i] = static_cast<uint8_t>(i * 7);
  for (size_t i = 0; i < formats.size(); ++i) formats[i] = static_cast<uint8_t>(i * 3);
  ASSERT_TRUE(ListSetFiltersEx(list_, 2, filters.data()));
  ASSERT_TRUE(ListSetFormattingEx(list_, 1, formats.data()));
  EXPECT_EQ(ListGetFiltersEx(list_, 0, nullptr), 2);
  EXPECT_EQ(ListGetFormatting(list_), 1);
  std::vector<uint8_t> filtersBack(filters.size()), formatsBack(formats.size());
  EXPECT_EQ(ListGetFiltersEx(list_, 2, filtersBack.data()), 2);
  EXPECT_EQ(ListGetFormattingEx(list_, 1, formatsBack.data()), 1);
  EXPECT_EQ(filtersBack, filters);
  EXPECT_EQ(formatsBack, formats);
  ASSERT_TRUE(ListSetFiltersEx(list_, 0, nullptr));
  EXPECT_EQ(ListGetFiltersEx(list_, 0, nullptr), 0);
}

// A bulk insert is drawn once, by the next paint: a shown list takes its
// lines about as fast as a hidden one, which draws nothing.
TEST_F(ListFixture, ABulkInsertIntoAShownListLeavesTheDrawingToThePaint) {
  BuildColumns();
  std::vector<Record> records(300, Record{"r", 1, 1});
  auto insertAll = [&] {
    const DWORD start = GetTickCount();
    for (Record& record : records) Add(record);
    const DWORD taken = GetTickCount() - start;
    DelLines(list_, 1, -1);
    return static_cast<int>(taken);
  };
  const int hidden = insertAll();
  ShowWindow(parent_, SW_SHOWNOACTIVATE);
  Pump();
  const int shown = insertAll();
  EXPECT_LE(shown, 5 * hidden + 250) << "hidden " << hidden << " ms, shown " << shown << " ms";
}

TEST_F(ListFixture, RejectsCallsOnWindowsThatAreNotLists) {
  EXPECT_EQ(GetNRows(parent_), 0);
  EXPECT_EQ(InsLineWithData(parent_, nullptr), -1);
  EXPECT_EQ(GetPropertyWithData(nullptr, nullptr, -1, ZLIST_PROP_DATA), ZLIST_NO_LINE);
  EXPECT_FALSE(ZListInspectCell(parent_, 0, 0, nullptr, 0, nullptr, nullptr));
}

}  // namespace
}  // namespace zlist_test
