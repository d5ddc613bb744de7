// The module's own sender, run in this process with the stand-in host: the
// value and the templates each kind of margin call carries into the journal
// (SQLite), the calls a risk table's command sends with a text of the user's
// own, and the texts the module fills for the tables.
#include "host/standin/standin_host.h"
#include "module/notify/database_shell.h"
#include "module/risk/margin_call_kinds.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "sdk/numeric.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr char kCreateKindCalls[] =
    "drop table if exists KindCalls; create table KindCalls (MCType, TDate, MCTime, MCLevel, "
    "Margin, CCode, MsgText, MsgText2, MsgText3, MsgText4, SubjText, FirmID, MsgText5, Emails)";

class MarginCallKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SqliteQuery(kCreateKindCalls), "");
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
    // Every kind's subject and body name it; the journal keeps the subject
    // only while e-mail is on, which reaches nobody here (no address file).
    TModuleSettings& s = module.Settings();
    s.TraceLogLevel = 2, s.ConsiderFilters = false;
    s.LowFundsTopic = "LF %cc", s.LowFundsBody = "LF body %.2val";
    s.SFRTopic = "SFR %cc", s.SFRBody = "SFR body %.2val";
    s.SFRTopic2 = "SFR2 %cc", s.SFRBody2 = "SFR2 body %.2val";
    s.CLGOTopic = "CLGO %cc", s.CLGOBody = "CLGO body %.2val";
    s.ECLGOTopic = "ECLGO %cc", s.ECLGOBody = "ECLGO body %.2val";
    s.MLTopic = "ML %cc", s.MLBody = "ML body %.2val";
    s.UPTopic = "UP %cc", s.UPBody = "UP body %.2val";
    s.ML2Topic = "ML2 %cc", s.ML2Body = "ML2 body %.2val";
    s.ML2Topic2 = "ML2q %cc", s.ML2Body2 = "ML2q body %.2val";
    TTransportSettings& t = module.Transport();
    t.NotifyByEmail = true, t.NotifyByTraderMsg = t.NotifyBySMS = t.NotifyByMC2Z = false;
    t.NeedSaveToDB = true, t.DSN = "VanTrelLite", t.DBTable = "KindCalls";
    module.OnHostNotificationB(0);
    std::strcpy(record.clientCode, "C1");
  }

  // The journal's rows: kind, level, value, body, subject.
  static std::string Rows() {
    return SqliteQuery("select MCType || '|' || printf('%.2f', MCLevel) || '|' || "
                       "printf('%.4f', Margin) || '|' || MsgText || '|' || SubjText "
                       "from KindCalls order by rowid");
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
  TClientRiskRecord record{"MC0001", "A1"};
};

// One call: the client as the kind's rule reads it, the settings it needs,
// and the row it leaves. Amounts are set as the record keeps them (x 100).
struct KindCase {
  const char* name;
  int kind;
  double level;
  void (*prepare)(TClientRiskRecord&, TModuleSettings&);
  const char* row;
};

const KindCase kKinds[] = {
    {"LowFundsInRoubles", kLowFundsKind, 0.0,
     [](TClientRiskRecord& r, TModuleSettings&) { r.plannedNetPosition = -1234567; },
     "1|0.00|-12345.6700|LF body -12345,67|LF C1"},
    {"Clgo", kClgoKind, 1.0, [](TClientRiskRecord& r, TModuleSettings&) { r.clgo = 0.4567; },
     "3|1.00|0.4567|CLGO body 0,46|CLGO C1"},
    {"Eclgo", kEclgoKind, 0.0, [](TClientRiskRecord& r, TModuleSettings&) { r.eclgo = 0.1375; },
     "4|0.00|0.1375|ECLGO body 0,14|ECLGO C1"},
    {"MarginLevelOfAUnitedClient", kMarginLevelKind, 0.9,
     [](TClientRiskRecord& r, TModuleSettings&) {
       r.united = true, r.marginLevel = 0.8125, r.plannedNetPosition = -500;
     },
     "5|0.90|0.8125|ML body 0,81|ML C1"},
    {"MarginLevelWithoutAUnitedPositionInRoubles", kMarginLevelKind, 0.0,
     [](TClientRiskRecord& r, TModuleSettings&) { r.marginLevel = 0.8125, r.plannedNetPosition = -500; },
     "5|0.00|-5.0000|ML body -5,00|ML C1"},
    {"UpByCashLeverage", kUpKind, 5.0,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.UPParam = kCashLeverageId, r.cashLeverage = 7.5, r.totalAssets = 300;
     },
     "6|5.00|7.5000|UP body 7,50|UP C1"},
    {"UpByTotalAssetsInRoubles", kUpKind, 5.0,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.UPParam = kTotalAssetsId, r.cashLeverage = 7.5, r.totalAssets = 300;
     },
     "6|5.00|3.0000|UP body 3,00|UP C1"},
    {"Ml2OfAClientNotQualified", kMl2Kind, 0.5,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.ML2Param = kModifiedMarginLevelId, s.ConsiderQualClient = s.UseML2Template2 = true;
       r.united = true, r.modifiedMarginLevel = 0.3789, r.marginLevel = 2;
     },
     "7|0.50|0.3789|ML2 body 0,38|ML2 C1"},
    {"Ml2OfAQualifiedClientTakesTheSecondTemplate", kMl2Kind, 0.25,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.ML2Param = kModifiedMarginLevelId, s.ConsiderQualClient = s.UseML2Template2 = true;
       r.united = r.qualified = true, r.modifiedMarginLevel = 0.1234;
     },
     "7|0.25|0.1234|ML2q body 0,12|ML2q C1"},
    {"Ml2SecondTemplateNeedsAUnitedPosition", kMl2Kind, 0.25,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.ML2Param = kModifiedMarginLevelId, s.ConsiderQualClient = s.UseML2Template2 = true;
       r.qualified = true, r.modifiedMarginLevel = 0.1234;
     },
     "7|0.25|0.1234|ML2 body 0,12|ML2 C1"},
    {"Ml2SecondTemplateOnlyWhenTheSettingsSaySo", kMl2Kind, 0.25,
     [](TClientRiskRecord& r, TModuleSettings& s) {
       s.ML2Param = kModifiedMarginLevelId, s.ConsiderQualClient = true;
       r.united = r.qualified = true, r.modifiedMarginLevel = 0.1234;
     },
     "7|0.25|0.1234|ML2 body 0,12|ML2 C1"},
};

class MarginCallKindTest : public MarginCallKindsTest,
                           public ::testing::WithParamInterface<KindCase> {};

TEST_P(MarginCallKindTest, CarriesTheKindsValueAndTemplates) {
  GetParam().prepare(record, module.Settings());
  module.SendMarginCall(GetParam().kind, &record, GetParam().level, "", true);
  EXPECT_EQ(Rows(), std::string(GetParam().row) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, MarginCallKindTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// A risk table's command sends the user's text as it stands, placeholders
// and all; the subject is still the kind's. The call counts as sent (its
// time) without touching what the automatic check compares with.
TEST_F(MarginCallKindsTest, AManualCallSendsTheUsersTextUnderTheKindsSubject) {
  module.Settings().UseSFRTemplate2 = true, module.Settings().SFRCriticalLevel = 0.5;
  record.sfr = 0.25;
  const int64_t before = std::time(nullptr);
  module.SendMarginCall(kSfrKind, &record, 0.5, "Пополните счёт, %cc: %.2val", false);
  EXPECT_EQ(Rows(), "2|0.50|0.2500|Пополните счёт, %cc: %.2val|SFR2 C1\n");
  EXPECT_GE(record.lastSentTimeSfr, before);
  EXPECT_LE(record.lastSentTimeSfr, std::time(nullptr));
  EXPECT_EQ(record.lastSentSfr, kValueNotSet);
  EXPECT_TRUE(record.rearmedSfr);
  module.SendMarginCall(kSfrKind, nullptr, 0.5, "nobody", false);  // no client: nothing
  EXPECT_EQ(Rows(), "2|0.50|0.2500|Пополните счёт, %cc: %.2val|SFR2 C1\n");
}

// With every channel off the call reaches nobody: the journal still has it,
// without a subject since e-mail is off, and its time stays unset.
TEST_F(MarginCallKindsTest, AManualCallNoChannelTakesIsJournaledWithoutItsTime) {
  module.Transport().NotifyByEmail = false;
  record.clgo = 0.5;
  module.SendMarginCall(kClgoKind, &record, 0.0, "", true);
  EXPECT_EQ(Rows(), "3|0.00|0.5000|CLGO body 0,50|\n");
  EXPECT_EQ(record.lastSentTimeClgo, 0);
}

// The text a table shows for editing: the template filled like a call's.
TEST_F(MarginCallKindsTest, TheTablesTextIsTheTemplateFilledForTheClient) {
  CTempFolder temp;
  WriteFileBytes(temp.File("emails"), "C1=c1@client.ru\r");
  module.Transport().ZenkEmailsVsClientCodesFile = temp.File("emails");
  module.ReloadAddressFiles();
  EXPECT_EQ(module.ComposeMarginCallText("%cc: %.2val, %Aval (%em)", -2.3456, "MC0001", "C1"),
            "C1: -2,35, 2,3456 (c1@client.ru)");
  EXPECT_EQ(module.ComposeMarginCallText("%cc %val", kValueNotSet, "MC0001", "C1"), "C1 -");
}

}  // namespace
