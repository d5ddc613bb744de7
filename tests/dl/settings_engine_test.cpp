// The settings engine: what each section and key of the broker's text turns
// into, and the queries over its lists, the per-client settings, the base
// assets and the margin restrictions.
#include "dl/engine/settings_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace DL {
namespace {

using TList = std::vector<std::string>;

std::string Text(const char* text) { return text ? text : "null"; }

TEST(SettingsEngineLoad, ClientLagsFromCreditLagAndClientLagSection) {
  TSettingsEngine e("[GENERAL]\nCREDITLAG=2\n[CLIENTLAG]\nA1=3\nA*=5\nB*=0\n*=9\nDEFAULT=7\nC=0\n", 2);
  // A mask of lag 0 passes over to the CREDITLAG; DEFAULT in CLIENTLAG does not replace it.
  const std::pair<const char*, int> cases[] = {
      {"A1", 3}, {"A7", 5}, {"A", 5}, {"B1", 2}, {"C1", 2}, {"C", 0}, {nullptr, 2}, {"*", 2}};
  for (const auto& [client, lag] : cases) EXPECT_EQ(e.GetClientLag(client), lag) << Text(client);
  TSettingsEngine noCreditLag("[CLIENTLAG]\nZ=4\n", 2);
  EXPECT_EQ((std::vector<int>{noCreditLag.GetClientLag("Q"), noCreditLag.GetClientLag("Z")}), (std::vector<int>{1, 4}));
}

using TCodeTest = bool (TSettingsEngine::*)(const char*) const;

// The class lists of an empty text (their defaults) and of a text that
// gives each of them with blanks.
TEST(SettingsEngineLoad, ClassLists) {
  TSettingsEngine plain("", 2);
  TSettingsEngine given("[GENERAL]\nMAINMARGINCLASSES= A , B\nBUYSELLREPOTSCOMMCLASSES=R1, R2\n"
                        "DISCOUNTTRDACC= L01 , L02\nSPOTCLASSES=S1, S2\nRESERVEPEREVOROTGO=G1\n"
                        "MINTSCOMMCLASSES=M1, M2\nIGNOREMINTSCOMMFORCLASSES=M2\nUSETSCOMMFORTRADE=1\n"
                        "IGNORETSCOMMFORTRADE=T1 ,T2\nSTOPORDERSCALCLIMITCLASSESFILTER=F1, F2\n", 2);
  const TCodeTest minTs = &TSettingsEngine::IsMinTsCommClass, main = &TSettingsEngine::IsMainMarginClass,
                  repo = &TSettingsEngine::IsBuySellRepoTsCommClass, spot = &TSettingsEngine::IsSpotClass,
                  perevorot = &TSettingsEngine::IsReservePerevorotGoCode, trade = &TSettingsEngine::UseTsCommForTrade,
                  noKinds = &TSettingsEngine::IsClassWithoutLimitKinds,
                  lots = &TSettingsEngine::IsQuantityNotInLotsClass,
                  multi = &TSettingsEngine::IsMultiCurrencyClient;
  const std::tuple<TSettingsEngine*, TCodeTest, const char*, bool> cases[] = {
      {&plain, minTs, "TQBR", true}, {&plain, minTs, "PTEU", true},  {&plain, minTs, "EQCC", false},
      {&plain, main, "EQBR", true},  {&plain, main, "CETS", true},   {&plain, main, "SPBFUT", true},
      {&plain, main, "PSEQ", false}, {&plain, main, "EQB", false},   {&plain, repo, "RPMA", true},
      {&plain, repo, "RPMO", true},  {&plain, spot, "X", false},     {&plain, perevorot, "X", false},
      {&plain, trade, "X", false},   {&plain, noKinds, "X", false},  {&plain, lots, "X", false},
      {&plain, multi, "X", false},   {&given, main, "B", true},      {&given, main, "EQBR", false},
      {&given, repo, "R2", true},    {&given, repo, "RPMA", false},  {&given, spot, "S2", true},
      {&given, perevorot, "G1", true}, {&given, minTs, "M1", true},  {&given, minTs, "M2", false},
      {&given, trade, "T2", false},  {&given, trade, "T3", true},
  };
  for (const auto& [engine, test, code, expected] : cases) {
    EXPECT_EQ((engine->*test)(code), expected) << (engine == &plain ? "plain " : "given ") << code;
    if (engine == &plain) { EXPECT_FALSE((engine->*test)(nullptr)); }
  }
  EXPECT_EQ(Text(plain.GetDiscountTrdAcc()) + " " + given.GetDiscountTrdAcc() + " " + given.GetMainMarginClasses(),
            "null L01,L02 A,B");
  EXPECT_EQ(given.GetStopOrdersCalcLimitClassesFilter(), (TList{"F1", "F2"}));
  EXPECT_TRUE(plain.GetInvertCcpOperation() && plain.BaseAssets().empty());
  EXPECT_EQ(plain.GetClassLimitKind("X") + plain.GetClassLimitKind(nullptr), 0);
}

TEST(SettingsEngineLoad, KeyedSectionsAndClassLists) {
  TSettingsEngine e("[CLASSTOLIMITKIND]\n1=TQBR\n2=TQBR,SPBFUT\n[CLASSESWITHOUTLIMITKINDS]\nZZ=\nAA=\n"
                    "[CL1]\nLIMITKINDS=2,0\n[CL2]\nLIMITKINDS=1\n[BOARDTAG]\nEQTV=TQBR, TQBS\n[SECTOBOARD]\nB2=SBER\n"
                    "B1=GAZP,SBER\n[ADDMARKETMARGINALZADOLG]\nK=a,b,c,d,e,f,g,h,i,j,k,l,m\nL=x\n"
                    "[QUANTITYNOTINLOTSCLASSES]\nQ=\n[ALLOWEDSECURITY]\nK1=S1,S2\nK2=<ALL>\n"
                    "[ADDREPOBOARDS]\nK=RPC, RPA,RPB\n[ADDNONMARGINALBOARD]\nK=A,B\n"
                    "[TRANOUTTAG]\nK=A,USD,B\nL=C,,D,EUR\n", 2);
  std::string tags;  // tags and currencies in pairs, SUR when the currency is missing
  for (const TTranOutTag& tag : e.GetTranOutTags()) tags += tag.Key + tag.Tag + tag.Currency + " ";
  EXPECT_EQ(tags, "KAUSD KBSUR LCSUR LDEUR ");
  // The first kind naming a class wins.
  EXPECT_EQ((std::vector<int>{e.GetClassLimitKind("TQBR"), e.GetClassLimitKind("SPBFUT")}), (std::vector<int>{1, 2}));
  EXPECT_TRUE(e.IsClassWithoutLimitKinds("AA") && e.IsClassWithoutLimitKinds("ZZ") && e.IsQuantityNotInLotsClass("Q"));
  EXPECT_EQ(e.GetLimitKinds(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(e.GetBoardTags().at("EQTV"), (TList{"TQBR", "TQBS"}));
  // The first key in ascending order holding the security.
  EXPECT_EQ(Text(e.FindSecToBoard("SBER")) + Text(e.FindSecToBoard("GAZP")) + Text(e.FindSecToBoard("LKOH")) +
                Text(e.FindSecToBoard(nullptr)), "B1B1nullnull");
  const TMarginalZadolgEntry* k = e.FindAddMarketMarginalZadolg("K");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ((*k)[2], "c");
  EXPECT_EQ(k->back(), std::string(1, static_cast<char>('a' + k->size() - 1)));  // cut to the entry's size
  EXPECT_EQ((*e.FindAddMarketMarginalZadolg("L"))[1], "");
  EXPECT_TRUE(e.FindAddMarketMarginalZadolg("M") == nullptr && e.FindAddMarketMarginalZadolg(nullptr) == nullptr);
  const std::tuple<const char*, const char*, bool> allowed[] = {
      {"K1", "S2", true}, {"K1", "S3", false}, {"K2", "ANY", true}, {"K3", "S1", false}, {nullptr, "S1", false}};
  for (const auto& [key, security, expected] : allowed)
    EXPECT_EQ(e.CheckAllowedSecurity(0, 0.0, key, security, 0), expected) << Text(key) << " " << security;
  EXPECT_EQ(*e.GetKeyedList("K"), (TList{"RPA", "RPB", "RPC"}));
  EXPECT_TRUE(e.IsInKeyedSet("K", "RPB"));
  EXPECT_FALSE(e.IsInKeyedSet("K", "RPD") || e.IsInKeyedSet("k", "RPB"));
  EXPECT_EQ(e.GetKeyedList("NONE"), e.GetKeyedList("OTHER"));
  const TList* nonMarginal = e.FindAddNonMarginalBoard("K");
  EXPECT_EQ(*nonMarginal, (TList{"A", "B"}));
  const TList* missing = e.FindAddNonMarginalBoard("M");
  EXPECT_TRUE(missing->empty());
  // Both still valid after an insertion.
  EXPECT_TRUE(e.FindAddNonMarginalBoard("M") == missing && e.FindAddNonMarginalBoard("K") == nonMarginal);
}

TEST(SettingsEngineLoad, CommonTradeAccountGroups) {
  TSettingsEngine e("[ADDCOMMONSECTRDACC]\nF1,A1=G\nF1,A2=G\nF2,A2=G\nF3,A3=H\nSOLO=H\n", 2);
  // A missing part of a key is empty.
  EXPECT_EQ(Text(e.GetCommonTrdAccGroupName("F1", "A1")) + Text(e.GetCommonTrdAccGroupName("F3", nullptr)) +
                Text(e.GetCommonTrdAccGroupName("SOLO", "")) + Text(e.GetCommonTrdAccGroupName("F2", "A1")) +
                Text(e.GetCommonTrdAccGroupName(nullptr, "A1")), "GHHnullnull");
  const std::tuple<const char*, const char*, const char*, const char*, bool> cases[] = {
      // No group is named F1 or F2: the member (F1, A1) leads to group G,
      // which is searched for (F1, A2), the member itself excluded.
      {"F1", "A1", "F2", "A2", true},  {"F1", "A1", "F3", "A3", false}, {"F1", "A1", "F1", "A1", false},
      {"F2", "A2", "F1", "A1", false}, {"F1", "A9", "F2", "A2", false},
      // A group named by the first part: look for (first2, second2) in it;
      // by the third part: look for (first1, second2).
      {"G", "x", "F2", "A2", true},    {"G", "x", "F3", "A3", false},   {"F3", "x", "H", "A3", true},
      {"F1", "x", "H", "A3", false},   {nullptr, "A1", "F2", "A2", false}, {"F1", "A1", nullptr, "A2", false},
      {"F1", "A1", "F2", nullptr, false},
  };
  for (const auto& [first1, second1, first2, second2, same] : cases)
    EXPECT_EQ(e.IsSameCommonTrdAccGroup(first1, second1, first2, second2), same)
        << Text(first1) << " " << second1 << " " << Text(first2) << " " << Text(second2);
  TSettingsEngine none("", 2);
  EXPECT_EQ(none.GetCommonTrdAccGroupName("F1", "A1"), nullptr);
  EXPECT_FALSE(none.IsSameCommonTrdAccGroup("F1", "A1", "F2", "A2"));
}

TEST(SettingsEngineLoad, UserCommissionsAndClientCodes) {
  TSettingsEngine e("[U1]\nCOMMISSION=1.5\nOBLCOMMISSION=2\n[U01]\nCOMMISSION=9\n[USERS]\nCOMMISSION=3\n"
                    "[u7]\nCommission=7\nOblCommission=8\n[XU2]\nCOMMISSION=5\n"
                    "[CHANGEFUTCLIENTCODES]\nA=B\nFIRM=X\n[CHANGEFUTCLIENTCODES_2]\nA=C\nD=E\n", 2);
  // U01 sorts before U1; USERS has no digits: user 0.
  const std::tuple<int, double, double> users[] = {{1, 9, 0}, {0, 3, 0}, {7, 7, 8}, {2, 0, 0}};
  for (const auto& [user, commission, obl] : users) {
    const TUserCommission got = e.GetUserCommissions(user);
    EXPECT_EQ((std::vector<double>{got.Commission, got.OblCommission}), (std::vector<double>{commission, obl})) << user;
  }
  // The first mapping of a code stays; FIRM is no code.
  EXPECT_EQ(Text(e.GetChangedClientCode("B")) + Text(e.GetChangedClientCode("C")) + Text(e.GetChangedClientCode("X")) +
                Text(e.GetChangedClientCode(nullptr)), "AAnullnull");
  EXPECT_EQ(Text(e.GetClientCodeFromChanged("A")) + Text(e.GetClientCodeFromChanged("D")) +
                Text(e.GetClientCodeFromChanged("FIRM")), "BEnull");
  const std::string subBrokers = "\n[SubBrokers]\nC1=C1_01,C1/02\nC=\n";
  const std::string generate = "SubBrokerGenerateClient=1\nAddSubClientDelimiter=/";
  const std::tuple<std::string, const char*, const char*> cases[] = {
      {"", "C1_01", "C1"}, {"", "C1/02", nullptr},  // not stored, nothing generated
      {"", "", nullptr},   {generate, "C1/02", "C1"}, {generate, "C1_77", "C1"}, {generate, "C1", nullptr},
      {generate, "_C1", nullptr}, {generate, "/C1", nullptr}, {generate, "C2_01", nullptr},
      {generate, "C2/01", nullptr}, {generate, "C/5", "C"}, {"SubBrokerGenerateClient=1", "C1/03", nullptr},
      {"ExtendedSubClient=1", "C1/02", "C1"}, {"ExtendedSubClient=1", "C1/03", nullptr},
      {"ExtendedSubClient=1\nSubBrokerGenerateClient=1", "C1/03", "C1"},
  };
  for (const auto& [general, subClient, client] : cases) {
    TSettingsEngine sub(("[General]\n" + general + subBrokers).c_str(), 2);
    EXPECT_EQ(Text(sub.ResolveSubClient(subClient)), Text(client)) << general << " " << subClient;
  }
}

// Type, broker, trade, one-second and trade-lot commissions.
std::string Commissions(const TClientCommSettings& r) {
  std::ostringstream text;
  text << r.CommissionType << " " << r.BrokerCommission << " " << r.TradeCommission << " " << r.OneSecCommission << " "
       << r.TradeLotCommission;
  return text.str();
}

TEST(ClientCommissionQuery, TheBoardEntryElseTheDefaultEntryOfTheClientsKind) {
  // The first map holding the board decides; without one, the DEFAULT entry
  // answers only from the map of the client's kind.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"TQBR_FIXED=2", "TQBR", "1 2 0 0 0"},          {"TQBR_TRADE=0.03", "TQBR", "3 0 3 0 0"},
      {"TQBR_TRADE_MAX=0.01,7", "TQBR", "4 7 1 0 0"}, {"TQBR_1SEC=0.02", "TQBR", "5 0 0 2 0"},
      {"TQBR_TRADELOT=0.04", "TQBR", "6 0 0 0 4"},    {"TQBR_TRADE_MAX_1SEC=0.01,0.05", "TQBR", "7 0 1 5 0"},
      {"TQBR_FIXED=2\nTQBR_TRADE=0.03", "TQBR", "1 2 0 0 0"}, {"TQBR_FIXED=2", "OTHER", "1 0 0 0 0"},
      {"COMMISSIONTYPE=6\nDEFAULT_TRADELOT=0.04", "OTHER", "6 0 0 0 4"},
      {"COMMISSIONTYPE=1\nDEFAULT_TRADELOT=0.04", "OTHER", "1 0 0 0 0"},
      {"COMMISSIONTYPE=3\nTQBR_TRADE=0.3\nDEFAULT_TRADE=0.5", "OTHER", "3 0 50 0 0"},
      {"COMMISSIONTYPE=3\nTRADECOMMISSION=0.04", "OTHER", "3 0 4 0 0"},
      {"COMMISSIONTYPE=4\nDEFAULT_TRADE_MAX=0.02,9", "OTHER", "4 9 2 0 0"},
      {"COMMISSIONTYPE=7\nDEFAULT_TRADE_MAX_1SEC=0.02,0.09", "OTHER", "7 0 2 9 0"},
      {"COMMISSIONTYPE=5\nDEFAULT_1SEC=0.03\nDEFAULT_TRADELOT=1", "OTHER", "5 0 0 3 0"},
      {"COMMISSIONTYPE=1\nBROKERCOMMISSION=4\nDEFAULT_TRADE=0.5", "OTHER", "1 4 0 0 0"},
  };
  for (const auto& [section, board, expected] : cases) {
    TSettingsEngine e(("[CLX]\n" + std::string(section) + "\n").c_str(), 2);
    EXPECT_EQ(Commissions(e.GetClientCommissionSettings("X", board)), expected) << section << " " << board;
  }
  // Nothing left over from the earlier boards shows.
  TSettingsEngine e("[CLF]\nCETS_FIXED=2\nTQBR_TRADE_MAX=0.1,7\nDEFAULT_TRADE=0.5\n", 2);
  EXPECT_EQ(Commissions(e.GetClientCommissionSettings("F", "CETS")) + "/" +
                Commissions(e.GetClientCommissionSettings("F", "TQBR")) + "/" +
                Commissions(e.GetClientCommissionSettings("F", "OTHER")), "1 2 0 0 0/4 7 10 0 0/1 0 0 0 0");
}

TEST(ClientCommissionQuery, ScaleOfTheClientBoardAndTradingPoint) {
  TSettingsEngine e("[COMMISSIONSCALE]\nMINVALUE=10\nMAXVALUE=20\nMINVOLUME=3\nTRADECOMMISSION=0.05\n"
                    "100=0.04\n[CLS_COMMISSIONSCALE]\nMINVALUE=2\n[CLP]\nTPNAME=T2\n"
                    "[TPT2_BDTQBR_COMMISSIONSCALE]\nMINVALUE=8\n", 2);
  const TClientCommSettings general = e.GetClientCommissionSettings("Z", "TQBR");
  EXPECT_EQ((std::vector<double>{general.ScaleMinVolume, general.ScaleMinValue, general.ScaleMaxValue,
                                 general.ScaleTradeCommission, e.GetClientCommissionSettings("S", "TQBR").ScaleMinValue,
                                 e.GetClientCommissionSettings("P", "TQBR").ScaleMinValue}),
            (std::vector<double>{300, 1000, 2000, 5, 200, 800}));  // the client's own scale; its trading point's
  EXPECT_EQ(general.ScaleRates, (std::map<double, double>{{10000, 0.04}}));
}

TEST(ClientBoardListQuery, GroupOfTheBoardForScaleClients) {
  TSettingsEngine e("[GENERAL]\nUSECOMMISSIONSCALE=1\n[COMMISSION]\nREPOBROKER=9\n"
                    "[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n[U5]\nCOMMISSION=1\n[U2]\n", 2);
  // The group of a scale client's board, the flag of a repo commission, the users.
  const TBoardGroup& reply = e.GetClientBoardList("TQBR", "Z");
  EXPECT_EQ(reply.Boards, (TList{"TQBR", "TQBS"}));
  EXPECT_TRUE(reply.GroupKind == 1 && reply.GroupFlag);
  EXPECT_EQ(reply.OtherBoards, (std::vector<int>{2, 5}));
  TSettingsEngine fixed("[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n[COMMISSION]\nREPOBROKER=0.00000001\n", 2);
  const TBoardGroup& none = fixed.GetClientBoardList("TQBR", "Z");
  EXPECT_TRUE(none.GroupKind == 0 && none.Boards.empty() && none.OtherBoards.empty() && !none.GroupFlag);
}

TEST(CurrencyQueries, GeneralGroupsAndClientGroups) {
  TSettingsEngine e("[GENERAL]\nSUPPORTMULTICURRENCY=1\n[CLIENTSNOMULTICURRENCY]\nNM=\n"
                    "[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CURRENCY2]\nMAIN=CNY\nKZT=0.2\n"
                    "[CLA]\nCURRENCY_MAIN=SUR\nCURRENCY_USD=75.5\ncurrency2_cny=11\n"
                    "[CLB]\nCURRENCY_MAIN=SUR\nCURRENCY2_MAIN=CNY\nCURRENCY2_KZT=0.3\n", 2);
  EXPECT_TRUE(e.IsMultiCurrencyClient("Z"));
  EXPECT_FALSE(e.IsMultiCurrencyClient("NM"));
  // The coefficient and the main code of the group holding the currency; A's
  // second main code is empty.
  const std::tuple<const char*, const char*, double, const char*> cases[] = {
      {"Z", "EUR", 1.5, "USD"},    {"Z", "USD", 1.0, "USD"},  {"Z", "KZT", 0.2, "CNY"},   {"Z", "CNY", 1.0, "CNY"},
      {"Z", "XXX", 1.0, nullptr},  {"Z", nullptr, 0.0, nullptr}, {"NM", "EUR", 0.0, nullptr}, {"A", "USD", 75.5, "SUR"},
      {"A", "SUR", 1.0, "SUR"},    {"A", "CNY", 11.0, nullptr}, {"B", "CNY", 1.0, "CNY"},  {"B", "KZT", 0.3, "CNY"},
      {"B", "EUR", 1.0, nullptr},
  };
  for (const auto& [client, currency, coefficient, entry] : cases) {
    EXPECT_EQ(e.GetCurrencyCoefficient(client, currency), coefficient) << client << " " << Text(currency);
    EXPECT_EQ(Text(e.FindClientCurrencyEntry(client, currency)), Text(entry)) << client << " " << Text(currency);
  }
  TSettingsEngine single("[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CLIENTSNOMULTICURRENCY]\nNM=\n", 2);
  EXPECT_FALSE(single.IsMultiCurrencyClient("Z"));
  EXPECT_EQ(single.GetCurrencyCoefficient("Z", "EUR"), 0.0);
}

TEST(SecurityRestrictionQueries, MultiCurrencyListsBoardsAndCheckLimitExemptions) {
  TSettingsEngine e("[AddMultiCurrency]\nK=USD, EUR\n[CURRBOARDS]\nCETS=\n[GENERAL]\nIGNORECHECKLIMITS=G1,G2\n"
                    "[CLA]\naddmulticurrency_sur=usd,eur\nCURRBOARDS=TQBR, EQBR\nIGNORECHECKLIMITS=X\n[CLB]\nX=1\n", 2);
  // The client's lists, else the general ones.
  const std::tuple<const char*, const char*, const char*, const char*, bool> cases[] = {
      {"Z", "K", "USD", "EUR", true},  {"Z", "K", "USD", "CHF", false},    {"Z", "K", "CHF", "EUR", false},
      {"Z", nullptr, "USD", "EUR", false}, {"Z", "K", nullptr, "EUR", false}, {"Z", "K", "USD", nullptr, false},
      {"A", "K", "USD", "EUR", false}, {"A", "SUR", "usd", "eur", true},
  };
  for (const auto& [client, key, first, second, allowed] : cases)
    EXPECT_EQ(e.CheckSecurityRestriction(client, key, first, second), allowed) << client << Text(key) << Text(first);
  EXPECT_EQ(e.FindSecurityRestriction("Z", "K"), (TList{"USD", "EUR"}));
  EXPECT_TRUE(e.FindSecurityRestriction("Z", nullptr).empty() && e.FindSecurityRestriction("A", "K").empty());
  for (const char* client : {"", static_cast<const char*>(nullptr), "A", "Z"})
    EXPECT_TRUE(e.GetClientSecurityFlag(client)) << Text(client);
  EXPECT_FALSE(e.GetClientSecurityFlag("B"));  // its own record has no lists
  TSettingsEngine none("[CLA]\nCURRBOARDS=X\n", 2);
  for (const char* client : {"", "A", "Z"}) EXPECT_FALSE(none.GetClientSecurityFlag(client));
  // The client's boards, then the general ones.
  const std::tuple<const char*, const char*, bool> boards[] = {
      {"A", "TQBR", true}, {"A", "EQBR", true}, {"A", "CETS", true}, {"A", "SPBFUT", false}, {"Z", "CETS", true},
      {"Z", "TQBR", false}};
  for (const auto& [client, board, allowed] : boards) EXPECT_EQ(e.IsClientBoardAllowed(client, board), allowed);
  EXPECT_EQ(*e.GetClientSecurityRecordTail("A"), (TList{"X"}));
  EXPECT_EQ(*e.GetClientSecurityRecordTail("Z"), (TList{"G1", "G2"}));
}

TEST(BaseAssetQueries, DefaultAndTemplateTables) {
  TSettingsEngine e("[BASEASSETS]\nGRP1=A1,2.5,b2\n[BASEASSETS_TEMPLATE_X]\nCLIENTS=C1, C2\n"
                    "G=A1,3\n[BASEASSETS_TEMPLATE_Y]\nCLIENTS=C1\nH=A1,4\n",
                    2);
  const std::tuple<const char*, const char*, const char*, double> cases[] = {
      {"A1", nullptr, "GRP1", 2.5}, {"B2", nullptr, "GRP1", 1.0},  // names match in upper case
      {"a1", nullptr, "GRP1", 2.5}, {"A1", "C1", "G", 3.0},         // template X sorts first
      {"A1", "C2", "G", 3.0},       {"A1", "C9", "GRP1", 2.5},      // no table: DEFAULT
      {"B2", "C1", nullptr, 1.0},   // no fallback inside a table
      {"CLIENTS", "C1", nullptr, 1.0}, {nullptr, "C1", nullptr, 1.0}, {"NONE", nullptr, nullptr, 1.0},
  };
  for (const auto& [name, client, group, coefficient] : cases) {
    EXPECT_EQ(Text(e.GetBaseAssetGroup(name, client)), Text(group)) << Text(name) << " " << Text(client);
    EXPECT_EQ(e.GetBaseAssetCoefficient(name, client), coefficient) << Text(name) << " " << Text(client);
  }
  TSettingsEngine other("[BASEASSETSX]\nK=Z9,0.5\n[BASEASSETS_TEMPLATE_E]\nCLIENTS=\nK=Z9,7\n", 2);
  EXPECT_EQ(other.GetBaseAssetCoefficient("Z9", "ANY"), 0.5);
  EXPECT_EQ(other.BaseAssets().size(), 1u);
}

TEST(ListQueries, CommaListTests) {
  TSettingsEngine e("[GENERAL]\nMAINMARGINCLASSES=\n", 2);
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"A", "A , B", true}, {"B", "A , B", true}, {" A", "A,B", false}, {"", "  ", false}, {"A", nullptr, false},
      {nullptr, "A", false}};
  for (const auto& [item, list, expected] : cases) EXPECT_EQ(e.IsItemInCommaList(item, list), expected) << Text(item);
  EXPECT_TRUE(e.IsMainMarginClass(""));  // the two added commas meet
  EXPECT_FALSE(e.IsMainMarginClass("EQBR"));
}

TEST(MarginQueries, FlagsOfTheLimitKindElseTheGeneralRecord) {
  TSettingsEngine e("[CLA_MARGIN]\nRSTRNMBUY=1\nRSTRTRANSFER=0\nUSECOMMONTRDACC=0\nUSEONLYMONEYLIMITFOROLDMARGIN=1\n"
                    "LONGMONEYTOSELLSHORT=1\nUSECORRELATION=0\n"
                    "[CLA_MARGIN_LIMITKIND_2]\nRSTRNMBUY=0\nSHORTMONEYTOBUYLONG=1\n", 2);
  using TQuery = bool (TSettingsEngine::*)(const char*, double, int);
  const TQuery nmBuy = &TSettingsEngine::GetRstrNmBuy, transfer = &TSettingsEngine::GetRstrTransfer,
               shortMoney = &TSettingsEngine::GetShortMoneyToBuyLong,
               longMoney = &TSettingsEngine::GetLongMoneyToSellShort,
               account = &TSettingsEngine::GetUseCommonTrdAcc, correlation = &TSettingsEngine::GetUseCorrelation,
               moneyOnly = &TSettingsEngine::GetMarginUseOnlyMoneyLimitForOldMargin;
  // A kind without a record takes the general one; a client without a
  // section answers from the broker's settings.
  const std::tuple<TQuery, const char*, int, bool> cases[] = {
      {nmBuy, "A", 0, true},     {nmBuy, "A", 2, false},     {nmBuy, "A", 5, true},      {transfer, "A", 0, false},
      {shortMoney, "A", 2, true}, {shortMoney, "A", 0, false}, {longMoney, "A", 0, true},  {account, "A", 0, false},
      {correlation, "A", 0, false}, {moneyOnly, "A", 0, true}, {nmBuy, "Z", 0, false},     {transfer, "Z", 0, true},
      {correlation, "Z", 1, true}, {account, nullptr, 0, true}, {longMoney, "Z", 0, false}, {moneyOnly, "Z", 0, false},
  };
  int row = 0;
  for (const auto& [query, client, kind, expected] : cases)
    EXPECT_EQ((e.*query)(client, -1.0, kind), expected) << row++;
}

TEST(MarginQueries, NegativeMoneyToShortAdmitsTheListedCodes) {
  TSettingsEngine e("[CLN_MARGIN]\nNEGATIVEMONEYTOSHORT=1,TQBR,EQBR\n[CLN_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n"
                    "[CLN_MARGIN_LIMITKIND_2]\nNEGATIVEMONEYTOSHORT=2,SPBFUT\n"
                    "[CLM_MARGIN]\nNEGATIVEMONEYTOSHORT=2\n[CLM_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n", 2);
  // The first entry is the kind. A kind's record without a list takes the
  // general record's list and keeps its own kind.
  const std::tuple<const char*, int, const char*, int> cases[] = {
      {"N", 0, "TQBR", 1},   {"N", 0, "EQBR", 1}, {"N", 0, "SPBFUT", 0}, {"N", 0, "1", 0},     {"N", 0, nullptr, 1},
      {"N", 1, "SPBFUT", 0}, {"N", 1, "TQBR", 1}, {"N", 2, "SPBFUT", 2}, {"N", 2, "TQBR", 0}, {"M", 0, "ANY", 2},
      {"M", 1, "ANY", 2},    {"Z", 0, "ANY", 0},
  };
  for (const auto& [client, kind, code, expected] : cases)
    EXPECT_EQ(e.GetNegativeMoneyToShort(client, -1.0, kind, code), expected) << client << kind << Text(code);
}

TEST(MarginQueries, SecurityListsOfTheBrokerAndTheClient) {
  TSettingsEngine e("[LIMITALLOWEDSECURITY]\nSECURITY_GAZP=<ALL>\nTQBR=SBER\nSECURITY_LKOH=EQBR\n"
                    "[RESTSHORTSECURITIES]\nTQBR=LKOH\n"
                    "[CLI_MARGIN]\nIGNORERESTSHORTSECURITY=1\nIGNORELIMITSECURITY=1\nIGNOREASSETSECURITY=1\n"
                    "[CLO_MARGIN]\nTQBR=MOEX\nTQBR_ASSET=AFLT\nTQBR_RESTSHORT=VTBR\n"
                    "[CLO_MARGIN_LIMITKIND_3]\nRSTRNMBUY=1\n[CLO_MARGIN_LIMITKIND_4]\nEQBR=YNDX\n",
                    2);
  using TQuery = bool (TSettingsEngine::*)(const char*, double, const char*, const char*, int);
  const TQuery asset = &TSettingsEngine::IsAssetSecurity, allowed = &TSettingsEngine::IsLimitAllowedSecurity,
               restShort = &TSettingsEngine::IsRestShortSecurity;
  const std::tuple<TQuery, const char*, const char*, const char*, int, bool> cases[] = {
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
  int row = 0;
  for (const auto& [query, client, key, security, kind, expected] : cases)
    EXPECT_EQ((e.*query)(client, -1.0, key, security, kind), expected) << row++;

  // Asset lists count only in the kind's own record; the others fall back
  // to the general record when the kind has none, and to the broker's.
  using THas = bool (TSettingsEngine::*)(const char*, double, int);
  const THas hasAsset = &TSettingsEngine::HasAssetLists, hasAllowed = &TSettingsEngine::HasLimitAllowedLists,
             hasRestShort = &TSettingsEngine::HasRestShortLists;
  TSettingsEngine bare("[SECURITYDISCOUNTS]\nSUR=1\n", 2);
  const std::tuple<TSettingsEngine*, THas, const char*, int, bool> has[] = {
      {&e, hasAsset, "O", 0, true},      {&e, hasAsset, "O", 3, false},     {&e, hasAsset, "O", 5, false},
      {&e, hasAllowed, "O", 3, false},   {&e, hasAllowed, "O", 5, true},    {&e, hasAllowed, "Z", 0, true},
      {&e, hasRestShort, "O", 0, true},  {&e, hasRestShort, "O", 3, false}, {&bare, hasAllowed, "Z", 0, false},
      {&bare, hasRestShort, "Z", 0, false}, {&bare, hasAsset, "Z", 0, false},
  };
  row = 0;
  for (const auto& [engine, query, client, kind, expected] : has)
    EXPECT_EQ((engine->*query)(client, -1.0, kind), expected) << row++;
}

TEST(MarginQueries, CorrelationsAndSecurityWeights) {
  TSettingsEngine e("[ADDCORRELATION]\nPAIR=a,1.5,b,2.5,1\n[SECURITYWEIGHT]\nSBER=2\n"
                    "[CL8_MARGIN]\nUSECORRELATION=0\n"
                    "[CLW_MARGIN]\nGAZP_COEF=3\nP_CORRELATION=c,1,d,2,0\n[CLW_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n", 2);
  auto code1 = [](const TCorrelationEntry* entry) { return entry ? entry->Code1 : "null"; };
  // The client's own list, else the general record's, else the broker's;
  // none when the client turns correlations off.
  const std::tuple<bool, const char*, const char*, int, const char*> cases[] = {
      {true, "PAIR", "Z", 0, "a"}, {false, "a", "Z", 0, "a"}, {false, "b", "Z", 0, "null"},
      {true, "PAIR", "8", 0, "null"},
      {true, nullptr, "Z", 0, "null"}, {true, "PAIR", "W", 0, "null"}, {true, "P", "W", 1, "c"}};
  for (const auto& [byName, text, client, kind, expected] : cases) {
    auto find = byName ? &TSettingsEngine::FindCorrelationByName : &TSettingsEngine::FindCorrelationByCode;
    EXPECT_EQ(code1((e.*find)(text, client, -1.0, kind)), expected) << Text(text) << " " << client;
  }
  auto weight = [&e](const char* client, const char* security, int kind) {
    const TSecurityWeight* w = e.FindSecurityWeight(client, -1.0, security, kind);
    return w ? w->W1 : -9.0;
  };
  EXPECT_EQ((std::vector<double>{weight("Z", "SBER", 0), weight("Z", "GAZP", 0), weight("W", "GAZP", 0),
                                 weight("W", "GAZP", 1), weight("W", "SBER", 0), weight("W", nullptr, 0)}),
            (std::vector<double>{2, -9, 3, 3, -9, -9}));
}

TEST(MarginQueries, LimitKindsAndLeverage) {
  TSettingsEngine e("[CLK_MARGIN]\nLIMITKINDS=1,2\nINCLUDECLIENTSWITHLEVERAGE=4\n"
                    "[CLK_MARGIN_LIMITKIND_2]\nLIMITKINDS=4\n"
                    "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\nRSTRNMBUY=1\n", 2);
  EXPECT_EQ(e.GetClientLimitKinds("K", -1.0), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 2), (std::vector<int>{4}));
  EXPECT_EQ(e.GetRecordLimitKinds("K", -1.0, 7), (std::vector<int>{1, 2}));
  const std::tuple<const char*, double, double> leverages[] = {
      {"K", 2.5, 2.5}, {"K", 0, 0}, {"K", -1, 4}, {"Z", -1, -1}};
  for (const auto& [client, value, expected] : leverages)
    EXPECT_EQ(e.GetIncludeClientsWithLeverage(client, 0, value), expected) << client << " " << value;
  // A client with leverage 3 takes the template chosen by it.
  EXPECT_TRUE(e.GetRstrNmBuy("ANY", 3.0, 0));
  EXPECT_FALSE(e.GetRstrNmBuy("ANY", 2.0, 0));
}

TEST(MarginQueries, DiscountsOfTheClientElseTheBroker) {
  TSettingsEngine e("[GENERAL]\nUSEDISCOUNTSTYPE=2\n[SECURITYDISCOUNTS]\nLKOH=0.5,0.6\n"
                    "[CLD_MARGIN]\nUSEDISCOUNTSTYPE=5\nSBER_DISC=0.1,0.2,0.3,0.4,0.05,0.06\nGAZP_DISC=2\n"
                    "USESECURITYDISCOUNTS=1\n[CLD_MARGIN_LIMITKIND_1]\nRSTRNMBUY=1\n", 2);
  EXPECT_EQ(e.GetDiscountSecurities("D", 0, -1.0), (TList{"GAZP", "SBER", "LKOH", "SUR"}));
  EXPECT_EQ(e.GetDiscountSecurities("Z", 0, -1.0), (TList{"LKOH", "SUR"}));
  // Security, client, kind, the six discounts, the discounts type and flag;
  // the type comes from the client's record when there is one.
  auto describe = [&e](const char* client, const char* security, int kind) {
    const TSecurityDiscountResult r = e.GetSecurityDiscount(client, security, kind, -1.0);
    std::ostringstream text;
    text << r.SecurityCode << "/" << r.ClientCode << "/" << r.LimitKind;
    for (double d : {r.D1, r.D2, r.D3, r.D4, r.D5, r.D6}) text << " " << d;
    text << " " << r.UseDiscountsType << r.UseSecurityDiscounts;
    return text.str();
  };
  EXPECT_EQ(describe("D", "SBER", 1), "SBER/D/1 0.1 0.2 0.3 0.4 0.05 0.06 51");
  EXPECT_EQ(describe("D", "LKOH", 0), "LKOH/D/0 0.5 0.6 -1 -1 -1 -1 51");
  EXPECT_EQ(describe("D", "NONE", 0), "//0 -1 -1 -1 -1 -1 -1 51");
  EXPECT_EQ(describe("Z", "LKOH", 0), "LKOH/Z/0 0.5 0.6 -1 -1 -1 -1 20");
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
      {plain, -10, 0, 0, {0.3, 0.4, eased, 0.2}}, {plain, 50, 0, 0, {0.3, 0.4, eased, 0.2}},
      {plain + "MINDISCRATELONG=1\nMINDISCRATESHORT=1\n", 100, 0, 0, {0.3, 0.4, 0.3, 0.4}},
      {set, 50, 0, 0, {0.51, 1.25, 0.3, 0.5}}, {set, 100, 0, 0, {1.0, noLimit, 1.0, noLimit}},
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
