// The recalculation over the module's clients, fed through the module's own
// record intake and host events, with the stand-in host answering.
#include "host/standin/standin_host.h"
#include "host/standin/window_state_store.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "sdk/numeric.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"
#include "windows/tables/risk_params_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
class RecalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
  }

  void Push(uint32_t code, const std::vector<uint8_t>& record) {
    module.OnHostCommand(1, code, record.data(), static_cast<uint32_t>(record.size()));
  }
  TClientRiskRecord* Client(const char* firm, const char* account) {
    return module.Clients().Find(firm, account);
  }
  // A firm's settings arrive: a full run.
  void FirmSettings(const char* firm) { module.OnHostEvent(4, firm, 0, 0); }

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

TEST_F(RecalculationTest, ARemovedLimitStopsCountingUntilItComesBack) {
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100000, 4000}));
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 2, 0, 0, 50000, 1000}));
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->currentNetPosition, 5000);
  EXPECT_STREQ(Client("FIRM1", "ACC1")->secondFirm, "FIRM1");
  Push(kLimitRemovalCode, {2, 0, 0, 0});  // limit id 2
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->currentNetPosition, 4000);
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 2, 0, 0, 50000, 3000}));
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->currentNetPosition, 7000);
  // The firm's text, for its rules, at the first and third event only (the
  // second reads every firm's object): none for broker settings without a
  // united position.
  EXPECT_EQ(host.Log().Count(130), 2);
}

TEST_F(RecalculationTest, ATimerRunSkipsClientsWhoseDataJustChanged) {
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100000}));
  module.RecalcRiskParams(false);
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 0) << "data younger than 2 seconds";
  EXPECT_TRUE(DoubleEquals(Client("FIRM1", "ACC1")->sfr, kValueNotSet));
  module.RecalcRiskParams(true);
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 100000);
  Client("FIRM1", "ACC1")->dataTime -= 2;
  Client("FIRM1", "ACC1")->dayStartLimit = 1;
  module.RecalcRiskParams(false);
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 100000);
}

TEST_F(RecalculationTest, UnitedClientsOnlyFilterStillIdentifiesNewClients) {
  module.Settings().ClientsType2 = 6;
  host.Clients().SetClientCode("FIRM1", "ACC2", "CODE2");
  host.Clients().SetQualification("FIRM1", "CODE2", 1);
  host.Records().AddFirm({"FIRM1", "[CHANGEFUTCLIENTCODES_MC9]\nX=ACC2\nY=ACC1\n"});
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100000}));
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC2", 2, 0, 0, 100000, 9000}));
  FirmSettings("FIRM1");
  const TClientRiskRecord* united = Client("FIRM1", "ACC2");
  EXPECT_TRUE(united->united);
  EXPECT_STREQ(united->clientCode, "CODE2");
  EXPECT_TRUE(united->qualified);
  EXPECT_EQ(united->portfolioId, 0) << "a client without portfolios";
  EXPECT_STREQ(united->secondFirm, "MC9") << "the firm the rules give for its account";
  EXPECT_DOUBLE_EQ(united->currentNetPosition, 9000) << "the united client is recalculated";
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 0) << "not united: filtered out";
}

TEST_F(RecalculationTest, EachFirmsBrokerSettingsAreReadOncePerRun) {
  host.Records().AddFirm({"FIRM1", "[PORTFOLIORISKCONFIG]\nBOARDTAG=S\nCURRENCY=USD\n"});
  host.Records().AddFirm({"FIRM2", "[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBRVERYLONG\n"});
  for (const char* firm : {"FIRM1", "FIRM2"})
    for (const char* account : {"A1", "A2", "A3"})
      host.Clients().SetClientCode(firm, account, account + 1);  // client codes of one character
  int id = 1;
  for (const char* firm : {"FIRM1", "FIRM2"})
    for (const char* account : {"A1", "A2", "A3"})
      Push(kLimitRecordCode, LimitRecord({firm, account, id++, 0, 0, 1000}));
  FirmSettings("FIRM1");
  // One text to read the firm's rules, then one per firm for the board tags.
  EXPECT_EQ(host.Log().Count(130), 3);
  EXPECT_STREQ(Client("FIRM1", "A2")->boardTag, "S");
  EXPECT_STREQ(Client("FIRM1", "A2")->currency, "USD");
  EXPECT_STREQ(Client("FIRM2", "A3")->boardTag, "TQBRVERYLONG") << "a board tag of 12 characters";
  EXPECT_STREQ(Client("FIRM2", "A3")->currency, "SUR");
  for (auto& client : module.Clients().Clients()) client.second->dataTime -= 5;
  module.RecalcRiskParams(false);
  EXPECT_EQ(host.Log().Count(130), 3) << "timer runs keep the board tags they have";
  EXPECT_EQ(host.Log().Count(148), 6) << "and the client codes";
  FirmSettings("FIRM1");
  EXPECT_EQ(host.Log().Count(130), 5) << "a full run reads the broker settings again";
  EXPECT_EQ(host.Log().Count(148), 12) << "and asks for every client code again";
}

TEST_F(RecalculationTest, ShortOrEmptyRecordsAndOtherCodesAreIgnored) {
  const std::vector<uint8_t> record = LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100});
  EXPECT_TRUE(module.OnHostCommand(1, kLimitRecordCode, record.data(), 159));
  EXPECT_TRUE(module.OnHostCommand(1, kLimitRecordCode, nullptr, 160));
  EXPECT_TRUE(module.OnHostCommand(2, kLimitRecordCode, record.data(), 160));
  EXPECT_TRUE(module.OnHostCommand(1, kPositionRecordCode + 1, record.data(), 160));
  EXPECT_TRUE(module.Clients().Clients().empty());
  Push(kLimitRecordCode, record);
  EXPECT_TRUE(module.OnHostCommand(1, kLimitRemovalCode + 1, record.data(), 4)) << "not a removal";
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 100);
}

TEST_F(RecalculationTest, IntervalZeroLeavesTheTimerStoppedAndUnloadStopsIt) {
  module.Settings().RecalcRiskParamsInterval = 0;
  FirmSettings("FIRM1");
  EXPECT_FALSE(module.RecalcTimerRunning());
  module.Settings().RecalcRiskParamsInterval = 1000;
  FirmSettings("FIRM2");
  EXPECT_TRUE(module.RecalcTimerRunning());
  module.OnModuleDone();
  EXPECT_FALSE(module.RecalcTimerRunning()) << "the host never calls into an unloaded plug-in";
}

TEST_F(RecalculationTest, AFirmAgainRereadsEveryFirmAndOneNotReadyHoldsTheRunBack) {
  host.Records().AddFirm({"FIRM1", "[GENERAL]\n"});
  FirmSpec notReady{"FIRM2", "[GENERAL]\n"};
  notReady.ready = 0;
  host.Records().AddFirm(notReady);
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100}));
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 100);
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 300}));
  FirmSettings("FIRM1");
  EXPECT_DOUBLE_EQ(Client("FIRM1", "ACC1")->dayStartLimit, 100) << "no run while a firm is not ready";
  EXPECT_EQ(module.Firms(), std::vector<std::string>{"FIRM1"});
  EXPECT_EQ(Client("FIRM1", "ACC1")->ExclusionMark, kRuleUndecided) << "rules are decided afresh";
}

TEST_F(RecalculationTest, StartOfWorkForgetsTheFirmsAndTheTickCounts) {
  FirmSettings("FIRM1");
  ASSERT_EQ(module.Firms().size(), 1u);
  module.OnHostEvent(1, nullptr, 0, 0);
  EXPECT_TRUE(module.Firms().empty());
  EXPECT_NE(module.StartTime(), 0);
  EXPECT_EQ(host.Log().Count(146), 1);
  module.OnHostEvent(2, nullptr, 0, 0);
  EXPECT_EQ(module.StartTime(), 0);
  for (int tick = 0; tick < 30; ++tick) module.OnTimerTick(0, 0);
  EXPECT_EQ(module.TickCounter(), 30);
}

// A host whose answers for command ids count up from 0 (none) or from 1.
int g_nextCommandId = 0;
int __stdcall NextCommandId() { return g_nextCommandId++; }

class CommandIdTest : public RecalculationTest, public ::testing::WithParamInterface<int> {
 protected:
  CommandIdTest() {
    g_nextCommandId = GetParam();
    host.Install<9>(NextCommandId);
  }
};

TEST_P(CommandIdTest, EachContextCommandGetsTheHostsNextId) {
  int hostId = GetParam();
  for (int command : {40005, 40006, 40007, 40085, 40008, 40009, 40010, 40011, 40080, 40012,
                      40013, 40014, 40086, 40015, 40016, 40017, 40018, 40082, 40049, 40070,
                      40072, 40083, 40075, 40076, 40077, 40078, 40084, 40079}) {
    EXPECT_EQ(module.FindHostCommandId(command), hostId > 0 ? hostId : -1) << "0 is no id";
    ++hostId;
  }
}

INSTANTIATE_TEST_SUITE_P(FirstAnswers, CommandIdTest, ::testing::Values(0, 1));

TEST_F(RecalculationTest, RestoringRefusesABadMarkerOrAnUnknownKind) {
  const uint32_t records[2][2] = {{20090421, 210606}, {20090420, 210605}};
  for (const auto& record : records) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(record);
    host.SdkWindows().Store().Records().emplace_back(bytes, bytes + sizeof record);
  }
  EXPECT_EQ(module.RestoreWindow(0, nullptr, 0, 0, WindowStateStore::kRestoreTag), 0);
  EXPECT_EQ(module.RestoreWindow(0, nullptr, 0, 1, WindowStateStore::kRestoreTag), 0);
  EXPECT_TRUE(module.Tables().empty());
  EXPECT_FALSE(host.SdkWindows().Store().InSection()) << "the record is closed on every path";
}

class RiskTableUpdateTest : public RecalculationTest {
 protected:
  // A table is confirmed only with a closing pattern: the module's default one.
  CVantrelFutRiskParamsTable* OpenTable() {
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>());
    module.Closing().DefaultPattern = 0;
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    if (module.CreateTable(kRiskTableType, false, 0, nullptr, 0) == nullptr) return nullptr;
    return dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back());
  }
};

TEST_F(RiskTableUpdateTest, BroadcastReachesTablesOfTheObjectsKindOnly) {
  FirmSettings("FIRM1");
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100}));
  TClientRiskRecord* client = Client("FIRM1", "ACC1");
  const auto object = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(client));
  EXPECT_TRUE(module.BroadcastToTables(2, object));
  EXPECT_FALSE(table->ContainsRecord(client)) << "kind 2 is the orders table's";
  EXPECT_TRUE(module.BroadcastToTables(1, object));
  EXPECT_TRUE(table->ContainsRecord(client));
}

TEST_F(RiskTableUpdateTest, TablesAnswerForTheirClientsAndPatterns) {
  Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1, 0, 0, 100}));
  FirmSettings("FIRM1");
  TClientRiskRecord* client = Client("FIRM1", "ACC1");
  EXPECT_FALSE(module.IsClientInAnyTable(client)) << "no table is open";
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(module.IsClientInAnyTable(client));
  EXPECT_FALSE(module.IsPatternUsedByTable(2));
  table->SetPatternIndex(2);
  EXPECT_TRUE(module.IsPatternUsedByTable(2));
  module.ResetTablePatternIndex(3);
  EXPECT_EQ(table->GetPatternIndex(), 2);
  module.ResetTablePatternIndex(2);
  EXPECT_EQ(table->GetPatternIndex(), -1);
}

TEST_F(RecalculationTest, ClientMarksAreReArmedByKind) {
  TClientRiskRecord* client = module.Clients().OnLimit(LimitRecord({"FIRM1", "ACC1"}).data(), 0);
  client->lastSentUp = 1.5;
  client->lastSentMl2 = 2.5;
  client->rearmedUp = client->rearmedMl2 = false;
  module.ResetClientMarks(false, true);
  EXPECT_EQ(client->lastSentUp, 1.5);
  EXPECT_FALSE(client->rearmedUp);
  EXPECT_EQ(client->lastSentMl2, kValueNotSet);
  EXPECT_TRUE(client->rearmedMl2);
  module.ResetClientMarks(true, false);
  EXPECT_EQ(client->lastSentUp, kValueNotSet);
  EXPECT_TRUE(client->rearmedUp);
}

// A host whose emptying of a filter keeps the filter's mode.
void __stdcall EmptyFilterKeepingMode(host::FilterSelection* filter) {
  HeapFree(GetProcessHeap(), 0, filter->positions);
  filter->positions = nullptr;
  filter->count = 0;
}

// The host here keeps a filter's mode when it empties the filter: every
// reading of a file must set the mode itself.
class ClientFilterFileTest : public RiskTableUpdateTest {
 protected:
  ClientFilterFileTest() { host.Install<54>(EmptyFilterKeepingMode); }
  void SetUp() override {
    RiskTableUpdateTest::SetUp();
    Push(kLimitRecordCode, LimitRecord({"FIRM1", "ACC1", 1}));
    Push(kLimitRecordCode, LimitRecord({"FIRM2", "ACC2", 2}));
    FirmSettings("FIRM1");
    table = OpenTable();
    ASSERT_NE(table, nullptr);
  }
  std::string Write(const std::string& text) {
    const std::string path = files.File("filter.ini");
    WriteFileBytes(path, text);
    return path;
  }
  // The texts of the clients handle that the table's client filter holds.
  std::set<std::string> FilterTexts() {
    std::set<std::string> texts;
    const host::FilterSelection* filter = table->GetClientFilter();
    const host::ItemList* clients = module.ClientsFilter().Handle();
    for (int i = 0; i < filter->count; ++i) texts.insert(clients->entries[filter->positions[i]].text);
    return texts;
  }
  CTempFolder files;
  CVantrelFutRiskParamsTable* table = nullptr;
};

TEST_F(ClientFilterFileTest, AllowedClientsWinsWhereverItStands) {
  module.ReadClientFilterFile(
      Write("[ExcludedClients]\r\nX1, FIRM1=\r\n[AllowedClients]\r\nK01, FIRM1=\r\n  K02 ,FIRM2 =\r\n" +
            std::string(250, 'L') + ",FIRM12=\r\n"),  // read to its first 255 characters
      table);
  EXPECT_EQ(FilterTexts(),
            (std::set<std::string>{"K01 (FIRM1)", "K02 (FIRM2)", std::string(250, 'L') + " (FIRM)"}));
  EXPECT_EQ(table->GetClientFilterMode(), 0u) << "allow";
}

TEST_F(ClientFilterFileTest, ATableOpensWithTheFilterFileOfTheSettings) {
  module.Settings().NeedReadFilterFromFile = true;
  module.Settings().FilterFileName = Write("[ExcludedClients]\r\nK07, FIRM2=\r\n");
  table = OpenTable();
  EXPECT_EQ(FilterTexts(), std::set<std::string>{"K07 (FIRM2)"});
  EXPECT_EQ(table->GetClientFilterMode(), 1u) << "exclude";
}

TEST_F(ClientFilterFileTest, ExcludedClientsAloneExcludeAndACodeAloneMeansEveryFirm) {
  module.ReadClientFilterFile(Write("[ExcludedClients]\r\nK07=\r\n"), table);
  EXPECT_EQ(FilterTexts(), (std::set<std::string>{"K07 (FIRM1)", "K07 (FIRM2)"}));
  EXPECT_EQ(table->GetClientFilterMode(), 1u) << "exclude";
}

TEST_F(ClientFilterFileTest, AMissingFileLeavesTheFilterEmptyAndAnEmptyOneAllowsNone) {
  module.ReadClientFilterFile(Write("[ExcludedClients]\r\nK01, FIRM1=\r\n"), table);
  ASSERT_EQ(FilterTexts().size(), 1u);
  EXPECT_EQ(module.ReadClientFilterFile(files.File("missing.ini"), table), EClientFilterRead::kUnreadable);
  EXPECT_TRUE(FilterTexts().empty());
  EXPECT_EQ(table->GetClientFilterMode(), 1u) << "a file that cannot be sized changes no mode";
  module.ReadClientFilterFile(Write(""), table);
  EXPECT_TRUE(FilterTexts().empty());
  EXPECT_EQ(table->GetClientFilterMode(), 0u) << "an empty file allows its (no) clients";
}

TEST_F(ClientFilterFileTest, TablesWithAFileOfTheirOwnAreLeftOutOfModuleWideFilters) {
  table->SetFilterFromFile(true);
  module.ReadClientFilterFile(Write("[AllowedClients]\r\nK01, FIRM1=\r\n"), nullptr);
  EXPECT_TRUE(FilterTexts().empty());
  table->SetFilterFromFile(false);
  module.ReadClientFilterFile(Write("[AllowedClients]\r\nK01, FIRM1=\r\n"), nullptr);
  EXPECT_EQ(FilterTexts(), std::set<std::string>{"K01 (FIRM1)"});
}
}  // namespace
