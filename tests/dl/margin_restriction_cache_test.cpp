// Margin restrictions: the broker-wide item, client sections with their
// inheritance, limit kinds, and the cache per client and leverage.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;
using TKinds = std::vector<int>;

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

struct Fixture {
  explicit Fixture(const std::string& text) : ini(Parse(text)), cache(ini.get()) {}
  const TClientMarginRestrictions& Get(const char* client, double leverage = -1.0) {
    return *cache.Get(TIniCacheItemID(client, leverage));
  }
  const TMarginRestrictionRecord& Broker() const { return cache.GetDefault()->Records.at(0); }

  std::unique_ptr<TIniFile> ini;
  TCacheOfClientMarginRestrictions cache;
};

TEST(MarginRestrictionCache, BrokerItemWithoutMarginSections) {
  Fixture f("");
  const TClientMarginRestrictions& item = *f.cache.GetDefault();
  EXPECT_EQ(item.Leverage, -1.0);
  ASSERT_EQ(item.Records.size(), 1u);
  const TMarginRestrictionRecord& r = item.Records.at(0);
  EXPECT_TRUE(r.RstrTransfer);
  EXPECT_TRUE(r.UseCorrelation);
  EXPECT_TRUE(r.UseCommonTrdAcc);
  EXPECT_FALSE(r.RstrNmBuy);
  EXPECT_EQ(r.UseDiscountsType, 3);
  EXPECT_EQ(r.IncludeClientsWithLeverage, -1.0);
  ASSERT_EQ(r.SecurityDiscounts.size(), 1u);
  const TSecurityDiscount& sur = r.SecurityDiscounts.at("SUR");
  EXPECT_EQ((std::vector<double>{sur.D1, sur.D2, sur.D3, sur.D4, sur.D5, sur.D6, sur.MinLong,
                                 sur.MinShort}),
            (std::vector<double>{-1, -1, 0, 0, 0, 0, 0, 0}));
  for (int source : {r.SecurityWeightsSource, r.CorrelationsSource, r.AssetListsSource,
                     r.AssetSecurityListsSource, r.LimitAllowedListsSource,
                     r.LimitAllowedSecurityListsSource, r.RestShortListsSource,
                     r.RestShortSecurityListsSource, r.SecurityDiscountsSource})
    EXPECT_EQ(source, 0);
  EXPECT_EQ(&f.Get("ANY"), f.cache.GetDefault());
  EXPECT_EQ(&f.Get("ANY", 2.0), f.cache.GetDefault());
  EXPECT_EQ(&f.Get(""), f.cache.GetDefault());
}

TEST(MarginRestrictionCache, BrokerNegativeMoneyToShortAndLimitKinds) {
  struct Case {
    const char* text;
    int kind;
    TList list;
    TKinds limitKinds;
  };
  const Case cases[] = {
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=2\n", 2, {"2"}, {}},
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=TQBR,EQBR\n", 0, {"TQBR", "EQBR"}, {}},
      {"[GENERAL]\nNEGATIVEMONEYTOSHORT=3\nLIMITKINDS=2,-1,2\n", 0, {"3"}, {2}},
      {"[GENERAL]\nLIMITKINDS=1,,0\n", 0, {}, {1, 0}},
  };
  for (const Case& c : cases) {
    Fixture f(c.text);
    EXPECT_EQ(f.Broker().NegativeMoneyToShortKind, c.kind) << c.text;
    EXPECT_EQ(f.Broker().NegativeMoneyToShortList, c.list) << c.text;
    EXPECT_EQ(f.cache.GetDefault()->LimitKinds, c.limitKinds) << c.text;
  }
}

TEST(MarginRestrictionCache, BrokerListSections) {
  Fixture f(
      "[ASSETSECURITIES]\nSECURITY_SBER=<ALL>\nSECURITY=A,B\nSECURITYX=C\nTQBR=D, E\n"
      "[RESTSHORTSECURITIES]\nSECURITY_=F\n"
      "[LIMITALLOWEDSECURITY]\nsecurity_gazp=G\n"
      "[ADDCOMMONTRDACC]\nACC1=L01, L02\n"
      "[ADDCORRELATION]\nSHORT=a,1,b\nPAIR=a, 1.5, b, 2.5, 1\n"
      "[SECURITYWEIGHT]\nW1=2\nW2=2,3\nW3=2,\nW4=1,2,3,4,5,6\nW5=\n"
      "[SECURITYDISCOUNTS]\nMINDISCRATELONG=0.5\nmindiscrateshort=0.25\nSUR=1,2\n"
      "TQBR=0.1,,0.3,0.4,0.5,0.6,0.7\n");
  const TMarginRestrictionRecord& r = f.Broker();
  EXPECT_TRUE(r.AssetSecurityLists.at("SBER").All);
  // Only "SECURITY_" marks a security name; "SECURITY" alone is a plain name.
  EXPECT_EQ(r.AssetLists.at("SECURITY").Items, (TList{"A", "B"}));
  EXPECT_EQ(r.AssetLists.at("SECURITYX").Items, (TList{"C"}));
  EXPECT_EQ(r.AssetLists.at("TQBR").Items, (TList{"D", "E"}));
  EXPECT_FALSE(r.AssetLists.at("TQBR").All);
  EXPECT_EQ(r.RestShortSecurityLists.at("").Items, (TList{"F"}));
  // The general record keeps the names as the text writes them.
  EXPECT_EQ(r.LimitAllowedLists.at("security_gazp").Items, (TList{"G"}));
  EXPECT_EQ(r.CommonTrdAccLists.at("ACC1"), (TList{"L01", "L02"}));
  // A correlation needs five items.
  ASSERT_EQ(r.Correlations.size(), 1u);
  const TCorrelationEntry& pair = r.Correlations[0];
  EXPECT_EQ(pair.Name, "PAIR");
  EXPECT_EQ(pair.Code1, "a");
  EXPECT_EQ(pair.Code2, "b");
  EXPECT_EQ(pair.Value1, 1.5);
  EXPECT_EQ(pair.Value2, 2.5);
  EXPECT_EQ(pair.Flag, 1);
  // Short weight lists take the defaults of the missing positions.
  auto weights = [&](const char* name) {
    const TSecurityWeight& w = r.SecurityWeights.at(name);
    return std::vector<double>{w.W1, w.W2, w.W3, w.W4, w.W5};
  };
  EXPECT_EQ(weights("W1"), (std::vector<double>{2, 1, -1, -1, -1}));
  EXPECT_EQ(weights("W2"), (std::vector<double>{2, 3, -1, -1, -1}));
  EXPECT_EQ(weights("W3"), (std::vector<double>{2, 1, -1, -1, -1}));
  EXPECT_EQ(weights("W4"), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(weights("W5"), (std::vector<double>{1, 1, -1, -1, -1}));
  // Discounts: items 4 and 5 land in D4 and D5; the broker's SUR stays.
  EXPECT_EQ(r.MinDiscRateLong, 0.5);
  EXPECT_EQ(r.MinDiscRateShort, 0.25);
  EXPECT_EQ(r.SecurityDiscounts.size(), 2u);
  const TSecurityDiscount& sur = r.SecurityDiscounts.at("SUR");
  EXPECT_EQ((std::vector<double>{sur.D1, sur.D2, sur.D3, sur.MinLong}),
            (std::vector<double>{1, 2, -1, 0.5}));
  const TSecurityDiscount& tqbr = r.SecurityDiscounts.at("TQBR");
  EXPECT_EQ((std::vector<double>{tqbr.D1, tqbr.D2, tqbr.D3, tqbr.D4, tqbr.D5, tqbr.D6,
                                 tqbr.MinShort}),
            (std::vector<double>{0.1, -1, 0.3, 0.4, 0.5, 0.6, 0.25}));
}

TEST(MarginRestrictionCache, CorrelationsAreNotReadWhenTurnedOff) {
  Fixture f("[GENERAL]\nUSECORRELATION=0\n[ADDCORRELATION]\nP=a,1,b,2,0\n");
  EXPECT_FALSE(f.Broker().UseCorrelation);
  EXPECT_TRUE(f.Broker().Correlations.empty());
}

const char kInheritance[] =
    "[GENERAL]\nRSTRNMBUY=1\nSHORTMONEYTOBUYLONG=1\nUSEDISCOUNTSTYPE=2\nLIMITKINDS=5\n"
    "NEGATIVEMONEYTOSHORT=TQBR\n"
    "[SECURITYWEIGHT]\nSBER=2\n"
    "[CL7_MARGIN]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=-2\nLONGMONEYTOSELLSHORT=-1\n"
    "USEDISCOUNTSTYPE=-1\nINCLUDECLIENTSWITHLEVERAGE=-1\nLIMITKINDS=-1,3\nGAZP_COEF=3\n"
    "[CL7_MARGIN_LIMITKIND_2]\nRSTRNMBUY=-2\nUSEDISCOUNTSTYPE=-2\nSHORTMONEYTOBUYLONG=0\n"
    "[CL7_MARGIN_LIMITKIND_3]\nRSTRNMBUY=-1\nUSEDISCOUNTSTYPE=-1\nLIMITKINDS=4\n"
    "[CL7_MARGIN_LIMITKIND_0]\nRSTRNMBUY=1\n"
    "[CL7_MARGIN_LIMITKIND_X]\nRSTRNMBUY=1\n"
    "[CL7_MARGIN_LIMITKIND_3X]\nRSTRNMBUY=0\n"
    "[CL8_MARGIN]\nUSECORRELATION=0\n"
    "[CL8_MARGIN_LIMITKIND_1]\nX=1\n";

TEST(MarginRestrictionCache, InheritanceOfScalarKeys) {
  Fixture f(kInheritance);
  const TClientMarginRestrictions& item = f.Get("7");
  ASSERT_EQ(item.Records.size(), 3u);  // 0, 2 and 3; kinds 0 and X are no kinds
  const TMarginRestrictionRecord& general = item.Records.at(0);
  EXPECT_FALSE(general.RstrNmBuy);
  EXPECT_TRUE(general.ShortMoneyToBuyLong);    // -2: the broker's value
  EXPECT_TRUE(general.LongMoneyToSellShort);   // -1 stays -1, a true flag
  EXPECT_EQ(general.UseDiscountsType, -1);
  EXPECT_EQ(general.IncludeClientsWithLeverage, -1.0);
  EXPECT_EQ(general.NegativeMoneyToShortList, (TList{"TQBR"}));  // the broker's list
  const TMarginRestrictionRecord& two = item.Records.at(2);
  EXPECT_FALSE(two.RstrNmBuy);                 // -2: the client's general record
  EXPECT_EQ(two.UseDiscountsType, -1);
  EXPECT_FALSE(two.ShortMoneyToBuyLong);
  const TMarginRestrictionRecord& three = item.Records.at(3);
  EXPECT_TRUE(three.RstrNmBuy);                // -1: the broker's value
  EXPECT_EQ(three.UseDiscountsType, 2);
  // "LIMITKIND_3X" is kind 3 too, but the first section for a kind wins.
  EXPECT_EQ(general.LimitKinds, (TKinds{-1, 3}));
  EXPECT_EQ(two.LimitKinds, (TKinds{-1, 3}));  // copied from the general record
  EXPECT_EQ(three.LimitKinds, (TKinds{4}));
  EXPECT_EQ(item.LimitKinds, (TKinds{-1, 3, 4}));
  EXPECT_EQ(f.Get("8").Records.at(1).LimitKinds, (TKinds{5}));  // the broker's
}

TEST(MarginRestrictionCache, SourceMarkers) {
  Fixture f(kInheritance);
  const TClientMarginRestrictions& seven = f.Get("7");
  EXPECT_EQ(seven.Records.at(0).SecurityWeightsSource, 2);
  EXPECT_EQ(seven.Records.at(2).SecurityWeightsSource, 1);  // the client's general record has one
  EXPECT_EQ(seven.Records.at(2).AssetListsSource, 0);
  const TClientMarginRestrictions& eight = f.Get("8");
  EXPECT_EQ(eight.Records.at(0).SecurityWeightsSource, 0);
  EXPECT_EQ(eight.Records.at(1).SecurityWeightsSource, 0);  // neither has: the broker's
  EXPECT_FALSE(eight.Records.at(0).UseCorrelation);
}

TEST(MarginRestrictionCache, KeysOfAClientSection) {
  Fixture f(
      "[ADDCOMMONTRDACC]\nACC=L1\n"
      "[CL9_MARGIN]\nSECURITY_SBER_ASSET=<ALL>\nTQBR_ASSET=A,B\nSECURITY_ASSET=C\n"
      "A_ASSET_B_ASSET=D\nsecurity_lkoh_restshort=E\nX_RESTSHORT=F\nTQBR_DISC=0.1,0.2\n"
      "TQBR=SBER,GAZP\nSECURITY_GAZP=<ALL>\nSECURITY_=G\nP_CORRELATION=a,1,b,2,0\n"
      "Q_CORRELATION=a,1\nSBER_COEF=2,3\n_TAG=x\nCLIENTS=9\nADDCOMMONTRDACC_ACC=L2\n"
      "SECTOBOARD_X=Y\nMINDISCRATELONG=0.3\n");
  const TMarginRestrictionRecord& r = f.Get("9").Records.at(0);
  EXPECT_TRUE(r.AssetSecurityLists.at("SBER").All);
  EXPECT_EQ(r.AssetLists.at("TQBR").Items, (TList{"A", "B"}));
  // Too short to hold both "SECURITY_" and "_ASSET": a plain name.
  EXPECT_EQ(r.AssetLists.at("SECURITY").Items, (TList{"C"}));
  // "_ASSET" first occurs inside the key: a limit-allowed list.
  EXPECT_EQ(r.LimitAllowedLists.at("A_ASSET_B_ASSET").Items, (TList{"D"}));
  EXPECT_EQ(r.RestShortSecurityLists.at("LKOH").Items, (TList{"E"}));
  EXPECT_EQ(r.RestShortLists.at("X").Items, (TList{"F"}));
  const TSecurityDiscount& d = r.SecurityDiscounts.at("TQBR");
  EXPECT_EQ((std::vector<double>{d.D1, d.D2, d.D3, d.D4, d.D5, d.D6, d.MinLong, d.MinShort}),
            (std::vector<double>{0.1, 0.2, -1, -1, -1, -1, 0.3, 0.0}));
  EXPECT_EQ(r.LimitAllowedLists.at("TQBR").Items, (TList{"SBER", "GAZP"}));
  EXPECT_TRUE(r.LimitAllowedSecurityLists.at("GAZP").All);
  EXPECT_EQ(r.LimitAllowedSecurityLists.at("").Items, (TList{"G"}));
  EXPECT_EQ(r.LimitAllowedLists.size(), 2u);
  ASSERT_EQ(r.Correlations.size(), 1u);
  EXPECT_EQ(r.Correlations[0].Name, "P");
  EXPECT_EQ(r.Correlations[0].Flag, 0);
  EXPECT_EQ(r.SecurityWeights.at("SBER").W2, 3.0);
  EXPECT_TRUE(r.CommonTrdAccLists.empty());
  EXPECT_EQ(r.SecurityDiscountsSource, 2);
  EXPECT_EQ(r.RestShortSecurityListsSource, 2);
}

TEST(MarginRestrictionCache, SectionChain) {
  // Each section names itself by its USEDISCOUNTSTYPE.
  const char text[] =
      "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nUSEDISCOUNTSTYPE=11\n"
      "[CLT_MARGIN_TEMPLATE]\nCLIENTS=B1,C1\nUSEDISCOUNTSTYPE=12\n"
      "[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n"
      "[CLM*_MARGIN]\nUSEDISCOUNTSTYPE=14\n"
      "[CL<GENERAL>_MARGIN]\nUSEDISCOUNTSTYPE=15\n";
  struct Case {
    const char* client;
    double leverage;
    int type;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"A1", 3.0, 11}, {"A1", 2.0, 13},  {"A1", -1.0, 13}, {"A1", nan, 13}, {"A1", inf, 13},
      {"B1", 2.0, 12}, {"B1", 3.0, 11},  {"M5", 2.0, 14},  {"m5", 2.0, 14}, {"Z", 2.0, 15},
      {"", -1.0, 15},  {"", 3.0, 11},    {"a1", 2.0, 13},
  };
  Fixture f(text);
  for (const Case& c : cases)
    EXPECT_EQ(f.Get(c.client, c.leverage).Records.at(0).UseDiscountsType, c.type)
        << c.client << " at " << c.leverage;
  Fixture none("[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n");
  EXPECT_EQ(&none.Get("Z", 2.0), none.cache.GetDefault());
}

TEST(MarginRestrictionCache, LimitKindsOfALowerCaseMask) {
  Fixture f("[CLA*_MARGIN]\nRSTRNMBUY=1\n[CLA*_MARGIN_LIMITKIND_1]\nRSTRNMBUY=0\n");
  ASSERT_EQ(f.cache.ResolveSection("ab", -1.0), "CLa*_MARGIN");
  const TClientMarginRestrictions& lower = f.Get("ab");
  ASSERT_EQ(lower.Records.size(), 2u);
  EXPECT_FALSE(lower.Records.at(1).RstrNmBuy);
  EXPECT_EQ(&f.Get("AB"), &lower);  // one section, one item
}

TEST(MarginRestrictionCache, HugeLimitKindNumbersAreClamped) {
  Fixture f("[CL1_MARGIN]\n[CL1_MARGIN_LIMITKIND_99999999999]\nRSTRNMBUY=1\n");
  EXPECT_TRUE(f.Get("1").Records.at(INT_MAX).RstrNmBuy);
}

TEST(MarginRestrictionCache, TemplateItemsAreShared) {
  Fixture f("[CLT_MARGIN_TEMPLATE]\nCLIENTS=A,B\n");
  const TClientMarginRestrictions& a = f.Get("A", 2.0);
  EXPECT_EQ(&f.Get("B", 2.0), &a);
  EXPECT_EQ(&f.Get("A", 5.0), &a);
  EXPECT_EQ(a.Leverage, 2.0);
  EXPECT_EQ(f.cache.LoadedSectionCount(), 1u);
}

TEST(MarginRestrictionCache, LeveragesLoadAgainOnlyForAnotherSection) {
  Fixture f(
      "[CLA_MARGIN]\nRSTRNMBUY=1\n"
      "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=4\nRSTRNMBUY=0\n");
  const TClientMarginRestrictions& two = f.Get("A", 2.0);
  const TClientMarginRestrictions& three = f.Get("A", 3.0);
  EXPECT_TRUE(three.Records.at(0).RstrNmBuy);
  EXPECT_EQ(&three, &two);  // the same section gives the same answers
  EXPECT_EQ(&f.Get("A", 3.0), &three);
  const TClientMarginRestrictions& four = f.Get("A", 4.0);
  EXPECT_FALSE(four.Records.at(0).RstrNmBuy);
  // Alternating leverages neither load again nor grow the cache.
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(&f.Get("A", 2.0), &two);
    EXPECT_EQ(&f.Get("A", 4.0), &four);
  }
  EXPECT_EQ(f.cache.EntryCount(), 3u);
  EXPECT_EQ(f.cache.LoadedSectionCount(), 2u);
}

}  // namespace
}  // namespace DL
