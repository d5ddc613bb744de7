// The engine's margin-restriction queries over client margin sections and
// the broker-wide margin settings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dl/engine/settings_engine.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;

TEST(MarginQueries, FlagsOfTheLimitKindElseTheGeneralRecord) {
  TSettingsEngine e(
      "[CLA_MARGIN]\nRSTRNMBUY=1\nRSTRTRANSFER=0\nUSECOMMONTRDACC=0\n"
      "[CLA_MARGIN_LIMITKIND_2]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=1\n",
      2);
  EXPECT_TRUE(e.GetRstrNmBuy("A", -1.0, 0));
  EXPECT_FALSE(e.GetRstrNmBuy("A", -1.0, 2));
  EXPECT_TRUE(e.GetRstrNmBuy("A", -1.0, 5));  // no record of kind 5: the general one
  EXPECT_FALSE(e.GetRstrTransfer("A", -1.0, 0));
  EXPECT_TRUE(e.GetShortMoneyToBuyLong("A", -1.0, 2));
  EXPECT_FALSE(e.GetShortMoneyToBuyLong("A", -1.0, 0));
  EXPECT_FALSE(e.GetUseCommonTrdAcc("A", -1.0, 0));
  // A client without a section answers from the broker's settings.
  EXPECT_FALSE(e.GetRstrNmBuy("Z", -1.0, 0));
  EXPECT_TRUE(e.GetRstrTransfer("Z", -1.0, 0));
  EXPECT_TRUE(e.GetUseCorrelation("Z", 3.0, 1));
  EXPECT_TRUE(e.GetUseCommonTrdAcc(nullptr, -1.0, 0));
  EXPECT_FALSE(e.GetLongMoneyToSellShort("Z", -1.0, 0));
  EXPECT_FALSE(e.GetMarginUseOnlyMoneyLimitForOldMargin("Z", -1.0, 0));
}

TEST(MarginQueries, NegativeMoneyToShortAdmitsTheListedCodes) {
  TSettingsEngine e(
      "[CLN_MARGIN]\nNEGATIVEMONEYTOSHORT=1,TQBR,EQBR\n"
      "[CLN_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n"
      "[CLM_MARGIN]\nNEGATIVEMONEYTOSHORT=2\n",
      2);
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 0, "TQBR"), 1);
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 0, "EQBR"), 1);
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 0, "SPBFUT"), 0);
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 0, "1"), 0);  // the first entry is the kind
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 0, nullptr), 1);
  // The kind's own record has no list: the general record's list decides.
  EXPECT_EQ(e.GetNegativeMoneyToShort("N", -1.0, 1, "SPBFUT"), 0);
  EXPECT_EQ(e.GetNegativeMoneyToShort("M", -1.0, 0, "ANY"), 2);
  EXPECT_EQ(e.GetNegativeMoneyToShort("Z", -1.0, 0, "ANY"), 0);
}

const char kSecurityLists[] =
    "[LIMITALLOWEDSECURITY]\nSECURITY_GAZP=<ALL>\nTQBR=SBER\nSECURITY_LKOH=EQBR\n"
    "[RESTSHORTSECURITIES]\nTQBR=LKOH\n"
    "[CLI_MARGIN]\nIGNORERESTSHORTSECURITY=1\nIGNORELIMITSECURITY=1\n"
    "[CLO_MARGIN]\nTQBR=MOEX\nTQBR_ASSET=AFLT\n"
    "[CLO_MARGIN_LIMITKIND_3]\nRSTRNMBUY=1\n";

TEST(MarginQueries, SecurityListsOfTheBrokerAndTheClient) {
  TSettingsEngine e(kSecurityLists, 2);
  // The broker's lists: by key, else by security.
  EXPECT_TRUE(e.IsLimitAllowedSecurity("Z", -1.0, "TQBR", "SBER", 0));
  EXPECT_FALSE(e.IsLimitAllowedSecurity("Z", -1.0, "TQBR", "GAZP", 0));  // the key decides
  EXPECT_TRUE(e.IsLimitAllowedSecurity("Z", -1.0, "EQBR", "GAZP", 0));
  EXPECT_TRUE(e.IsLimitAllowedSecurity("Z", -1.0, "EQBR", "LKOH", 0));
  EXPECT_FALSE(e.IsLimitAllowedSecurity("Z", -1.0, "EQBR", "SBER", 0));
  EXPECT_FALSE(e.IsLimitAllowedSecurity("Z", -1.0, nullptr, nullptr, 0));
  EXPECT_TRUE(e.IsRestShortSecurity("Z", -1.0, "TQBR", "LKOH", 0));
  EXPECT_FALSE(e.IsRestShortSecurity("Z", -1.0, "TQBR", "SBER", 0));
  // No asset lists anywhere: the asset test answers as the limit-allowed one.
  for (const char* key : {"TQBR", "EQBR"}) {
    for (const char* security : {"SBER", "GAZP", "LKOH", "MOEX"}) {
      EXPECT_EQ(e.IsAssetSecurity("Z", -1.0, key, security, 0),
                e.IsLimitAllowedSecurity("Z", -1.0, key, security, 0))
          << key << " " << security;
    }
  }
  // Ignore flags.
  EXPECT_TRUE(e.IsLimitAllowedSecurity("I", -1.0, "TQBR", "NONE", 0));
  EXPECT_FALSE(e.IsRestShortSecurity("I", -1.0, "TQBR", "LKOH", 0));
  // The client's own key list replaces the broker's; its security lists are
  // still the broker's.
  EXPECT_TRUE(e.IsLimitAllowedSecurity("O", -1.0, "TQBR", "MOEX", 0));
  EXPECT_FALSE(e.IsLimitAllowedSecurity("O", -1.0, "TQBR", "SBER", 0));
  EXPECT_TRUE(e.IsLimitAllowedSecurity("O", -1.0, "EQBR", "GAZP", 0));
  EXPECT_TRUE(e.IsAssetSecurity("O", -1.0, "TQBR", "AFLT", 0));
  EXPECT_FALSE(e.IsAssetSecurity("O", -1.0, "TQBR", "MOEX", 0));
  // The kind-3 record takes the general record's lists.
  EXPECT_TRUE(e.IsLimitAllowedSecurity("O", -1.0, "TQBR", "MOEX", 3));
}

TEST(MarginQueries, HasListsLooksAtTheRecordOfTheKind) {
  TSettingsEngine e(kSecurityLists, 2);
  EXPECT_TRUE(e.HasAssetLists("O", -1.0, 0));
  EXPECT_FALSE(e.HasAssetLists("O", -1.0, 3));  // no fallback to the general record
  EXPECT_FALSE(e.HasAssetLists("O", -1.0, 4));
  EXPECT_FALSE(e.HasLimitAllowedLists("O", -1.0, 3));  // the kind's own record
  EXPECT_TRUE(e.HasLimitAllowedLists("O", -1.0, 4));   // no such record: the general one
  EXPECT_TRUE(e.HasLimitAllowedLists("Z", -1.0, 0));   // the broker's lists
  TSettingsEngine bare("", 2);
  EXPECT_FALSE(bare.HasLimitAllowedLists("Z", -1.0, 0));
  EXPECT_FALSE(bare.HasRestShortLists("Z", -1.0, 0));
  EXPECT_FALSE(bare.HasAssetLists("Z", -1.0, 0));
}

TEST(MarginQueries, CorrelationsAndSecurityWeights) {
  TSettingsEngine e(
      "[ADDCORRELATION]\nPAIR=a,1.5,b,2.5,1\n[SECURITYWEIGHT]\nSBER=2\n"
      "[CL8_MARGIN]\nUSECORRELATION=0\n[CLW_MARGIN]\nGAZP_COEF=3\n",
      2);
  const TCorrelationEntry* byName = e.FindCorrelationByName("PAIR", "Z", -1.0, 0);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(byName->Code1, "a");
  EXPECT_EQ(e.FindCorrelationByCode("a", "Z", -1.0, 0), byName);
  EXPECT_EQ(e.FindCorrelationByCode("b", "Z", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName("PAIR", "8", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName(nullptr, "Z", -1.0, 0), nullptr);

  const TSecurityWeight* sber = e.FindSecurityWeight("Z", -1.0, "SBER", 0);
  ASSERT_NE(sber, nullptr);
  EXPECT_EQ(sber->W1, 2.0);
  EXPECT_EQ(e.FindSecurityWeight("Z", -1.0, "GAZP", 0), nullptr);
  const TSecurityWeight* own = e.FindSecurityWeight("W", -1.0, "GAZP", 0);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->W1, 3.0);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, "SBER", 0), nullptr);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, nullptr, 0), nullptr);
}

TEST(MarginQueries, LimitKindsAndLeverage) {
  TSettingsEngine e(
      "[CLK_MARGIN]\nLIMITKINDS=1,2\n[CLK_MARGIN_LIMITKIND_2]\nLIMITKINDS=4\n"
      "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nRSTRNMBUY=1\n",
      2);
  EXPECT_EQ(e.GetClientLimitKinds("K", -1.0), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 2), (std::vector<int>{4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 7), (std::vector<int>{1, 2}));
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("K", 0, 2.5), 2.5);
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("K", 0, -1.0), -1.0);
  // A client with leverage 3 takes the template chosen by it.
  EXPECT_TRUE(e.GetRstrNmBuy("ANY", 3.0, 0));
  EXPECT_FALSE(e.GetRstrNmBuy("ANY", 2.0, 0));
  EXPECT_TRUE(e.GetRstrNmBuy("ANY", 3.0, 0));
}

TEST(MarginQueries, DiscountSecuritiesOfTheClientThenTheBroker) {
  TSettingsEngine e("[SECURITYDISCOUNTS]\nLKOH=1,2\n[CLD_MARGIN]\nSBER_DISC=1\nGAZP_DISC=2\n", 2);
  EXPECT_EQ(e.GetDiscountSecurities("D", 0, -1.0), (TList{"GAZP", "SBER", "LKOH", "SUR"}));
  EXPECT_EQ(e.GetDiscountSecurities("Z", 0, -1.0), (TList{"LKOH", "SUR"}));
}

TEST(MarginQueries, SecurityDiscountOfTheClientElseTheBroker) {
  TSettingsEngine e(
      "[GENERAL]\nUSEDISCOUNTSTYPE=2\n[SECURITYDISCOUNTS]\nLKOH=0.5,0.6\n"
      "[CLD_MARGIN]\nUSEDISCOUNTSTYPE=5\nSBER_DISC=0.1,0.2,0.3,0.4,0.05,0.06\n",
      2);
  TSecurityDiscountResult own = e.GetSecurityDiscount("D", "SBER", 0, -1.0);
  EXPECT_EQ(own.SecurityCode, "SBER");
  EXPECT_EQ(own.ClientCode, "D");
  EXPECT_EQ(own.D1, 0.1);
  EXPECT_EQ(own.D4, 0.4);
  EXPECT_EQ(own.D5, 0.05);
  EXPECT_EQ(own.UseDiscountsType, 5);
  TSecurityDiscountResult broker = e.GetSecurityDiscount("D", "LKOH", 0, -1.0);
  EXPECT_EQ(broker.D1, 0.5);
  EXPECT_EQ(broker.UseDiscountsType, 5);  // the client's record was there
  TSecurityDiscountResult none = e.GetSecurityDiscount("D", "NONE", 0, -1.0);
  EXPECT_EQ(none.SecurityCode, "");
  EXPECT_EQ(none.D1, -1.0);
  EXPECT_EQ(e.GetUseDiscountsType("Z", "LKOH", 0, -1.0), 2);
  EXPECT_EQ(e.GetUseDiscountsType("D", nullptr, 0, -1.0), 5);
}

struct TCoefficientCase {
  const char* name;
  const char* text;
  double percent;
  std::int64_t longOverride;
  std::int64_t shortOverride;
  double expected[4];
};

const char kPlain[] = "[CLC_MARGIN]\nSBER_DISC=-1,-1,0.3,0.4,0.1,0.2\n";
const char kNoDiscounts[] = "[CLC_MARGIN]\nSBER_DISC=-1,-1,-1,-1,-1,-1\n";
const char kPowered[] =
    "[CLC_MARGIN]\nUSESECURITYDISCOUNTS=1\nUSECHSECURITYDISCOUNTS=1\nSBER_DISC=2,2,0.3,0.4,-1,-1\n";
const char kChanged[] = "[CLC_MARGIN]\nUSECHSECURITYDISCOUNTS=1\nSBER_DISC=2,2,0.3,0.4,-1,-1\n";
const char kTrdAcc[] =
    "[GENERAL]\nDISCOUNTTRDACC=L01\n[CLC_MARGIN]\nSBER_DISC=-1,-1,0.3,0.4,-1,-1\n";

std::vector<TCoefficientCase> CoefficientCases() {
  const double eased = 1.0 - std::sqrt(0.7);  // exponent (1 + 0) * 0.5
  return {
      {"unset discounts", kNoDiscounts, 50, 0, 0, {1.0, 1e50, 1.0, 1e50}},
      {"plain at 100", kPlain, 100, 0, 0, {0.3, 0.4, eased, 0.2}},
      {"150 works as 100", kPlain, 150, 0, 0, {0.3, 0.4, eased, 0.2}},
      {"-10 works as 100", kPlain, -10, 0, 0, {0.3, 0.4, eased, 0.2}},
      {"plain at 50", kPlain, 50, 0, 0, {0.3, 0.4, eased, 0.2}},
      {"powered at 50",
       kPowered,
       50,
       0,
       0,
       {0.51, 1.25, 1.0 - std::sqrt(0.49), std::sqrt(2.25) - 1}},
      {"changed at 50", kChanged, 50, 0, 0, {0.5, 0.5, 1.0 - std::sqrt(0.5), std::sqrt(1.5) - 1}},
      {"powered at 100 uses D3 and D4", kPowered, 100, 0, 0, {0.3, 0.4, eased, std::sqrt(1.4) - 1}},
      {"long override 250",
       kTrdAcc,
       100,
       250,
       0,
       {0.25, 0.4, 1.0 - std::sqrt(0.75), std::sqrt(1.4) - 1}},
      {"override -1", kTrdAcc, 100, -1, -1, {1.0, 1e50, 1.0, 1e50}},
      {"overrides need a discount account", kPlain, 100, 250, 900, {0.3, 0.4, eased, 0.2}},
  };
}

TEST(MarginQueries, RestrictionCoefficients) {
  for (const TCoefficientCase& c : CoefficientCases()) {
    SCOPED_TRACE(c.name);
    TSettingsEngine e(c.text, 2);
    double out[4] = {-7, -7, -7, -7};
    EXPECT_TRUE(e.ComputeRestrictionCoefficient("C", "SBER", 0, -1.0, c.percent, c.longOverride,
                                                c.shortOverride, out));
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(out[i], c.expected[i], 1e-12 * (1 + c.expected[i])) << i;
  }
}

TEST(MarginQueries, RestrictionCoefficientsAreNeverNan) {
  TSettingsEngine e(kTrdAcc, 2);
  for (std::int64_t longOverride : {std::int64_t{-5000}, std::int64_t{-1}, std::int64_t{0},
                                    std::int64_t{999}, std::int64_t{5000}}) {
    for (std::int64_t shortOverride : {std::int64_t{-5000}, std::int64_t{-2000}, std::int64_t{-1},
                                       std::int64_t{1}, std::int64_t{5000}}) {
      for (double percent : {0.0, 30.0, 100.0}) {
        double out[4];
        e.ComputeRestrictionCoefficient("C", "SBER", 0, -1.0, percent, longOverride, shortOverride,
                                        out);
        for (double value : out)
          EXPECT_FALSE(std::isnan(value)) << longOverride << " " << shortOverride;
      }
    }
  }
}

}  // namespace
}  // namespace DL
