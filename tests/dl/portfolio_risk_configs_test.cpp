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
  const TPortfolioRiskConfig& Load(const std::string& text, const char* config = nullptr,
                                   const char* item = nullptr) {
    ini_.Parse(text.c_str(), TIniFile::kSourceText, ';', 1);
    configs_.LoadPortfolioRiskConfigs(ini_);
    return Get(config, item);
  }
  const TPortfolioRiskConfig& Get(const char* config, const char* item) {
    return *configs_.GetPortfolioRiskConfig(config, item);
  }

  TIniFile ini_;
  TPortfolioRiskConfigs configs_;
};

void ExpectBuiltInDefaults(const TPortfolioRiskConfig& r, const std::string& name) {
  EXPECT_EQ(std::string(r.CONFIGNAME), name);
  EXPECT_STREQ(r.BOARDTAG, "EQTV");
  EXPECT_STREQ(r.CURRENCY, "SUR");
  EXPECT_STREQ(r.MAINBASEASSET, "");
  const std::vector<double> numbers = {
      double(r.LIMITKIND), double(r.PRICESCANRANGETYPE), r.PRICESCANRANGE_TYPE0,
      r.PRICESCANRANGE_OTHER, r.VOLATILITY, r.VOLATILITYCHANGE, r.RISKFREERATE,
      r.BOUNDARYIMPLIEDRISK, r.MINSHORTOPTIONSIM, r.FUTURESLIQUIDITYFACTOR, r.KGO, r.ORDERKGO,
      r.RESTRICTMAXVOLATILITY, double(r.RESTRICTOPTIONORDERMARGIN), double(r.USESPOTNETTING),
      r.EXPIRATIONMATDATETERM, r.SPOTVARMARGINPOS, r.SPOTVARMARGINNEG};
  EXPECT_EQ(numbers, (std::vector<double>{0, 0, 100, -1, 100, 100, 100, 35, 100, 100, 1, 1, -1, 0,
                                          0, 1, 0, 0}));
  EXPECT_EQ(r.SPREADTIERS, (TSpreadTiers{{"T1", 90}, {"T2", 180}, {"T3", 1000}}));
  std::string spreads;
  for (const TSpreadSetting& s : r.SPREADS) {
    EXPECT_EQ(s.FirstName, name);
    EXPECT_EQ(s.SecondName, name);
    spreads += s.FirstLeg + "/" + s.SecondLeg + " " + std::to_string(int(s.Value)) +
               std::to_string(int(s.SecondValue)) + std::to_string(s.Number) + ",";
  }
  EXPECT_EQ(spreads,
            "T1/T1 100100-1,T1/T2 100100-1,T1/T3 100100-1,T2/T2 100100-1,T2/T3 100100-1,"
            "T3/T3 100100-1,SPT/FUT 100100-1,SPT/OPT 100100-1,FUT/OPT 100100-1,");
  EXPECT_EQ(r.VOLATILITYSLOPES.size(), 4u);
}

TEST_F(PortfolioRiskConfigsTest, EmptyDefaultSectionGivesTheBuiltInDefaults) {
  ExpectBuiltInDefaults(Load("[PORTFOLIORISKCONFIG]\n"), "DEFAULT");
  EXPECT_EQ(configs_.Configs().size(), 1u);
}

TEST_F(PortfolioRiskConfigsTest, TextsWithoutConfigurationsAnswerTheBuiltInDefaults) {
  for (const char* text : {"", "[GENERAL]\nBOARDTAG=TQBR\n", "[PORTFOLIORISKCONFIG_Alpha]\nSPREADTIERS=a\n"}) {
    SCOPED_TRACE(text);
    ExpectBuiltInDefaults(Load(text), "DEFAULT");
    ExpectBuiltInDefaults(Get("Alpha", "Fut"), "DEFAULT");
  }
}

struct ScalarCase {
  const char* text;
  double TPortfolioRiskConfig::*field;
  double expected;
};

TEST_F(PortfolioRiskConfigsTest, ScalarKeysOfTheDefaultItem) {
  using R = TPortfolioRiskConfig;
  const ScalarCase cases[] = {
      {"PRICESCANRANGETYPE=0\n", &R::PRICESCANRANGE_TYPE0, 100.0},
      {"PRICESCANRANGETYPE=0\n", &R::PRICESCANRANGE_OTHER, -1.0},
      {"PRICESCANRANGETYPE=1\nPRICESCANRANGE=5\n", &R::PRICESCANRANGE_TYPE0, -1.0},
      {"PRICESCANRANGETYPE=1\nPRICESCANRANGE=5\n", &R::PRICESCANRANGE_OTHER, 5.0},
      {"PRICESCANRANGETYPE=2\n", &R::PRICESCANRANGE_OTHER, 0.0},
      {"PRICESCANRANGE=7.5\n", &R::PRICESCANRANGE_TYPE0, 7.5},
      {"KGO=2\n", &R::ORDERKGO, 2.0},
      {"KGO=2\nORDERKGO=3\n", &R::ORDERKGO, 3.0},
      {"kgo=2.5\n", &R::KGO, 2.5},
      {"VOLATILITY=abc\n", &R::VOLATILITY, 0.0},
      {"VOLATILITY=\n", &R::VOLATILITY, 100.0},
      {"VOLATILITYCHANGE=7\n", &R::VOLATILITYCHANGE, 7.0},
      {"RISKFREERATE=4.25\n", &R::RISKFREERATE, 4.25},
      {"BOUNDARYIMPLIEDRISK=12\n", &R::BOUNDARYIMPLIEDRISK, 12.0},
      {"MINSHORTOPTIONSIM=13\n", &R::MINSHORTOPTIONSIM, 13.0},
      {"FUTURESLIQUIDITYFACTOR=14\n", &R::FUTURESLIQUIDITYFACTOR, 14.0},
      {"SPOTVARMARGINPOS=3\n", &R::SPOTVARMARGINPOS, 3.0},
      {"SPOTVARMARGINNEG=-3\n", &R::SPOTVARMARGINNEG, -3.0},
      {"EXPIRATIONMATDATETERM=0.5\n", &R::EXPIRATIONMATDATETERM, 0.5},
      {"RESTRICTMAXVOLATILITY=80\n", &R::RESTRICTMAXVOLATILITY, 80.0},
  };
  for (const ScalarCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Load(std::string("[PORTFOLIORISKCONFIG]\n") + c.text).*c.field, c.expected);
  }
}

TEST_F(PortfolioRiskConfigsTest, TextIntegerAndFlagKeys) {
  const TPortfolioRiskConfig& r = Load(
      "[PORTFOLIORISKCONFIG]\nBOARDTAG=ABCDEFGHIJKLM\nCURRENCY=USD\nMAINBASEASSET=Si\n"
      "LIMITKIND=2\nUSESPOTNETTING=1\nRESTRICTOPTIONORDERMARGIN=5\nVOLATILITYTYPE=3\n"
      "ORDERLIMITATIONMODE=4\nIGNORENEARESTCONTRACTS=5\nOPTIONDELTATYPE=6\n");
  EXPECT_STREQ(r.BOARDTAG, "ABCDEFGHIJKL");  // cut to 12 characters
  EXPECT_STREQ(r.CURRENCY, "USD");
  EXPECT_STREQ(r.MAINBASEASSET, "Si");
  EXPECT_EQ((std::vector<int>{r.LIMITKIND, r.USESPOTNETTING, r.RESTRICTOPTIONORDERMARGIN,
                              r.VOLATILITYTYPE, r.ORDERLIMITATIONMODE, r.IGNORENEARESTCONTRACTS,
                              r.OPTIONDELTATYPE}),
            (std::vector<int>{2, 1, 1, 3, 4, 5, 6}));
}

TEST_F(PortfolioRiskConfigsTest, KeysEndingWithAKeyNameMakeItems) {
  Load("[PORTFOLIORISKCONFIG]\nORDERKGO=2\nRESTRICTMAXVOLATILITY=50\nFUT_BOARDTAG=X\nX_KGO=1\n"
       "P_PRICESCANRANGETYPE=1\n");
  const TPortfolioRiskConfigs::TItems& items = configs_.Configs().at("DEFAULT");
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.first);
  // "X_KGO" is one character and a separator before the name: item X.
  EXPECT_EQ(names, (std::vector<std::string>{"DEFAULT", "ORDE", "P", "RESTRICTMA", "X"}));
  const TPortfolioRiskConfig& orde = items.at("ORDE");
  EXPECT_EQ(orde.KGO, 1.0);
  EXPECT_EQ(orde.ORDERKGO, 1.0);
  EXPECT_EQ(orde.RESTRICTMAXVOLATILITY, 50.0);
  EXPECT_TRUE(orde.VOLATILITYSLOPES.at(kLongCall).empty());
}

TEST_F(PortfolioRiskConfigsTest, NamedItemTakesTheDefaultItemAsItsBase) {
  Load("[PORTFOLIORISKCONFIG_Alpha]\nFut_KGO=3\nBOARDTAG=SPBFUT\nVOLATILITY=55\nSPREADTIERS=A,5\n"
       "SPREAD_T1_T1=70\nVOLATILITYSLOPE_LONG_CALL=1,2\nFut_VOLATILITYSLOPE_LONG_PUT=3,4\n"
       "Fut_SPREAD_T1_T2=80\nPRICESCANRANGETYPE=1\nPRICESCANRANGE=6\nFut_CURRENCY=USD\n");
  const TPortfolioRiskConfig& fut = Get("Alpha", "Fut");
  EXPECT_STREQ(fut.CONFIGNAME, "Alpha");
  EXPECT_EQ(fut.KGO, 3.0);
  EXPECT_EQ(fut.ORDERKGO, 3.0);
  EXPECT_STREQ(fut.BOARDTAG, "SPBFUT");
  EXPECT_STREQ(fut.CURRENCY, "USD");
  EXPECT_EQ(fut.VOLATILITY, 55.0);
  EXPECT_EQ(fut.PRICESCANRANGE_OTHER, 6.0);
  EXPECT_EQ(fut.PRICESCANRANGE_TYPE0, -1.0);
  EXPECT_EQ(fut.SPREADTIERS, (TSpreadTiers{{"A", 5}}));
  ASSERT_EQ(fut.SPREADS.size(), 10u);
  EXPECT_EQ(fut.SPREADS[0].Value, 70.0);
  const TSpreadSetting& own = fut.SPREADS[9];
  EXPECT_EQ(own.FirstName + own.SecondName + own.FirstLeg + own.SecondLeg, "ALPHAALPHAT1T2");
  EXPECT_EQ(own.Value, 80.0);
  EXPECT_TRUE(fut.VOLATILITYSLOPES.at(kLongCall).empty());
  EXPECT_EQ(fut.VOLATILITYSLOPES.at(kLongPut), (TSlopePoints{{3, 4}}));
  const TPortfolioRiskConfig& alphaDefault = Get("Alpha", nullptr);
  EXPECT_EQ(alphaDefault.KGO, 1.0);
  EXPECT_STREQ(alphaDefault.CURRENCY, "SUR");
  EXPECT_EQ(alphaDefault.VOLATILITYSLOPES.at(kLongCall), (TSlopePoints{{1, 2}}));
}

struct LookupCase {
  const char* config;
  const char* item;
  const char* boardTag;
};

TEST_F(PortfolioRiskConfigsTest, LookupFallsBackToDefault) {
  Load("[PORTFOLIORISKCONFIG]\nBOARDTAG=D\nFut_BOARDTAG=DF\nFut_KGO=1\n"
       "[PORTFOLIORISKCONFIG_Alpha]\nBOARDTAG=A\nFut_BOARDTAG=AF\nFut_KGO=2\n"
       "Fut_ADDBASEASSETS=AA1, BB2\nBOARDTAG_ADDBASEASSETS=Alpha\n"
       "[PORTFOLIORISKCONFIG_Beta]\nBOARDTAG=B\nADDBASEASSETS=CC3\n");
  const LookupCase cases[] = {
      {nullptr, nullptr, "D"}, {"", "", "D"},          {"DEFAULT", "Fut", "DF"},
      {"Alpha", nullptr, "A"}, {"Alpha", "Fut", "AF"}, {"Alpha", "fut", "A"},
      {"alpha", nullptr, "D"}, {"alpha", "Fut", "DF"}, {"Gamma", "Fut", "DF"},
      {"AA1", nullptr, "A"},   {"BB2", "Fut", "AF"},   {"CC3", nullptr, "B"},
      {"Beta", "Fut", "B"},
  };
  for (const LookupCase& c : cases) {
    EXPECT_STREQ(Get(c.config, c.item).BOARDTAG, c.boardTag)
        << (c.config ? c.config : "null") << "/" << (c.item ? c.item : "null");
  }
}

TEST_F(PortfolioRiskConfigsTest, DefaultConfigurationMakesNoAliases) {
  Load("[PORTFOLIORISKCONFIG]\nFut_ADDBASEASSETS=Si\n[PORTFOLIORISKCONFIG_Si]\nBOARDTAG=S\n");
  EXPECT_TRUE(configs_.Aliases().empty());
  EXPECT_STREQ(Get("Si", nullptr).BOARDTAG, "S");
}

// The values of a configuration come from the section its name composes:
// PORTFOLIORISKCONFIG for DEFAULT, PORTFOLIORISKCONFIG_ and the name cut to
// 12 characters for the others.
TEST_F(PortfolioRiskConfigsTest, ValuesComeFromTheSectionTheNameComposes) {
  const TPortfolioRiskConfig& plain =
      Load("[PORTFOLIORISKCONFIG_DEFAULT]\nBOARDTAG=XTAG\nCURRENCY=USD\n");
  EXPECT_STREQ(plain.BOARDTAG, "EQTV");
  EXPECT_STREQ(plain.CURRENCY, "SUR");

  Load("[PORTFOLIORISKCONFIG_ABCDEFGHIJKLMN]\nBOARDTAG=LONG\nFut_KGO=4\n");
  ASSERT_EQ(configs_.Configs().count("ABCDEFGHIJKL"), 1u);
  ExpectBuiltInDefaults(Get("ABCDEFGHIJKL", nullptr), "ABCDEFGHIJKL");
  // The long section still names the items; their values are the cut one's.
  ASSERT_EQ(configs_.Configs().at("ABCDEFGHIJKL").count("Fut"), 1u);
  EXPECT_EQ(Get("ABCDEFGHIJKL", "Fut").KGO, 1.0);

  Load("[PORTFOLIORISKCONFIG_ABCDEFGHIJKLMN]\nBOARDTAG=LONG\nFut_KGO=4\n"
       "[PORTFOLIORISKCONFIG_abcdefghijkl]\nBOARDTAG=CUT\nFut_KGO=5\n");
  EXPECT_STREQ(Get("ABCDEFGHIJKL", nullptr).BOARDTAG, "CUT");
  EXPECT_EQ(Get("ABCDEFGHIJKL", "Fut").KGO, 5.0);
  EXPECT_EQ(configs_.Configs().count("abcdefghijkl"), 1u);
}

TEST_F(PortfolioRiskConfigsTest, OddSpreadTiersEndTheReadingOfLaterConfigurations) {
  Load("[PORTFOLIORISKCONFIG]\nBOARDTAG=D\n[PORTFOLIORISKCONFIG_Alpha]\nBOARDTAG=A\n"
       "[PORTFOLIORISKCONFIG_Mid]\nBOARDTAG=M\nSPREADTIERS=T1,30,T2\n"
       "[PORTFOLIORISKCONFIG_Zed]\nBOARDTAG=Z\nSPREADTIERS=X,1,Y,2\n");
  EXPECT_EQ(configs_.Configs().size(), 2u);  // Alpha and DEFAULT come before Mid
  const LookupCase cases[] = {{"Alpha", nullptr, "A"}, {"Mid", nullptr, "D"}, {"Zed", nullptr, "D"}};
  for (const LookupCase& c : cases) EXPECT_STREQ(Get(c.config, c.item).BOARDTAG, c.boardTag);
  EXPECT_EQ(Load("[PORTFOLIORISKCONFIG]\nSPREADTIERS=X,1,Y,2,X,7\n").SPREADTIERS,
            (TSpreadTiers{{"X", 1}, {"Y", 2}}));  // a repeated tier keeps its first days
}

struct SlopeCase {
  const char* value;
  TSlopePoints points;
};

TEST_F(PortfolioRiskConfigsTest, VolatilitySlopes) {
  const SlopeCase cases[] = {
      {"3,0.5,1,0.2", {{1, 0.2}, {3, 0.5}}}, {"3,0.5,1", {}}, {"", {}}, {"x,1", {{0, 1}}},
  };
  for (const SlopeCase& c : cases) {
    SCOPED_TRACE(c.value);
    const TPortfolioRiskConfig& r =
        Load(std::string("[PORTFOLIORISKCONFIG]\nVOLATILITYSLOPE_SHORT_PUT=") + c.value + "\n");
    EXPECT_EQ(r.VOLATILITYSLOPES.at(kShortPut), c.points);
    EXPECT_TRUE(r.VOLATILITYSLOPES.at(kShortCall).empty());
  }
  TIniFile ini("[S]\nVOLATILITYSLOPE_LONG_CALL=1,2\n", TIniFile::kSourceText, ';', 1);
  TPortfolioRiskConfig record;
  ReadVolatilitySlope(ini, "S", "", record, 4);
  ReadVolatilitySlope(ini, "S", "", record, -1);
  EXPECT_TRUE(record.VOLATILITYSLOPES.empty());  // no such kind
}

struct SpreadKeyCase {
  const char* key;
  const char* value;
  const char* setting;  // second name, legs, value, second value, number; "" for rejected
};

TEST(PortfolioRiskConfigReaderTest, SplitSpreadKey) {
  const SpreadKeyCase cases[] = {
      {"SPREAD_T1_T2", "50", "ALPHA T1 T2 50 50 -1"},
      {"spread_t1_t2", "50,60", "ALPHA T1 T2 50 60 -1"},
      {"SPREAD_Beta_SPT_FUT", "1,2,3.9", "BETA SPT FUT 1 2 3"},
      {"SPREAD_(A_B)_T1_T3", "1,2,-3.9", "A_B T1 T3 1 2 -3"},
      {"SPREAD_T1_T2", "1,2,1e30", "ALPHA T1 T2 1 2 2147483647"},
      {"SPREAD_T1_T2", "1,2,-1e30", "ALPHA T1 T2 1 2 -2147483648"},
      {"SPREAD_T1", "50", ""},
      {"SPREAD_T1_T2", "", ""},
      {"SPREAD_T1_T2", "1,2,3,4", ""},
      {"SPREADX_T1_T2", "1", ""},
      {"Fut_SPREAD_T1_T2", "1", ""},
  };
  for (const SpreadKeyCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    TSpreadSetting s;
    const bool accepted = SplitSpreadKey(c.key, c.value, "", "Alpha", s);
    ASSERT_EQ(accepted, *c.setting != '\0');
    if (!accepted) continue;
    EXPECT_EQ(s.FirstName, "ALPHA");
    EXPECT_EQ(s.SecondName + " " + s.FirstLeg + " " + s.SecondLeg + " " +
                  std::to_string(int(s.Value)) + " " + std::to_string(int(s.SecondValue)) + " " +
                  std::to_string(s.Number),
              c.setting);
  }
  TSpreadSetting prefixed;
  EXPECT_TRUE(SplitSpreadKey("fut_SPREAD_T1_T2", "1", "Fut_", "Alpha", prefixed));
}

TEST_F(PortfolioRiskConfigsTest, SpreadKeysOverwriteFixedSettingsOfUpperCaseConfigurations) {
  const TPortfolioRiskConfig& r =
      Load("[PORTFOLIORISKCONFIG]\nSPREAD_T1_T2=50,60,7\nSPREAD_X_T1_T2=9\n", "DEFAULT");
  ASSERT_EQ(r.SPREADS.size(), 10u);
  EXPECT_EQ(r.SPREADS[1].Value, 50.0);
  EXPECT_EQ(r.SPREADS[1].SecondValue, 60.0);
  EXPECT_EQ(r.SPREADS[1].Number, 7);
  EXPECT_EQ(r.SPREADS[9].SecondName, "X");
  EXPECT_EQ(r.SPREADS[9].Value, 9.0);
}

TEST_F(PortfolioRiskConfigsTest, EachItemReadsOnlyItsOwnSpreadKeysInAnyCase) {
  Load("[PORTFOLIORISKCONFIG_Cfg]\n"
       "a_KGO=1\nab_KGO=1\nA_B_KGO=1\n"
       "A_SPREAD_T1_T2=11\na_spread_X_T2_T3=12\na_SPREADX_T1_T2=13\nA_SPREAD_T1=14\n"
       "ab_SPREAD_T1_T2=21\nA_B_SPREAD_T1_T2=31\nSPREAD_T1_T2=41\n");
  const std::pair<const char*, const char*> cases[] = {
      {"a", "CFG T1 T2 11,X T2 T3 12,"}, {"ab", "CFG T1 T2 21,"},
      {"A_B", "CFG T1 T2 31,"},          {"DEFAULT", "CFG T1 T2 41,"},
  };
  for (const auto& [item, expected] : cases) {
    const TPortfolioRiskConfig& r = Get("Cfg", item);
    std::string extra;  // the settings after the nine fixed ones
    for (std::size_t i = 9; i < r.SPREADS.size(); ++i) {
      const TSpreadSetting& s = r.SPREADS[i];
      extra += s.SecondName + " " + s.FirstLeg + " " + s.SecondLeg + " " +
               std::to_string(int(s.Value)) + ",";
    }
    EXPECT_EQ(extra, expected) << item;
  }
}

TEST_F(PortfolioRiskConfigsTest, PortfolioSpreadOrderIsSortedByOrder) {
  Load("[PORTFOLIOSPREADORDER]\nA,B=3\nC , D=1\nE=2\nF,G,H=0\nI,J=x\n");
  std::string order;
  for (const TPortfolioSpreadOrderEntry& e : configs_.SpreadOrder())
    order += e.FirstName + e.SecondName + std::to_string(e.Order) + " ";
  EXPECT_EQ(order, "IJ0 CD1 AB3 ");
}

}  // namespace
}  // namespace DL
