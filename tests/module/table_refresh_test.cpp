// The host's filter-refresh message to a table, over the stand-in host's item
// lists, refresh words and accepted entries.
#include "market_fixture.h"
#include "module/table_refresh.h"

#include <string>
#include <vector>

namespace {
void* __stdcall NoBuffer(uint32_t) { return nullptr; }
// Accepts every entry, but only when asked the way the module must ask.
int __stdcall AcceptedWhenAskedRight(uint32_t, int kind, int zero) {
  return kind == 1 && zero == 0;
}

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
    handles = {&clients, &accounts};
  }
  void TearDown() override {
    for (host::FilterSelection* selection : {&selections.first, &selections.second})
      ClearFilterSelection(*selection);
    for (host::ItemList* list : {&clients, &accounts}) module.CallHost<51>(list);
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

struct RefreshCase {
  uint32_t wordA, wordB;
  std::vector<const char*> accepted;
  const char* selectedClient;   // held before the message; nullptr: none
  const char* selectedAccount;
  int tableType;
  bool changed;
  std::vector<int32_t> clients, accounts;  // the selections after it
  int entriesAsked;  // how often the host is asked whether an entry is accepted
};

const RefreshCase kRefreshCases[] = {
    // Accepted accounts win; the clients are cleared and not examined.
    {1, 0, {"A2", "A4", "C1 (FIRM1)"}, "C3 (FIRM2)", nullptr, kRiskTableType, true, {}, {1, 3}, 4},
    // No account accepted: the accepted clients.
    {1, 0, {"C2 (FIRM1)", "C3 (FIRM2)"}, nullptr, nullptr, kOrdersTableType, true, {1, 2}, {}, 7},
    {1, 0, {}, nullptr, "A3", kRiskTableType, true, {}, {}, 7},  // cleared, nothing refilled
    // Word B drops the selections that restrict anything; only they are tested.
    {1, 1, {"A1"}, nullptr, "A2", kRiskTableType, true, {}, {}, 0},
    {0, 1, {}, nullptr, nullptr, kRiskTableType, false, {}, {}, 0},
    {0, 0, {"A1"}, "C1 (FIRM1)", nullptr, kRiskTableType, false, {0}, {}, 0},  // neither word
    {1, 0, {"A1"}, nullptr, nullptr, 210605, false, {}, {}, 0},  // another table class
};

class TableRefreshCaseTest : public TableRefreshTest,
                             public testing::WithParamInterface<RefreshCase> {};

TEST_P(TableRefreshCaseTest, Selections) {
  const RefreshCase& c = GetParam();
  Words(c.wordA, c.wordB);
  for (const char* entry : c.accepted) host.Market().AcceptEntry(entry);
  if (c.selectedClient) Select(selections.first, clients, c.selectedClient);
  if (c.selectedAccount) Select(selections.second, accounts, c.selectedAccount);
  const int freedBefore = host.Log().Count(4);
  EXPECT_EQ(HandleTableRefreshMessage(c.tableType, &selections, handles), c.changed);
  EXPECT_EQ(Positions(selections.first), c.clients);
  EXPECT_EQ(Positions(selections.second), c.accounts);
  EXPECT_EQ(host.Log().Count(137), c.entriesAsked);
  if (c.changed && (c.selectedClient || c.selectedAccount)) {  // old arrays go back to the host
    EXPECT_EQ(host.Log().Count(4) - freedBefore, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Messages, TableRefreshCaseTest, testing::ValuesIn(kRefreshCases));

TEST_F(TableRefreshTest, WithoutAHostBufferTheSelectionStaysEmpty) {
  host.Install<3>(NoBuffer);
  Initialise();
  Words(1, 0);
  host.Market().AcceptEntry("A1");
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_TRUE(selections.second.count == 0 && selections.second.positions == nullptr);
  EXPECT_EQ(selections.first.count, 0) << "the clients are not taken instead";
}

TEST_F(TableRefreshTest, EntriesAreAskedAboutAsFilterEntries) {
  host.Install<137>(AcceptedWhenAskedRight);
  Initialise();
  Words(1, 0);
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, handles));
  EXPECT_EQ(Positions(selections.second), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(TableRefreshTest, NoSelectionsOrNoHandlesChangeNothing) {
  Words(1, 0);
  host.Market().AcceptEntry("A1");
  EXPECT_FALSE(HandleTableRefreshMessage(kRiskTableType, nullptr, handles));
  EXPECT_EQ(host.Log().Count(136), 0);
  EXPECT_TRUE(HandleTableRefreshMessage(kRiskTableType, &selections, TFilterHandles{}));
  EXPECT_EQ(selections.first.count + selections.second.count, 0);
}
}  // namespace
