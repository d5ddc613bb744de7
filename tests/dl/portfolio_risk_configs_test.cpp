// Portfolio risk configurations read from settings texts and looked up.
#include <gtest/gtest.h>

#include <string>

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
    return *configs_.GetPortfolioRiskConfig(config, item);
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
  EXPECT_EQ(r.LIMITKIND, 0);
  EXPECT_EQ(r.PRICESCANRANGETYPE, 0);
  EXPECT_EQ(r.PRICESCANRANGE_TYPE0, 100.0);
  EXPECT_EQ(r.PRICESCANRANGE_OTHER, -1.0);
  EXPECT_EQ(r.VOLATILITY, 100.0);
  EXPECT_EQ(r.VOLATILITYCHANGE, 100.0);
  EXPECT_EQ(r.RISKFREERATE, 100.0);
  EXPECT_EQ(r.BOUNDARYIMPLIEDRISK, 35.0);
  EXPECT_EQ(r.MINSHORTOPTIONSIM, 100.0);
  EXPECT_EQ(r.FUTURESLIQUIDITYFACTOR, 100.0);
  EXPECT_EQ(r.KGO, 1.0);
  EXPECT_EQ(r.ORDERKGO, 1.0);
  EXPECT_EQ(r.RESTRICTMAXVOLATILITY, -1.0);
  EXPECT_FALSE(r.RESTRICTOPTIONORDERMARGIN);
  EXPECT_FALSE(r.USESPOTNETTING);
  EXPECT_EQ(r.EXPIRATIONMATDATETERM, 1.0);
  EXPECT_EQ(r.SPREADTIERS, (TSpreadTiers{{"T1", 90}, {"T2", 180}, {"T3", 1000}}));
  ASSERT_EQ(r.SPREADS.size(), 9u);
  const char* legs[9][2] = {{"T1", "T1"},   {"T1", "T2"},   {"T1", "T3"},
                            {"T2", "T2"},   {"T2", "T3"},   {"T3", "T3"},
                            {"SPT", "FUT"}, {"SPT", "OPT"}, {"FUT", "OPT"}};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(r.SPREADS[i].FirstLeg, legs[i][0]);
    EXPECT_EQ(r.SPREADS[i].SecondLeg, legs[i][1]);
    EXPECT_EQ(r.SPREADS[i].FirstName, name);
    EXPECT_EQ(r.SPREADS[i].Value, 100.0);
    EXPECT_EQ(r.SPREADS[i].SecondValue, 100.0);
    EXPECT_EQ(r.SPREADS[i].Number, -1);
  }
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
      {"RISKFREERATE=4.25\n", &R::RISKFREERATE, 4.25},
      {"SPOTVARMARGINNEG=-3\n", &R::SPOTVARMARGINNEG, -3.0},
      {"EXPIRATIONMATDATETERM=0.5\n", &R::EXPIRATIONMATDATETERM, 0.5},
      {"RESTRICTMAXVOLATILITY=80\n", &R::RESTRICTMAXVOLATILITY, 80.0},
  };
  for (const ScalarCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Load(std::string("[PORTFOLIORISKCONFIG]\n") + c.text).*c.field, c.expected);
  }
}

TEST_F(PortfolioRiskConfigsTest, TextFieldsAreCutToTwelveCharacters) {
  const TPortfolioRiskConfig& r = Load(
      "[PORTFOLIORISKCONFIG]\nBOARDTAG=ABCDEFGHIJKLMNOP\nCURRENCY=USD\nMAINBASEASSET=Si\n"
      "LIMITKIND=2\nUSESPOTNETTING=1\nRESTRICTOPTIONORDERMARGIN=5\n");
  EXPECT_STREQ(r.BOARDTAG, "ABCDEFGHIJKL");
  EXPECT_STREQ(r.CURRENCY, "USD");
  EXPECT_STREQ(r.MAINBASEASSET, "Si");
  EXPECT_EQ(r.LIMITKIND, 2);
  EXPECT_TRUE(r.USESPOTNETTING);
  EXPECT_TRUE(r.RESTRICTOPTIONORDERMARGIN);
}

TEST_F(PortfolioRiskConfigsTest, KeysEndingWithAKeyNameMakeItems) {
  Load("[PORTFOLIORISKCONFIG]\nORDERKGO=2\nRESTRICTMAXVOLATILITY=50\nFUT_BOARDTAG=X\n");
  const TPortfolioRiskConfigs::TItems& items = configs_.Configs().at("DEFAULT");
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.first);
  EXPECT_EQ(names, (std::vector<std::string>{"DEFAULT", "ORDE", "RESTRICTMA"}));
  const TPortfolioRiskConfig& orde = items.at("ORDE");
  EXPECT_EQ(orde.KGO, 1.0);
  EXPECT_EQ(orde.ORDERKGO, 1.0);
  EXPECT_EQ(orde.RESTRICTMAXVOLATILITY, 50.0);
  EXPECT_TRUE(orde.VOLATILITYSLOPES.at(kLongCall).empty());
}

TEST_F(PortfolioRiskConfigsTest, NamedItemTakesTheDefaultItemAsItsBase) {
  Load("[PORTFOLIORISKCONFIG_Alpha]\nFut_KGO=3\nBOARDTAG=SPBFUT\nVOLATILITY=55\nSPREADTIERS=A,5\n"
       "SPREAD_T1_T1=70\nVOLATILITYSLOPE_LONG_CALL=1,2\nFut_VOLATILITYSLOPE_LONG_PUT=3,4\n"
       "Fut_SPREAD_T1_T2=80\n");
  const TPortfolioRiskConfig& fut = Get("Alpha", "Fut");
  EXPECT_STREQ(fut.CONFIGNAME, "Alpha");
  EXPECT_EQ(fut.KGO, 3.0);
  EXPECT_EQ(fut.ORDERKGO, 3.0);
  EXPECT_STREQ(fut.BOARDTAG, "SPBFUT");
  EXPECT_EQ(fut.VOLATILITY, 55.0);
  EXPECT_EQ(fut.SPREADTIERS, (TSpreadTiers{{"A", 5}}));
  ASSERT_EQ(fut.SPREADS.size(), 10u);
  EXPECT_EQ(fut.SPREADS[0].Value, 70.0);
  EXPECT_EQ(fut.SPREADS[9].FirstName, "ALPHA");
  EXPECT_EQ(fut.SPREADS[9].SecondName, "ALPHA");
  EXPECT_EQ(fut.SPREADS[9].FirstLeg, "T1");
  EXPECT_EQ(fut.SPREADS[9].SecondLeg, "T2");
  EXPECT_EQ(fut.SPREADS[9].Value, 80.0);
  EXPECT_TRUE(fut.VOLATILITYSLOPES.at(kLongCall).empty());
  EXPECT_EQ(fut.VOLATILITYSLOPES.at(kLongPut), (TSlopePoints{{3, 4}}));
  const TPortfolioRiskConfig& alphaDefault = Get("Alpha", nullptr);
  EXPECT_EQ(alphaDefault.KGO, 1.0);
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
  // An alias naming an existing configuration redirects it too.
  EXPECT_STREQ(Get("Alpha", nullptr).BOARDTAG, "A");
}

TEST_F(PortfolioRiskConfigsTest, DefaultConfigurationMakesNoAliases) {
  Load("[PORTFOLIORISKCONFIG]\nFut_ADDBASEASSETS=Si\n[PORTFOLIORISKCONFIG_Si]\nBOARDTAG=S\n");
  EXPECT_TRUE(configs_.Aliases().empty());
  EXPECT_STREQ(Get("Si", nullptr).BOARDTAG, "S");
}

TEST_F(PortfolioRiskConfigsTest, LongConfigurationNameIsCutButReadFromItsSection) {
  Load("[PORTFOLIORISKCONFIG_ABCDEFGHIJKLMN]\nBOARDTAG=LONG\nFut_KGO=4\n");
  ASSERT_EQ(configs_.Configs().count("ABCDEFGHIJKL"), 1u);
  EXPECT_STREQ(Get("ABCDEFGHIJKL", nullptr).BOARDTAG, "LONG");
  EXPECT_STREQ(Get("ABCDEFGHIJKL", nullptr).CONFIGNAME, "ABCDEFGHIJKL");
  EXPECT_EQ(Get("ABCDEFGHIJKL", "Fut").KGO, 4.0);
}

TEST_F(PortfolioRiskConfigsTest, OddSpreadTiersSkipOnlyThatConfiguration) {
  Load("[PORTFOLIORISKCONFIG]\nBOARDTAG=D\n"
       "[PORTFOLIORISKCONFIG_A]\nBOARDTAG=A\nSPREADTIERS=T1,30,T2\n"
       "[PORTFOLIORISKCONFIG_B]\nBOARDTAG=B\nSPREADTIERS=X,1,Y,2\n");
  EXPECT_EQ(configs_.Configs().count("A"), 0u);
  EXPECT_STREQ(Get("A", nullptr).BOARDTAG, "D");
  EXPECT_STREQ(Get("B", nullptr).BOARDTAG, "B");
  EXPECT_EQ(Get("B", nullptr).SPREADTIERS, (TSpreadTiers{{"X", 1}, {"Y", 2}}));
}

TEST_F(PortfolioRiskConfigsTest, RepeatedTierNameKeepsItsFirstDays) {
  EXPECT_EQ(Load("[PORTFOLIORISKCONFIG]\nSPREADTIERS=T1,5,T1,7\n").SPREADTIERS,
            (TSpreadTiers{{"T1", 5}}));
}

struct SlopeCase {
  const char* value;
  TSlopePoints points;
};

TEST_F(PortfolioRiskConfigsTest, VolatilitySlopes) {
  const SlopeCase cases[] = {
      {"3,0.5,1,0.2", {{1, 0.2}, {3, 0.5}}},
      {"3,0.5,1", {}},
      {"", {}},
      {"x,1", {{0, 1}}},
  };
  for (const SlopeCase& c : cases) {
    SCOPED_TRACE(c.value);
    const TPortfolioRiskConfig& r =
        Load(std::string("[PORTFOLIORISKCONFIG]\nVOLATILITYSLOPE_SHORT_PUT=") + c.value + "\n");
    EXPECT_EQ(r.VOLATILITYSLOPES.at(kShortPut), c.points);
    EXPECT_TRUE(r.VOLATILITYSLOPES.at(kShortCall).empty());
  }
}

TEST(PortfolioRiskConfigReaderTest, SlopeOfAnUnknownKindDoesNothing) {
  TIniFile ini("[S]\nVOLATILITYSLOPE_LONG_CALL=1,2\n", TIniFile::kSourceText, ';', 1);
  TPortfolioRiskConfig record;
  ReadVolatilitySlope(ini, "S", "", record, 4);
  ReadVolatilitySlope(ini, "S", "", record, -1);
  EXPECT_TRUE(record.VOLATILITYSLOPES.empty());
}

struct SpreadKeyCase {
  const char* key;
  const char* value;
  bool accepted;
  const char* secondName;
  const char* firstLeg;
  const char* secondLeg;
  double value1;
  double value2;
  int number;
};

TEST(PortfolioRiskConfigReaderTest, SplitSpreadKey) {
  const SpreadKeyCase cases[] = {
      {"SPREAD_T1_T2", "50", true, "ALPHA", "T1", "T2", 50, 50, -1},
      {"spread_t1_t2", "50,60", true, "ALPHA", "T1", "T2", 50, 60, -1},
      {"SPREAD_Beta_SPT_FUT", "1,2,3.9", true, "BETA", "SPT", "FUT", 1, 2, 3},
      {"SPREAD_(A_B)_T1_T3", "1,2,-3.9", true, "A_B", "T1", "T3", 1, 2, -3},
      {"SPREAD_T1", "50", false, "", "", "", 0, 0, 0},
      {"SPREAD_T1_T2", "", false, "", "", "", 0, 0, 0},
      {"SPREAD_T1_T2", "1,2,3,4", false, "", "", "", 0, 0, 0},
      {"SPREADX_T1_T2", "1", false, "", "", "", 0, 0, 0},
      {"Fut_SPREAD_T1_T2", "1", false, "", "", "", 0, 0, 0},
      {"SPREAD_T1_T2", "1,2,1e30", true, "ALPHA", "T1", "T2", 1, 2, 2147483647},
  };
  for (const SpreadKeyCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    TSpreadSetting setting;
    ASSERT_EQ(SplitSpreadKey(c.key, c.value, "", "Alpha", setting), c.accepted);
    if (!c.accepted) continue;
    EXPECT_EQ(setting.FirstName, "ALPHA");
    EXPECT_EQ(setting.SecondName, c.secondName);
    EXPECT_EQ(setting.FirstLeg, c.firstLeg);
    EXPECT_EQ(setting.SecondLeg, c.secondLeg);
    EXPECT_EQ(setting.Value, c.value1);
    EXPECT_EQ(setting.SecondValue, c.value2);
    EXPECT_EQ(setting.Number, c.number);
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
  struct Expected {
    const char* item;
    std::vector<std::string> extra;  // legs and value of each setting after the nine
  };
  const Expected cases[] = {
      {"a", {"CFG T1 T2 11", "X T2 T3 12"}},
      {"ab", {"CFG T1 T2 21"}},
      {"A_B", {"CFG T1 T2 31"}},
      {"DEFAULT", {"CFG T1 T2 41"}},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.item);
    const TPortfolioRiskConfig& r = Get("Cfg", c.item);
    std::vector<std::string> extra;
    for (std::size_t i = 9; i < r.SPREADS.size(); ++i) {
      const TSpreadSetting& s = r.SPREADS[i];
      extra.push_back(s.SecondName + " " + s.FirstLeg + " " + s.SecondLeg + " " +
                      std::to_string(static_cast<int>(s.Value)));
    }
    EXPECT_EQ(extra, c.extra);
  }
}

TEST_F(PortfolioRiskConfigsTest, ManyItemsEachGetTheirOwnValues) {
  std::string text = "[PORTFOLIORISKCONFIG]\nBOARDTAG=D\n";
  for (int i = 0; i < 3000; ++i) {
    std::string item = "i" + std::to_string(i);
    text += item + "_KGO=" + std::to_string(i) + "\n" + item + "_SPREAD_T1_T2=" + std::to_string(i + 1) + "\n";
  }
  Load(text);
  ASSERT_EQ(configs_.Configs().at("DEFAULT").size(), 3001u);
  for (int i = 0; i < 3000; i += 7) {
    std::string item = "i" + std::to_string(i);
    const TPortfolioRiskConfig& r = Get("DEFAULT", item.c_str());
    ASSERT_EQ(r.KGO, i) << item;
    // DEFAULT is upper case, so the key overwrites the fixed T1/T2 setting.
    ASSERT_EQ(r.SPREADS.size(), 9u) << item;
    EXPECT_EQ(r.SPREADS[1].Value, i + 1) << item;
    EXPECT_STREQ(r.BOARDTAG, "D");
  }
}

TEST_F(PortfolioRiskConfigsTest, PortfolioSpreadOrderIsSortedByOrder) {
  Load("[PORTFOLIOSPREADORDER]\nA,B=3\nC , D=1\nE=2\nF,G,H=0\nI,J=x\n");
  const auto& order = configs_.SpreadOrder();
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[0].FirstName, "I");
  EXPECT_EQ(order[0].Order, 0);
  EXPECT_EQ(order[1].FirstName, "C");
  EXPECT_EQ(order[1].SecondName, "D");
  EXPECT_EQ(order[2].FirstName, "A");
  EXPECT_EQ(order[2].Order, 3);
}

TEST_F(PortfolioRiskConfigsTest, RecordCopiesOwnTheirContainers) {
  TPortfolioRiskConfig copy = Load("[PORTFOLIORISKCONFIG]\nVOLATILITYSLOPE_LONG_CALL=1,2\n");
  Load("");
  EXPECT_EQ(copy.SPREADS.size(), 9u);
  EXPECT_EQ(copy.VOLATILITYSLOPES.at(kLongCall), (TSlopePoints{{1, 2}}));
}

}  // namespace
}  // namespace DL
