// Risk formulas, parameters by id, level tests, the client record and row
// colours; the cases, worked by hand, are in cases/risk.txt.
#include "case_table.h"
#include "module/cell_colors.h"
#include "module/risk/client_risk_record.h"
#include "module/risk/level_tests.h"
#include "module/risk/limit_merge.h"
#include "module/risk/risk_formulas.h"
#include "module/risk/risk_param_by_index.h"
#include "sdk/host_api.h"
#include "sdk/numeric.h"
#include "windows/tables/risk_manual_calls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
TRiskColorSettings ColorSettings() {
  TRiskColorSettings s;
  s.NormalColor = 0xFFFFFF, s.WarningColor = 0xFFFF, s.CriticalColor = 0xFF;
  s.SFRWarningLevel = 1.5, s.SFRCriticalLevel = 1.0;
  s.SFRWarningLevel_fp = 1.2, s.SFRCriticalLevel_fp = 0.8;
  return s;
}

// Settings whose body templates are their own key names.
TModuleSettings ManualCallSettings() {
  TModuleSettings s;
  s.SFRWarningLevel = s.SFRWarningLevel_fp = 1.0, s.SFRCriticalLevel = s.SFRCriticalLevel_fp = 0.5;
  s.CLGOLevel = 0.8, s.ECLGOLevel = 0.9, s.MLLevel = 0.7, s.CLGOLimitType = 1, s.CLGOUseVMAI = false;
  s.DontSendSFRifCLGO = s.DontSendSFRifCLGO_fp = false;
  s.SendLowFundsMsg = s.SendSFRWarningMsg = s.SendSFRCriticalMsg = s.SendSFRWarningMsg_fp = false;
  s.SendSFRCriticalMsg_fp = s.SendCLGOMsg = s.SendECLGOMsg = s.SendMLMsg = false;  // held inverted: all on
  s.AlwaysAllowManualSending = false, s.UseSFRTemplate2 = s.UseSFRTemplate2_fp = true;
  s.ML2Param = 23, s.ML2Level = 0.5, s.ML2LevelQual = 0.3;
  s.LowFundsBody = "LowFundsBody", s.SFRBody = "SFRBody", s.SFRBody2 = "SFRBody2", s.SFRBody_fp = "SFRBody_fp";
  s.SFRBody2_fp = "SFRBody2_fp", s.CLGOBody = "CLGOBody", s.ECLGOBody = "ECLGOBody", s.MLBody = "MLBody";
  s.ML2Body = "ML2Body", s.ML2Body2 = "ML2Body2";
  return s;
}

// "qualifies value level body" of a call; "0 0 0 -" when it does not qualify.
std::string Described(const TManualCall& call) {
  if (!call.qualifies) return "0 0 0 -";
  char text[96];
  std::snprintf(text, sizeof text, "1 %g %g ", call.value, call.level);
  return text + *call.body;
}

TEST(RiskCases, EachCaseOfTheTable) {
  // Each field its own value, so a wrong id-to-field pairing shows.
  TClientRiskRecord r("FIRM1", "ACC1");
  r.dayStartLimit = 400, r.openPositionLimit = 500, r.currentNetPosition = 600;
  r.currentNetPositionOpen = 700, r.plannedNetPosition = -800, r.realVariationMargin = 900;
  r.variationMargin = 1000, r.interimVariationMargin = 1200, r.accruedIncome = 1300;
  r.optionLiquidationValue = 1400, r.derivativesAssets = 1500, r.totalAssets = 1600;
  r.currentDebt = -1700, r.sfr = 1.8, r.sfrOpenPositions = 1.9, r.clgo = 2.0, r.eclgo = 2.1;
  r.marginLevel = 22, r.modifiedMarginLevel = 2.3, r.cashLeverage = 2.4;
  RunCaseTable("risk.txt", {
    {"FundsRatio", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(CalcFundsRatio(c[0], c[1], c[2], c[3], int(c[4])), c[5]); }},
    {"RatioOrOne", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(CalcRatioOrOne(c[0], c[1], c[2]), c[4]);
       EXPECT_DOUBLE_EQ(CalcRatioPlusOrOne(c[0], c[1], c[2], c[3]), c[5]); }},
    {"SumByMarginMode", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(SumByMarginMode(100, 200, c[0], 10, int(c[1])), c[2]); }},
    {"CurrentDebt", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(CalcCurrentDebt(c[0], c[1], c[2], c[3] != 0), c[4]); }},
    {"Sufficiency", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(CalcSufficiencyRatio(c[0], c[1], c[2], c[3] != 0), c[4]); }},
    {"CashLeverage", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(CalcCashLeverage(c[0], c[1]), c[2]); }},
    {"LimitMerge", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(MergeLimitValue(c[0], c[1], c[2], int(c[3])), c[4]); }},
    {"ParamById", [](const CaseRow& c) {
       TClientRiskRecord record;
       record.realVariationMargin = 1000, record.optionLiquidationValue = 500;
       record.dayStartLimit = 20000, record.accruedIncome = 3000, record.variationMargin = 700;
       TRiskParamInputs in;
       in.plannedNetPosition = c[1];
       in.currentNetPosition = c[2] != 0 ? 0 : 16000, in.currentNetPositionOpen = c[2] != 0 ? 0 : 8000;
       in.fundsA = 100, in.fundsB = 50, in.fundsC = 20, in.fundsD = 30, in.fundsMode = 1;
       TFormulaModes modes;
       modes.useVarMargin = int(c[4]);
       EXPECT_DOUBLE_EQ(GetRiskParamByIndex(record, int(c[0]), in, c[3] != 0, modes), c[5]); }},
    {"SfrLevels", [](const CaseRow& c) {
       TClientRiskRecord r;
       r.sfr = c[0], r.sfrOpenPositions = c[1], r.clgo = c[2];
       TModuleSettings s;
       s.SFRWarningLevel = 1.5, s.SFRCriticalLevel = 1.2;
       s.SFRWarningLevel_fp = 1.4, s.SFRCriticalLevel_fp = 1.1;
       s.DontSendSFRifCLGO = c[3] != 0, s.ValCLGOforSFR = 0.8;
       s.DontSendSFRifCLGO_fp = c[4] != 0, s.ValCLGOforSFR_fp = 0.5;
       EXPECT_EQ(IsSfrWarningLevelReached(r, s, int(c[5])), c[6] != 0);
       EXPECT_EQ(IsSfrCriticalLevelReached(r, s, int(c[5])), c[7] != 0); }},
    {"Ml2Level", [](const CaseRow& c) {
       TClientRiskRecord record;
       record.united = c[0] != 0, record.qualified = c[1] != 0;
       record.marginLevel = record.modifiedMarginLevel = c[4];
       TModuleSettings settings;
       settings.ML2Param = int(c[3]), settings.ML2Level = 0.5, settings.ML2LevelQual = 0.3;
       settings.ConsiderQualClient = c[2] != 0;
       double level = -1;
       EXPECT_EQ(IsMl2LevelReached(record, settings, &level), c[6] != 0);
       EXPECT_EQ(level, c[5]);
       EXPECT_EQ(IsMl2LevelReached(record, settings, nullptr), c[6] != 0); }},
    {"UpLevel", [](const CaseRow& c) {
       TClientRiskRecord record;
       record.cashLeverage = 3.0, record.sfr = 1.0, record.plannedNetPosition = 5000;
       TModuleSettings settings;
       settings.UPParam = int(c[0]), settings.UPLevel = c[1];
       EXPECT_EQ(IsUpLevelReached(record, settings), c[2] != 0); }},
    {"ManualCall", [](const CaseRow& c) {
       TClientRiskRecord x("FIRM1", "ACC1");
       x.sfr = c[1], x.sfrOpenPositions = c[2], x.clgo = c[3], x.eclgo = c[4];
       x.plannedNetPosition = c[5], x.currentNetPosition = c[6], x.united = c[7] != 0, x.marginLevel = c[8];
       x.openPositionLimit = 0;
       const std::string expected = std::string(c.Text(9)) + " " + c.Text(10) + " " + c.Text(11) + " " + c.Text(12);
       EXPECT_EQ(Described(ManualCallOf(int(c[0]), x, ManualCallSettings(), false)), expected);
       EXPECT_EQ(Described(ManualCallOf(int(c[0]), x, ManualCallSettings(), true)), expected); }},
    {"Ml2ManualCall", [](const CaseRow& c) {
       TClientRiskRecord x("FIRM1", "ACC1");
       x.united = c[0] != 0, x.qualified = c[1] != 0, x.modifiedMarginLevel = 0.2;
       TModuleSettings s = ManualCallSettings();
       s.ConsiderQualClient = c[2] != 0, s.UseML2Template2 = c[3] != 0;
       const TManualCall call = ManualCallOf(7, x, s, c[4] != 0);
       EXPECT_EQ(call.qualifies ? std::string("1 ") + (call.level == 0.3 ? "0.3 " : "0.5 ") + *call.body : "0 0 -",
                 std::string(c.Text(5)) + " " + c.Text(6) + " " + c.Text(7)); }},
    {"Column", [&](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(r.GetValueByColumn(int(c[0])), c[1]); }},
    {"SfrColor", [](const CaseRow& c) {
       TRowColors colors;
       colors.values[1] = 0x1234;
       const TFundsSufficiency client{c[0], c[1]};
       GetRiskCellColors(ColorSettings(), &client, &colors);
       EXPECT_TRUE(colors.flags == 3 && colors.TextColor() == 0x80000008u);
       EXPECT_EQ(colors.Background(), uint32_t(c[2]));
       EXPECT_EQ(colors.values[1], 0x1234u) << "the other values are not touched"; }},
    {"OrderText", [](const CaseRow& c) {
       const uint32_t flags = uint32_t(c[0]);
       uint8_t order[host::record::kOrderSize] = {};
       std::memcpy(order + host::record::kOrderFlags, &flags, sizeof flags);
       TRowColors colors;
       colors.values[4] = 99;
       GetOrderRowColors(order, &colors);
       EXPECT_TRUE(colors.flags == 3 && colors.Background() == 0x80000005u);
       EXPECT_EQ(colors.TextColor(), uint32_t(c[1]));
       EXPECT_EQ(colors.values[4], 0u) << "the record is zeroed first"; }},
  });
}

TEST(ClientRiskRecord, ANewRecordHasNoRatiosAndNothingSentAndItsOwnMarketKey) {
  const std::string longFirm(40, 'F');
  const TClientRiskRecord record(longFirm.c_str(), "SPBFUT00A1");
  EXPECT_EQ(std::string(record.firm), longFirm.substr(0, 32));
  EXPECT_STREQ(record.account, "SPBFUT00A1");
  EXPECT_STREQ(TClientRiskRecord("F", nullptr).account, "");
  EXPECT_FALSE(record.united || record.qualified || record.specialPortfolio || record.listed);
  EXPECT_EQ(record.ExclusionMark, kRuleUndecided);
  EXPECT_TRUE(record.limits.empty() && record.positions.empty());
  // Amounts, margin levels and cash leverage start at 0; the four ratios
  // that divide by a requirement start not set.
  for (int id : {4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 22, 23, 24})
    EXPECT_EQ(record.GetValueByColumn(id), 0.0) << id;
  for (int id : {18, 19, 20, 21}) EXPECT_EQ(record.GetValueByColumn(id), kValueNotSet) << id;
  for (double sent : {record.lastSentLowFunds, record.lastSentSfr, record.lastSentSfrOpenPositions,
                      record.lastSentClgo, record.lastSentEclgo, record.lastSentMarginLevel,
                      record.lastSentUp, record.lastSentMl2})
    EXPECT_EQ(sent, kValueNotSet);
  for (bool rearmed : {record.rearmedLowFunds, record.rearmedSfr, record.rearmedSfrOpenPositions,
                       record.rearmedClgo, record.rearmedEclgo, record.rearmedMarginLevel,
                       record.rearmedUp, record.rearmedMl2})
    EXPECT_TRUE(rearmed);
  for (int64_t sent : {record.dataTime, record.lastSentTimeLowFunds, record.lastSentTimeSfr,
                      record.lastSentTimeClgo, record.lastSentTimeEclgo,
                      record.lastSentTimeMarginLevel, record.lastSentTimeUp,
                      record.lastSentTimeMl2})
    EXPECT_EQ(sent, 0);
  TClientRiskRecord r("FIRM1", "ACC1");
  std::snprintf(r.clientCode, sizeof r.clientCode, "%s", "C1");
  std::snprintf(r.currency, sizeof r.currency, "%s", "SUR");
  std::snprintf(r.boardTag, sizeof r.boardTag, "%s", "TQBR_FORTS12");
  r.united = true;
  const TClientMarketKey key = r.MarketKey();
  EXPECT_EQ(key.firm, r.firm);
  EXPECT_STREQ(key.clientCode, "C1");
  EXPECT_STREQ(key.currency, "SUR");
  EXPECT_STREQ(key.boardTag, "TQBR_FORTS12");
  EXPECT_TRUE(key.united);
}

TEST(RowColors, NoClientOrNoOrderLeavesNoColours) {
  TRowColors colors;
  colors.flags = 77;
  GetRiskCellColors(ColorSettings(), nullptr, &colors);
  EXPECT_EQ(colors.flags, 77u);
  const TFundsSufficiency client{2.0, 2.0};
  GetRiskCellColors(ColorSettings(), &client, nullptr);  // no record to fill: no crash
  colors.flags = 3;
  GetOrderRowColors(nullptr, &colors);
  EXPECT_EQ(colors.flags, 0u) << "no row: an empty record";
}
}  // namespace
