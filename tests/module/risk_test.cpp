// Risk formulas, parameters by id, level tests, the client record and row
// colours, worked by hand.
#include "module/cell_colors.h"
#include "module/risk/client_risk_record.h"
#include "module/risk/level_tests.h"
#include "module/risk/limit_merge.h"
#include "module/risk/risk_formulas.h"
#include "module/risk/risk_param_by_index.h"
#include "sdk/host_api.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
TEST(RiskFormulas, FundsRatio) {
  struct Case { double a, b, c, d; int mode; double expected; };
  const Case cases[] = {
      {0, 0, 0, 0, 4, 1.0},                 // nothing at all
      {100, 50, 20, 30, 1, 200.0 / 180},    // N 100+50+20+30, D 50+130
      {100, 50, 20, 30, 7, 200.0 / 180},    // an unknown mode counts all of d
      {100, 50, 20, 30, 2, 170.0 / 150},    // a gain is left out
      {100, 50, 20, -30, 2, 140.0 / 120},   // a loss counts: N 140, D 50+70
      {100, 50, 20, -30, 3, 170.0 / 150},   // a loss is left out
      {100, 50, 20, 30, 3, 200.0 / 180}, {100, 50, 20, 30, 4, 170.0 / 150},
      {-10, 0, 5, 0, 1, -0.99},             // N -5, D 0
      {-10, 0, 20, 0, 1, 1.0}, {-10, 0, 10, 0, 1, 1.0},
      {-10, 40, 5, 99, 4, 35.0 / 40},       // a + d' below 0: D is b alone
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcFundsRatio(c.a, c.b, c.c, c.d, c.mode), c.expected)
        << c.a << " " << c.b << " " << c.c << " " << c.d << " mode " << c.mode;
}

TEST(RiskFormulas, RatiosGiveOneWithoutADivisor) {
  struct Case { double a, b, c, d, ratio, ratioPlus; };
  const Case cases[] = {{10, 20, 5, 5, 6.0, 7.0},      {-30, 10, 4, 2, -5.0, -4.5},
                        {10, 20, 0, 5, 1.0, 1.0},      {10, 20, 5e-8, 5, 1.0, 1.0},
                        {1e9, 1e9, kValueNotSet, 5, 1.0, 1.0}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(CalcRatioOrOne(c.a, c.b, c.c), c.ratio) << c.c;
    EXPECT_DOUBLE_EQ(CalcRatioPlusOrOne(c.a, c.b, c.c, c.d), c.ratioPlus) << c.c;
  }
}

TEST(RiskFormulas, SumByMarginMode) {
  struct Case { double margin; int mode; double expected; };  // a 100, b 200, d 10
  const Case cases[] = {{-50, 1, 260}, {-50, 2, 260}, {-50, 3, 310}, {-50, 0, 310},
                        {50, 1, 360},  {50, 2, 310},  {50, 3, 360},  {50, 5, 310}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(SumByMarginMode(100, 200, c.margin, 10, c.mode), c.expected) << c.mode;
}

TEST(RiskFormulas, CurrentDebtIsNeverPositive) {
  struct Case { double a, b, c; bool useTotalAssets; double expected; };
  const Case cases[] = {
      {-300, 999, 100, false, 0},      // -300 + 400 = 100, clamped to 0
      {-300, 999, -500, false, -300},  // -300 + max(-200, 0)
      {-300, 999, -100, false, -100},  {-300, 100, 999, true, 0},  // total assets b used
      {-300, -500, 999, true, -300},   {500, 0, 600, false, 0},
      {500, 0, 200, false, 0},         {-300, 0, 0, false, 0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcCurrentDebt(c.a, c.b, c.c, c.useTotalAssets), c.expected)
        << c.a << " " << c.b << " " << c.c << " " << c.useTotalAssets;
}

TEST(RiskFormulas, SufficiencyAndLeverageAreNotSetWithoutADivisor) {
  struct Case { double a, b, c; bool useTotalAssets; double expected; };
  const Case cases[] = {{500, 300, 200, true, 2.5},           {500, 300, 200, false, 1.5},
                        {-100, 300, 200, true, -0.5},         {500, 300, 0, true, kValueNotSet},
                        {500, 300, 0, false, kValueNotSet},
                        {500, 300, 1e-8, false, kValueNotSet}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcSufficiencyRatio(c.a, c.b, c.c, c.useTotalAssets), c.expected) << c.c;
  struct Leverage { double positions, assets, expected; };
  const Leverage leverages[] = {{500, 250, 2.0},  {0, 250, 0.0},  {500, kValueNotSet, kValueNotSet},
                                {0, kValueNotSet, kValueNotSet},  {0, 0, 0.0}, {5e-8, 0, 0.0},
                                {500, 0, kValueNotSet},           {500, 5e-8, kValueNotSet}};
  for (const Leverage& c : leverages)
    EXPECT_DOUBLE_EQ(CalcCashLeverage(c.positions, c.assets), c.expected) << c.positions;
}

TEST(LimitMerge, EachBranchOfTheRule) {
  struct Case { double field, v, k; int type; double expected; };
  const Case cases[] = {
      {0, 500, 0.5, 0, 500},         {5e-8, 500, 0.5, 1, 500},   // an empty field takes v
      {-100, 500, 0.5, 0, -100},     {-100, -500, 0, 1, -100},   // a negative field stays
      {200, -50, 0.5, 0, -50},       // a negative type-0 value replaces it
      {200, -50, 0, 1, 200},         // type 1 with k 0: 200 / (1 - 0)
      {200, 50, 0, 0, 250},          {200, 50, 1, 1, 250},       // added
      {200, 50, 1, 0, 50},           // type 0 with k 1: 50 / 1
      {200, 50, 0.99999999, 1, 250}, // k 1 within the tolerance: no division by 1 - k
      {200, 400, 0.5, 1, 400},       // d 800 above: 200 / 0.5
      {200, 50, 0.5, 1, 250},        {200, -50, 0.5, 1, 150},    // d below: added
      {200, 150, 0.5, 0, 350},       // d 300 above: added
      {200, 50, 0.5, 0, 100},        // d 100 below: d
      {200, 100, 0.5, 0, 200},       {200, 100, 0.5, 1, 200},    // d equal: unchanged
      {200, 50, 0.5, 2, 200},        // a type that does not count
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(MergeLimitValue(c.field, c.v, c.k, c.type), c.expected)
        << c.field << " " << c.v << " k " << c.k << " type " << c.type;
}

TEST(RiskParamByIndex, EachIndexWorkedByHand) {
  TClientRiskRecord record;
  record.realVariationMargin = 1000, record.optionLiquidationValue = 500;
  record.dayStartLimit = 20000, record.accruedIncome = 3000, record.variationMargin = 700;
  // Net position C 16000 (open positions D 8000, or both 0); funds ratio 200 / 180.
  struct Case { int index; double planned; bool netZero, united; int varMargin; double expected; };
  const Case cases[] = {
      {6, 40000, false, true, 1, 200.0 / 180},  // united: always the funds ratio
      {6, 40000, false, false, 1, 160},  {7, 40000, false, false, 1, 80},
      {8, 40000, false, false, 1, 400},
      {15, 40000, false, false, 1, 575},  // 40000 + 16000 + 1000 + 500
      {15, 40000, false, false, 2, 565},  // a gain in variation margin left out
      {17, -40000, false, false, 1, -225}, {17, 40000, false, false, 1, 0},  // -40000 + 17500
      {18, 40000, false, false, 1, 57500.0 / 16000},
      {19, 40000, false, false, 1, 49500.0 / 8000},  // open positions
      {20, 40000, false, false, 1, 23000.0 / 16000},  // (L + AI) / C
      {21, 40000, false, false, 1, 23700.0 / 16000},  // (L + AI + V) / C
      {23, 40000, false, false, 1, 200.0 / 180},
      {18, 40000, true, false, 1, kValueNotSet}, {19, 40000, true, false, 1, kValueNotSet},
      {20, 40000, true, false, 1, 1.0},
      {16, 40000, false, false, 1, 16000}, {9, 40000, false, false, 1, 16000},  // no formula: C
      {22, 40000, false, false, 1, 16000}, {24, 40000, false, false, 1, 16000},
  };
  for (const Case& c : cases) {
    TRiskParamInputs in;
    in.plannedNetPosition = c.planned;
    in.currentNetPosition = c.netZero ? 0 : 16000, in.currentNetPositionOpen = c.netZero ? 0 : 8000;
    in.fundsA = 100, in.fundsB = 50, in.fundsC = 20, in.fundsD = 30, in.fundsMode = 1;
    TFormulaModes modes;
    modes.useVarMargin = c.varMargin;
    EXPECT_DOUBLE_EQ(GetRiskParamByIndex(record, c.index, in, c.united, modes), c.expected)
        << "index " << c.index << " planned " << c.planned << " united " << c.united;
  }
}

TModuleSettings SfrSettings(bool dontSend, bool dontSendFp) {
  TModuleSettings s;
  s.SFRWarningLevel = 1.5, s.SFRCriticalLevel = 1.2;
  s.SFRWarningLevel_fp = 1.4, s.SFRCriticalLevel_fp = 1.1;
  s.DontSendSFRifCLGO = dontSend, s.ValCLGOforSFR = 0.8;
  s.DontSendSFRifCLGO_fp = dontSendFp, s.ValCLGOforSFR_fp = 0.5;
  return s;
}

TEST(LevelTests, FundsSufficiency) {
  struct Case {
    double sfr, sfrOpen, clgo;
    bool dontSend, dontSendFp;
    int kind;
    bool warning, critical;
  };
  // Levels: warning 1.5, critical 1.2; for open positions 1.4 and 1.1.
  const Case cases[] = {
      {1.3, 9, 9, false, false, 2, true, false},
      {1.5, 9, 9, false, false, 2, false, false},  // equal to the level: not broken
      {1.1, 9, 9, false, false, 2, true, true}, {1.2, 9, 9, false, false, 2, true, false},
      {kValueNotSet, 9, 9, false, false, 2, false, false},
      {9, 1.3, 9, false, false, 9, true, false}, {9, 1.1, 9, false, false, 9, true, false},
      {9, 1.0, 9, false, false, 9, true, true},
      {1.0, 1.0, 9, false, false, 3, false, false},  // no such test for kind 3
      {1.0, 1.0, 9, false, false, 1, false, false},
      // Only with a low collateral liquidity coefficient (at most 0.8).
      {1.1, 9, 0.9, true, false, 2, false, false}, {1.1, 9, 0.8, true, false, 2, true, true},
      {1.1, 9, 0.9, false, true, 2, true, true},   // the twin's switch is not this one's
      {9, 1.0, 0.6, false, true, 9, false, false},  // open positions: at most 0.5
      {9, 1.0, 0.5, false, true, 9, true, true}, {9, 1.0, 0.9, true, false, 9, true, true},
      {1.6, 9, 0.1, true, false, 2, false, false},  // a low coefficient alone breaks nothing
  };
  for (const Case& c : cases) {
    TClientRiskRecord r;
    r.sfr = c.sfr, r.sfrOpenPositions = c.sfrOpen, r.clgo = c.clgo;
    const TModuleSettings settings = SfrSettings(c.dontSend, c.dontSendFp);
    EXPECT_EQ(std::make_pair(IsSfrWarningLevelReached(r, settings, c.kind),
                             IsSfrCriticalLevelReached(r, settings, c.kind)),
              std::make_pair(c.warning, c.critical))
        << "kind " << c.kind << " sfr " << c.sfr << " open " << c.sfrOpen << " clgo " << c.clgo;
  }
}

TEST(LevelTests, MarginLevel) {
  struct Case {
    bool united, qualified, considerQual;
    int param;
    double value, expectedLevel;
    bool reached;
  };
  // ML2Level 0.5, ML2LevelQual 0.3; -1 is "level not written".
  const Case cases[] = {
      {false, false, false, 23, 0.1, -1, false},  // only united clients
      {true, false, false, 23, 0.4, 0.5, true}, {true, false, false, 23, 0.5, 0.5, false},
      {true, true, true, 23, 0.4, 0.3, false},    // between the two levels
      {true, true, true, 23, 0.2, 0.3, true},
      {true, true, false, 23, 0.4, 0.5, true},    // qualification not considered
      {true, false, true, 23, 0.4, 0.5, true},    // not qualified
      {true, false, false, 22, 40, 0.5, true},    // the unified level in percent: 40 < 50
      {true, false, false, 22, 60, 0.5, false},
      {true, false, false, 0, 0.1, 0.5, false},   // not configured: no value
  };
  for (const Case& c : cases) {
    TClientRiskRecord record;
    record.united = c.united, record.qualified = c.qualified;
    record.marginLevel = record.modifiedMarginLevel = c.value;
    TModuleSettings settings;
    settings.ML2Param = c.param, settings.ML2Level = 0.5, settings.ML2LevelQual = 0.3;
    settings.ConsiderQualClient = c.considerQual;
    double level = -1;
    EXPECT_EQ(IsMl2LevelReached(record, settings, &level), c.reached)
        << c.united << c.qualified << c.considerQual << " param " << c.param << " " << c.value;
    EXPECT_EQ(level, c.expectedLevel) << c.united << c.qualified << c.considerQual;
    EXPECT_EQ(IsMl2LevelReached(record, settings, nullptr), c.reached);
  }
}

TEST(LevelTests, ArbitraryParameter) {
  struct Case { int param; double level; bool reached; };
  TClientRiskRecord record;
  record.cashLeverage = 3.0, record.sfr = 1.0, record.plannedNetPosition = 5000;  // 50 units
  const Case cases[] = {
      {24, 3.0, false}, {24, 2.5, true}, {24, 3.5, false},  // leverage breaks by rising
      {18, 1.0, false}, {18, 1.1, true}, {18, 0.9, false},  // every other by falling
      {8, 60, true},    {8, 40, false},                     // in units: 50 < 60
      {11, 5, false},                                       // no value under id 11
  };
  for (const Case& c : cases) {
    TModuleSettings settings;
    settings.UPParam = c.param, settings.UPLevel = c.level;
    EXPECT_EQ(IsUpLevelReached(record, settings), c.reached) << c.param << " " << c.level;
  }
}

TEST(ClientRiskRecord, ANewRecordHasNoRatiosAndNothingSent) {
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
  for (int64_t sent : {record.dataTime, record.lastSentTimeLowFunds, record.lastSentTimeSfr,
                      record.lastSentTimeClgo, record.lastSentTimeEclgo,
                      record.lastSentTimeMarginLevel, record.lastSentTimeUp,
                      record.lastSentTimeMl2})
    EXPECT_EQ(sent, 0);
}

TEST(ClientRiskRecord, ValuesByIdAmountsInUnitsRatiosAsKept) {
  TClientRiskRecord r("FIRM1", "ACC1");
  // Each field its own value, so a wrong id-to-field pairing shows.
  r.dayStartLimit = 400, r.openPositionLimit = 500, r.currentNetPosition = 600;
  r.currentNetPositionOpen = 700, r.plannedNetPosition = -800, r.realVariationMargin = 900;
  r.variationMargin = 1000, r.interimVariationMargin = 1200, r.accruedIncome = 1300;
  r.optionLiquidationValue = 1400, r.derivativesAssets = 1500, r.totalAssets = 1600;
  r.currentDebt = -1700, r.sfr = 1.8, r.sfrOpenPositions = 1.9, r.clgo = 2.0, r.eclgo = 2.1;
  r.marginLevel = 22, r.modifiedMarginLevel = 2.3, r.cashLeverage = 2.4;
  const std::pair<int, double> cases[] = {
      {4, 4.0},   {5, 5.0},   {6, 6.0},   {7, 7.0},   {8, -8.0},  {9, 9.0},   {10, 10.0},
      {12, 12.0}, {13, 13.0}, {14, 14.0}, {15, 15.0}, {16, 16.0}, {17, -17.0}, {18, 1.8},
      {19, 1.9},  {20, 2.0},  {21, 2.1},  {22, 22.0}, {23, 2.3},  {24, 2.4},
      {11, kValueNotSet}, {0, kValueNotSet}, {3, kValueNotSet}, {25, kValueNotSet},
      {-1, kValueNotSet}};
  for (auto& c : cases) EXPECT_DOUBLE_EQ(r.GetValueByColumn(c.first), c.second) << c.first;
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

constexpr uint32_t kNormal = 0x00FFFFFF, kWarning = 0x0000FFFF, kCritical = 0x000000FF;

TRiskColorSettings Settings() {
  TRiskColorSettings s;
  s.NormalColor = kNormal, s.WarningColor = kWarning, s.CriticalColor = kCritical;
  s.SFRWarningLevel = 1.5, s.SFRCriticalLevel = 1.0;
  s.SFRWarningLevel_fp = 1.2, s.SFRCriticalLevel_fp = 0.8;
  return s;
}

TEST(RiskCellColors, BackgroundByTheFirstLevelBrokenByMoreThanTheTolerance) {
  struct Case { double sfr, sfrOpen; uint32_t background; };
  const Case cases[] = {
      {2.0, 2.0, kNormal},            {1.5, 1.2, kNormal},  // equal to the levels
      {1.5 - 0.00005, 2.0, kNormal},  // within 0.0001 of the warning level
      {1.5 - 0.0002, 2.0, kWarning},  {2.0, 1.2 - 0.0002, kWarning},
      {1.0 - 0.0002, 2.0, kCritical}, {2.0, 0.8 - 0.0002, kCritical},  // either value
      {1.0 - 0.0002, 1.2 - 0.0002, kCritical},
      {1.0 - 0.00005, 2.0, kWarning},  // within the critical tolerance, below warning
  };
  for (const Case& c : cases) {
    TRowColors colors;
    colors.values[1] = 0x1234;
    const TFundsSufficiency client{c.sfr, c.sfrOpen};
    GetRiskCellColors(Settings(), &client, &colors);
    EXPECT_TRUE(colors.flags == 3 && colors.TextColor() == 0x80000008u);
    EXPECT_EQ(colors.Background(), c.background) << c.sfr << " " << c.sfrOpen;
    EXPECT_EQ(colors.values[1], 0x1234u) << "the other values are not touched";
  }
}

TEST(RiskCellColors, NoClientLeavesTheRecordAlone) {
  TRowColors colors;
  colors.flags = 77;
  GetRiskCellColors(Settings(), nullptr, &colors);
  EXPECT_EQ(colors.flags, 77u);
  const TFundsSufficiency client{2.0, 2.0};
  GetRiskCellColors(Settings(), &client, nullptr);  // no record to fill: no crash
}

TEST(OrderRowColors, TextByTheOrdersStateOnTheWindowBackground) {
  struct Case { uint32_t flags, text; };
  const Case cases[] = {{0x1, 0x000000FF}, {0x3, 0x000000FF}, {0x2, 0x80000008}, {0x0, 0x00FF0000},
                        {0x4, 0x00FF0000}};
  for (const Case& c : cases) {
    uint8_t order[host::record::kOrderSize] = {};
    std::memcpy(order + host::record::kOrderFlags, &c.flags, sizeof c.flags);
    TRowColors colors;
    colors.values[4] = 99;
    GetOrderRowColors(order, &colors);
    EXPECT_TRUE(colors.flags == 3 && colors.Background() == 0x80000005u);
    EXPECT_EQ(colors.TextColor(), c.text) << c.flags;
    EXPECT_EQ(colors.values[4], 0u) << "the record is zeroed first";
  }
  TRowColors colors;
  colors.flags = 3;
  GetOrderRowColors(nullptr, &colors);
  EXPECT_EQ(colors.flags, 0u) << "no row: an empty record";
}
}  // namespace
