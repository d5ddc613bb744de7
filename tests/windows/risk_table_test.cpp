// The risk-parameters table inside the stand-in host: its columns and cells,
// its rows, their colours and order, the kind-addressed operations, the
// host's refresh message and the table's end.
#include <gtest/gtest.h>

#include <cstdio>

#include "sdk/host_call.h"
#include "sdk/numeric.h"
#include "support/table_environment.h"
#include "windows/tables/risk_params_table.h"
#include "windows/tables/risk_row_colours.h"

namespace {

// A client record with its codes; the ratios not set, the amounts zero.
std::unique_ptr<TClientRiskRecord> MakeClient(const char* firm, const char* account, const char* clientCode) {
  std::unique_ptr<TClientRiskRecord> record(new TClientRiskRecord(firm, account));
  snprintf(record->clientCode, sizeof record->clientCode, "%s", clientCode);
  return record;
}

// A risk table as the module creates one.
CVantrelFutRiskParamsTable* OpenRiskTable(TableEnvironment& env) {
  return env.Open(new CVantrelFutRiskParamsTable(&env.Schemas().risk, "Риск-параметры срочного рынка",
                                                 "Создание таблицы", 101, TableSettingsDlgProc, 210606));
}

constexpr COLORREF kNormal = RGB(230, 255, 230), kWarning = RGB(255, 240, 160), kCritical = RGB(255, 150, 150);

class RiskTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TRiskColorSettings& colours = env_.Module().colours;
    colours.NormalColor = kNormal;
    colours.WarningColor = kWarning;
    colours.CriticalColor = kCritical;
    colours.SFRWarningLevel = colours.SFRWarningLevel_fp = 1.5;
    colours.SFRCriticalLevel = colours.SFRCriticalLevel_fp = 1.0;
    a_->sfr = 2.0;               // normal
    b_->sfr = 1.23456;           // warning
    c_->sfrOpenPositions = 0.5;  // critical for open positions
    b_->dayStartLimit = 123456789;  // amounts in hundredths
    b_->openPositionLimit = -50;
    b_->currentNetPosition = 1000;
    b_->plannedNetPosition = -123456;
    b_->currentDebt = 250;
    b_->clgo = 2.5;
    b_->marginLevel = 0.5;
    b_->modifiedMarginLevel = 0.0123;
    b_->cashLeverage = kValueNotSet;
    env_.Module().records = {a_.get(), b_.get(), c_.get()};  // as the module offers them: by firm, then account
    table_ = OpenRiskTable(env_);
    ASSERT_NE(table_, nullptr);
  }

  int PositionOf(int id) { return table_->GetView()->IndexOfColumn(id); }
  int Rows() { return GetNRows(ListOf(table_)); }
  // A cell as "text|text flag|value", from GetCellText or, with byValue, GetCellValue.
  std::string Cell(int position, const TClientRiskRecord* record, bool byValue = false) {
    char text[1024] = "untouched", value[32];
    int flag = 7;
    auto* row = const_cast<TClientRiskRecord*>(record);
    snprintf(value, sizeof value, "%.10g", byValue ? table_->GetCellValue(1, position, row, text, 0, &flag)
                                                   : table_->GetCellText(0, position, row, text, &flag));
    return std::string(text) + "|" + std::to_string(flag) + "|" + value;
  }

  TableEnvironment env_;
  std::unique_ptr<TClientRiskRecord> a_ = MakeClient("FIRM1", "ACC1", "A"), b_ = MakeClient("FIRM1", "ACC2", "B"),
                                     c_ = MakeClient("FIRM2", "ACC0", "C");
  CVantrelFutRiskParamsTable* table_ = nullptr;
};

TEST_F(RiskTableTest, EveryColumnShowsItsTextAndValue) {
  const std::pair<int, const char*> cases[] = {
      {0, "|0|0"}, {1, "FIRM1|1|0"}, {2, "B|1|0"}, {3, "ACC2|1|0"},
      {4, "1 234 567,89|0|1234567.89"},  // amounts: hundredths shown with 2 decimals, grouped
      {5, "-0,50|0|-0.5"}, {6, "10,00|0|10"}, {7, "0,00|0|0"}, {8, "-1 234,56|0|-1234.56"}, {17, "2,50|0|2.5"},
      {18, "1,2346|0|1.23456"},  // ratios: 4 decimals
      {19, "|0|0"},              // not set: empty, value 0
      {20, "2,5000|0|2.5"}, {21, "|0|0"}, {22, "0,5000|0|0.5"},
      {23, "1,2300|0|0.0123"},  // shown as a percentage, valued as kept
      {24, "|0|1e+30"},         // not set: empty, but the value stays
  };
  for (const auto& c : cases) {
    const int position = PositionOf(c.first);
    ASSERT_EQ(table_->GetView()->ColumnIdAt(position), c.first);
    EXPECT_EQ(Cell(position, b_.get()), c.second) << c.first;
    EXPECT_EQ(Cell(position, b_.get(), true), c.second) << c.first;
    const std::string text = std::string(c.second).substr(0, std::string(c.second).find('|'));
    if (c.first != 0) {
      EXPECT_EQ(CellText(table_, 2, position), text) << "the list draws it; 0 is the line number";
    }
  }
  b_->marginLevel = 0.0;
  EXPECT_EQ(Cell(PositionOf(22), b_.get()), "0,0000|0|0") << "an unused margin level shows always";
  b_->sfr = kValueNotSet + 1e-8;
  EXPECT_EQ(Cell(PositionOf(18), b_.get()), "|0|0") << "1e30 is matched within a tolerance";
  auto wide = MakeClient("FIRM-WITH-A-VERY-LONG-CODE-12345", "ACCOUNT-ALSO-LONG-ABCDEFGHIJKLMN", "CLIENT-LONG");
  EXPECT_EQ(Cell(PositionOf(1), wide.get()) + Cell(PositionOf(3), wide.get()),
            "FIRM-WITH-A-VERY-LONG-CODE-12345|1|0ACCOUNT-ALSO-LONG-ABCDEFGHIJKLMN|1|0") << "long codes shown whole";
}

TEST_F(RiskTableTest, CellsOutsideTheLayoutOrOfNoRecordAreEmpty) {
  ASSERT_EQ(table_->GetView()->GetColumnCount(), 24);
  for (int position : {-1, 24, 1000}) EXPECT_EQ(Cell(position, b_.get()), "|0|0") << position;
  for (int id : {1, 4, 24}) EXPECT_EQ(Cell(PositionOf(id), nullptr), "untouched|7|0") << "a null record: " << id;
  int flag = 7;
  EXPECT_EQ(table_->GetCellText(0, PositionOf(20), b_.get(), nullptr, &flag), 2.5) << "no text buffer";
  EXPECT_EQ(flag, 0);
  char text[1024] = "untouched";
  EXPECT_EQ(table_->GetCellText(0, PositionOf(4), b_.get(), text, nullptr), 1234567.89) << "no flag";
  EXPECT_STREQ(text, "1 234 567,89");
  const int position = PositionOf(20);
  env_.Schemas().risk.erase(20);
  EXPECT_EQ(Cell(position, b_.get()), "|0|0") << "a column the schema no longer has";
  table_->UpdateRowColors(kRiskTableKind, b_.get());
  EXPECT_EQ(CellText(table_, 2, position) + "/" + CellText(table_, 2, PositionOf(22)), "/0,5000")
      << "its neighbours still draw";
}

TEST_F(RiskTableTest, RowsAreColouredByFundsSufficiency) {
  const std::pair<TClientRiskRecord*, COLORREF> cases[] = {{a_.get(), kNormal}, {b_.get(), kWarning}, {c_.get(), kCritical}};
  for (const auto& c : cases) {
    for (int column : {1, 4, 18, 23}) {
      EXPECT_EQ(CellBack(table_, LineOf(table_, c.first), column), c.second) << c.first->account << " " << column;
      EXPECT_EQ(CellBack(table_, LineOf(table_, c.first), column, true), GetSysColor(COLOR_WINDOWTEXT));
    }
    EXPECT_EQ(CellBack(table_, LineOf(table_, c.first), 0), GetSysColor(COLOR_BTNFACE)) << "the fixed column keeps its own";
  }
  const TableRowColours block = RiskRowColours(env_.Module().colours, b_.get());
  EXPECT_EQ(std::vector<uint32_t>(block.values, block.values + 5), std::vector<uint32_t>({0x80000008u, 0, kWarning, 0, 0}))
      << "the system window-text colour, then the background";
  EXPECT_EQ(block.flags, 3u);
  const TableRowColours none = RiskRowColours(env_.Module().colours, nullptr);
  EXPECT_EQ(std::vector<uint32_t>(none.values, none.values + 5), std::vector<uint32_t>(5, 0));
  EXPECT_EQ(none.flags, 0u) << "a null record asks the list for nothing";
}

TEST_F(RiskTableTest, RowsAreFilledOnlyOnceTheFirmSettingsCame) {
  env_.Module().records = {a_.get()};
  EXPECT_TRUE(table_->FillRows());
  EXPECT_EQ(Rows(), 2) << "filling again replaces the rows";
  env_.Module().firmSettings = false;
  env_.Module().records.clear();
  EXPECT_TRUE(table_->FillRows());
  EXPECT_EQ(Rows(), 2) << "no row removed, none added";
  CVantrelFutRiskParamsTable* early = OpenRiskTable(env_);
  ASSERT_NE(early, nullptr);
  EXPECT_EQ(GetNRows(ListOf(early)), 1) << "only the header";
}

TEST_F(RiskTableTest, KindAddressedOperationsActOnlyForTheirKind) {
  b_->sfr = 0.1;
  EXPECT_EQ(table_->UpdateRowColors(kOrdersTableKind, b_.get()), 0);
  EXPECT_EQ(CellBack(table_, 2, 1), kWarning) << "the orders kind leaves the row";
  EXPECT_GT(table_->UpdateRowColors(kRiskTableKind, b_.get()), 0);
  EXPECT_EQ(CellBack(table_, 2, 1), kCritical);
  auto d = MakeClient("FIRM0", "ACC9", "D");
  EXPECT_EQ(table_->UpdateRowColors(kOrdersTableKind, d.get()), 0);
  EXPECT_EQ(LineOf(table_, d.get()), -1);
  EXPECT_GT(table_->UpdateRowColors(kRiskTableKind, d.get()), 0);
  EXPECT_EQ(LineOf(table_, d.get()), 1) << "a new client is inserted in order";
  EXPECT_EQ(CellBack(table_, 1, 1), kNormal) << "levels not set break no level";
  EXPECT_EQ(table_->UpdateRowColors(kRiskTableKind, nullptr), 0) << "a null record gets no row";
  auto twin = MakeClient("FIRM1", "ACC1", "A");
  EXPECT_EQ(std::vector<bool>({table_->ContainsRecord(a_.get()), table_->ContainsRecord(nullptr),
                               table_->ContainsRecord(twin.get()), table_->ClearRowsOfKind(kOrdersTableKind, 0)}),
            std::vector<bool>({true, false, false, false})) << "the record pointer counts, not its codes";
  EXPECT_EQ(Rows(), 5);
  EXPECT_TRUE(table_->ClearRowsOfKind(kRiskTableKind, 0));
  EXPECT_EQ(HeaderTitles(table_).size() + Rows(), 25u) << "the header alone";
  EXPECT_FALSE(table_->ContainsRecord(a_.get()));
}

TEST_F(RiskTableTest, CompareRowsOrdersByFirmThenAccount) {
  auto sameKey = MakeClient("FIRM1", "ACC1", "OTHER");
  auto cyrillic = MakeClient("ФИРМА", "ACC1", "E");  // code page 1251 bytes above 0x7F
  auto prefix = MakeClient("FIRM", "ACC1", "F");
  void* const a = a_.get();
  const struct { void *first, *second; int expected; } cases[] = {
      {a, a, 0},  {nullptr, nullptr, 0}, {nullptr, a, -1},       {a, nullptr, 1},           {a, b_.get(), -1},
      {b_.get(), a, 1}, {c_.get(), b_.get(), 1}, {a, sameKey.get(), 0}, {cyrillic.get(), a, 1}, {a, cyrillic.get(), -1},
      {prefix.get(), a, -1}, {a, prefix.get(), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(table_->CompareRows(c.first, c.second), c.expected) << c.first << " " << c.second;
}

TEST_F(RiskTableTest, ActivationSwitchesTheTableCommands) {
  env_.Host().Log().Clear();
  table_->OnMDIActivate(table_->GetHwnd(), nullptr);
  table_->OnMDIActivate(env_.Host().Frame(), table_->GetHwnd());
  EXPECT_EQ(env_.Host().Log().Details(11),
            (std::vector<std::string>{"303 on", "304 on", "306 on", "303 off", "304 off", "306 off"}));
}

TEST_F(RiskTableTest, TheRefreshMessageTakesTheAcceptedClientsAndRefills) {
  TableTestModule& module = env_.Module();
  HostCall<52>(&module.clientItems, "A (FIRM1)");
  HostCall<52>(&module.clientItems, "B (FIRM1)");
  env_.Host().Market().AcceptEntry("B (FIRM1)");
  std::vector<std::unique_ptr<TClientRiskRecord>> added;
  const auto refresh = [&](uint32_t wordA, uint32_t wordB, const char* firm, const char* code, int line) {
    env_.Host().Market().SetRefreshWords(wordA, wordB);
    added.push_back(MakeClient(firm, "ACC", code));
    module.records.push_back(added.back().get());
    SendMessageA(table_->GetHwnd(), WM_TABLE_FILTER_REFRESH, 0, 0);
    EXPECT_EQ(LineOf(table_, module.records.back()), line) << firm;
  };
  // The module's refresh rules decide the selections; the table refills
  // with the clients the new client filter lets in.
  refresh(1, 0, "FIRM1", "B", 1);  // account ACC before ACC2
  ASSERT_EQ(table_->GetClientFilter()->count + table_->GetAccountFilter()->count, 1);
  EXPECT_EQ(table_->GetClientFilter()->positions[0], 1) << "B (FIRM1)";
  EXPECT_EQ(LineOf(table_, b_.get()), 2);
  EXPECT_EQ(LineOf(table_, a_.get()), -1) << "A (FIRM1) is not in the client filter";
  refresh(0, 0, "FIRM4", "B", -1);  // neither word: nothing changed, nothing filled
  table_->ClearRows();
}

TEST_F(RiskTableTest, ClosingOrDeletingTheTableEmptiesItsThreeFilters) {
  TableTestModule& module = env_.Module();
  const uint32_t client = HostCall<52>(&module.clientItems, "A (FIRM1)");
  const uint32_t account = HostCall<52>(&module.accountItems, "ACC1");
  HostCall<160>(client, table_->GetClientFilter());
  HostCall<160>(account, table_->GetAccountFilter());
  HostCall<160>(client, table_->GetFirmFilter());
  env_.Host().Log().Clear();
  SendMessageA(env_.MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(table_->GetHwnd()), 0);
  env_.Pump();
  EXPECT_EQ(env_.Host().Log().Count(54), 3) << "each filter's host array is released";
  EXPECT_TRUE(module.tables.empty());
  env_.Host().Log().Clear();
  auto* deleted = new CVantrelFutRiskParamsTable(&env_.Schemas().risk, "Риск", "Создание таблицы", 101,
                                                 TableSettingsDlgProc, 210606);
  HostCall<160>(account, deleted->GetAccountFilter());
  delete deleted;
  EXPECT_EQ(env_.Host().Log().Count(54), 3) << "deleting the table empties its filters too";
}

}  // namespace
