// The risk-parameters table's filter with the module in the stand-in host:
// the record test against the filter settings, the create/edit dialog driven
// with messages, the table's saved state and older state records, and which
// clients become rows and may get margin calls.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/case_table.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "windows/tables/risk_params_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
enum : int {
  kSfrBox = 1035, kMarginCallBox = 1037, kFirmButton = 1054, kNotificationList = 1082, kSfrLevelEdit = 1083,
  kClientFilterBox = 1084, kAccountFilterBox = 1085, kFirmFilterBox = 1086, kPatternList = 1121,
  kFromFileBox = 1129, kFilePathEdit = 1130, kReloadButton = 1132, kPlainClientsBox = 1153,
  kStockClientsBox = 1154, kNoStockClientsBox = 1155, kOnlyFuturesRadio = 1216, kOnlyOptionsRadio = 1217,
  kAddAllColumns = 1004,
};

// "key=value" words; a word without "=" is a flag, "1".
std::map<std::string, std::string> Words(const std::string& text) {
  std::map<std::string, std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    const size_t equals = word.find('=');
    words[word.substr(0, equals)] = equals == std::string::npos ? "1" : word.substr(equals + 1);
  }
  return words;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Ticked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
void Choose(HWND dialog, int list, int index) {
  SendDlgItemMessageA(dialog, list, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}
int ChosenData(HWND dialog, int list) {
  const auto index = SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(SendDlgItemMessageA(dialog, list, CB_GETITEMDATA, index, 0));
}
std::string Text(HWND dialog, int id) {
  char text[300] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class RiskTableFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    host.Records().AddClass({"SPBFUT", 0x40, 0, 1});
    host.Records().AddClass({"SPBOPT", 0x40 | 0x800, 0, 2});
    host.Records().AddClass({"TQBR", 0x4, 0, 3});
    host.Records().AddSecurity({"SPBFUT", "RIZ6", 1});
    host.Records().AddSecurity({"SPBOPT", "RI105000BL6", 2});
    host.Records().AddSecurity({"TQBR", "SBER", 3});
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), plugin.Callbacks(), "", CVantrelModule::kHostVersion,
                                      0, &code, text, sizeof text));
    plugin.SendUiInfo();
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>());
    module.Closing().Patterns.back()->PatternName = "SFR 1.0";
    module.Closing().DefaultPattern = 0;
    for (const char* firm : {"F1", "F2"}) module.FirmsFilter().Add(firm);
  }
  void TearDown() override {
    while (!module.Tables().empty()) DestroyWindow(module.Tables().front()->GetHwnd());
  }

  // A new table through the module's creation, its dialog answered by action.
  CVantrelFutRiskParamsTable* OpenTable(const DialogDriver::Action& action = [](HWND dialog) {
    DialogDriver::Press(dialog, IDOK);
  }) {
    const size_t before = module.Tables().size();
    DialogDriver driver(action);
    module.CreateTable(kRiskTableType, false, 0, nullptr, 0);
    created = driver.Caption();
    return module.Tables().size() > before ? dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back())
                                           : nullptr;
  }
  bool Edit(CVantrelFutRiskParamsTable* table, const DialogDriver::Action& action) {
    DialogDriver driver(action);
    const bool confirmed = table->OnMenuCommand(kCommandEditTable, 0, 0) != 0;
    edited = driver.Caption();
    return confirmed;
  }
  // A client as the case words describe it; the record is kept by the test.
  TClientRiskRecord* MakeClient(const std::string& description, const char* code = "C1",
                                const char* account = "A1") {
    clients.push_back(std::make_unique<TClientRiskRecord>("F1", account));
    TClientRiskRecord* client = clients.back().get();
    lstrcpynA(client->clientCode, code, sizeof client->clientCode);
    client->ExclusionMark = kRuleIncluded;
    host.Market().SetClientValue("F1", code, 6, {0.0, 0});
    for (const auto& word : Words(description)) {
      const double value = std::atof(word.second.c_str());
      if (word.first == "united") client->united = true;
      else if (word.first == "stock") host.Market().SetClientValue("F1", code, 6, {100.0, 0});
      else if (word.first == "excluded") client->ExclusionMark = kRuleExcluded;
      else if (word.first == "sfr") client->sfr = value;
      else if (word.first == "sfrfp") client->sfrOpenPositions = value;
      else if (word.first == "clgo") client->clgo = value;
      else if (word.first == "eclgo") client->eclgo = value;
      else if (word.first == "ml") client->marginLevel = value;
      else if (word.first == "planned") client->plannedNetPosition = value;
      else if (word.first == "current") client->currentNetPosition = value;
      else if (word.first == "dsl") client->dayStartLimit = value;
      else if (word.first == "opl") client->openPositionLimit = value;
      else if (word.first == "ai") client->accruedIncome = value;
      else if (word.first == "rvm") client->realVariationMargin = value;
      else if (word.first == "pos") AddPositions(client, word.second);
      else ADD_FAILURE() << "no client word " << word.first;
    }
    return client;
  }
  void AddPositions(TClientRiskRecord* client, const std::string& list) {
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');) {
      const size_t colon = item.find(':');
      positions.push_back(PositionRecord({"F1", client->account, item.substr(0, colon), 1,
                                          std::atoi(item.substr(colon + 1).c_str())}));
      client->positions.push_back(positions.back().data());
    }
  }
  void PushLimit(const char* account) {
    const std::vector<uint8_t> limit = LimitRecord({"F1", account, ++limitId, 0, 0, 1000});
    module.OnHostCommand(1, kLimitRecordCode, limit.data(), static_cast<uint32_t>(limit.size()));
  }
  // Puts the text, as an item of the list, into the filter.
  static void Select(host::FilterSelection* filter, CHostItemList& items, const std::string& text, uint32_t mode) {
    HostCall<160>(items.Add(text), filter);
    filter->reserved1 = mode;
  }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  PluginLibrary plugin{host};
  CVantrelModule module{GetModuleHandleA(nullptr)};
  std::vector<std::unique_ptr<TClientRiskRecord>> clients;
  std::vector<std::vector<uint8_t>> positions;
  std::string created, edited;
  int32_t limitId = 0;
};

TEST_F(RiskTableFilterTest, EachClientIsTestedAgainstTheTablesFilter) {
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const TModuleSettings base = module.Settings();
  RunCaseTable("risk_filters.txt", {{"Accepts", [&](const CaseRow& c) {
                 TClientRiskRecord* client = MakeClient(c.words[0]);
                 for (host::FilterSelection* filter :
                      {table->GetClientFilter(), table->GetAccountFilter(), table->GetFirmFilter()})
                   HostCall<54>(filter);
                 TRiskTableFilter& filter = table->Filter();
                 filter = TRiskTableFilter();
                 for (const auto& word : Words(c.words[1])) {
                   const std::string& value = word.second;
                   if (word.first == "firms") Select(table->GetFirmFilter(), module.FirmsFilter(), value, 0);
                   else if (word.first == "clients") Select(table->GetClientFilter(), module.ClientsFilter(), value + " (F1)", 0);
                   else if (word.first == "xclients") Select(table->GetClientFilter(), module.ClientsFilter(), value + " (F1)", 1);
                   else if (word.first == "accounts") Select(table->GetAccountFilter(), module.AccountsFilter(), value, 0);
                   else if (word.first == "sfr") filter.UseSfrLevel = true, filter.SfrLevel = std::atof(value.c_str());
                   else if (word.first == "mc") filter.UseMarginCallCondition = true, filter.NotificationType = std::atoi(value.c_str());
                   else if (word.first == "types") filter.ClientTypes = static_cast<uint32_t>(std::atoi(value.c_str()));
                   else if (word.first == "pos") filter.PositionType = std::atoi(value.c_str());
                   else ADD_FAILURE() << "no filter word " << word.first;
                 }
                 TModuleSettings& settings = module.Settings();
                 settings = base;
                 for (const auto& word : Words(c.words[2])) {
                   const double value = std::atof(word.second.c_str());
                   const size_t colon = word.second.find(':');
                   if (word.first == "ct2") settings.ClientsType2 = static_cast<int>(value);
                   else if (word.first == "sfrw") settings.SFRWarningLevel = value;
                   else if (word.first == "sfrwfp") settings.SFRWarningLevel_fp = value;
                   else if (word.first == "clgo") settings.CLGOLevel = value;
                   else if (word.first == "eclgo") settings.ECLGOLevel = value;
                   else if (word.first == "ml") settings.MLLevel = value;
                   else if (word.first == "lim") settings.CLGOLimitType = static_cast<int>(value);
                   else if (word.first == "vmai") settings.CLGOUseVMAI = true;
                   else if (word.first == "onlyunited") settings.OnlyUnitedPos = true;
                   else if (word.first == "up")
                     settings.UPParam = static_cast<int>(value), settings.UPLevel = std::atof(&word.second[colon + 1]);
                   else if (word.first == "ml2")
                     settings.ML2Param = static_cast<int>(value), settings.ML2Level = std::atof(&word.second[colon + 1]);
                   else ADD_FAILURE() << "no settings word " << word.first;
                 }
                 EXPECT_EQ(table->AcceptsRecord(client) ? 1 : 0, static_cast<int>(c[3]));
               }}});
  EXPECT_FALSE(table->AcceptsRecord(nullptr));
}

TEST_F(RiskTableFilterTest, OnlyAcceptedClientsAreRowsAndOnlyTheyGetMarginCalls) {
  for (const char* account : {"A1", "A2"}) PushLimit(account);
  module.OnHostEvent(4, "F1", 0, 0);
  TClientRiskRecord* first = module.Clients().Find("F1", "A1");
  TClientRiskRecord* second = module.Clients().Find("F1", "A2");
  ASSERT_TRUE(first != nullptr && second != nullptr);
  host.Market().QueueFilterChoice({"A2"});
  CVantrelFutRiskParamsTable* table = OpenTable([](HWND dialog) {
    Click(dialog, kAccountFilterBox);  // ticked: the host's dialog picks A2
    DialogDriver::Press(dialog, IDOK);
  });
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(table->ContainsRecord(first));
  EXPECT_TRUE(table->ContainsRecord(second));
  EXPECT_FALSE(module.IsClientInAnyTable(first));
  EXPECT_TRUE(module.IsClientInAnyTable(second));
  module.UpdateRiskTables();
  EXPECT_EQ(table->GetView()->GetRowCount(), 2) << "the header and A2";

  module.Settings().ConsiderFilters = true;
  module.Settings().TraceLogLevel = 3;
  const auto skipped = [&] {
    const std::string log = ReadFileBytes(folder.File("VantrelFM.log"));
    int count = 0;
    for (size_t at = log.find("not shown in any table"); at != std::string::npos; at = log.find("not shown", at + 1))
      ++count;
    return count;
  };
  module.SendMarginCall(2, first, 1.0, "text", false);
  EXPECT_EQ(skipped(), 1) << "A1 is in no table";
  module.SendMarginCall(2, second, 1.0, "text", false);
  EXPECT_EQ(skipped(), 1) << "A2 is shown";
}

TEST_F(RiskTableFilterTest, TheDialogsControlsRoundTripIntoTheFilter) {
  const std::string file = temp.File("clients.ini");
  WriteFileBytes(file, "[AllowedClients]\r\nC1,F1=\r\n");
  module.Settings().ML2Param = -1;
  host.Market().QueueFilterChoice({"F2"});
  std::string box;
  CVantrelFutRiskParamsTable* table = OpenTable([&](HWND dialog) {
    EXPECT_FALSE(Enabled(dialog, kSfrLevelEdit));
    EXPECT_FALSE(Enabled(dialog, kNotificationList));
    EXPECT_EQ(ChosenData(dialog, kPatternList), 0) << "a new table takes the default pattern";
    Click(dialog, kFirmButton);
    Click(dialog, kSfrBox);
    SetDlgItemTextA(dialog, kSfrLevelEdit, "1,25");
    Click(dialog, kMarginCallBox);
    Choose(dialog, kNotificationList, 3);  // "Коэф.ликвидности ГО"
    {
      DialogDriver refused([](HWND message) { DialogDriver::Press(message, IDOK); });
      Choose(dialog, kNotificationList, 7);  // the margin level, not configured
      box = refused.Caption() + ": " + refused.Text();
    }
    EXPECT_EQ(ChosenData(dialog, kNotificationList), 3) << "the previous type is chosen again";
    Click(dialog, kNoStockClientsBox);
    Click(dialog, kOnlyOptionsRadio);
    Click(dialog, kFromFileBox);
    SetDlgItemTextA(dialog, kFilePathEdit, file.c_str());
    DialogDriver::Press(dialog, IDOK);
  });
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(created, "Создание таблицы");
  EXPECT_EQ(box, "Ошибка: Для установки данного фильтра необходимо настроить параметры соответствующего оповещения");
  const TRiskTableFilter& filter = table->Filter();
  EXPECT_TRUE(filter.UseSfrLevel);
  EXPECT_DOUBLE_EQ(filter.SfrLevel, 1.25);
  EXPECT_TRUE(filter.UseMarginCallCondition);
  EXPECT_EQ(filter.NotificationType, 3);
  EXPECT_EQ(filter.ClientTypes, 5u);
  EXPECT_EQ(filter.PositionType, 2);
  EXPECT_TRUE(table->GetFilterFromFile());
  EXPECT_EQ(filter.FilterFilePath, file);
  EXPECT_EQ(table->GetPatternIndex(), 0);
  EXPECT_NE(HostCall<58>("F2", module.FirmsFilter().Handle(), table->GetFirmFilter()), 0);
  EXPECT_EQ(HostCall<58>("F1", module.FirmsFilter().Handle(), table->GetFirmFilter()), 0);

  // The edit dialog shows the table as it is; OK without a change keeps it so.
  const TRiskTableFilter before = filter;
  ASSERT_TRUE(Edit(table, [](HWND dialog) {
    EXPECT_TRUE(Ticked(dialog, kSfrBox) && Enabled(dialog, kSfrLevelEdit));
    EXPECT_EQ(Text(dialog, kSfrLevelEdit), "1,25");
    EXPECT_TRUE(Ticked(dialog, kMarginCallBox) && Enabled(dialog, kNotificationList));
    EXPECT_EQ(ChosenData(dialog, kNotificationList), 3);
    EXPECT_TRUE(Ticked(dialog, kFirmFilterBox));
    EXPECT_TRUE(Ticked(dialog, kClientFilterBox)) << "the file read when the table was created";
    EXPECT_FALSE(Ticked(dialog, kAccountFilterBox));
    EXPECT_TRUE(Ticked(dialog, kPlainClientsBox) && Ticked(dialog, kStockClientsBox));
    EXPECT_FALSE(Ticked(dialog, kNoStockClientsBox));
    EXPECT_TRUE(Ticked(dialog, kOnlyOptionsRadio) && !Ticked(dialog, kOnlyFuturesRadio));
    EXPECT_TRUE(Ticked(dialog, kFromFileBox) && Enabled(dialog, kReloadButton));
    EXPECT_EQ(ChosenData(dialog, kPatternList), 0);
    DialogDriver::Press(dialog, IDOK);
  }));
  EXPECT_EQ(edited, "Редактирование таблицы");
  EXPECT_EQ(std::make_tuple(filter.UseSfrLevel, filter.SfrLevel, filter.UseMarginCallCondition,
                            filter.NotificationType, filter.ClientTypes, filter.PositionType),
            std::make_tuple(before.UseSfrLevel, before.SfrLevel, before.UseMarginCallCondition,
                            before.NotificationType, before.ClientTypes, before.PositionType));
  EXPECT_NE(HostCall<58>("F2", module.FirmsFilter().Handle(), table->GetFirmFilter()), 0) << "the firm filter kept";

  // Cancel leaves the conditions and the filters, even after a reload of the file.
  EXPECT_FALSE(Edit(table, [](HWND dialog) {
    Click(dialog, kSfrBox);
    Click(dialog, kFirmFilterBox);  // cleared
    Click(dialog, kReloadButton);
    EXPECT_TRUE(Ticked(dialog, kClientFilterBox)) << "the file's client";
    DialogDriver::Press(dialog, IDCANCEL);
  }));
  EXPECT_TRUE(filter.UseSfrLevel);
  EXPECT_NE(HostCall<53>(table->GetFirmFilter()), 0);
  EXPECT_NE(HostCall<58>("C1 (F1)", module.ClientsFilter().Handle(), table->GetClientFilter()), 0)
      << "the file read when the table was created";
}

// A level with more than six decimals comes back rounded to six after OK.
TEST_F(RiskTableFilterTest, TheLevelShownHasAtMostSixDecimals) {
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  table->Filter().SfrLevel = 0.123456789;
  table->Filter().UseSfrLevel = true;
  ASSERT_TRUE(Edit(table, [](HWND dialog) {
    EXPECT_EQ(Text(dialog, kSfrLevelEdit), "0,123457");
    DialogDriver::Press(dialog, IDOK);
  }));
  EXPECT_DOUBLE_EQ(table->Filter().SfrLevel, 0.123457);
}

// Below every type in the settings the table's own types are not offered;
// what the boxes show comes back unchanged.
TEST_F(RiskTableFilterTest, TheTablesClientTypesAreOfferedOnlyWhenTheSettingsAllowEveryType) {
  for (const int allowed : {7, 3}) {
    module.Settings().ClientsType2 = allowed;
    bool enabled = allowed != 7;
    CVantrelFutRiskParamsTable* table = OpenTable([&](HWND dialog) {
      enabled = Enabled(dialog, kPlainClientsBox) && Enabled(dialog, kStockClientsBox) &&
                Enabled(dialog, kNoStockClientsBox);
      if (enabled) Click(dialog, kPlainClientsBox);
      DialogDriver::Press(dialog, IDOK);
    });
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(enabled, allowed == 7) << allowed;
    EXPECT_EQ(table->Filter().ClientTypes, allowed == 7 ? 6u : 7u) << allowed;
  }
}

TEST_F(RiskTableFilterTest, OkStaysDisabledWithoutAClosingPattern) {
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  module.ResetTablePatternIndex(0);  // as when its pattern was deleted
  bool stayed = false, afterColumns = true;
  ASSERT_TRUE(Edit(table, [&](HWND dialog) {
    EXPECT_EQ(ChosenData(dialog, kPatternList), -1) << "an edit takes no default";
    DialogDriver::Press(dialog, IDOK);
    stayed = IsWindow(dialog) && !Enabled(dialog, IDOK);
    Click(dialog, kAddAllColumns);  // the SDK's own buttons do not enable OK
    afterColumns = Enabled(dialog, IDOK);
    Choose(dialog, kPatternList, 0);
    EXPECT_TRUE(Enabled(dialog, IDOK));
    DialogDriver::Press(dialog, IDOK);
  }));
  EXPECT_TRUE(stayed) << "an OK sent by message does not confirm it either";
  EXPECT_FALSE(afterColumns);
  EXPECT_EQ(table->GetPatternIndex(), 0);

  // A null entry of the list is skipped; with no pattern at all no table is made.
  module.Closing().Patterns.clear();
  module.Closing().Patterns.push_back(nullptr);
  bool disabled = false;
  int items = -1;
  EXPECT_EQ(OpenTable([&](HWND dialog) {
              disabled = !Enabled(dialog, IDOK);
              items = static_cast<int>(SendDlgItemMessageA(dialog, kPatternList, CB_GETCOUNT, 0, 0));
              DialogDriver::Press(dialog, IDOK);
              DialogDriver::Press(dialog, IDCANCEL);
            }),
            nullptr);
  EXPECT_TRUE(disabled);
  EXPECT_EQ(items, 0);
}

TEST_F(RiskTableFilterTest, ATableWithEveryFilterSetSurvivesARestore) {
  const std::string own = temp.File("own.ini"), global = temp.File("global.ini");
  WriteFileBytes(own, "[AllowedClients]\r\nC1,F1=\r\n");
  WriteFileBytes(global, "[AllowedClients]\r\nC9,F1=\r\n");
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  Select(table->GetFirmFilter(), module.FirmsFilter(), "F1", 0);
  Select(table->GetAccountFilter(), module.AccountsFilter(), "A7", 1);
  TRiskTableFilter& filter = table->Filter();
  filter.UseSfrLevel = true, filter.SfrLevel = 0.75, filter.UseMarginCallCondition = true;
  filter.NotificationType = 9, filter.ClientTypes = 6, filter.PositionType = 1, filter.FilterFilePath = own;
  table->SetFilterFromFile(true);
  module.ReadClientFilterFile(own, table);
  module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>());
  table->SetPatternIndex(1);
  ASSERT_EQ(host.SdkWindows().SaveLayout(host.MdiClient()), 1);
  DestroyWindow(table->GetHwnd());
  module.Settings().NeedReadFilterFromFile = true;
  module.Settings().FilterFileName = global;
  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
  ASSERT_EQ(module.Tables().size(), 1u);
  table = dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back());
  ASSERT_NE(table, nullptr);
  const TRiskTableFilter& restored = table->Filter();
  EXPECT_TRUE(restored.UseSfrLevel);
  EXPECT_DOUBLE_EQ(restored.SfrLevel, 0.75);
  EXPECT_TRUE(restored.UseMarginCallCondition);
  EXPECT_EQ(restored.NotificationType, 9);
  EXPECT_EQ(restored.ClientTypes, 6u);
  EXPECT_EQ(restored.PositionType, 1);
  EXPECT_EQ(restored.FilterFilePath, own);
  EXPECT_TRUE(table->GetFilterFromFile());
  EXPECT_EQ(table->GetPatternIndex(), 1);
  const host::ItemList* clients = module.ClientsFilter().Handle();
  EXPECT_NE(HostCall<58>("C1 (F1)", clients, table->GetClientFilter()), 0);
  EXPECT_EQ(HostCall<58>("C9 (F1)", clients, table->GetClientFilter()), 0) << "the global file does not overwrite it";
  EXPECT_NE(HostCall<58>("F1", module.FirmsFilter().Handle(), table->GetFirmFilter()), 0);
  EXPECT_EQ(HostCall<58>("F2", module.FirmsFilter().Handle(), table->GetFirmFilter()), 0);
  EXPECT_EQ(HostCall<58>("A7", module.AccountsFilter().Handle(), table->GetAccountFilter()), 0) << "excluded";
  EXPECT_NE(HostCall<58>("A8", module.AccountsFilter().Handle(), table->GetAccountFilter()), 0);
}

// The table's own record, written by hand after the SDK's part of a saved
// table whose filters are empty: version, three empty filters (mode and count
// each), the two conditions, pattern 0, then what the version holds.
TEST_F(RiskTableFilterTest, OlderStateRecordsStillLoad) {
  CVantrelFutRiskParamsTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(host.SdkWindows().SaveLayout(host.MdiClient()), 1);
  DestroyWindow(table->GetHwnd());
  std::vector<uint8_t>& record = host.SdkWindows().Store().Records().back();
  const size_t ownPart = 4 + 3 * 8 + 1 + 8 + 1 + 4 + 4 + 4 + 4 + 4 + 4;
  ASSERT_GT(record.size(), ownPart);
  record.resize(record.size() - ownPart);
  const std::vector<uint8_t> sdkPart = record;
  const auto put = [](std::vector<uint8_t>& bytes, const auto value) {
    const auto* raw = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
  };
  const struct { int32_t version; std::vector<int32_t> tail; uint32_t clientTypes; int positionType; } cases[] = {
      {101, {0}, 7, 3},         // no client type at all
      {102, {2, 0}, 1, 3},      // the old single type: 2 became "without a united position"
      {102, {1, 0}, 3, 3},
      {102, {3, 0}, 6, 3},
      {103, {5, 0}, 5, 3},
      {104, {4, 2, 0}, 4, 2},
      {105, {4, 2, 0}, 4, 2},   // a later version is read as 104
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = sdkPart;
    put(bytes, c.version);
    for (int n = 0; n < 6; ++n) put(bytes, int32_t{0});  // three empty filters
    put(bytes, uint8_t{1});
    put(bytes, 0.5);
    put(bytes, uint8_t{0});
    put(bytes, int32_t{4});  // notification type
    put(bytes, int32_t{0});  // pattern
    for (int32_t value : c.tail) put(bytes, value);
    host.SdkWindows().Store().Records() = {bytes};
    ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1) << c.version;
    auto* restored = dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back());
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(restored->Filter().UseSfrLevel) << c.version;
    EXPECT_DOUBLE_EQ(restored->Filter().SfrLevel, 0.5);
    EXPECT_EQ(restored->Filter().NotificationType, 4);
    EXPECT_EQ(restored->Filter().ClientTypes, c.clientTypes) << c.version;
    EXPECT_EQ(restored->Filter().PositionType, c.positionType) << c.version;
    EXPECT_FALSE(restored->GetFilterFromFile());
    DestroyWindow(restored->GetHwnd());
  }
}

// A table saved when client items did not name their firm: its client filter
// is dropped, but the items another open table's filter selects stay.
TEST_F(RiskTableFilterTest, ALegacyClientFilterIsDroppedWithoutEmptyingSharedItems) {
  CVantrelFutRiskParamsTable* legacy = OpenTable();
  ASSERT_NE(legacy, nullptr);
  Select(legacy->GetClientFilter(), module.ClientsFilter(), "C1", 0);
  ASSERT_EQ(host.SdkWindows().SaveLayout(host.MdiClient()), 1);
  DestroyWindow(legacy->GetHwnd());
  CVantrelFutRiskParamsTable* modern = OpenTable();
  ASSERT_NE(modern, nullptr);
  Select(modern->GetClientFilter(), module.ClientsFilter(), "C2 (F1)", 0);
  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
  legacy = dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back());
  ASSERT_TRUE(legacy != nullptr && legacy != modern);
  EXPECT_EQ(HostCall<53>(legacy->GetClientFilter()), 0) << "the legacy filter is dropped";
  EXPECT_EQ(module.ClientsFilter().Handle()->count, 2) << "the other table still selects from the items";
  EXPECT_NE(HostCall<58>("C2 (F1)", module.ClientsFilter().Handle(), modern->GetClientFilter()), 0);
  EXPECT_EQ(HostCall<58>("C3 (F1)", module.ClientsFilter().Handle(), modern->GetClientFilter()), 0);

  // Alone, the restored table takes the legacy items with it.
  DestroyWindow(modern->GetHwnd());
  DestroyWindow(legacy->GetHwnd());
  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
  EXPECT_EQ(module.ClientsFilter().Handle()->count, 0);
}
}  // namespace
