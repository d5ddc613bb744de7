// A risk table inside the stand-in host: its rows, their colours and order,
// the kind-addressed operations, activation, the host's refresh message and
// the table's end.
#include <gtest/gtest.h>

#include "risk_table_environment.h"
#include "sdk/host_call.h"
#include "sdk/numeric.h"
#include "windows/tables/risk_row_colours.h"

namespace windows_test {
namespace {

constexpr COLORREF kNormal = RGB(230, 255, 230), kWarning = RGB(255, 240, 160), kCritical = RGB(255, 150, 150);

class RiskTableRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TRiskColorSettings& colours = env_.Module().colours;
    colours.NormalColor = kNormal;
    colours.WarningColor = kWarning;
    colours.CriticalColor = kCritical;
    colours.SFRWarningLevel = 1.5;
    colours.SFRCriticalLevel = 1.0;
    colours.SFRWarningLevel_fp = 1.5;
    colours.SFRCriticalLevel_fp = 1.0;
    // Offered in the module's order: firm, then trading account.
    a_ = MakeClient("FIRM1", "ACC1", "A");
    b_ = MakeClient("FIRM1", "ACC2", "B");
    c_ = MakeClient("FIRM2", "ACC0", "C");
    a_->sfr = 2.0;   // normal
    b_->sfr = 1.2;   // warning
    c_->sfrOpenPositions = 0.5;  // critical for open positions
    env_.Module().records = {c_.get(), a_.get(), b_.get()};
  }
  void TearDown() override { env_.Pump(); }

  CVantrelFutRiskParamsTable* Create() {
    CVantrelFutRiskParamsTable* table = env_.CreateRiskTable();
    EXPECT_NE(table, nullptr);
    return table;
  }
  int Rows(CTablePlugin* table) { return GetNRows(ListOf(table)); }

  RiskTableEnvironment env_;
  std::unique_ptr<TClientRiskRecord> a_, b_, c_;
};

TEST_F(RiskTableRowsTest, ANewTableShowsEveryColumnAndIsRegistered) {
  CVantrelFutRiskParamsTable* table = Create();
  ASSERT_NE(table, nullptr);
  std::vector<std::string> titles = HeaderTitles(table);
  ASSERT_EQ(titles.size(), 24u);
  EXPECT_EQ(titles[0], "");
  EXPECT_EQ(titles[1], "Фирма");
  EXPECT_EQ(titles[3], "Торговый счёт");
  EXPECT_EQ(titles[11], "Вариац. маржа. по итогам промклиринга") << "11 is not a column";
  EXPECT_EQ(titles[23], "Cash leverage");
  char caption[128] = {};
  GetWindowTextA(table->GetHwnd(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Риск-параметры срочного рынка");
  EXPECT_EQ(table->GetWindowKind(), 210606u);
  EXPECT_EQ(table->GetTableKind(), kRiskTableKind);
  EXPECT_TRUE(env_.Module().tables.count(table));
}

TEST_F(RiskTableRowsTest, FillsOneRowPerClientByFirmThenAccount) {
  CVantrelFutRiskParamsTable* table = Create();
  ASSERT_EQ(Rows(table), 4) << "header and three clients";
  EXPECT_EQ(LineOf(table, a_.get()), 1);
  EXPECT_EQ(LineOf(table, b_.get()), 2);
  EXPECT_EQ(LineOf(table, c_.get()), 3);
  EXPECT_EQ(CellText(table, 1, 2), "A");
  EXPECT_EQ(table->GetView()->GetRowObject(3), c_.get());
}

TEST_F(RiskTableRowsTest, RowsAreColouredByFundsSufficiency) {
  CVantrelFutRiskParamsTable* table = Create();
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  struct Case {
    TClientRiskRecord* client;
    COLORREF back;
  } cases[] = {{a_.get(), kNormal}, {b_.get(), kWarning}, {c_.get(), kCritical}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.client->account);
    const int line = LineOf(table, c.client);
    for (int column : {1, 4, 18, 23}) {
      EXPECT_EQ(CellBack(table, line, column), c.back) << column;
      EXPECT_EQ(CellFore(table, line, column), text) << column;
    }
  }
}

TEST_F(RiskTableRowsTest, TheColourBlockStartsFromZero) {
  const TableRowColours block = RiskRowColours(env_.Module().colours, b_.get());
  EXPECT_EQ(block.flags, 3u);
  EXPECT_EQ(block.values[0], 0x80000008u) << "the system window-text colour";
  EXPECT_EQ(block.values[2], kWarning);
  EXPECT_EQ(block.values[1], 0u);
  EXPECT_EQ(block.values[3], 0u);
  EXPECT_EQ(block.values[4], 0u);
  const TableRowColours none = RiskRowColours(env_.Module().colours, nullptr);
  EXPECT_EQ(none.flags, 0u) << "a null record asks the list for nothing";
  for (uint32_t value : none.values) EXPECT_EQ(value, 0u);
}

TEST_F(RiskTableRowsTest, BeforeTheFirstFirmSettingsNothingIsFilledOrRemoved) {
  env_.Module().firmSettings = false;
  CVantrelFutRiskParamsTable* table = Create();
  EXPECT_EQ(Rows(table), 1) << "only the header";
  env_.Module().firmSettings = true;
  EXPECT_TRUE(table->FillRows());
  ASSERT_EQ(Rows(table), 4);
  env_.Module().firmSettings = false;
  env_.Module().records.clear();
  EXPECT_TRUE(table->FillRows());
  EXPECT_EQ(Rows(table), 4) << "no row removed, none added";
}

TEST_F(RiskTableRowsTest, FillingAgainReplacesTheRows) {
  CVantrelFutRiskParamsTable* table = Create();
  env_.Module().records = {a_.get()};
  EXPECT_TRUE(table->FillRows());
  EXPECT_EQ(Rows(table), 2);
  EXPECT_EQ(LineOf(table, b_.get()), -1);
}

TEST_F(RiskTableRowsTest, UpdateRowColorsActsOnlyForItsKind) {
  CVantrelFutRiskParamsTable* table = Create();
  b_->sfr = 0.1;
  EXPECT_EQ(table->UpdateRowColors(kOrdersTableKind, b_.get()), 0);
  EXPECT_EQ(CellBack(table, LineOf(table, b_.get()), 1), kWarning) << "kind 2 leaves the row";
  EXPECT_GT(table->UpdateRowColors(kRiskTableKind, b_.get()), 0);
  EXPECT_EQ(CellBack(table, LineOf(table, b_.get()), 1), kCritical);

  auto d = MakeClient("FIRM0", "ACC9", "D");
  EXPECT_EQ(table->UpdateRowColors(kOrdersTableKind, d.get()), 0);
  EXPECT_EQ(LineOf(table, d.get()), -1);
  EXPECT_GT(table->UpdateRowColors(kRiskTableKind, d.get()), 0);
  EXPECT_EQ(LineOf(table, d.get()), 1) << "a new client is inserted in order";
  EXPECT_EQ(CellBack(table, 1, 1), kNormal) << "levels not set break no level";
  table->ClearRows();
}

TEST_F(RiskTableRowsTest, ANullRecordGetsNoRow) {
  CVantrelFutRiskParamsTable* table = Create();
  EXPECT_EQ(table->UpdateRowColors(kRiskTableKind, nullptr), 0);
  EXPECT_EQ(Rows(table), 4);
  EXPECT_EQ(LineOf(table, nullptr), -1);
}

TEST_F(RiskTableRowsTest, ClearRowsOfKindActsOnlyForItsKind) {
  CVantrelFutRiskParamsTable* table = Create();
  EXPECT_FALSE(table->ClearRowsOfKind(kOrdersTableKind, 0));
  EXPECT_EQ(Rows(table), 4);
  EXPECT_TRUE(table->ClearRowsOfKind(kRiskTableKind, 0));
  EXPECT_EQ(Rows(table), 1);
  EXPECT_EQ(HeaderTitles(table)[1], "Фирма");
}

TEST_F(RiskTableRowsTest, ContainsRecordFindsListedRecordsOnly) {
  CVantrelFutRiskParamsTable* table = Create();
  EXPECT_TRUE(table->ContainsRecord(a_.get()));
  EXPECT_TRUE(table->ContainsRecord(c_.get()));
  EXPECT_FALSE(table->ContainsRecord(nullptr));
  auto twin = MakeClient("FIRM1", "ACC1", "A");
  EXPECT_FALSE(table->ContainsRecord(twin.get())) << "the record pointer counts, not its codes";
  table->ClearRowsOfKind(kRiskTableKind, 0);
  EXPECT_FALSE(table->ContainsRecord(a_.get()));
}

TEST_F(RiskTableRowsTest, CompareRowsOrdersByFirmThenAccount) {
  CVantrelFutRiskParamsTable* table = Create();
  auto sameKey = MakeClient("FIRM1", "ACC1", "OTHER");
  auto cyrillic = MakeClient("ФИРМА", "ACC1", "E");  // code page 1251 bytes above 0x7F
  auto prefix = MakeClient("FIRM", "ACC1", "F");
  struct Case {
    void* first;
    void* second;
    int expected;
  } cases[] = {
      {a_.get(), a_.get(), 0},
      {nullptr, nullptr, 0},
      {nullptr, a_.get(), -1},
      {a_.get(), nullptr, 1},
      {a_.get(), b_.get(), -1},
      {b_.get(), a_.get(), 1},
      {c_.get(), b_.get(), 1},
      {a_.get(), sameKey.get(), 0},
      {cyrillic.get(), a_.get(), 1},
      {a_.get(), cyrillic.get(), -1},
      {prefix.get(), a_.get(), -1},
      {a_.get(), prefix.get(), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(table->CompareRows(c.first, c.second), c.expected)
      << static_cast<const TClientRiskRecord*>(c.first) << " " << static_cast<const TClientRiskRecord*>(c.second);
}

TEST_F(RiskTableRowsTest, ActivationSwitchesTheTableCommands) {
  CVantrelFutRiskParamsTable* table = Create();
  env_.Host().Log().Clear();
  table->OnMDIActivate(table->GetHwnd(), nullptr);
  EXPECT_EQ(env_.Host().Log().Details(11), (std::vector<std::string>{"303 on", "304 on", "306 on"}));
  env_.Host().Log().Clear();
  table->OnMDIActivate(env_.MainFrame(), table->GetHwnd());
  EXPECT_EQ(env_.Host().Log().Details(11), (std::vector<std::string>{"303 off", "304 off", "306 off"}));
}

TEST_F(RiskTableRowsTest, TheRefreshMessageTakesTheAcceptedClientsAndRefills) {
  CVantrelFutRiskParamsTable* table = Create();
  RiskTestModule& module = env_.Module();
  HostCall<52>(&module.clientItems, "A (FIRM1)");
  HostCall<52>(&module.clientItems, "B (FIRM1)");
  env_.Host().Market().AcceptEntry("B (FIRM1)");
  env_.Host().Market().SetRefreshWords(1, 0);
  auto d = MakeClient("FIRM3", "ACC3", "D");
  module.records.push_back(d.get());

  SendMessageA(table->GetHwnd(), WM_TABLE_FILTER_REFRESH, 0, 0);
  ASSERT_EQ(table->GetClientFilter()->count, 1);
  EXPECT_EQ(table->GetClientFilter()->positions[0], 1);
  EXPECT_EQ(table->GetAccountFilter()->count, 0);
  EXPECT_EQ(LineOf(table, d.get()), 4) << "the rows were filled again";

  // When the host drops the restricting selections, the rows are filled again too.
  env_.Host().Market().SetRefreshWords(0, 1);
  auto e = MakeClient("FIRM4", "ACC4", "E");
  module.records.push_back(e.get());
  SendMessageA(table->GetHwnd(), WM_TABLE_FILTER_REFRESH, 0, 0);
  EXPECT_EQ(table->GetClientFilter()->count, 0);
  EXPECT_EQ(table->GetClientFilter()->positions, nullptr);
  EXPECT_EQ(LineOf(table, e.get()), 5);

  // Nothing changed: nothing filled.
  auto f = MakeClient("FIRM5", "ACC5", "F");
  module.records.push_back(f.get());
  SendMessageA(table->GetHwnd(), WM_TABLE_FILTER_REFRESH, 0, 0);
  EXPECT_EQ(LineOf(table, f.get()), -1);
  table->ClearRows();
}

TEST_F(RiskTableRowsTest, ClosingTheWindowEmptiesTheThreeFiltersAndUnregisters) {
  CVantrelFutRiskParamsTable* table = Create();
  RiskTestModule& module = env_.Module();
  const uint32_t client = HostCall<52>(&module.clientItems, "A (FIRM1)");
  const uint32_t account = HostCall<52>(&module.accountItems, "ACC1");
  HostCall<160>(client, table->GetClientFilter());
  HostCall<160>(account, table->GetAccountFilter());
  HostCall<160>(client, table->GetFirmFilter());
  ASSERT_EQ(table->GetFirmFilter()->count, 1);
  env_.Host().Log().Clear();
  SendMessageA(env_.Host().MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(table->GetHwnd()), 0);
  env_.Pump();
  EXPECT_EQ(env_.Host().Log().Count(54), 3) << "each filter's host array is released";
  EXPECT_TRUE(module.tables.empty());
}

TEST_F(RiskTableRowsTest, FieldsTheModuleUsesStartEmpty) {
  CVantrelFutRiskParamsTable table(&env_.Schemas().risk, "Риск-параметры срочного рынка", "Создание таблицы", 101,
                                   TableSettingsDlgProc, 210606);
  EXPECT_EQ(table.GetTableKind(), 1);
  EXPECT_EQ(table.GetPatternIndex(), -1);
  EXPECT_FALSE(table.GetFilterFromFile());
  EXPECT_EQ(table.GetClientFilterMode(), 0u);
  for (host::FilterSelection* filter : {table.GetClientFilter(), table.GetAccountFilter(), table.GetFirmFilter()}) {
    EXPECT_EQ(filter->count, 0);
    EXPECT_EQ(filter->positions, nullptr);
  }
  EXPECT_EQ(table.SetPatternIndex(2), 2);
  EXPECT_EQ(table.GetPatternIndex(), 2);
  EXPECT_TRUE(table.SetFilterFromFile(true));
  EXPECT_TRUE(table.GetFilterFromFile());
  EXPECT_EQ(table.SetClientFilterMode(1), 1u);
  EXPECT_EQ(table.GetClientFilter()->reserved1, 1u) << "the mode is the client filter's third word";
}

TEST_F(RiskTableRowsTest, DeletingTheTableAlsoEmptiesItsFilters) {
  auto* table = new CVantrelFutRiskParamsTable(&env_.Schemas().risk, "Риск-параметры срочного рынка",
                                               "Создание таблицы", 101, TableSettingsDlgProc, 210606);
  const uint32_t account = HostCall<52>(&env_.Module().accountItems, "ACC2");
  HostCall<160>(account, table->GetAccountFilter());
  env_.Host().Log().Clear();
  delete table;
  EXPECT_EQ(env_.Host().Log().Count(54), 3);
}

}  // namespace
}  // namespace windows_test
