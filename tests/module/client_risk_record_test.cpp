// The client record: its initial values, its texts and its values by id.
#include "module/risk/client_risk_record.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
TEST(ClientRiskRecord, ANewRecordHasNoRatiosAndNothingSent) {
  const TClientRiskRecord record("FIRM1", "SPBFUT00A1");
  EXPECT_STREQ(record.firm, "FIRM1");
  EXPECT_STREQ(record.account, "SPBFUT00A1");
  EXPECT_STREQ(record.clientCode, "");
  EXPECT_STREQ(record.secondFirm, "");
  EXPECT_STREQ(record.boardTag, "");
  EXPECT_STREQ(record.currency, "");
  EXPECT_FALSE(record.united);
  EXPECT_FALSE(record.qualified);
  EXPECT_FALSE(record.specialPortfolio);
  EXPECT_EQ(record.portfolioId, 0);
  EXPECT_EQ(record.ExclusionMark, kRuleUndecided);
  EXPECT_FALSE(record.listed);
  EXPECT_EQ(record.dataTime, 0);
  EXPECT_EQ(record.lastSentTimeSfr, 0);
  EXPECT_EQ(record.lastSentTimeMl2, 0);
  EXPECT_TRUE(record.limits.empty());
  EXPECT_TRUE(record.positions.empty());
  // Amounts, margin levels and cash leverage start at 0; the four ratios
  // that divide by a requirement start not set.
  for (int id : {4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 22, 23, 24})
    EXPECT_EQ(record.GetValueByColumn(id), 0.0) << id;
  for (int id : {18, 19, 20, 21}) EXPECT_EQ(record.GetValueByColumn(id), kValueNotSet) << id;
  for (double sent : {record.lastSentLowFunds, record.lastSentSfr,
                      record.lastSentSfrOpenPositions, record.lastSentClgo,
                      record.lastSentEclgo, record.lastSentMarginLevel, record.lastSentUp,
                      record.lastSentMl2})
    EXPECT_EQ(sent, kValueNotSet);
}

TEST(ClientRiskRecord, TextsLongerThanTheirFieldsAreCut) {
  const std::string longText(40, 'F');
  const TClientRiskRecord record(longText.c_str(), nullptr);
  EXPECT_EQ(std::string(record.firm), longText.substr(0, 32));
  EXPECT_STREQ(record.account, "");
}

TEST(ClientRiskRecord, TheBoardTagHoldsTwelveCharacters) {
  TClientRiskRecord record;
  EXPECT_EQ(sizeof record.boardTag, 13u);
  std::snprintf(record.boardTag, sizeof record.boardTag, "%s", "TQBR_FORTS12");
  EXPECT_STREQ(record.boardTag, "TQBR_FORTS12");
  EXPECT_STREQ(record.MarketKey().boardTag, "TQBR_FORTS12");
}

TEST(ClientRiskRecord, ValuesByIdAmountsInUnitsRatiosAsKept) {
  TClientRiskRecord record;
  // Each field gets its own value so a wrong id-to-field pairing shows.
  record.dayStartLimit = 400;
  record.openPositionLimit = 500;
  record.currentNetPosition = 600;
  record.currentNetPositionOpen = 700;
  record.plannedNetPosition = -800;
  record.realVariationMargin = 900;
  record.variationMargin = 1000;
  record.interimVariationMargin = 1200;
  record.accruedIncome = 1300;
  record.optionLiquidationValue = 1400;
  record.derivativesAssets = 1500;
  record.totalAssets = 1600;
  record.currentDebt = -1700;
  record.sfr = 1.8;
  record.sfrOpenPositions = 1.9;
  record.clgo = 2.0;
  record.eclgo = 2.1;
  record.marginLevel = 22;
  record.modifiedMarginLevel = 2.3;
  record.cashLeverage = 2.4;
  struct Case {
    int id;
    double value;
  };
  const Case cases[] = {
      {4, 4.0},   {5, 5.0},   {6, 6.0},    {7, 7.0},   {8, -8.0},  {9, 9.0},
      {10, 10.0}, {12, 12.0}, {13, 13.0},  {14, 14.0}, {15, 15.0}, {16, 16.0},
      {17, -17.0}, {18, 1.8}, {19, 1.9},   {20, 2.0},  {21, 2.1},  {22, 22.0},
      {23, 2.3},  {24, 2.4},
      // No value under these ids.
      {11, kValueNotSet}, {0, kValueNotSet}, {3, kValueNotSet}, {25, kValueNotSet},
      {-1, kValueNotSet},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(record.GetValueByColumn(c.id), c.value) << c.id;
}

TEST(ClientRiskRecord, MarketKeyNamesTheClient) {
  TClientRiskRecord record("FIRM1", "ACC1");
  std::snprintf(record.clientCode, sizeof record.clientCode, "%s", "C1");
  std::snprintf(record.currency, sizeof record.currency, "%s", "SUR");
  record.united = true;
  const TClientMarketKey key = record.MarketKey();
  EXPECT_EQ(key.firm, record.firm);
  EXPECT_STREQ(key.clientCode, "C1");
  EXPECT_STREQ(key.currency, "SUR");
  EXPECT_TRUE(key.united);
}
}  // namespace
