// The engine's load: defaults of an empty text and what each section and key
// of the broker's text turns into.
#include <gtest/gtest.h>

#include <string>

#include "dl/engine/settings_engine.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;

TEST(SettingsEngineLoad, EmptyTextDefaults) {
  TSettingsEngine e("", 2);
  EXPECT_TRUE(e.GetInvertCcpOperation());
  EXPECT_EQ(e.GetClientLag("ANY"), 1);
  for (const char* code : {"TQBR", "PTEU", "EQBR"}) EXPECT_TRUE(e.IsMinTsCommClass(code)) << code;
  EXPECT_FALSE(e.IsMinTsCommClass("EQCC"));
  for (const char* code : {"EQBR", "CETS", "SPBFUT"}) EXPECT_TRUE(e.IsMainMarginClass(code)) << code;
  EXPECT_FALSE(e.IsMainMarginClass("PSEQ"));
  EXPECT_FALSE(e.IsMainMarginClass("EQB"));
  EXPECT_TRUE(e.IsBuySellRepoTsCommClass("RPMA"));
  EXPECT_TRUE(e.IsBuySellRepoTsCommClass("RPMO"));
  EXPECT_EQ(e.GetDiscountTrdAcc(), nullptr);
  EXPECT_TRUE(e.BaseAssets().empty());
  EXPECT_EQ(e.BoardTariffs().Tariffs().size(), 105u);
  for (const char* code : {"X", static_cast<const char*>(nullptr)}) {
    EXPECT_FALSE(e.IsSpotClass(code) || e.IsReservePerevorotGoCode(code) ||
                 e.IsClassWithoutLimitKinds(code) || e.IsQuantityNotInLotsClass(code) ||
                 e.UseTsCommForTrade(code) || e.IsMultiCurrencyClient(code));
    EXPECT_EQ(e.GetClassLimitKind(code), 0);
  }
  EXPECT_EQ(e.GetUserCommissions(0).Commission, 0.0);
}

TEST(SettingsEngineLoad, ClientLagsFromCreditLagAndClientLagSection) {
  TSettingsEngine e("[GENERAL]\nCREDITLAG=2\n[CLIENTLAG]\nA1=3\nA*=5\nB*=0\n*=9\nDEFAULT=7\nC=0\n", 2);
  const std::pair<const char*, int> cases[] = {
      {"A1", 3}, {"A7", 5}, {"A", 5}, {"B1", 2},  // mask value 0 passes over to DEFAULT
      {"C1", 2},  // DEFAULT of CLIENTLAG does not replace CREDITLAG
      {"C", 0}, {nullptr, 2}, {"*", 2},
  };
  for (const auto& [client, lag] : cases) EXPECT_EQ(e.GetClientLag(client), lag) << client;
  TSettingsEngine noCreditLag("[CLIENTLAG]\nZ=4\n", 2);
  EXPECT_EQ(noCreditLag.GetClientLag("Q"), 1);
  EXPECT_EQ(noCreditLag.GetClientLag("Z"), 4);
}

TEST(SettingsEngineLoad, ListsLoseTheirBlanks) {
  TSettingsEngine e(
      "[GENERAL]\nMAINMARGINCLASSES= A , B\nBUYSELLREPOTSCOMMCLASSES=R1, R2\n"
      "DISCOUNTTRDACC= L01 , L02\nSPOTCLASSES=S1, S2\nRESERVEPEREVOROTGO=G1\n"
      "MINTSCOMMCLASSES=M1, M2\nIGNOREMINTSCOMMFORCLASSES=M2\n"
      "USETSCOMMFORTRADE=1\nIGNORETSCOMMFORTRADE=T1 ,T2\n"
      "STOPORDERSCALCLIMITCLASSESFILTER=F1, F2\n",
      2);
  EXPECT_STREQ(e.GetMainMarginClasses(), "A,B");
  EXPECT_TRUE(e.IsMainMarginClass("B"));
  EXPECT_TRUE(e.IsBuySellRepoTsCommClass("R2"));
  EXPECT_FALSE(e.IsBuySellRepoTsCommClass("RPMA"));
  EXPECT_STREQ(e.GetDiscountTrdAcc(), "L01,L02");
  EXPECT_TRUE(e.IsSpotClass("S2"));
  EXPECT_TRUE(e.IsReservePerevorotGoCode("G1"));
  EXPECT_TRUE(e.IsMinTsCommClass("M1"));
  EXPECT_FALSE(e.IsMinTsCommClass("M2"));
  EXPECT_FALSE(e.UseTsCommForTrade("T2"));
  EXPECT_TRUE(e.UseTsCommForTrade("T3"));
  EXPECT_EQ(e.GetStopOrdersCalcLimitClassesFilter(), (TList{"F1", "F2"}));
}

TEST(SettingsEngineLoad, TranOutTagsInPairsWithSurAsDefaultCurrency) {
  TSettingsEngine e("[TRANOUTTAG]\nK=A,USD,B\nL=C,,D,EUR\n", 2);
  std::string tags;
  for (const TTranOutTag& tag : e.GetTranOutTags()) tags += tag.Key + tag.Tag + tag.Currency + " ";
  EXPECT_EQ(tags, "KAUSD KBSUR LCSUR LDEUR ");
}

TEST(SettingsEngineLoad, KeyedSectionsAndClassLists) {
  TSettingsEngine e(
      "[CLASSTOLIMITKIND]\n1=TQBR\n2=TQBR,SPBFUT\n[CLASSESWITHOUTLIMITKINDS]\nZZ=\nAA=\n"
      "[CL1]\nLIMITKINDS=2,0\n[CL2]\nLIMITKINDS=1\n"
      "[BOARDTAG]\nEQTV=TQBR, TQBS\n[SECTOBOARD]\nB2=SBER\nB1=GAZP,SBER\n"
      "[ADDMARKETMARGINALZADOLG]\nK=a,b,c,d,e,f,g,h,i,j,k,l,m\nL=x\n[QUANTITYNOTINLOTSCLASSES]\nQ=\n"
      "[ALLOWEDSECURITY]\nK1=S1,S2\nK2=<ALL>\n[ADDREPOBOARDS]\nK=RPC, RPA,RPB\n"
      "[ADDNONMARGINALBOARD]\nK=A,B\n",
      2);
  EXPECT_EQ(e.GetClassLimitKind("TQBR"), 1);  // the first kind naming a class wins
  EXPECT_EQ(e.GetClassLimitKind("SPBFUT"), 2);
  EXPECT_TRUE(e.IsClassWithoutLimitKinds("AA") && e.IsClassWithoutLimitKinds("ZZ"));
  EXPECT_EQ(e.GetLimitKinds(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(e.GetBoardTags().at("EQTV"), (TList{"TQBR", "TQBS"}));
  EXPECT_STREQ(e.FindSecToBoard("SBER"), "B1");  // first key in ascending order
  EXPECT_STREQ(e.FindSecToBoard("GAZP"), "B1");
  EXPECT_EQ(e.FindSecToBoard("LKOH"), nullptr);
  EXPECT_EQ(e.FindSecToBoard(nullptr), nullptr);
  const TMarginalZadolgEntry* k = e.FindAddMarketMarginalZadolg("K");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ((*k)[2], "c");
  EXPECT_EQ(k->back(), std::string(1, static_cast<char>('a' + k->size() - 1)));
  EXPECT_EQ((*e.FindAddMarketMarginalZadolg("L"))[1], "");
  EXPECT_EQ(e.FindAddMarketMarginalZadolg("M"), nullptr);
  EXPECT_EQ(e.FindAddMarketMarginalZadolg(nullptr), nullptr);
  EXPECT_TRUE(e.IsQuantityNotInLotsClass("Q"));
  const std::pair<const char*, bool> allowed[] = {{"K1/S2", true}, {"K1/S3", false}, {"K2/ANY", true}};
  for (const auto& [text, expected] : allowed) {
    const std::string key(text, 2);
    EXPECT_EQ(e.CheckAllowedSecurity(0, 0.0, key.c_str(), text + 3, 0), expected) << text;
  }
  EXPECT_FALSE(e.CheckAllowedSecurity(0, 0.0, "K3", "S1", 0));
  EXPECT_FALSE(e.CheckAllowedSecurity(0, 0.0, nullptr, "S1", 0));
  EXPECT_EQ(*e.GetKeyedList("K"), (TList{"RPA", "RPB", "RPC"}));
  EXPECT_TRUE(e.IsInKeyedSet("K", "RPB"));
  EXPECT_FALSE(e.IsInKeyedSet("K", "RPD"));
  EXPECT_FALSE(e.IsInKeyedSet("k", "RPB"));
  EXPECT_EQ(e.GetKeyedList("NONE"), e.GetKeyedList("OTHER"));
  const TList* nonMarginal = e.FindAddNonMarginalBoard("K");
  EXPECT_EQ(*nonMarginal, (TList{"A", "B"}));
  const TList* missing = e.FindAddNonMarginalBoard("M");
  EXPECT_TRUE(missing->empty());
  EXPECT_EQ(e.FindAddNonMarginalBoard("M"), missing);
  EXPECT_EQ(e.FindAddNonMarginalBoard("K"), nonMarginal);  // still valid after an insertion
}

TEST(SettingsEngineLoad, CommonTradeAccountGroups) {
  TSettingsEngine e("[ADDCOMMONSECTRDACC]\nF1,A1=G\nF1,A2=G\nF2,A2=G\nF3,A3=H\nSOLO=H\n", 2);
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("F1", "A1"), "G");
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("F3", nullptr), "H");
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("SOLO", ""), "H");  // missing part is empty
  EXPECT_EQ(e.GetCommonTrdAccGroupName("F2", "A1"), nullptr);
  EXPECT_EQ(e.GetCommonTrdAccGroupName(nullptr, "A1"), nullptr);
  struct Case {
    const char* parts[4];
    bool same;
  };
  const Case cases[] = {
      // No group is named F1 or F2: the member (F1, A1) leads to group G,
      // which is searched for (F1, A2), the member itself excluded.
      {{"F1", "A1", "F2", "A2"}, true},  {{"F1", "A1", "F3", "A3"}, false},
      {{"F1", "A1", "F1", "A1"}, false}, {{"F2", "A2", "F1", "A1"}, false},
      {{"F1", "A9", "F2", "A2"}, false},
      // A group named by the first part: look for (first2, second2) in it.
      {{"G", "x", "F2", "A2"}, true},    {{"G", "x", "F3", "A3"}, false},
      // A group named by the third part: look for (first1, second2).
      {{"F3", "x", "H", "A3"}, true},    {{"F1", "x", "H", "A3"}, false},
      {{nullptr, "A1", "F2", "A2"}, false}, {{"F1", "A1", nullptr, "A2"}, false},
      {{"F1", "A1", "F2", nullptr}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(e.IsSameCommonTrdAccGroup(c.parts[0], c.parts[1], c.parts[2], c.parts[3]), c.same)
        << (c.parts[0] ? c.parts[0] : "null") << " " << c.parts[1] << " "
        << (c.parts[2] ? c.parts[2] : "null");
  }
  TSettingsEngine none("", 2);
  EXPECT_EQ(none.GetCommonTrdAccGroupName("F1", "A1"), nullptr);
  EXPECT_FALSE(none.IsSameCommonTrdAccGroup("F1", "A1", "F2", "A2"));
}

TEST(SettingsEngineLoad, UserCommissionsAndChangedClientCodes) {
  TSettingsEngine e("[U1]\nCOMMISSION=1.5\nOBLCOMMISSION=2\n[U01]\nCOMMISSION=9\n[USERS]\nCOMMISSION=3\n"
                    "[u7]\nCommission=7\nOblCommission=8\n[XU2]\nCOMMISSION=5\n"
                    "[CHANGEFUTCLIENTCODES]\nA=B\nFIRM=X\n[CHANGEFUTCLIENTCODES_2]\nA=C\nD=E\n",
                    2);
  EXPECT_EQ(e.GetUserCommissions(1).Commission, 9.0);  // U01 sorts before U1
  EXPECT_EQ(e.GetUserCommissions(1).OblCommission, 0.0);
  EXPECT_EQ(e.GetUserCommissions(0).Commission, 3.0);  // USERS: no digits
  EXPECT_EQ(e.GetUserCommissions(7).OblCommission, 8.0);
  EXPECT_EQ(e.GetUserCommissions(2).Commission, 0.0);
  EXPECT_STREQ(e.GetChangedClientCode("B"), "A");
  EXPECT_STREQ(e.GetClientCodeFromChanged("A"), "B");  // the first mapping stays
  EXPECT_STREQ(e.GetClientCodeFromChanged("D"), "E");
  EXPECT_STREQ(e.GetChangedClientCode("C"), "A");
  EXPECT_EQ(e.GetChangedClientCode("X"), nullptr);
  EXPECT_EQ(e.GetClientCodeFromChanged("FIRM"), nullptr);
  EXPECT_EQ(e.GetChangedClientCode(nullptr), nullptr);
}

TEST(SettingsEngineLoad, SubClientResolution) {
  const std::string subBrokers = "[SubBrokers]\nC1=C1_01,C1/02\n";
  struct Case {
    const char* general;
    const char* subClient;
    const char* client;
  };
  const Case cases[] = {
      {"", "C1_01", "C1"}, {"", "C1/02", nullptr},  // not stored, nothing generated
      {"", "", nullptr},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "C1/02", "C1"},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "C1_77", "C1"},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "C1", nullptr},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "_C1", nullptr},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "/C1", nullptr},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "C2_01", nullptr},
      {"SubBrokerGenerateClient=1\nAddSubClientDelimiter=/", "C2/01", nullptr},
      {"SubBrokerGenerateClient=1", "C1/03", nullptr},
      {"ExtendedSubClient=1", "C1/02", "C1"},
      {"ExtendedSubClient=1", "C1/03", nullptr},
      {"ExtendedSubClient=1\nSubBrokerGenerateClient=1", "C1/03", "C1"},
  };
  for (const Case& c : cases) {
    TSettingsEngine e(("[General]\n" + std::string(c.general) + "\n" + subBrokers).c_str(), 2);
    const char* client = e.ResolveSubClient(c.subClient);
    EXPECT_EQ(client ? client : "null", std::string(c.client ? c.client : "null"))
        << c.general << " " << c.subClient;
  }
}

TEST(SettingsEngineLoad, ClientTemplateListsInNameOrder) {
  TSettingsEngine e("[CL_CLIENT_TEMPLATE]\nCLIENTS=E1\n[cla_client_template]\nclients= L1 ,, L2\n"
                    "[CLB_CLIENT_TEMPLATEX]\nCLIENTS=N\n[CLC_CLIENT_TEMPLATE]\nOTHER=1\n"
                    "[XCL_CLIENT_TEMPLATE]\nCLIENTS=N\n[CLD_CLIENT_TEMPLATE]\nCLIENTS=C3\n",
                    2);
  TClientTemplateList list = {{"keep", "me"}};
  e.GetClientTemplateLists(list);
  EXPECT_EQ(list, (TClientTemplateList{
                      {"keep", "me"}, {"L1", "A"}, {"", "A"}, {"L2", "A"}, {"C3", "D"}, {"E1", ""}}));
}

}  // namespace
}  // namespace DL
