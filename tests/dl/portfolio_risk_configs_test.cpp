// Portfolio risk configurations read from settings texts and looked up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dl/engine/portfolio_risk_config_reader.h"
#include "dl/engine/portfolio_risk_configs.h"

namespace DL {
namespace {

class PortfolioRiskConfigsTest : public ::testing::Test {
 protected:
  const TPortfolioRiskConfig& Load(const std::string& text) {
    ini_.Parse(text.c_str(), TIniFile::kSourceText, ';', 1);
    configs_.LoadPortfolioRiskConfigs(ini_);
    return Get(nullptr, nullptr);
  }
  const TPortfolioRiskConfig& Get(const char* config, const char* item) {
    return *configs_.GetPortfolioRiskConfig(config, item);
  }
  std::vector<std::string> ItemNames(const char* config) {
    std::vector<std::string> names;
    for (const auto& item : configs_.Configs().at(config)) names.push_back(item.first);
    return names;
  }

  TIniFile ini_;
  TPortfolioRiskConfigs configs_;
};

// Second name, legs, value, second value and number of each spread setting.
std::string Spreads(const TPortfolioRiskConfig& r, std::size_t first = 0) {
  std::string text;
  for (std::size_t i = first; i < r.SPREADS.size(); ++i) {
    const TSpreadSetting& s = r.SPREADS[i];
    text += s.SecondName + " " + s.FirstLeg + "/" + s.SecondLeg + " " + std::to_string(int(s.Value)) +
            " " + std::to_string(int(s.SecondValue)) + " " + std::to_string(s.Number) + ",";
  }
  return text;
}

void ExpectBuiltInDefaults(const TPortfolioRiskConfig& r, const std::string& name) {
  EXPECT_EQ(std::string(r.CONFIGNAME) + r.BOARDTAG + r.CURRENCY + r.MAINBASEASSET, name + "EQTVSUR");
  EXPECT_EQ((std::vector<double>{double(r.LIMITKIND), double(r.PRICESCANRANGETYPE), r.PRICESCANRANGE_TYPE0,
                                 r.PRICESCANRANGE_OTHER, r.VOLATILITY, r.VOLATILITYCHANGE, r.RISKFREERATE,
                                 r.BOUNDARYIMPLIEDRISK, r.MINSHORTOPTIONSIM, r.FUTURESLIQUIDITYFACTOR, r.KGO,
                                 r.ORDERKGO, r.RESTRICTMAXVOLATILITY, double(r.RESTRICTOPTIONORDERMARGIN),
                                 double(r.USESPOTNETTING), r.EXPIRATIONMATDATETERM, r.SPOTVARMARGINPOS,
                                 r.SPOTVARMARGINNEG}),
            (std::vector<double>{0, 0, 100, -1, 100, 100, 100, 35, 100, 100, 1, 1, -1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(r.VOLATILITYTYPE + r.ORDERLIMITATIONMODE + r.IGNORENEARESTCONTRACTS + r.OPTIONDELTATYPE, 0);
  EXPECT_EQ(r.SPREADTIERS, (TSpreadTiers{{"T1", 90}, {"T2", 180}, {"T3", 1000}}));
  std::string spreads;
  for (const char* legs : {"T1/T1", "T1/T2", "T1/T3", "T2/T2", "T2/T3", "T3/T3", "SPT/FUT", "SPT/OPT", "FUT/OPT"})
    spreads += name + " " + legs + " 100 100 -1,";
  EXPECT_EQ(Spreads(r), spreads);
  for (const TSpreadSetting& s : r.SPREADS) EXPECT_EQ(s.FirstName, name);
  EXPECT_EQ(r.VOLATILITYSLOPES.size(), 4u);
}

TEST_F(PortfolioRiskConfigsTest, SectionsWithoutKeysGiveTheBuiltInDefaults) {
  ExpectBuiltInDefaults(Load("[PORTFOLIORISKCONFIG]\n"), "DEFAULT");
  EXPECT_EQ(configs_.Configs().size(), 1u);
  for (const char* text : {"", "[GENERAL]\nBOARDTAG=TQBR\n", "[PORTFOLIORISKCONFIG_Alpha]\nSPREADTIERS=a\n"}) {
    ExpectBuiltInDefaults(Load(text), "DEFAULT");
    ExpectBuiltInDefaults(Get("Alpha", "Fut"), "DEFAULT");
  }
}

TEST_F(PortfolioRiskConfigsTest, KeysOfTheDefaultItem) {
  using R = TPortfolioRiskConfig;
  const std::tuple<const char*, double R::*, double> cases[] = {
      {"PRICESCANRANGETYPE=0", &R::PRICESCANRANGE_TYPE0, 100}, {"PRICESCANRANGETYPE=0", &R::PRICESCANRANGE_OTHER, -1},
      {"PRICESCANRANGETYPE=1\nPRICESCANRANGE=5", &R::PRICESCANRANGE_TYPE0, -1},
      {"PRICESCANRANGETYPE=1\nPRICESCANRANGE=5", &R::PRICESCANRANGE_OTHER, 5},
      {"PRICESCANRANGETYPE=2", &R::PRICESCANRANGE_OTHER, 0}, {"PRICESCANRANGE=7.5", &R::PRICESCANRANGE_TYPE0, 7.5},
      {"KGO=2", &R::ORDERKGO, 2}, {"KGO=2\nORDERKGO=3", &R::ORDERKGO, 3}, {"kgo=2.5", &R::KGO, 2.5},
      {"VOLATILITY=abc", &R::VOLATILITY, 0}, {"VOLATILITY=", &R::VOLATILITY, 100},
      {"VOLATILITYCHANGE=7", &R::VOLATILITYCHANGE, 7}, {"RISKFREERATE=4.25", &R::RISKFREERATE, 4.25},
      {"BOUNDARYIMPLIEDRISK=12", &R::BOUNDARYIMPLIEDRISK, 12}, {"MINSHORTOPTIONSIM=13", &R::MINSHORTOPTIONSIM, 13},
      {"FUTURESLIQUIDITYFACTOR=14", &R::FUTURESLIQUIDITYFACTOR, 14}, {"SPOTVARMARGINPOS=3", &R::SPOTVARMARGINPOS, 3},
      {"SPOTVARMARGINNEG=-3", &R::SPOTVARMARGINNEG, -3},
      {"EXPIRATIONMATDATETERM=0.5", &R::EXPIRATIONMATDATETERM, 0.5},
      {"RESTRICTMAXVOLATILITY=80", &R::RESTRICTMAXVOLATILITY, 80},
  };
  for (const auto& [keys, field, expected] : cases)
    EXPECT_EQ(Load(std::string("[PORTFOLIORISKCONFIG]\n") + keys + "\n").*field, expected) << keys;
  const TPortfolioRiskConfig& r = Load(
      "[PORTFOLIORISKCONFIG]\nBOARDTAG=ABCDEFGHIJKLM\nCURRENCY=USD\nMAINBASEASSET=Si\nLIMITKIND=2\n"
      "USESPOTNETTING=1\nRESTRICTOPTIONORDERMARGIN=5\nVOLATILITYTYPE=3\nORDERLIMITATIONMODE=4\n"
      "IGNORENEARESTCONTRACTS=5\nOPTIONDELTATYPE=6\n");
  EXPECT_EQ(std::string(r.BOARDTAG) + "/" + r.CURRENCY + "/" + r.MAINBASEASSET, "ABCDEFGHIJKL/USD/Si");  // cut to 12
  EXPECT_EQ((std::vector<int>{r.LIMITKIND, r.USESPOTNETTING, r.RESTRICTOPTIONORDERMARGIN, r.VOLATILITYTYPE,
                              r.ORDERLIMITATIONMODE, r.IGNORENEARESTCONTRACTS, r.OPTIONDELTATYPE}),
            (std::vector<int>{2, 1, 1, 3, 4, 5, 6}));
}

TEST_F(PortfolioRiskConfigsTest, KeysEndingWithAKeyNameMakeItems) {
  Load("[PORTFOLIORISKCONFIG]\nORDERKGO=2\nRESTRICTMAXVOLATILITY=50\nFUT_BOARDTAG=X\nX_KGO=1\n"
       "P_PRICESCANRANGETYPE=1\n");
  // "X_KGO": one character and the separator before the name make item X.
  EXPECT_EQ(ItemNames("DEFAULT"), (std::vector<std::string>{"DEFAULT", "ORDE", "P", "RESTRICTMA", "X"}));
  const TPortfolioRiskConfig& orde = Get("DEFAULT", "ORDE");
  EXPECT_EQ((std::vector<double>{orde.KGO, orde.ORDERKGO, orde.RESTRICTMAXVOLATILITY}),
            (std::vector<double>{1, 1, 50}));
  EXPECT_TRUE(orde.VOLATILITYSLOPES.at(kLongCall).empty());
}

TEST_F(PortfolioRiskConfigsTest, NamedItemTakesTheDefaultItemAsItsBase) {
  Load("[PORTFOLIORISKCONFIG_Alpha]\nFut_KGO=3\nBOARDTAG=SPBFUT\nVOLATILITY=55\nSPREADTIERS=A,5\n"
       "SPREAD_T1_T1=70\nVOLATILITYSLOPE_LONG_CALL=1,2\nFut_VOLATILITYSLOPE_LONG_PUT=3,4\n"
       "Fut_SPREAD_T1_T2=80\nPRICESCANRANGETYPE=1\nPRICESCANRANGE=6\nFut_CURRENCY=USD\n");
  const TPortfolioRiskConfig& fut = Get("Alpha", "Fut");
  EXPECT_EQ(std::string(fut.CONFIGNAME) + fut.BOARDTAG + fut.CURRENCY, "AlphaSPBFUTUSD");
  EXPECT_EQ((std::vector<double>{fut.KGO, fut.ORDERKGO, fut.VOLATILITY, fut.PRICESCANRANGE_OTHER,
                                 fut.PRICESCANRANGE_TYPE0}),
            (std::vector<double>{3, 3, 55, 6, -1}));
  EXPECT_EQ(fut.SPREADTIERS, (TSpreadTiers{{"A", 5}}));
  EXPECT_EQ(Spreads(fut).substr(0, 21) + fut.SPREADS[9].FirstName + " " + Spreads(fut, 9),
            "Alpha T1/T1 70 70 -1,ALPHA ALPHA T1/T2 80 80 -1,");
  EXPECT_TRUE(fut.VOLATILITYSLOPES.at(kLongCall).empty());
  EXPECT_EQ(fut.VOLATILITYSLOPES.at(kLongPut), (TSlopePoints{{3, 4}}));
  const TPortfolioRiskConfig& alpha = Get("Alpha", nullptr);
  EXPECT_EQ(alpha.CURRENCY + std::to_string(alpha.KGO), "SUR1.000000");
  EXPECT_EQ(alpha.VOLATILITYSLOPES.at(kLongCall), (TSlopePoints{{1, 2}}));
}

TEST_F(PortfolioRiskConfigsTest, LookupFallsBackToDefault) {
  Load("[PORTFOLIORISKCONFIG]\nBOARDTAG=D\nFut_BOARDTAG=DF\nFut_KGO=1\n"
       "[PORTFOLIORISKCONFIG_Alpha]\nBOARDTAG=A\nFut_BOARDTAG=AF\nFut_KGO=2\n"
       "Fut_ADDBASEASSETS=AA1, BB2\nBOARDTAG_ADDBASEASSETS=Alpha\n"
       "[PORTFOLIORISKCONFIG_Beta]\nBOARDTAG=B\nADDBASEASSETS=CC3\n");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {nullptr, nullptr, "D"}, {"", "", "D"},          {"DEFAULT", "Fut", "DF"}, {"Alpha", nullptr, "A"},
      {"Alpha", "Fut", "AF"},  {"Alpha", "fut", "A"},  {"alpha", nullptr, "D"},  {"alpha", "Fut", "DF"},
      {"Gamma", "Fut", "DF"},  {"AA1", nullptr, "A"},  {"BB2", "Fut", "AF"},     {"CC3", nullptr, "B"},
      {"Beta", "Fut", "B"},
  };
  for (const auto& [config, item, boardTag] : cases)
    EXPECT_STREQ(Get(config, item).BOARDTAG, boardTag) << (config ? config : "null") << "/" << (item ? item : "null");
  Load("[PORTFOLIORISKCONFIG]\nFut_ADDBASEASSETS=Si\n[PORTFOLIORISKCONFIG_Si]\nBOARDTAG=S\n");
  EXPECT_TRUE(configs_.Aliases().empty());  // the DEFAULT configuration makes no aliases
  EXPECT_STREQ(Get("Si", nullptr).BOARDTAG, "S");
}

// The values of a configuration come from the section its name composes:
// PORTFOLIORISKCONFIG for DEFAULT, PORTFOLIORISKCONFIG_ and the name cut to
// 12 characters for the others.
TEST_F(PortfolioRiskConfigsTest, ValuesComeFromTheSectionTheNameComposes) {
  const TPortfolioRiskConfig& plain = Load("[PORTFOLIORISKCONFIG_DEFAULT]\nBOARDTAG=XTAG\nCURRENCY=USD\n");
  EXPECT_EQ(std::string(plain.BOARDTAG) + plain.CURRENCY, "EQTVSUR");
  Load("[PORTFOLIORISKCONFIG_ABCDEFGHIJKLMN]\nBOARDTAG=LONG\nFut_KGO=4\n");
  ExpectBuiltInDefaults(Get("ABCDEFGHIJKL", nullptr), "ABCDEFGHIJKL");
  // The long section still names the items; their values are the cut one's.
  EXPECT_EQ(ItemNames("ABCDEFGHIJKL"), (std::vector<std::string>{"DEFAULT", "Fut"}));
  EXPECT_EQ(Get("ABCDEFGHIJKL", "Fut").KGO, 1.0);
  Load("[PORTFOLIORISKCONFIG_ABCDEFGHIJKLMN]\nBOARDTAG=LONG\nFut_KGO=4\n"
       "[PORTFOLIORISKCONFIG_abcdefghijkl]\nBOARDTAG=CUT\nFut_KGO=5\n");
  EXPECT_STREQ(Get("ABCDEFGHIJKL", nullptr).BOARDTAG, "CUT");
  EXPECT_EQ(Get("ABCDEFGHIJKL", "Fut").KGO, 5.0);
  EXPECT_EQ(configs_.Configs().count("abcdefghijkl"), 1u);
}

TEST_F(PortfolioRiskConfigsTest, OddSpreadTiersSpoilOnlyTheirConfiguration) {
  Load("[PORTFOLIORISKCONFIG]\nBOARDTAG=D\n[PORTFOLIORISKCONFIG_Alpha]\nBOARDTAG=A\n"
       "[PORTFOLIORISKCONFIG_Mid]\nBOARDTAG=M\nSPREADTIERS=T1,30,T2\n"
       "[PORTFOLIORISKCONFIG_Zed]\nBOARDTAG=Z\nSPREADTIERS=X,1,Y,2\n");
  EXPECT_EQ(configs_.Configs().size(), 3u);  // Mid has no record of its own
  EXPECT_EQ(std::string(Get("Alpha", nullptr).BOARDTAG) + Get("Mid", nullptr).BOARDTAG + Get("Zed", nullptr).BOARDTAG,
            "ADZ");  // Mid answers with DEFAULT's
  EXPECT_EQ(Load("[PORTFOLIORISKCONFIG]\nSPREADTIERS=X,1,Y,2,X,7\n").SPREADTIERS,
            (TSpreadTiers{{"X", 1}, {"Y", 2}}));  // a repeated tier keeps its first days
}

TEST_F(PortfolioRiskConfigsTest, VolatilitySlopes) {
  const std::pair<const char*, TSlopePoints> cases[] = {
      {"3,0.5,1,0.2", {{1, 0.2}, {3, 0.5}}}, {"3,0.5,1", {}}, {"", {}}, {"x,1", {{0, 1}}},
  };
  for (const auto& [value, points] : cases) {
    const TPortfolioRiskConfig& r = Load(std::string("[PORTFOLIORISKCONFIG]\nVOLATILITYSLOPE_SHORT_PUT=") + value);
    EXPECT_EQ(r.VOLATILITYSLOPES.at(kShortPut), points) << value;
    EXPECT_TRUE(r.VOLATILITYSLOPES.at(kShortCall).empty());
  }
  TIniFile ini("[S]\nVOLATILITYSLOPE_LONG_CALL=1,2\n", TIniFile::kSourceText, ';', 1);
  TPortfolioRiskConfig record;
  for (int kind : {4, -1}) ReadVolatilitySlope(ini, "S", "", record, kind);
  EXPECT_TRUE(record.VOLATILITYSLOPES.empty());  // no such kind
}

TEST(PortfolioRiskConfigReader, SplitSpreadKey) {
  // The setting as second name, legs, value, second value, number; "" when rejected.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"SPREAD_T1_T2", "50", "ALPHA T1/T2 50 50 -1,"},       {"spread_t1_t2", "50,60", "ALPHA T1/T2 50 60 -1,"},
      {"SPREAD_Beta_SPT_FUT", "1,2,3.9", "BETA SPT/FUT 1 2 3,"},
      {"SPREAD_(A_B)_T1_T3", "1,2,-3.9", "A_B T1/T3 1 2 -3,"},
      {"SPREAD_T1_T2", "1,2,1e30", "ALPHA T1/T2 1 2 2147483647,"},
      {"SPREAD_T1_T2", "1,2,-1e30", "ALPHA T1/T2 1 2 -2147483648,"},
      {"SPREAD_T1", "50", ""}, {"SPREAD_T1_T2", "", ""}, {"SPREAD_T1_T2", "1,2,3,4", ""},
      {"SPREADX_T1_T2", "1", ""}, {"Fut_SPREAD_T1_T2", "1", ""},
  };
  for (const auto& [key, value, expected] : cases) {
    TPortfolioRiskConfig r;
    r.SPREADS.resize(1);
    const bool accepted = SplitSpreadKey(key, value, "", "Alpha", r.SPREADS[0]);
    EXPECT_EQ(accepted ? Spreads(r) : "", expected) << key << "=" << value;
    if (accepted) { EXPECT_EQ(r.SPREADS[0].FirstName, "ALPHA") << key; }
  }
  TSpreadSetting prefixed;
  EXPECT_TRUE(SplitSpreadKey("fut_SPREAD_T1_T2", "1", "Fut_", "Alpha", prefixed));
}

TEST_F(PortfolioRiskConfigsTest, SpreadKeysOfEachItem) {
  // DEFAULT is upper case, so its key overwrites a fixed setting.
  EXPECT_EQ(Spreads(Load("[PORTFOLIORISKCONFIG]\nSPREAD_=1\nSPREAD_T1_T2=50,60,7\nSPREAD_X_T1_T2=9\n"), 1),
            "DEFAULT T1/T2 50 60 7,DEFAULT T1/T3 100 100 -1,DEFAULT T2/T2 100 100 -1,"
            "DEFAULT T2/T3 100 100 -1,DEFAULT T3/T3 100 100 -1,DEFAULT SPT/FUT 100 100 -1,"
            "DEFAULT SPT/OPT 100 100 -1,DEFAULT FUT/OPT 100 100 -1,X T1/T2 9 9 -1,");
  Load("[PORTFOLIORISKCONFIG_Cfg]\na_KGO=1\nab_KGO=1\nA_B_KGO=1\n"
       "A_SPREAD_T1_T2=11\na_spread_X_T2_T3=12\na_SPREADX_T1_T2=13\nA_SPREAD_T1=14\n"
       "ab_SPREAD_T1_T2=21\nA_B_SPREAD_T1_T2=31\nSPREAD_T1_T2=41\n");
  const std::pair<const char*, const char*> cases[] = {
      {"a", "CFG T1/T2 11 11 -1,X T2/T3 12 12 -1,"}, {"ab", "CFG T1/T2 21 21 -1,"},
      {"A_B", "CFG T1/T2 31 31 -1,"},                 {"DEFAULT", "CFG T1/T2 41 41 -1,"},
  };
  for (const auto& [item, expected] : cases) EXPECT_EQ(Spreads(Get("Cfg", item), 9), expected) << item;
  Load("[PORTFOLIOSPREADORDER]\nA,B=3\nC , D=1\nE=2\nF,G,H=0\nI,J=x\n");
  std::string order;
  for (const TPortfolioSpreadOrderEntry& e : configs_.SpreadOrder())
    order += e.FirstName + e.SecondName + std::to_string(e.Order) + " ";
  EXPECT_EQ(order, "IJ0 CD1 AB3 ");
}

}  // namespace
}  // namespace DL
