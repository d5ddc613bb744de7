// The engine's load: defaults of an empty text and what each section and key
// of the broker's text turns into.
#include <gtest/gtest.h>

#include <string>

#include "dl/engine/settings_engine.h"

namespace DL {
namespace {

TEST(SettingsEngineLoad, EmptyTextDefaults) {
  TSettingsEngine e("", 2);
  EXPECT_EQ(e.GetClientCVal(), 1);
  EXPECT_TRUE(e.GetLimitsInLots());
  EXPECT_TRUE(e.GetInvertCcpOperation());
  EXPECT_TRUE(e.GetNoAddCommonSecTrdAcc());
  EXPECT_EQ(e.GetClientLag("ANY"), 1);

  for (bool flag :
       {e.GetCheckMaxCredit(), e.GetCheckMaxTotalCredit(), e.GetIgnoreRestShortSecurity(),
        e.GetIgnoreCoeffForMargin(), e.GetRestrictOpenPos(), e.GetSupportCValClients(),
        e.GetCorrectMaxTotalCredit(), e.GetChangeSecLot(), e.GetNotUseZadolgMoneyForMargin(),
        e.GetIncludeAccruedInt(), e.GetUseCommissionScale(), e.GetUsePgo(),
        e.GetSupportMultiCurrency(), e.GetRepoUseFaceValue(), e.GetEnableOptionsPerevorot(),
        e.GetUseOnlyMoneyLimitForOldMargin(), e.GetChangeFutClientCodes(),
        e.GetUseCValClientsForLimitKinds(), e.GetExtendedSubClient()}) {
    EXPECT_FALSE(flag);
  }
  EXPECT_EQ(e.GetVat(), 0.0);
  EXPECT_EQ(e.GetClientMarketOrderPercent(), 0.0);

  EXPECT_TRUE(e.IsMinTsCommClass("TQBR"));
  EXPECT_TRUE(e.IsMinTsCommClass("PTEU"));
  EXPECT_FALSE(e.IsMinTsCommClass("EQCC"));
  EXPECT_TRUE(e.IsMainMarginClass("EQBR"));
  EXPECT_TRUE(e.IsMainMarginClass("CETS"));
  EXPECT_FALSE(e.IsMainMarginClass("PSEQ"));
  EXPECT_EQ(std::string(e.GetMainMarginClasses()).substr(0, 10), "EQBR,EQNS,");
  EXPECT_TRUE(e.IsBuySellRepoTsCommClass("RPMA"));
  EXPECT_TRUE(e.IsBuySellRepoTsCommClass("RPMO"));

  EXPECT_EQ(e.GetDiscountTrdAcc(), nullptr);
  EXPECT_TRUE(e.GetTranOutTags().empty());
  EXPECT_TRUE(e.GetLimitKinds().empty());
  EXPECT_TRUE(e.GetBoardTags().empty());
  EXPECT_TRUE(e.GetStopOrdersCalcLimitClassesFilter().empty());
  EXPECT_TRUE(e.GetPortfolioSpreadOrders().empty());
  EXPECT_TRUE(e.BaseAssets().empty());
  TClientTemplateList templates;
  e.GetClientTemplateLists(templates);
  EXPECT_TRUE(templates.empty());
  EXPECT_EQ(e.BoardTariffs().Tariffs().size(), 105u);
  EXPECT_FALSE(e.IsSpotClass("X"));
  EXPECT_FALSE(e.IsReservePerevorotGoCode("X"));
  EXPECT_FALSE(e.IsClassWithoutLimitKinds("X"));
  EXPECT_FALSE(e.IsQuantityNotInLotsClass("X"));
  EXPECT_FALSE(e.UseTsCommForTrade("X"));
  EXPECT_EQ(e.GetClassLimitKind("X"), 0);
  EXPECT_EQ(e.GetUserCommissions(0).Commission, 0.0);
}

TEST(SettingsEngineLoad, ClientLagsFromCreditLagAndClientLagSection) {
  TSettingsEngine e("[GENERAL]\nCREDITLAG=2\n[CLIENTLAG]\nA1=3\nA*=5\nB*=0\n*=9\nDEFAULT=7\n", 2);
  EXPECT_EQ(e.GetClientLag("A1"), 3);
  EXPECT_EQ(e.GetClientLag("A7"), 5);
  EXPECT_EQ(e.GetClientLag("B1"), 2);  // mask value 0 passes over to DEFAULT
  EXPECT_EQ(e.GetClientLag("C1"), 2);  // DEFAULT of CLIENTLAG does not replace CREDITLAG
  EXPECT_EQ(e.GetClientLag(nullptr), 2);

  TSettingsEngine noCreditLag("[CLIENTLAG]\nZ=4\n", 2);
  EXPECT_EQ(noCreditLag.GetClientLag("Q"), 1);
  EXPECT_EQ(noCreditLag.GetClientLag("Z"), 4);
}

TEST(SettingsEngineLoad, OnlyOneCountsForIncludeAccruedIntAnyNonZeroForTheOthers) {
  TSettingsEngine e(
      "[COMMISSION]\nINCLUDEACCRUEDINT=2\nVAT=18.5\nREPOUSEFACEVALUE=3\n"
      "[GENERAL]\nUSEPGO=2\nLIMITSINLOTS=0\nINVERTCCPOPERATION=0\nCLIENTCVAL=4\n"
      "CHECKMAXCREDIT=1\nRSTROPENPOS=-1\nCLIENTMARKETORDERPERCENT=2.5\n",
      2);
  EXPECT_FALSE(e.GetIncludeAccruedInt());
  EXPECT_TRUE(e.GetUsePgo());
  EXPECT_TRUE(e.GetRepoUseFaceValue());
  EXPECT_EQ(e.GetVat(), 18.5);
  EXPECT_FALSE(e.GetLimitsInLots());
  EXPECT_FALSE(e.GetInvertCcpOperation());
  EXPECT_EQ(e.GetClientCVal(), 4);
  EXPECT_TRUE(e.GetCheckMaxCredit());
  EXPECT_TRUE(e.GetRestrictOpenPos());
  EXPECT_EQ(e.GetClientMarketOrderPercent(), 2.5);

  TSettingsEngine one("[commission]\nIncludeAccruedInt=1\n", 2);
  EXPECT_TRUE(one.GetIncludeAccruedInt());
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
  EXPECT_STREQ(e.GetDiscountTrdAcc(), "L01,L02");
  EXPECT_TRUE(e.IsSpotClass("S2"));
  EXPECT_TRUE(e.IsReservePerevorotGoCode("G1"));
  EXPECT_TRUE(e.IsMinTsCommClass("M1"));
  EXPECT_FALSE(e.IsMinTsCommClass("M2"));
  EXPECT_FALSE(e.UseTsCommForTrade("T2"));
  EXPECT_TRUE(e.UseTsCommForTrade("T3"));
  EXPECT_EQ(e.GetStopOrdersCalcLimitClassesFilter(), (std::vector<std::string>{"F1", "F2"}));
}

TEST(SettingsEngineLoad, TranOutTagsInPairsWithSurAsDefaultCurrency) {
  TSettingsEngine e("[TRANOUTTAG]\nK=A,USD,B\nL=C,,D,EUR\n", 2);
  const std::vector<TTranOutTag>& tags = e.GetTranOutTags();
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_EQ(tags[0].Key, "K");
  EXPECT_EQ(tags[0].Tag, "A");
  EXPECT_EQ(tags[0].Currency, "USD");
  EXPECT_EQ(tags[1].Tag, "B");
  EXPECT_EQ(tags[1].Currency, "SUR");
  EXPECT_EQ(tags[2].Currency, "SUR");
  EXPECT_EQ(tags[3].Tag, "D");
  EXPECT_EQ(tags[3].Currency, "EUR");
}

TEST(SettingsEngineLoad, ClassLimitKindsFirstKindWinsAndLimitKindsAreCollected) {
  TSettingsEngine e(
      "[CLASSTOLIMITKIND]\n1=TQBR\n2=TQBR,SPBFUT\n[CLASSESWITHOUTLIMITKINDS]\n"
      "ZZ=\nAA=\n[CL1]\nLIMITKINDS=2,0\n[CL2]\nLIMITKINDS=1\n",
      2);
  EXPECT_EQ(e.GetClassLimitKind("TQBR"), 1);
  EXPECT_EQ(e.GetClassLimitKind("SPBFUT"), 2);
  EXPECT_TRUE(e.IsClassWithoutLimitKinds("AA"));
  EXPECT_TRUE(e.IsClassWithoutLimitKinds("ZZ"));
  EXPECT_EQ(e.GetLimitKinds(), (std::vector<int>{0, 1, 2}));
}

TEST(SettingsEngineLoad, BoardTagsSecToBoardAndZadolgEntries) {
  TSettingsEngine e(
      "[BOARDTAG]\nEQTV=TQBR, TQBS\n[SECTOBOARD]\nB2=SBER\nB1=GAZP,SBER\n"
      "[ADDMARKETMARGINALZADOLG]\nK=a,b,c,d\nL=x\n[QUANTITYNOTINLOTSCLASSES]\nQ=\n"
      "[ALLOWEDSECURITY]\nK1=S1,S2\nK2=<ALL>\n",
      2);
  const auto tags = e.GetBoardTags();
  ASSERT_EQ(tags.count("EQTV"), 1u);
  EXPECT_EQ(tags.at("EQTV"), (std::vector<std::string>{"TQBR", "TQBS"}));
  EXPECT_STREQ(e.FindSecToBoard("SBER"), "B1");  // first key in ascending order
  EXPECT_STREQ(e.FindSecToBoard("GAZP"), "B1");
  EXPECT_EQ(e.FindSecToBoard("LKOH"), nullptr);
  const TMarginalZadolgEntry* k = e.FindAddMarketMarginalZadolg("K");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ((*k)[2], "c");
  const TMarginalZadolgEntry* l = e.FindAddMarketMarginalZadolg("L");
  ASSERT_NE(l, nullptr);
  EXPECT_EQ((*l)[0], "x");
  EXPECT_EQ((*l)[1], "");
  EXPECT_EQ(e.FindAddMarketMarginalZadolg("M"), nullptr);
  EXPECT_TRUE(e.IsQuantityNotInLotsClass("Q"));
  EXPECT_TRUE(e.CheckAllowedSecurity(0, 0.0, "K1", "S2", 0));
  EXPECT_FALSE(e.CheckAllowedSecurity(0, 0.0, "K1", "S3", 0));
  EXPECT_TRUE(e.CheckAllowedSecurity(0, 0.0, "K2", "ANY", 0));
  EXPECT_FALSE(e.CheckAllowedSecurity(0, 0.0, "K3", "S1", 0));
  EXPECT_FALSE(e.CheckAllowedSecurity(0, 0.0, nullptr, "S1", 0));
}

TEST(SettingsEngineLoad, RepoBoardListsAreSorted) {
  TSettingsEngine e("[ADDREPOBOARDS]\nK=RPC, RPA,RPB\n", 2);
  EXPECT_EQ(*e.GetKeyedList("K"), (std::vector<std::string>{"RPA", "RPB", "RPC"}));
  EXPECT_TRUE(e.IsInKeyedSet("K", "RPB"));
  EXPECT_FALSE(e.IsInKeyedSet("K", "RPD"));
  EXPECT_FALSE(e.IsInKeyedSet("k", "RPB"));
  EXPECT_TRUE(e.GetKeyedList("NONE")->empty());
  EXPECT_EQ(e.GetKeyedList("NONE"), e.GetKeyedList("OTHER"));
}

TEST(SettingsEngineLoad, NonMarginalBoardsAddMissingKeys) {
  TSettingsEngine e("[ADDNONMARGINALBOARD]\nK=A,B\n", 2);
  const std::vector<std::string>* k = e.FindAddNonMarginalBoard("K");
  EXPECT_EQ(*k, (std::vector<std::string>{"A", "B"}));
  const std::vector<std::string>* missing = e.FindAddNonMarginalBoard("M");
  EXPECT_TRUE(missing->empty());
  EXPECT_EQ(e.FindAddNonMarginalBoard("M"), missing);
  EXPECT_EQ(e.FindAddNonMarginalBoard("K"), k);  // still valid after an insertion
}

TEST(SettingsEngineLoad, CommonTradeAccountGroups) {
  TSettingsEngine e("[ADDCOMMONSECTRDACC]\nF1,A1=G\nF1,A2=G\nF2,A2=G\nF3,A3=H\nSOLO=H\n", 2);
  EXPECT_FALSE(e.GetNoAddCommonSecTrdAcc());
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("F1", "A1"), "G");
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("F3", nullptr), "H");
  EXPECT_STREQ(e.GetCommonTrdAccGroupName("SOLO", ""), "H");  // missing part is empty
  EXPECT_EQ(e.GetCommonTrdAccGroupName("F2", "A1"), nullptr);
  // No group is named F1 or F2: the member (F1, A1) leads to group G, which
  // is searched for (F1, A2), the member itself excluded.
  EXPECT_TRUE(e.IsSameCommonTrdAccGroup("F1", "A1", "F2", "A2"));
  EXPECT_FALSE(e.IsSameCommonTrdAccGroup("F1", "A1", "F3", "A3"));
  EXPECT_FALSE(e.IsSameCommonTrdAccGroup("F1", "A1", "F1", "A1"));
  EXPECT_FALSE(e.IsSameCommonTrdAccGroup("F2", "A2", "F1", "A1"));
  // A group named by the first part: look for (first2, second2) in it.
  EXPECT_TRUE(e.IsSameCommonTrdAccGroup("G", "x", "F2", "A2"));
  // A group named by the third part: look for (first1, second2).
  EXPECT_TRUE(e.IsSameCommonTrdAccGroup("F3", "x", "H", "A3"));
  EXPECT_FALSE(e.IsSameCommonTrdAccGroup(nullptr, "A1", "F2", "A2"));

  TSettingsEngine none("", 2);
  EXPECT_EQ(none.GetCommonTrdAccGroupName("F1", "A1"), nullptr);
  EXPECT_FALSE(none.IsSameCommonTrdAccGroup("F1", "A1", "F2", "A2"));
}

TEST(SettingsEngineLoad, UserCommissionsFirstSectionOfANumberWins) {
  TSettingsEngine e(
      "[U1]\nCOMMISSION=1.5\nOBLCOMMISSION=2\n[U01]\nCOMMISSION=9\n"
      "[USERS]\nCOMMISSION=3\n[u7]\nCommission=7\n",
      2);
  EXPECT_EQ(e.GetUserCommissions(1).Commission, 9.0);  // U01 sorts before U1
  EXPECT_EQ(e.GetUserCommissions(1).OblCommission, 0.0);
  EXPECT_EQ(e.GetUserCommissions(0).Commission, 3.0);  // USERS: no digits
  EXPECT_EQ(e.GetUserCommissions(7).Commission, 7.0);
  EXPECT_EQ(e.GetUserCommissions(8).Commission, 0.0);
}

TEST(SettingsEngineLoad, ChangedClientCodes) {
  TSettingsEngine e("[CHANGEFUTCLIENTCODES]\nA=B\nFIRM=X\n[CHANGEFUTCLIENTCODES_2]\nA=C\nD=E\n", 2);
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
  TSettingsEngine plain(subBrokers.c_str(), 2);
  EXPECT_STREQ(plain.ResolveSubClient("C1_01"), "C1");
  EXPECT_EQ(plain.ResolveSubClient("C1/02"), nullptr);  // not stored, nothing generated
  EXPECT_EQ(plain.ResolveSubClient(""), nullptr);

  TSettingsEngine generated(
      ("[General]\nSubBrokerGenerateClient=1\nAddSubClientDelimiter=/\n" + subBrokers).c_str(), 2);
  EXPECT_STREQ(generated.ResolveSubClient("C1/02"), "C1");
  EXPECT_STREQ(generated.ResolveSubClient("C1_77"), "C1");
  EXPECT_EQ(generated.ResolveSubClient("_C1"), nullptr);
  EXPECT_EQ(generated.ResolveSubClient("/C1"), nullptr);
  EXPECT_EQ(generated.ResolveSubClient("C2_01"), nullptr);

  TSettingsEngine extended(("[General]\nExtendedSubClient=1\n" + subBrokers).c_str(), 2);
  EXPECT_TRUE(extended.GetExtendedSubClient());
  EXPECT_STREQ(extended.ResolveSubClient("C1/02"), "C1");
  EXPECT_EQ(extended.ResolveSubClient("C1/03"), nullptr);

  TSettingsEngine extendedGenerated(
      ("[General]\nExtendedSubClient=1\nSubBrokerGenerateClient=1\n" + subBrokers).c_str(), 2);
  EXPECT_STREQ(extendedGenerated.ResolveSubClient("C1/03"), "C1");
}

TEST(SettingsEngineLoad, ClientTemplateLists) {
  TSettingsEngine e("[CLA_CLIENT_TEMPLATE]\nCLIENTS=C1, C2\n[CLB_CLIENT_TEMPLATE]\nCLIENTS=C3\n",
                    2);
  TClientTemplateList list = {{"keep", "me"}};
  e.GetClientTemplateLists(list);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].first, "keep");
  EXPECT_EQ(list[1], std::make_pair(std::string("C1"), std::string("A")));
  EXPECT_EQ(list[3], std::make_pair(std::string("C3"), std::string("B")));
}

}  // namespace
}  // namespace DL
