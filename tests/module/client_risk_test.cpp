// The client record and the level tests of funds sufficiency, the margin
// level and the arbitrary parameter.
#include "module/risk/client_risk_record.h"
#include "module/risk/level_tests.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
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
}  // namespace
