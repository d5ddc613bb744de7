// Margin restrictions: the broker-wide item, client sections with their
// inheritance, limit kinds, and the cache per client and leverage.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;
using TKinds = std::vector<int>;
using TNumbers = std::vector<double>;

struct Fixture {
  explicit Fixture(const std::string& text)
      : ini(std::make_unique<TIniFile>(text.c_str(), 2, ';', 1)), cache(ini.get()) {}
  const TClientMarginRestrictions& Get(const char* client, double leverage = -1.0) {
    return *cache.Get(TIniCacheItemID(client, leverage));
  }
  const TMarginRestrictionRecord& Broker() const { return cache.GetDefault()->Records.at(0); }

  std::unique_ptr<TIniFile> ini;
  TCacheOfClientMarginRestrictions cache;
};

TNumbers Discounts(const TSecurityDiscount& d) {
  return {d.D1, d.D2, d.D3, d.D4, d.D5, d.D6, d.MinLong, d.MinShort};
}

TNumbers Sources(const TMarginRestrictionRecord& r) {
  return {double(r.SecurityWeightsSource), double(r.CorrelationsSource), double(r.AssetListsSource),
          double(r.AssetSecurityListsSource), double(r.LimitAllowedListsSource),
          double(r.LimitAllowedSecurityListsSource), double(r.RestShortListsSource),
          double(r.RestShortSecurityListsSource), double(r.SecurityDiscountsSource)};
}

TEST(MarginRestrictionCache, BrokerItemWithoutMarginSections) {
  Fixture f("");
  const TClientMarginRestrictions& item = *f.cache.GetDefault();
  EXPECT_EQ(item.Leverage, -1.0);
  ASSERT_EQ(item.Records.size(), 1u);
  const TMarginRestrictionRecord& r = item.Records.at(0);
  EXPECT_EQ((std::vector<bool>{r.RstrTransfer, r.UseCorrelation, r.UseCommonTrdAcc, r.RstrNmBuy,
                               r.ShortMoneyToBuyLong, r.LongMoneyToSellShort, r.UseSecurityDiscounts,
                               r.UseChSecurityDiscounts}),
            (std::vector<bool>{true, true, true, false, false, false, false, false}));
  EXPECT_EQ(r.UseDiscountsType, 3);
  EXPECT_EQ(r.IncludeClientsWithLeverage, -1.0);
  ASSERT_EQ(r.SecurityDiscounts.size(), 1u);
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("SUR")), (TNumbers{-1, -1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Sources(r), TNumbers(9, 0.0));
  for (double leverage : {-1.0, 2.0}) EXPECT_EQ(&f.Get("ANY", leverage), f.cache.GetDefault());
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
  Fixture f("[GENERAL]\nRSTRNMBUY=1\nSHORTMONEYTOBUYLONG=1\nLONGMONEYTOSELLSHORT=1\nRSTRTRANSFER=0\n"
            "USEDISCOUNTSTYPE=1\nUSESECURITYDISCOUNTS=1\nUSECHSECURITYDISCOUNTS=1\n"
            "INCLUDECLIENTSWITHLEVERAGE=2\n"
            "[ASSETSECURITIES]\nSECURITY_SBER=<ALL>\nSECURITY=A,B\nSECURITYX=C\nTQBR=D, E\n"
            "[RESTSHORTSECURITIES]\nSECURITY_=F\nX=H\n"
            "[LIMITALLOWEDSECURITY]\nsecurity_gazp=G\n"
            "[ADDCOMMONTRDACC]\nACC1=L01, L02\n"
            "[ADDCORRELATION]\nSHORT=a,1,b\nPAIR=a, 1.5, b, 2.5, 7\n"
            "[SECURITYWEIGHT]\nW1=2\nW2=2,3\nW3=2,\nW4=1,2,3,4,5,6\nW5=\n"
            "[SECURITYDISCOUNTS]\nMINDISCRATELONG=0.5\nmindiscrateshort=0.25\nSUR=1,2\n"
            "TQBR=0.1,,0.3,0.4,0.5,0.6,0.7\n");
  const TMarginRestrictionRecord& r = f.Broker();
  EXPECT_EQ((std::vector<bool>{r.RstrTransfer, r.RstrNmBuy, r.ShortMoneyToBuyLong,
                               r.LongMoneyToSellShort, r.UseSecurityDiscounts, r.UseChSecurityDiscounts}),
            (std::vector<bool>{false, true, true, true, true, true}));
  EXPECT_EQ(r.UseDiscountsType, 1);
  EXPECT_EQ(r.IncludeClientsWithLeverage, 2.0);
  EXPECT_TRUE(r.AssetSecurityLists.at("SBER").All);
  // Only "SECURITY_" marks a security name; "SECURITY" alone is a plain name.
  EXPECT_EQ(r.AssetLists.at("SECURITY").Items, (TList{"A", "B"}));
  EXPECT_EQ(r.AssetLists.at("SECURITYX").Items, (TList{"C"}));
  EXPECT_EQ(r.AssetLists.at("TQBR").Items, (TList{"D", "E"}));
  EXPECT_FALSE(r.AssetLists.at("TQBR").All);
  EXPECT_EQ(r.RestShortSecurityLists.at("").Items, (TList{"F"}));
  EXPECT_EQ(r.RestShortLists.at("X").Items, (TList{"H"}));
  // The general record keeps the names as the text writes them.
  EXPECT_EQ(r.LimitAllowedLists.at("security_gazp").Items, (TList{"G"}));
  EXPECT_EQ(r.CommonTrdAccLists.at("ACC1"), (TList{"L01", "L02"}));
  // A correlation needs five items.
  ASSERT_EQ(r.Correlations.size(), 1u);
  const TCorrelationEntry& pair = r.Correlations[0];
  EXPECT_EQ(pair.Name + pair.Code1 + pair.Code2, "PAIRab");
  EXPECT_EQ((TNumbers{pair.Value1, pair.Value2, double(pair.Flag)}), (TNumbers{1.5, 2.5, 1}));
  // Short weight lists take the defaults of the missing positions.
  const std::pair<const char*, TNumbers> weights[] = {
      {"W1", {2, 1, -1, -1, -1}}, {"W2", {2, 3, -1, -1, -1}}, {"W3", {2, 1, -1, -1, -1}},
      {"W4", {1, 2, 3, 4, 5}},    {"W5", {1, 1, -1, -1, -1}},
  };
  for (const auto& [name, expected] : weights) {
    const TSecurityWeight& w = r.SecurityWeights.at(name);
    EXPECT_EQ((TNumbers{w.W1, w.W2, w.W3, w.W4, w.W5}), expected) << name;
  }
  // Discounts: items 4 and 5 land in D4 and D5; the broker's SUR stays.
  EXPECT_EQ(r.MinDiscRateLong, 0.5);
  EXPECT_EQ(r.MinDiscRateShort, 0.25);
  EXPECT_EQ(r.SecurityDiscounts.size(), 2u);
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("SUR")), (TNumbers{1, 2, -1, -1, -1, -1, 0.5, 0.25}));
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("TQBR")),
            (TNumbers{0.1, -1, 0.3, 0.4, 0.5, 0.6, 0.5, 0.25}));
  Fixture off("[GENERAL]\nUSECORRELATION=0\n[ADDCORRELATION]\nP=a,1,b,2,0\n");
  EXPECT_FALSE(off.Broker().UseCorrelation);
  EXPECT_TRUE(off.Broker().Correlations.empty());
}

const char kInheritance[] =
    "[GENERAL]\nRSTRNMBUY=1\nSHORTMONEYTOBUYLONG=1\nUSEDISCOUNTSTYPE=2\nLIMITKINDS=5\n"
    "NEGATIVEMONEYTOSHORT=TQBR\nMINDISCRATELONG=3\n"
    "[SECURITYWEIGHT]\nSBER=2\n"
    "[CL7_MARGIN]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=-2\nLONGMONEYTOSELLSHORT=-1\n"
    "USEDISCOUNTSTYPE=-1\nINCLUDECLIENTSWITHLEVERAGE=-1\nLIMITKINDS=-1,3\nGAZP_COEF=3\n"
    "MINDISCRATELONG=0.5\nMINDISCRATESHORT=-1\n"
    "[CL7_MARGIN_LIMITKIND_2]\nRSTRNMBUY=-2\nUSEDISCOUNTSTYPE=-2\nSHORTMONEYTOBUYLONG=0\n"
    "MINDISCRATELONG=-2\nMINDISCRATESHORT=-1\n"
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
  EXPECT_EQ(general.MinDiscRateLong, 0.5);
  EXPECT_EQ(general.MinDiscRateShort, -1.0);
  EXPECT_EQ(general.NegativeMoneyToShortList, (TList{"TQBR"}));  // the broker's list
  const TMarginRestrictionRecord& two = item.Records.at(2);
  EXPECT_FALSE(two.RstrNmBuy);                 // -2: the client's general record
  EXPECT_EQ(two.UseDiscountsType, -1);
  EXPECT_FALSE(two.ShortMoneyToBuyLong);
  EXPECT_EQ(two.MinDiscRateLong, 0.5);
  EXPECT_EQ(two.MinDiscRateShort, 0.0);        // -1: the broker's value
  const TMarginRestrictionRecord& three = item.Records.at(3);
  EXPECT_TRUE(three.RstrNmBuy);                // -1: the broker's value
  EXPECT_EQ(three.UseDiscountsType, 2);
  // "LIMITKIND_3X" is kind 3 too, but the first section for a kind wins.
  EXPECT_EQ(general.LimitKinds, (TKinds{-1, 3}));
  EXPECT_EQ(two.LimitKinds, (TKinds{-1, 3}));  // copied from the general record
  EXPECT_EQ(three.LimitKinds, (TKinds{4}));
  EXPECT_EQ(item.LimitKinds, (TKinds{-1, 3, 4}));
  const TClientMarginRestrictions& eight = f.Get("8");
  EXPECT_EQ(eight.Records.at(1).LimitKinds, (TKinds{5}));  // the broker's
  // Keys the section lacks take the broker's values.
  for (const TMarginRestrictionRecord* r : {&eight.Records.at(0), &eight.Records.at(1)}) {
    EXPECT_TRUE(r->RstrNmBuy && r->ShortMoneyToBuyLong && r->RstrTransfer && r->UseCommonTrdAcc);
    EXPECT_FALSE(r->LongMoneyToSellShort || r->IgnoreLimitSecurity || r->UseSecurityDiscounts);
    EXPECT_EQ(r->UseDiscountsType, 2);
  }
  EXPECT_FALSE(eight.Records.at(0).UseCorrelation);
  EXPECT_FALSE(eight.Records.at(1).UseCorrelation);
  // Which collection each record answers from: own 2, the client's general
  // record 1, the broker's 0.
  EXPECT_EQ(Sources(general), (TNumbers{2, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Sources(two), (TNumbers{1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Sources(eight.Records.at(1)), (TNumbers{0, 0, 0, 0, 2, 0, 0, 0, 0}));  // its list X
}

TEST(MarginRestrictionCache, KeysOfAClientSection) {
  Fixture f("[ADDCOMMONTRDACC]\nACC=L1\n"
            "[CL9_MARGIN]\nSECURITY_SBER_ASSET=<ALL>\nTQBR_ASSET=A,B\nSECURITY_ASSET=C\n"
            "A_ASSET_B_ASSET=D\nsecurity_lkoh_restshort=E\nX_RESTSHORT=F\nTQBR_DISC=0.1,0.2\n"
            "TQBR=SBER,GAZP\nSECURITY_GAZP=<ALL>\nSECURITY_=G\nP_CORRELATION=a,1,b,2,0\n"
            "Q_CORRELATION=a,1\nSBER_COEF=2,3\n_TAG=x\nCLIENTS=9\nADDCOMMONTRDACC_ACC=L2\n"
            "SECTOBOARD_X=Y\nMINDISCRATELONG=0.3\nIGNOREASSETSECURITY=1\nPREVPRICEPERCENT=5\n");
  const TMarginRestrictionRecord& r = f.Get("9").Records.at(0);
  EXPECT_TRUE(r.AssetSecurityLists.at("SBER").All);
  EXPECT_EQ(r.AssetLists.at("TQBR").Items, (TList{"A", "B"}));
  // Too short to hold both "SECURITY_" and "_ASSET": a plain name.
  EXPECT_EQ(r.AssetLists.at("SECURITY").Items, (TList{"C"}));
  // "_ASSET" first occurs inside the key: a limit-allowed list.
  EXPECT_EQ(r.LimitAllowedLists.at("A_ASSET_B_ASSET").Items, (TList{"D"}));
  EXPECT_EQ(r.RestShortSecurityLists.at("LKOH").Items, (TList{"E"}));
  EXPECT_EQ(r.RestShortLists.at("X").Items, (TList{"F"}));
  EXPECT_EQ(Discounts(r.SecurityDiscounts.at("TQBR")), (TNumbers{0.1, 0.2, -1, -1, -1, -1, 0.3, 0.0}));
  EXPECT_EQ(r.LimitAllowedLists.at("TQBR").Items, (TList{"SBER", "GAZP"}));
  EXPECT_TRUE(r.LimitAllowedSecurityLists.at("GAZP").All);
  EXPECT_EQ(r.LimitAllowedSecurityLists.at("").Items, (TList{"G"}));
  EXPECT_EQ(r.LimitAllowedLists.size(), 2u);
  ASSERT_EQ(r.Correlations.size(), 1u);
  EXPECT_EQ(r.Correlations[0].Name, "P");
  EXPECT_EQ(r.Correlations[0].Flag, 0);
  EXPECT_EQ(r.SecurityWeights.at("SBER").W2, 3.0);
  EXPECT_TRUE(r.CommonTrdAccLists.empty());
  EXPECT_TRUE(r.IgnoreAssetSecurity);
  EXPECT_EQ(Sources(r), (TNumbers{2, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST(MarginRestrictionCache, SectionChain) {
  // Each section names itself by its USEDISCOUNTSTYPE.
  Fixture f("[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nUSEDISCOUNTSTYPE=11\n"
            "[CLT_MARGIN_TEMPLATE]\nCLIENTS=B1,C1\nUSEDISCOUNTSTYPE=12\n"
            "[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n[CLM*_MARGIN]\nUSEDISCOUNTSTYPE=14\n"
            "[CL<GENERAL>_MARGIN]\nUSEDISCOUNTSTYPE=15\n");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::tuple<const char*, double, int> cases[] = {
      {"A1", 3.0, 11}, {"A1", 2.0, 13}, {"A1", -1.0, 13}, {"A1", nan, 13}, {"A1", inf, 13},
      {"B1", 2.0, 12}, {"B1", 3.0, 11}, {"M5", 2.0, 14},  {"m5", 2.0, 14}, {"Z", 2.0, 15},
      {"", -1.0, 15},  {"", 3.0, 11},   {"a1", 2.0, 13},
  };
  for (const auto& [client, leverage, type] : cases)
    EXPECT_EQ(f.Get(client, leverage).Records.at(0).UseDiscountsType, type) << client << " at " << leverage;
  Fixture none("[CLA1_MARGIN]\nUSEDISCOUNTSTYPE=13\n");
  EXPECT_EQ(&none.Get("Z", 2.0), none.cache.GetDefault());
}

TEST(MarginRestrictionCache, OneItemPerSection) {
  Fixture lower("[CLA*_MARGIN]\nRSTRNMBUY=1\n[CLA*_MARGIN_LIMITKIND_1]\nRSTRNMBUY=0\n"
                "[CL1_MARGIN]\n[CL1_MARGIN_LIMITKIND_99999999999]\nRSTRNMBUY=1\n");
  ASSERT_EQ(lower.cache.ResolveSection("ab", -1.0), "CLa*_MARGIN");
  EXPECT_FALSE(lower.Get("ab").Records.at(1).RstrNmBuy);
  EXPECT_EQ(&lower.Get("AB"), &lower.Get("ab"));  // a mask keeps the code's case: one section
  EXPECT_TRUE(lower.Get("1").Records.at(INT_MAX).RstrNmBuy);  // huge kinds are clamped

  Fixture f("[CLA_MARGIN]\nRSTRNMBUY=1\n[CLT_MARGIN_TEMPLATE]\nCLIENTS=B,C\n"
            "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=4\nRSTRNMBUY=0\n");
  const TClientMarginRestrictions& two = f.Get("A", 2.0);
  EXPECT_EQ(two.Leverage, 2.0);
  EXPECT_EQ(&f.Get("A", 3.0), &two);  // the same section gives the same answers
  const TClientMarginRestrictions& four = f.Get("A", 4.0);
  EXPECT_FALSE(four.Records.at(0).RstrNmBuy);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(&f.Get("A", 2.0), &two);
    EXPECT_EQ(&f.Get("A", 4.0), &four);
  }
  EXPECT_EQ(&f.Get("B", 2.0), &f.Get("C", 5.0));  // template items are shared
  EXPECT_EQ(f.cache.EntryCount(), 5u);
  EXPECT_EQ(f.cache.LoadedSectionCount(), 3u);
}

}  // namespace
}  // namespace DL
