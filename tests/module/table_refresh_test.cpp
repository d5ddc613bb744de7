// The host's filter-refresh message to a table, over the stand-in host's item
// lists, refresh words and accepted entries.
#include "market_fixture.h"
#include "module/table_refresh.h"

#include <string>
#include <vector>

namespace {
void* __stdcall NoBuffer(uint32_t) { return nullptr; }

std::vector<int32_t> Positions(const host::FilterSelection& selection) {
  return std::vector<int32_t>(selection.positions, selection.positions + selection.count);
}

class TableRefreshTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    Initialise();
    for (const char* client : {"C1 (FIRM1)", "C2 (FIRM1)", "C3 (FIRM2)"})
      module.CallHost<52>(&clients, client);
    for (const char* account : {"A1", "A2", "A3", "A4"}) module.CallHost<52>(&accounts, account);
    handles.first = &clients;
    handles.second = &accounts;
  }
  void TearDown() override {
    ClearFilterSelection(selections.first);
    ClearFilterSelection(selections.second);
    module.CallHost<51>(&clients);
    module.CallHost<51>(&accounts);
  }
  void Words(uint32_t a, uint32_t b) { host.Market().SetRefreshWords(a, b); }
  // A selection the table already holds, made through the host's filter service.
  void Select(host::FilterSelection& selection, host::ItemList& list, const char* text) {
    module.CallHost<160>(module.CallHost<52>(&list, text), &selection);
  }

  host::ItemList clients = {};
  host::ItemList accounts = {};
  TFilterHandles handles;
  TTableFilterSelections selections;
};

TEST_F(TableRefreshTest, AcceptedTradingAccountsBecomeTheSecondSelection) {
  Words(1, 0);
  host.Market().AcceptEntry("A2");
  host.Market().AcceptEntry("A4");
  host.Market().AcceptEntry("C1 (FIRM1)");
  Select(selections.first, clients, "C3 (FIRM2)");
  selections.second.reserved1 = 5;
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(Positions(selections.second), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(selections.second.reserved1, 0u);
  EXPECT_EQ(selections.first.count, 0) << "both are cleared first; clients are not examined";
  EXPECT_EQ(selections.first.positions, nullptr);
  EXPECT_EQ(host.Log().Count(137), 4) << "each account is asked once";
  EXPECT_EQ(host.Log().Details(3).back(), "8");
}

TEST_F(TableRefreshTest, AcceptedClientsWhenNoAccountIsAccepted) {
  Words(1, 0);
  host.Market().AcceptEntry("C2 (FIRM1)");
  host.Market().AcceptEntry("C3 (FIRM2)");
  EXPECT_TRUE(HandleTableRefreshMessage(kOrdersTableType, &selections, handles));
  EXPECT_EQ(Positions(selections.first), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(selections.second.count, 0);
  EXPECT_EQ(host.Log().Count(137), 4 + 3);
}

TEST_F(TableRefreshTest, NothingAcceptedStillClearsAndRefills) {
  Words(1, 0);
  Select(selections.second, accounts, "A3");
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(selections.second.count, 0);
  EXPECT_EQ(selections.second.positions, nullptr);
  EXPECT_EQ(host.Log().Count(4), 1) << "the old array goes back to the host";
}

TEST_F(TableRefreshTest, WithoutAHostBufferTheSelectionStaysEmpty) {
  host.Install<3>(NoBuffer);
  Initialise();
  Words(1, 0);
  host.Market().AcceptEntry("A1");
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(selections.second.count, 0);
  EXPECT_EQ(selections.second.positions, nullptr);
  EXPECT_EQ(selections.first.count, 0) << "the clients are not taken instead";
}

TEST_F(TableRefreshTest, WordBDropsTheSelectionsThatRestrictAnything) {
  Words(1, 1);
  host.Market().AcceptEntry("A1");
  Select(selections.second, accounts, "A2");
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(selections.second.count, 0);
  EXPECT_EQ(selections.first.count, 0);
  EXPECT_EQ(host.Log().Count(136), 1);
  EXPECT_EQ(host.Log().Count(137), 0) << "with both words set only the selections are tested";
  EXPECT_EQ(host.Log().Count(53), 2);
}

TEST_F(TableRefreshTest, WordBWithEmptySelectionsChangesNothing) {
  Words(0, 1);
  EXPECT_FALSE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(host.Log().Count(53), 2);
}

TEST_F(TableRefreshTest, NeitherWordChangesNothing) {
  Words(0, 0);
  Select(selections.first, clients, "C1 (FIRM1)");
  EXPECT_FALSE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(Positions(selections.first), (std::vector<int32_t>{0}));
}

TEST_F(TableRefreshTest, OtherWindowsAndTypesAreLeftAlone) {
  Words(1, 0);
  host.Market().AcceptEntry("A1");
  EXPECT_FALSE(HandleTableRefreshMessage(210605, &selections, handles));
  EXPECT_FALSE(HandleTableRefreshMessage(kRiskTableType, nullptr, handles));
  EXPECT_EQ(host.Log().Count(136), 0);
  EXPECT_EQ(selections.second.count, 0);
}

TEST_F(TableRefreshTest, MissingFilterHandlesAcceptNothing) {
  Words(1, 0);
  host.Market().AcceptEntry("A1");
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, TFilterHandles{}));
  EXPECT_EQ(selections.first.count + selections.second.count, 0);
}
}  // namespace
