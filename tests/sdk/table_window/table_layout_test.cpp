// A test table saved into the host's layout and restored from it: its record
// byte for byte, the records of earlier versions the host may hold, and what
// is refused.
#include <gtest/gtest.h>

#include <cstring>

#include "sdk/host_call.h"
#include "sdk/table_view_settings.h"
#include "support/table_environment.h"
#include "test_table.h"

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
  Record& Zeros(size_t n) { return bytes.insert(bytes.end(), n, 0), *this; }
  Record& Kind() { return U32(20090420).U32(kTestTableKind); }
  Record& TableHead() { return Kind().U32(25029).U32(20933); }
  // One filter and one formatting record as versions 1044 and 1045 wrote them.
  Record& OldFilterAndFormat(int filterColumn) {
    char text[256] = "old";
    U32(1).U32(filterColumn).U32(0).U32(0).U32(1).Raw(text, 256).U32(5).Raw(text, 256).U32(6);
    U32(1).U32(kCount).U32(0).U32(0);
    uint8_t style[80];
    std::memset(style, 0xFF, sizeof style);
    for (int b = 0; b < 3; ++b) Raw(text, 256).U32(7).Raw(style, sizeof style);
    return *this;
  }
  std::vector<uint8_t> bytes;
};

TableCondition Condition(const char* text, uint32_t value) {
  TableCondition condition = {0, value, {}, -1};  // of kind 0, with no last item
  std::strcpy(condition.text, text);
  return condition;
}

class TableLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The module's restore as the product's module restores its tables.
    env_.Module().restore = [this](uint32_t c, uint32_t d) {
      HostCall<59>(c, d);
      uint32_t marker = 0, kind = 0;
      auto* table = new TestTable;
      table->source = {&a_, &b_};
      const bool restored = HostCall<63>(&marker, 4) && HostCall<63>(&kind, 4) && marker == 20090420 &&
                            kind == kTestTableKind && table->LoadState() && table->Create();
      if (restored) restored_.push_back(table);
      else delete table;
      HostCall<60>();
      return restored ? 1 : 0;
    };
  }
  // Restores the host's records; no create dialog may show.
  TestTable* RestoreOne() {
    DialogDriver noDialog([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
    const int restored = env_.RestoreLayout();
    EXPECT_FALSE(noDialog.Ran()) << "a restored table opens without its dialog";
    return restored == 1 && !restored_.empty() ? restored_.back() : nullptr;
  }
  TestTable* Restore(const std::vector<uint8_t>& record) {
    env_.Windows().Store().Clear();
    env_.Windows().Store().Records().push_back(record);
    return RestoreOne();
  }
  void SaveAndClose(TestTable* table) {
    ASSERT_EQ(env_.SaveLayout(), 1);
    const int before = TestTable::destroyed;
    table->CloseFrame();
    env_.Pump();
    EXPECT_EQ(TestTable::destroyed, before + 1) << "closing its window deletes the table once";
    EXPECT_FALSE(env_.Module().tables.count(table));
  }

  TableEnvironment env_;
  TestRow a_{"Бета", 5, 1.5, 20240131, 93000, 10}, b_{"Альфа", 7, 2.5};
  std::vector<TestTable*> restored_;
};

TEST_F(TableLayoutTest, RoundTripsColumnsWidthsSortFieldsFiltersAndFormatting) {
  env_.Host().SetOption(6, 1, 1);
  TestTable* table = OpenTestTable(env_, {&a_, &b_});
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(env_.SaveLayout(), 1);
  Record plain;  // the columns with their widths, no sort field, no list settings, filters or formatting
  plain.TableHead().U32(1046).U32(7);
  for (int position = 0; position < 7; ++position) plain.U32(position).U32(GetColumnWidth(ListOf(table), position));
  EXPECT_EQ(env_.Windows().Store().Records()[0], plain.Byte(0).U32(0).U32(0).U32(0).bytes);
  env_.Windows().Store().Clear();
  // The user moves Сумма to the end, sorts by Кол-во, sets a filter and a format, widens Клиент.
  ZListCommandRecord move = {nullptr, 0, ZLIST_CMD_COLUMN_MOVED, {}, 0, 0, {}, 3, 6};
  ASSERT_EQ(SendMessageA(table->GetHwnd(), ZLIST_WM_COMMAND, ZLIST_CMD_COLUMN_MOVED, reinterpret_cast<LPARAM>(&move)), 1);
  table->GetView()->CreateList();  // the list takes the view's new order
  HWND list = ListOf(table);
  ZListSortField sort = {2, 0};
  FilterRecord filter = DefaultFilterRecord();
  filter.column = 3;  // Дата
  filter.conditions[0].value = 20240101;
  std::strcpy(filter.conditions[0].text, "после");
  FormatRecord format = DefaultFormatRecord();
  format.column = 6;  // Сумма
  format.blocks[0].style.values[0] = RGB(255, 0, 0);
  std::strcpy(format.blocks[0].style.font.lfFaceName, "Tahoma");
  ASSERT_TRUE(ListSetSortFields(list, 1, &sort) && ListSetFiltersEx(list, 1, &filter) &&
              ListSetFormattingEx(list, 1, &format));
  const int border = GetColumnWidth(list, 0) + GetColumnWidth(list, 1), widened = GetColumnWidth(list, 1) + 20;
  Drag(list, border, 5, border + 20, 5);
  ASSERT_EQ(GetColumnWidth(list, 1), widened);

  SaveAndClose(table);
  const std::vector<uint8_t> record = env_.Windows().Store().Records()[0];
  for (size_t length = 0; length < record.size(); ++length) {  // a cut record opens no window
    ASSERT_EQ(Restore(std::vector<uint8_t>(record.begin(), record.begin() + length)), nullptr) << "cut at " << length;
    ASSERT_EQ(GetWindow(env_.MdiClient(), GW_CHILD), nullptr) << "cut at " << length;
  }
  TestTable* restored = Restore(record);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(ColumnIds(restored), (std::vector<int>{kNumber, kClient, kCount, kDate, kTime, kVolume, kAmount}));
  EXPECT_EQ(HeaderTitles(restored)[6], "Сумма");
  list = ListOf(restored);
  EXPECT_EQ(GetColumnWidth(list, 1), widened);
  ZListSortField sortBack = {};
  FilterRecord filterBack = {};
  FormatRecord formatBack = {};
  ASSERT_EQ(ListGetSortFields(list, 1, &sortBack) + ListGetFiltersEx(list, 1, &filterBack) +
                ListGetFormattingEx(list, 1, &formatBack), 3);
  EXPECT_EQ(std::make_pair(sortBack.column, sortBack.ascending), std::make_pair(2, 0));
  EXPECT_EQ(restored->GetView()->SortFieldsCopy().size(), 1u);
  EXPECT_EQ(std::memcmp(&filterBack, &filter, sizeof filter), 0) << "the same filter, of the same column";
  EXPECT_EQ(std::memcmp(&formatBack, &format, sizeof format), 0);
  EXPECT_EQ(GetNRows(list), 3) << "rows filled";
}

TEST_F(TableLayoutTest, ServiceSettingsAreSavedAndGivenBackToTheServices) {
  env_.Services().SetOn(true);
  TestTable* table = OpenTestTable(env_, {&a_});
  ASSERT_NE(table, nullptr);
  const int oldId = table->GetView()->ListServiceId();
  SaveAndClose(table);
  env_.Services().SetRestartFlags(true, false);
  TestTable* restored = RestoreOne();
  ASSERT_NE(restored, nullptr);
  const int id = restored->GetView()->ListServiceId();
  EXPECT_EQ(env_.Services().RegisteredSettings(id), (std::vector<uint8_t>{'L', 'S', static_cast<uint8_t>(oldId)}));
  EXPECT_TRUE(env_.Services().ListServiceRunning(id)) << "restarted after the restore";
}

TEST_F(TableLayoutTest, RecordsOfEarlierVersionsLoad) {
  TestTable* restored = Restore(Record().TableHead().U32(1043).U32(4).U32(0).U32(30).U32(99).U32(50)
                                    .U32(kAmount).U32(70).U32(kClient).U32(60).Byte(1).U32(kAmount).U32(1).bytes);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(ColumnIds(restored), (std::vector<int>{kNumber, kAmount, kClient})) << "unknown columns dropped";
  EXPECT_EQ(GetColumnWidth(ListOf(restored), 1), 70);
  ZListSortField sort = {};
  ASSERT_EQ(ListGetSortFields(ListOf(restored), 1, &sort), 1) << "1043 has one sort field without a count";
  EXPECT_EQ(std::make_pair(sort.column, sort.ascending), std::make_pair(1, 1));

  restored = Restore(Record().TableHead().U32(1046).U32(1).U32(99).U32(50).Byte(0).U32(0).U32(0).U32(0).bytes);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(ColumnIds(restored), (std::vector<int>{kNumber, kClient, kCount, kAmount, kDate, kTime, kVolume}))
      << "no known column: the schema's visible ones";

  for (uint32_t version : {1044u, 1045u}) {
    Record r;
    r.TableHead().U32(version).U32(3).U32(0).U32(30).U32(kDate).U32(80).U32(kCount).U32(40).Byte(0);
    if (version == 1045) r.U32(2).Byte('x').Byte('y');  // the list service's settings
    restored = Restore(r.OldFilterAndFormat(kDate).bytes);
    ASSERT_NE(restored, nullptr) << version;
    EXPECT_EQ(ColumnIds(restored), (std::vector<int>{kNumber, kDate, kCount})) << version;
    FilterRecord filter = {}, expectedFilter = {1, {0, 0, 1}, {Condition("old", 5), Condition("old", 6)}};
    FormatRecord format = {}, expectedFormat = {2, {0, 0}, {}};  // column ids become positions
    for (FormatBlock& block : expectedFormat.blocks) {
      block.condition = Condition("old", 7);
      std::memset(&block.style, 0xFF, sizeof block.style);  // copied whole
    }
    ASSERT_EQ(ListGetFiltersEx(ListOf(restored), 1, &filter) + ListGetFormattingEx(ListOf(restored), 1, &format), 2);
    EXPECT_EQ(std::memcmp(&filter, &expectedFilter, sizeof filter), 0) << version;
    EXPECT_EQ(std::memcmp(&format, &expectedFormat, sizeof format), 0) << version;
  }

  restored = Restore(Record().TableHead().U32(1044).U32(2).U32(0).U32(30).U32(kCount).U32(40).Byte(0)
                         .OldFilterAndFormat(kNote).bytes);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(ListGetFiltersEx(ListOf(restored), 0, nullptr), 0) << "a filter of a column not shown is dropped";
  EXPECT_EQ(ListGetFormatting(ListOf(restored)), 1);
}

TEST_F(TableLayoutTest, BadRecordsAreRefusedWithoutAWindow) {
  const std::pair<const char*, std::vector<uint8_t>> records[] = {
      {"wrong child marker", Record().Kind().U32(25030).U32(20933).U32(1046).bytes},
      {"wrong table marker", Record().Kind().U32(25029).U32(20934).U32(1046).bytes},
      {"version 1042", Record().TableHead().U32(1042).U32(1).U32(0).U32(30).Byte(0).bytes},
      {"version 1047", Record().TableHead().U32(1047).U32(1).U32(0).U32(30).Byte(0).Zeros(12).bytes},
      {"columns past the limit", Record().TableHead().U32(1046).U32(kMaxSavedColumns + 1).Zeros(9000).bytes},
      {"absurd sort fields", Record().TableHead().U32(1046).U32(0).Byte(1).U32(0xFFFFFFFF).Zeros(4096).bytes},
      {"sort flag 2", Record().TableHead().U32(1046).U32(0).Byte(2).Zeros(16).bytes},
      {"absurd formatting", Record().TableHead().U32(1046).U32(0).Byte(0).Zeros(8).U32(0x10000000).Zeros(4096).bytes},
      {"absurd old filters", Record().TableHead().U32(1044).U32(0).Byte(0).U32(0x7FFFFFFF).Zeros(4096).bytes},
      {"absurd old formatting", Record().TableHead().U32(1045).U32(0).Byte(0).Zeros(8).U32(5000).Zeros(4096).bytes},
      {"absurd column count", Record().TableHead().U32(1046).U32(0xFFFFFFF0).U32(0).U32(30).bytes},
      {"absurd list settings", Record().TableHead().U32(1046).U32(0).Byte(0).U32(0x7FFFFFFF).bytes},
      {"absurd filter count", Record().TableHead().U32(1046).U32(0).Byte(0).U32(0).U32(0x40000000).bytes},
  };
  for (const auto& [what, bytes] : records) {
    const int before = TestTable::destroyed;
    EXPECT_EQ(Restore(bytes), nullptr) << what;
    EXPECT_EQ(GetWindow(env_.MdiClient(), GW_CHILD), nullptr) << what;
    EXPECT_EQ(TestTable::destroyed, before + 1) << what << ": the table object was discarded";
  }
}

}  // namespace
}  // namespace table_test
