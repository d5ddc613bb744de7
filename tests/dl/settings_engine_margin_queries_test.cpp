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
  TSettingsEngine e("[CLA_MARGIN]\nRSTRNMBUY=1\nRSTRTRANSFER=0\nUSECOMMONTRDACC=0\n"
                    "USEONLYMONEYLIMITFOROLDMARGIN=1\nLONGMONEYTOSELLSHORT=1\nUSECORRELATION=0\n"
                    "[CLA_MARGIN_LIMITKIND_2]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=1\n",
                    2);
  using TQuery = bool (TSettingsEngine::*)(const char*, double, int);
  struct Case {
    TQuery query;
    const char* client;
    int kind;
    bool expected;
  };
  const Case cases[] = {
      {&TSettingsEngine::GetRstrNmBuy, "A", 0, true}, {&TSettingsEngine::GetRstrNmBuy, "A", 2, false},
      {&TSettingsEngine::GetRstrNmBuy, "A", 5, true},  // no record of kind 5: the general one
      {&TSettingsEngine::GetRstrTransfer, "A", 0, false},
      {&TSettingsEngine::GetShortMoneyToBuyLong, "A", 2, true},
      {&TSettingsEngine::GetShortMoneyToBuyLong, "A", 0, false},
      {&TSettingsEngine::GetLongMoneyToSellShort, "A", 0, true},
      {&TSettingsEngine::GetUseCommonTrdAcc, "A", 0, false},
      {&TSettingsEngine::GetUseCorrelation, "A", 0, false},
      {&TSettingsEngine::GetMarginUseOnlyMoneyLimitForOldMargin, "A", 0, true},
      // A client without a section answers from the broker's settings.
      {&TSettingsEngine::GetRstrNmBuy, "Z", 0, false}, {&TSettingsEngine::GetRstrTransfer, "Z", 0, true},
      {&TSettingsEngine::GetUseCorrelation, "Z", 1, true}, {&TSettingsEngine::GetUseCommonTrdAcc, nullptr, 0, true},
      {&TSettingsEngine::GetLongMoneyToSellShort, "Z", 0, false},
      {&TSettingsEngine::GetMarginUseOnlyMoneyLimitForOldMargin, "Z", 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ((e.*c.query)(c.client, -1.0, c.kind), c.expected) << &c - cases;
}

TEST(MarginQueries, NegativeMoneyToShortAdmitsTheListedCodes) {
  TSettingsEngine e("[CLN_MARGIN]\nNEGATIVEMONEYTOSHORT=1,TQBR,EQBR\n[CLN_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n"
                    "[CLN_MARGIN_LIMITKIND_2]\nNEGATIVEMONEYTOSHORT=2,SPBFUT\n"
                    "[CLM_MARGIN]\nNEGATIVEMONEYTOSHORT=2\n",
                    2);
  struct Case {
    const char* client;
    int kind;
    const char* code;
    int expected;
  };
  const Case cases[] = {
      {"N", 0, "TQBR", 1}, {"N", 0, "EQBR", 1}, {"N", 0, "SPBFUT", 0},
      {"N", 0, "1", 0},  // the first entry is the kind
      {"N", 0, nullptr, 1},
      {"N", 1, "SPBFUT", 0},  // the kind's own record has no list: the general record's decides
      {"N", 1, "TQBR", 1},
      {"N", 2, "SPBFUT", 2},  {"N", 2, "TQBR", 0}, {"M", 0, "ANY", 2}, {"Z", 0, "ANY", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(e.GetNegativeMoneyToShort(c.client, -1.0, c.kind, c.code), c.expected)
        << c.client << " " << c.kind << " " << (c.code ? c.code : "null");
}

TEST(MarginQueries, SecurityListsOfTheBrokerAndTheClient) {
  TSettingsEngine e("[LIMITALLOWEDSECURITY]\nSECURITY_GAZP=<ALL>\nTQBR=SBER\nSECURITY_LKOH=EQBR\n"
                    "[RESTSHORTSECURITIES]\nTQBR=LKOH\n"
                    "[CLI_MARGIN]\nIGNORERESTSHORTSECURITY=1\nIGNORELIMITSECURITY=1\nIGNOREASSETSECURITY=1\n"
                    "[CLO_MARGIN]\nTQBR=MOEX\nTQBR_ASSET=AFLT\nTQBR_RESTSHORT=VTBR\n"
                    "[CLO_MARGIN_LIMITKIND_3]\nRSTRNMBUY=1\n[CLO_MARGIN_LIMITKIND_4]\nEQBR=YNDX\n",
                    2);
  using TQuery = bool (TSettingsEngine::*)(const char*, double, const char*, const char*, int);
  const TQuery asset = &TSettingsEngine::IsAssetSecurity;
  const TQuery allowed = &TSettingsEngine::IsLimitAllowedSecurity;
  const TQuery restShort = &TSettingsEngine::IsRestShortSecurity;
  struct Case {
    TQuery query;
    const char* client;
    const char* key;
    const char* security;
    int kind;
    bool expected;
  };
  const Case cases[] = {
      // The broker's lists: by key, else by security.
      {allowed, "Z", "TQBR", "SBER", 0, true},  {allowed, "Z", "TQBR", "GAZP", 0, false},
      {allowed, "Z", "EQBR", "GAZP", 0, true},  {allowed, "Z", "EQBR", "LKOH", 0, true},
      {allowed, "Z", "EQBR", "SBER", 0, false}, {allowed, "Z", nullptr, "GAZP", 0, true},
      {allowed, "Z", nullptr, nullptr, 0, false}, {allowed, "Z", "TQBR", nullptr, 0, false},
      {restShort, "Z", "TQBR", "LKOH", 0, true}, {restShort, "Z", "TQBR", "SBER", 0, false},
      // No asset lists anywhere: the asset test answers as the limit-allowed one.
      {asset, "Z", "TQBR", "SBER", 0, true},   {asset, "Z", "EQBR", "GAZP", 0, true},
      {asset, "Z", "TQBR", "MOEX", 0, false},
      // Ignore flags.
      {allowed, "I", "TQBR", "NONE", 0, true}, {asset, "I", "TQBR", "NONE", 0, true},
      {restShort, "I", "TQBR", "LKOH", 0, false},
      // The client's own key list replaces the broker's; its security lists
      // are still the broker's.
      {allowed, "O", "TQBR", "MOEX", 0, true}, {allowed, "O", "TQBR", "SBER", 0, false},
      {allowed, "O", "EQBR", "GAZP", 0, true}, {asset, "O", "TQBR", "AFLT", 0, true},
      {asset, "O", "TQBR", "MOEX", 0, false},  {restShort, "O", "TQBR", "VTBR", 0, true},
      {restShort, "O", "TQBR", "LKOH", 0, false},
      // A kind's record without lists takes the general record's; one with
      // its own lists uses them.
      {allowed, "O", "TQBR", "MOEX", 3, true}, {asset, "O", "TQBR", "AFLT", 3, true},
      {allowed, "O", "EQBR", "YNDX", 4, true}, {allowed, "O", "TQBR", "MOEX", 4, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ((e.*c.query)(c.client, -1.0, c.key, c.security, c.kind), c.expected) << &c - cases;

  EXPECT_TRUE(e.HasAssetLists("O", -1.0, 0));
  EXPECT_FALSE(e.HasAssetLists("O", -1.0, 3));  // no fallback to the general record
  EXPECT_FALSE(e.HasAssetLists("O", -1.0, 5));
  EXPECT_FALSE(e.HasLimitAllowedLists("O", -1.0, 3));  // the kind's own record
  EXPECT_TRUE(e.HasLimitAllowedLists("O", -1.0, 5));   // no such record: the general one
  EXPECT_TRUE(e.HasLimitAllowedLists("Z", -1.0, 0));   // the broker's lists
  EXPECT_TRUE(e.HasRestShortLists("O", -1.0, 0));
  EXPECT_FALSE(e.HasRestShortLists("O", -1.0, 3));
  TSettingsEngine bare("[SECURITYDISCOUNTS]\nSUR=1\n", 2);
  EXPECT_FALSE(bare.HasLimitAllowedLists("Z", -1.0, 0));
  EXPECT_FALSE(bare.HasRestShortLists("Z", -1.0, 0));
  EXPECT_FALSE(bare.HasAssetLists("Z", -1.0, 0));
}

TEST(MarginQueries, CorrelationsAndSecurityWeights) {
  TSettingsEngine e("[ADDCORRELATION]\nPAIR=a,1.5,b,2.5,1\n[SECURITYWEIGHT]\nSBER=2\n"
                    "[CL8_MARGIN]\nUSECORRELATION=0\n[CLW_MARGIN]\nGAZP_COEF=3\nP_CORRELATION=c,1,d,2,0\n"
                    "[CLW_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n",
                    2);
  const TCorrelationEntry* byName = e.FindCorrelationByName("PAIR", "Z", -1.0, 0);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(byName->Code1, "a");
  EXPECT_EQ(e.FindCorrelationByCode("a", "Z", -1.0, 0), byName);
  EXPECT_EQ(e.FindCorrelationByCode("b", "Z", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName("PAIR", "8", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName(nullptr, "Z", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName("PAIR", "W", -1.0, 0), nullptr);
  EXPECT_EQ(e.FindCorrelationByName("P", "W", -1.0, 1)->Code1, "c");  // the client's general record

  EXPECT_EQ(e.FindSecurityWeight("Z", -1.0, "SBER", 0)->W1, 2.0);
  EXPECT_EQ(e.FindSecurityWeight("Z", -1.0, "GAZP", 0), nullptr);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, "GAZP", 0)->W1, 3.0);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, "GAZP", 1)->W1, 3.0);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, "SBER", 0), nullptr);
  EXPECT_EQ(e.FindSecurityWeight("W", -1.0, nullptr, 0), nullptr);
}

TEST(MarginQueries, LimitKindsAndLeverage) {
  TSettingsEngine e("[CLK_MARGIN]\nLIMITKINDS=1,2\nINCLUDECLIENTSWITHLEVERAGE=4\n"
                    "[CLK_MARGIN_LIMITKIND_2]\nLIMITKINDS=4\n"
                    "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nRSTRNMBUY=1\n",
                    2);
  EXPECT_EQ(e.GetClientLimitKinds("K", -1.0), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 2), (std::vector<int>{4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 7), (std::vector<int>{1, 2}));
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("K", 0, 2.5), 2.5);
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("K", 0, 0.0), 0.0);
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("K", 0, -1.0), 4.0);
  EXPECT_EQ(e.GetIncludeClientsWithLeverage("Z", 0, -1.0), -1.0);
  // A client with leverage 3 takes the template chosen by it.
  EXPECT_TRUE(e.GetRstrNmBuy("ANY", 3.0, 0));
  EXPECT_FALSE(e.GetRstrNmBuy("ANY", 2.0, 0));
}

TEST(MarginQueries, DiscountsOfTheClientElseTheBroker) {
  TSettingsEngine e("[GENERAL]\nUSEDISCOUNTSTYPE=2\n[SECURITYDISCOUNTS]\nLKOH=0.5,0.6\n"
                    "[CLD_MARGIN]\nUSEDISCOUNTSTYPE=5\nSBER_DISC=0.1,0.2,0.3,0.4,0.05,0.06\nGAZP_DISC=2\n"
                    "USESECURITYDISCOUNTS=1\n[CLD_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n",
                    2);
  EXPECT_EQ(e.GetDiscountSecurities("D", 0, -1.0), (TList{"GAZP", "SBER", "LKOH", "SUR"}));
  EXPECT_EQ(e.GetDiscountSecurities("Z", 0, -1.0), (TList{"LKOH", "SUR"}));
  const TSecurityDiscountResult own = e.GetSecurityDiscount("D", "SBER", 1, -1.0);
  EXPECT_EQ(own.SecurityCode + own.ClientCode, "SBERD");
  EXPECT_EQ((std::vector<double>{own.D1, own.D2, own.D3, own.D4, own.D5, own.D6}),
            (std::vector<double>{0.1, 0.2, 0.3, 0.4, 0.05, 0.06}));
  EXPECT_EQ(own.UseDiscountsType, 5);
  EXPECT_EQ(own.LimitKind, 1);
  EXPECT_TRUE(own.UseSecurityDiscounts);
  const TSecurityDiscountResult broker = e.GetSecurityDiscount("D", "LKOH", 0, -1.0);
  EXPECT_EQ(broker.D1, 0.5);
  EXPECT_EQ(broker.UseDiscountsType, 5);  // the client's record was there
  const TSecurityDiscountResult none = e.GetSecurityDiscount("D", "NONE", 0, -1.0);
  EXPECT_EQ(none.SecurityCode, "");
  EXPECT_EQ(none.D1, -1.0);
  EXPECT_EQ(e.GetUseDiscountsType("Z", "LKOH", 0, -1.0), 2);
  EXPECT_EQ(e.GetUseDiscountsType("D", nullptr, 0, -1.0), 5);
}

struct TCoefficientCase {
  std::string text;
  double percent;
  std::int64_t longOverride;
  std::int64_t shortOverride;
  double expected[4];  // long, short, long minimum, short minimum
};

TEST(MarginQueries, RestrictionCoefficients) {
  const std::string plain = "[CLC_MARGIN]\nSBER_DISC=-1,-1,0.3,0.4,0.1,0.2\n";
  const std::string set = "[CLC_MARGIN]\nSBER_DISC=2,2,0.3,0.4,-1,-1\n";
  const std::string unset = "[CLC_MARGIN]\nSBER_DISC=-1,-1,-1,-1,-1,-1\n";
  const std::string powered = "USESECURITYDISCOUNTS=1\n";
  const std::string changed = "USECHSECURITYDISCOUNTS=1\n";
  const std::string account = "[GENERAL]\nDISCOUNTTRDACC=L01\n" + plain;
  const double eased = 1.0 - std::sqrt(0.7);  // exponent (1 + 0) * 0.5 on 1 - 0.3
  const double noLimit = 1e50;
  const TCoefficientCase cases[] = {
      {unset, 50, 0, 0, {1.0, noLimit, 1.0, noLimit}},
      {unset + changed, 50, 0, 0, {0.5, 0.5, 1 - std::sqrt(0.5), std::sqrt(1.5) - 1}},
      {plain, 100, 0, 0, {0.3, 0.4, eased, 0.2}},
      {plain, 150, 0, 0, {0.3, 0.4, eased, 0.2}},  // works as 100
      {plain, -10, 0, 0, {0.3, 0.4, eased, 0.2}},
      {plain, 50, 0, 0, {0.3, 0.4, eased, 0.2}},
      {plain + "MINDISCRATELONG=1\nMINDISCRATESHORT=1\n", 100, 0, 0, {0.3, 0.4, 0.3, 0.4}},
      {set, 50, 0, 0, {0.51, 1.25, 0.3, 0.5}},
      {set, 100, 0, 0, {1.0, noLimit, 1.0, noLimit}},
      {set + powered + changed, 50, 0, 0, {0.51, 1.25, 0.3, 0.5}},
      {set + powered + changed, 0, 0, 0, {0.0, 0.96, 0.0, 0.4}},
      {set + powered, 50, 0, 0, {0.3, 0.4, eased, std::sqrt(1.4) - 1}},
      {set + powered, 100, 0, 0, {0.3, 0.4, eased, std::sqrt(1.4) - 1}},
      {set + changed, 50, 0, 0, {0.5, 0.5, 1 - std::sqrt(0.5), std::sqrt(1.5) - 1}},
      {plain + powered + changed, 50, 0, 0, {0.5, 0.5, 1 - std::sqrt(0.5), std::sqrt(1.5) - 1}},
      {account, 100, 250, 900, {0.25, 0.9, 1 - std::sqrt(0.75), std::sqrt(1.9) - 1}},
      {account, 100, -1, -1, {1.0, noLimit, 1.0, noLimit}},
      {plain, 100, 250, 900, {0.3, 0.4, eased, 0.2}},  // overrides need a discount account
  };
  for (const TCoefficientCase& c : cases) {
    SCOPED_TRACE(c.text + " at " + std::to_string(c.percent));
    TSettingsEngine e(c.text.c_str(), 2);
    double out[4] = {-7, -7, -7, -7};
    EXPECT_TRUE(e.ComputeRestrictionCoefficient("C", "SBER", 0, -1.0, c.percent, c.longOverride,
                                                c.shortOverride, out));
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(out[i], c.expected[i], 1e-12 * (1 + c.expected[i])) << i;
  }
  TSettingsEngine e(account.c_str(), 2);
  for (std::int64_t longOverride : {-5000, -1, 0, 999, 5000}) {
    for (std::int64_t shortOverride : {-5000, -2000, -1, 1, 5000}) {
      for (double percent : {0.0, 30.0, 100.0, std::nan("")}) {
        double out[4];
        e.ComputeRestrictionCoefficient("C", "SBER", 0, -1.0, percent, longOverride, shortOverride, out);
        for (double value : out) EXPECT_FALSE(std::isnan(value)) << longOverride << " " << shortOverride;
      }
    }
  }
}

}  // namespace
}  // namespace DL
