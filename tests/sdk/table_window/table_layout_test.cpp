// A table saved into the host's layout and restored from it.
#include <gtest/gtest.h>

#include <cstring>

#include "support/dialog_driver.h"
#include "test_environment.h"

namespace table_test {
namespace {

// Builds a window record as the host keeps it.
class Record {
 public:
  Record& U32(uint32_t v) { return Raw(&v, 4); }
  Record& Byte(uint8_t v) { return Raw(&v, 1); }
  Record& Raw(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
    return *this;
  }
  Record& TableHead() { return U32(20090420).U32(kTestTableKind).U32(25029).U32(20933); }
  std::vector<uint8_t> bytes;
};

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t v = 0;
  if (offset + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

class TableLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = {"Бета", 5, 1.5, 20240131, 93000, 10, ""};
    b_ = {"Альфа", 7, 2.5, 0, 0, 20, ""};
    env_.Module().restoreSource = {&a_, &b_};
  }
  std::vector<int> Ids(TestTable* table) {
    std::vector<int> ids;
    for (const ColumnRef& c : table->GetView()->Columns()) ids.push_back(c.identifier);
    return ids;
  }
  // Restores the host's records; no create dialog may show.
  TestTable* RestoreOne() {
    DialogDriver noDialog([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
    int restored = env_.RestoreLayout();
    EXPECT_FALSE(noDialog.Ran()) << "a restored table opens without its dialog";
    if (restored != 1 || env_.Module().restored.empty()) return nullptr;
    return env_.Module().restored.back();
  }
  void StoreRecord(const std::vector<uint8_t>& bytes) {
    env_.Windows().Store().Clear();
    env_.Windows().Store().Records().push_back(bytes);
  }

  TestEnvironment env_;
  TestRow a_, b_;
};

TEST_F(TableLayoutTest, RoundTripsColumnsWidthsSortFieldsFiltersAndFormatting) {
  env_.Host().SetOption(6, 1, 1);
  TestTable* table = env_.CreateTable({&a_, &b_});
  ASSERT_NE(table, nullptr);
  HWND list = ListOf(table);
  // The user moves Сумма to the end, sorts by Кол-во and sets a filter and a format.
  ZListCommandRecord move = {};
  move.code = ZLIST_CMD_COLUMN_MOVED;
  move.source = 3;
  move.target = 6;
  ASSERT_EQ(SendMessageA(table->GetHwnd(), ZLIST_WM_COMMAND, ZLIST_CMD_COLUMN_MOVED, reinterpret_cast<LPARAM>(&move)), 1);
  table->GetView()->CreateList();  // the list takes the view's new order
  ZListSortField sort = {2, 0};
  ASSERT_TRUE(ListSetSortFields(list = ListOf(table), 1, &sort));
  FilterRecord filter = DefaultFilterRecord();
  filter.column = 3;  // Дата
  filter.conditions[0].value = 20240101;
  std::strcpy(filter.conditions[0].text, "после");
  ASSERT_TRUE(ListSetFiltersEx(list, 1, &filter));
  FormatRecord format = DefaultFormatRecord();
  format.column = 6;  // Сумма
  format.blocks[0].style.values[0] = RGB(255, 0, 0);
  std::strcpy(format.blocks[0].style.font.lfFaceName, "Tahoma");
  ASSERT_TRUE(ListSetFormattingEx(list, 1, &format));
  const int border = GetColumnWidth(list, 0) + GetColumnWidth(list, 1);  // widen Клиент by 20
  const int widened = GetColumnWidth(list, 1) + 20;
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, 5));
  SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 20, 5));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(border + 20, 5));
  ASSERT_EQ(GetColumnWidth(list, 1), widened);

  ASSERT_EQ(env_.SaveLayout(), 1);
  const std::vector<uint8_t> record = env_.Windows().Store().Records()[0];
  EXPECT_EQ(U32At(record, 0), 20090420u);
  EXPECT_EQ(U32At(record, 4), kTestTableKind);
  EXPECT_EQ(U32At(record, 8), 25029u);
  EXPECT_EQ(U32At(record, 12), 20933u);
  EXPECT_EQ(U32At(record, 16), 1046u);

  table->CloseFrame();
  env_.Pump();
  EXPECT_FALSE(env_.Module().tables.count(table));

  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(Ids(restored), (std::vector<int>{kNumber, kClient, kCount, kDate, kTime, kVolume, kAmount}));
  EXPECT_EQ(HeaderTitles(restored)[6], "Сумма");
  HWND restoredList = ListOf(restored);
  EXPECT_EQ(GetColumnWidth(restoredList, 1), widened);
  ZListSortField sortBack = {};
  ASSERT_EQ(ListGetSortFields(restoredList, 1, &sortBack), 1);
  EXPECT_EQ(sortBack.column, 2);
  EXPECT_EQ(sortBack.ascending, 0);
  EXPECT_EQ(restored->GetView()->SortFieldsCopy().size(), 1u);
  FilterRecord filterBack = {};
  ASSERT_EQ(ListGetFiltersEx(restoredList, 1, &filterBack), 1);
  EXPECT_EQ(filterBack.column, 3);
  EXPECT_STREQ(filterBack.conditions[0].text, "после");
  FormatRecord formatBack = {};
  ASSERT_EQ(ListGetFormattingEx(restoredList, 1, &formatBack), 1);
  EXPECT_EQ(formatBack.column, 6);
  EXPECT_EQ(formatBack.blocks[0].style.values[0], static_cast<int32_t>(RGB(255, 0, 0)));
  EXPECT_STREQ(formatBack.blocks[0].style.font.lfFaceName, "Tahoma");
  EXPECT_EQ(GetNRows(restoredList), 3) << "rows filled";
  char caption[64] = {};
  GetWindowTextA(restored->GetHwnd(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Тестовая таблица");
}

TEST_F(TableLayoutTest, ServiceSettingsAreSavedAndGivenBackToTheServices) {
  env_.Services().SetOn(true);
  TestTable* table = env_.CreateTable({&a_});
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(env_.SaveLayout(), 1);
  int oldId = table->GetView()->ListServiceId();
  table->CloseFrame();
  env_.Pump();
  env_.Services().SetRestartFlags(true, false);
  env_.Services().ClearLog();
  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  int id = restored->GetView()->ListServiceId();
  std::vector<uint8_t> expected = {'L', 'S', static_cast<uint8_t>(oldId)};
  EXPECT_EQ(env_.Services().RegisteredSettings(id), expected);
  EXPECT_TRUE(env_.Services().ListServiceRunning(id)) << "restarted after the restore";
}

TEST_F(TableLayoutTest, WithoutServiceSettingsTheRecordIsStillComplete) {
  TestTable* table = env_.CreateTable({&a_});
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(env_.SaveLayout(), 1);
  table->CloseFrame();
  env_.Pump();
  EXPECT_NE(RestoreOne(), nullptr);
}

TEST_F(TableLayoutTest, Version1043RecordLoadsAndDropsUnknownColumns) {
  StoreRecord(Record().TableHead().U32(1043).U32(4).U32(0).U32(30).U32(99).U32(50).U32(kAmount).U32(70)
                  .U32(kClient).U32(60).Byte(1).U32(kAmount).U32(1).bytes);
  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(Ids(restored), (std::vector<int>{kNumber, kAmount, kClient}));
  EXPECT_EQ(GetColumnWidth(ListOf(restored), 1), 70);
  ZListSortField sort = {};
  ASSERT_EQ(ListGetSortFields(ListOf(restored), 1, &sort), 1);
  EXPECT_EQ(sort.column, 1);
  EXPECT_EQ(sort.ascending, 1);
}

TEST_F(TableLayoutTest, ARecordWithNoKnownColumnShowsTheSchemasVisibleColumns) {
  StoreRecord(Record().TableHead().U32(1046).U32(1).U32(99).U32(50).Byte(0).U32(0).U32(0).U32(0).bytes);
  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(Ids(restored), (std::vector<int>{kNumber, kClient, kCount, kAmount, kDate, kTime, kVolume}));
}

Record& OldFilterAndFormat(Record& r, int filterColumn) {
  char text[256] = "old";
  r.U32(1).U32(filterColumn).U32(0).U32(0).U32(1).Raw(text, 256).U32(5).Raw(text, 256).U32(6);
  r.U32(1).U32(kCount).U32(0).U32(0);
  for (int b = 0; b < 3; ++b) {
    r.Raw(text, 256).U32(7);
    uint8_t style[80];
    std::memset(style, 0xFF, sizeof style);
    r.Raw(style, sizeof style);
  }
  return r;
}

TEST_F(TableLayoutTest, Versions1044And1045LoadWithOldFiltersAndFormatting) {
  for (uint32_t version : {1044u, 1045u}) {
    Record r;
    r.TableHead().U32(version).U32(3).U32(0).U32(30).U32(kDate).U32(80).U32(kCount).U32(40).Byte(0);
    if (version == 1045) r.U32(2).Byte('x').Byte('y');
    OldFilterAndFormat(r, kDate);
    StoreRecord(r.bytes);
    TestTable* restored = RestoreOne();
    ASSERT_NE(restored, nullptr) << version;
    EXPECT_EQ(Ids(restored), (std::vector<int>{kNumber, kDate, kCount})) << version;
    FilterRecord filter = {};
    ASSERT_EQ(ListGetFiltersEx(ListOf(restored), 1, &filter), 1) << version;
    EXPECT_EQ(filter.column, 1);
    EXPECT_STREQ(filter.conditions[1].text, "old");
    EXPECT_EQ(filter.conditions[1].value, 6u);
    EXPECT_EQ(filter.conditions[1].last, -1);
    FormatRecord format = {};
    ASSERT_EQ(ListGetFormattingEx(ListOf(restored), 1, &format), 1) << version;
    EXPECT_EQ(format.column, 2);
    restored->CloseFrame();
    env_.Pump();
  }
}

TEST_F(TableLayoutTest, AFilterOfAColumnNotShownIsDropped) {
  Record r;
  r.TableHead().U32(1044).U32(2).U32(0).U32(30).U32(kCount).U32(40).Byte(0);
  OldFilterAndFormat(r, kNote);
  StoreRecord(r.bytes);
  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(ListGetFiltersEx(ListOf(restored), 0, nullptr), 0);
  EXPECT_EQ(ListGetFormatting(ListOf(restored)), 1);
}

struct BadRecord {
  const char* what;
  std::vector<uint8_t> bytes;
};

class TableLayoutRefusalTest : public TableLayoutTest, public ::testing::WithParamInterface<BadRecord> {};

TEST_P(TableLayoutRefusalTest, IsRefusedWithoutAWindow) {
  StoreRecord(GetParam().bytes);
  int before = TestTable::destroyed;
  DialogDriver noDialog([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
  EXPECT_EQ(env_.RestoreLayout(), 0) << GetParam().what;
  EXPECT_FALSE(noDialog.Ran());
  EXPECT_TRUE(env_.Module().restored.empty());
  EXPECT_EQ(GetWindow(env_.MdiClient(), GW_CHILD), nullptr) << GetParam().what;
  EXPECT_EQ(TestTable::destroyed, before + 1) << "the table object was discarded";
}

INSTANTIATE_TEST_SUITE_P(
    Records, TableLayoutRefusalTest,
    ::testing::Values(
        BadRecord{"short stream after the kind", Record().U32(20090420).U32(kTestTableKind).bytes},
        BadRecord{"two bytes of the child marker", Record().U32(20090420).U32(kTestTableKind).Byte(0xC5).Byte(0x61).bytes},
        BadRecord{"wrong child marker", Record().U32(20090420).U32(kTestTableKind).U32(25030).U32(20933).U32(1046).bytes},
        BadRecord{"wrong table marker", Record().U32(20090420).U32(kTestTableKind).U32(25029).U32(20934).U32(1046).bytes},
        BadRecord{"version 1042", Record().TableHead().U32(1042).U32(1).U32(0).U32(30).Byte(0).bytes},
        BadRecord{"truncated columns", Record().TableHead().U32(1046).U32(3).U32(0).U32(30).bytes},
        BadRecord{"absurd column count", Record().TableHead().U32(1046).U32(0xFFFFFFF0).U32(0).U32(30).bytes},
        BadRecord{"absurd list settings", Record().TableHead().U32(1046).U32(0).Byte(0).U32(0x7FFFFFFF).bytes},
        BadRecord{"absurd filter count", Record().TableHead().U32(1046).U32(0).Byte(0).U32(0).U32(0x40000000).bytes},
        BadRecord{"truncated formatting", Record().TableHead().U32(1046).U32(0).Byte(0).U32(0).U32(0).U32(1).U32(3).bytes}));

}  // namespace
}  // namespace table_test
