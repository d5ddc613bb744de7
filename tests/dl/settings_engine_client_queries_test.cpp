// The engine's per-client queries: commissions by board, board lists,
// currencies, multi-currency lists, boards allowed, and the base assets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dl/engine/settings_engine.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;

TEST(ClientCommissionQuery, TheBoardEntryElseTheDefaultEntryOfTheClientsKind) {
  struct Case {
    const char* section;
    const char* board;
    double expected[5];  // type, broker, trade, one-second and trade-lot commissions
  };
  const Case cases[] = {
      {"TQBR_FIXED=2", "TQBR", {1, 2, 0, 0, 0}},
      {"TQBR_TRADE=0.03", "TQBR", {3, 0, 3, 0, 0}},
      {"TQBR_TRADE_MAX=0.01,7", "TQBR", {4, 7, 1, 0, 0}},
      {"TQBR_1SEC=0.02", "TQBR", {5, 0, 0, 2, 0}},
      {"TQBR_TRADELOT=0.04", "TQBR", {6, 0, 0, 0, 4}},
      {"TQBR_TRADE_MAX_1SEC=0.01,0.05", "TQBR", {7, 0, 1, 5, 0}},
      {"TQBR_FIXED=2\nTQBR_TRADE=0.03", "TQBR", {1, 2, 0, 0, 0}},  // the first map decides
      {"TQBR_FIXED=2", "OTHER", {1, 0, 0, 0, 0}},
      {"COMMISSIONTYPE=6\nDEFAULT_TRADELOT=0.04", "OTHER", {6, 0, 0, 0, 4}},
      {"COMMISSIONTYPE=1\nDEFAULT_TRADELOT=0.04", "OTHER", {1, 0, 0, 0, 0}},
      {"COMMISSIONTYPE=3\nTQBR_TRADE=0.3\nDEFAULT_TRADE=0.5", "OTHER", {3, 0, 50, 0, 0}},
      {"COMMISSIONTYPE=4\nDEFAULT_TRADE_MAX=0.02,9", "OTHER", {4, 9, 2, 0, 0}},
      {"COMMISSIONTYPE=7\nDEFAULT_TRADE_MAX_1SEC=0.02,0.09", "OTHER", {7, 0, 2, 9, 0}},
      {"COMMISSIONTYPE=5\nDEFAULT_1SEC=0.03\nDEFAULT_TRADELOT=1", "OTHER", {5, 0, 0, 3, 0}},
      {"COMMISSIONTYPE=1\nBROKERCOMMISSION=4\nDEFAULT_TRADE=0.5", "OTHER", {1, 4, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    TSettingsEngine e(("[CLX]\n" + std::string(c.section) + "\n").c_str(), 2);
    const TClientCommSettings r = e.GetClientCommissionSettings("X", c.board);
    const double got[5] = {double(r.CommissionType), r.BrokerCommission, r.TradeCommission,
                           r.OneSecCommission, r.TradeLotCommission};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(got[i], c.expected[i], 1e-9) << c.section << " #" << i;
  }
}

TEST(ClientCommissionQuery, AnswerDependsOnlyOnClientAndBoard) {
  TSettingsEngine e("[CLF]\nCETS_FIXED=2\nTQBR_TRADE_MAX=0.1,7\nDEFAULT_TRADE=0.5\n", 2);
  EXPECT_EQ(e.GetClientCommissionSettings("F", "CETS").BrokerCommission, 2.0);
  EXPECT_EQ(e.GetClientCommissionSettings("F", "TQBR").CommissionType, 4);
  const TClientCommSettings other = e.GetClientCommissionSettings("F", "OTHER");
  EXPECT_EQ(other.CommissionType, 1);
  EXPECT_EQ(other.BrokerCommission, 0.0);
  EXPECT_EQ(other.TradeCommission, 0.0);
}

TEST(ClientCommissionQuery, ScaleOfTheClientBoardAndTradingPoint) {
  TSettingsEngine e("[COMMISSIONSCALE]\nMINVALUE=10\nMAXVALUE=20\nMINVOLUME=3\nTRADECOMMISSION=0.05\n"
                    "100=0.04\n[CLS_COMMISSIONSCALE]\nMINVALUE=2\n[CLP]\nTPNAME=T2\n"
                    "[TPT2_BDTQBR_COMMISSIONSCALE]\nMINVALUE=8\n",
                    2);
  const TClientCommSettings general = e.GetClientCommissionSettings("Z", "TQBR");
  EXPECT_EQ((std::vector<double>{general.ScaleMinVolume, general.ScaleMinValue,
                                 general.ScaleMaxValue, general.ScaleTradeCommission}),
            (std::vector<double>{300, 1000, 2000, 5}));
  EXPECT_EQ(general.ScaleRates, (std::map<double, double>{{10000, 0.04}}));
  EXPECT_EQ(e.GetClientCommissionSettings("S", "TQBR").ScaleMinValue, 200.0);
  EXPECT_EQ(e.GetClientCommissionSettings("P", "TQBR").ScaleMinValue, 800.0);
}

TEST(ClientBoardListQuery, GroupOfTheBoardForScaleClients) {
  TSettingsEngine e("[GENERAL]\nUSECOMMISSIONSCALE=1\n[COMMISSION]\nREPOBROKER=9\n"
                    "[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n[U5]\nCOMMISSION=1\n[U2]\n",
                    2);
  const TBoardGroup& reply = e.GetClientBoardList("TQBR", "Z");
  EXPECT_EQ(reply.Boards, (TList{"TQBR", "TQBS"}));
  EXPECT_EQ(reply.GroupKind, 1);
  EXPECT_TRUE(reply.GroupFlag);
  EXPECT_EQ(reply.OtherBoards, (std::vector<int>{2, 5}));
  TSettingsEngine fixed("[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n[COMMISSION]\nREPOBROKER=0.00000001\n", 2);
  const TBoardGroup& none = fixed.GetClientBoardList("TQBR", "Z");
  EXPECT_EQ(none.GroupKind, 0);
  EXPECT_TRUE(none.Boards.empty() && none.OtherBoards.empty());
  EXPECT_FALSE(none.GroupFlag);
}

TEST(CurrencyQueries, GeneralGroupsAndClientGroups) {
  TSettingsEngine e("[GENERAL]\nSUPPORTMULTICURRENCY=1\n[CLIENTSNOMULTICURRENCY]\nNM=\n"
                    "[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CURRENCY2]\nMAIN=CNY\nKZT=0.2\n"
                    "[CLA]\nCURRENCY_MAIN=SUR\nCURRENCY_USD=75.5\ncurrency2_cny=11\n"
                    "[CLB]\nCURRENCY_MAIN=SUR\nCURRENCY2_MAIN=CNY\nCURRENCY2_KZT=0.3\n",
                    2);
  EXPECT_TRUE(e.IsMultiCurrencyClient("Z"));
  EXPECT_FALSE(e.IsMultiCurrencyClient("NM"));
  struct Case {
    const char* client;
    const char* currency;
    double coefficient;
    const char* entry;
  };
  const Case cases[] = {
      {"Z", "EUR", 1.5, "USD"},  {"Z", "USD", 1.0, "USD"},  {"Z", "KZT", 0.2, "CNY"},
      {"Z", "CNY", 1.0, "CNY"},  {"Z", "XXX", 1.0, nullptr}, {"Z", nullptr, 0.0, nullptr},
      {"NM", "EUR", 0.0, nullptr}, {"A", "USD", 75.5, "SUR"}, {"A", "SUR", 1.0, "SUR"},
      {"A", "CNY", 11.0, nullptr},  // the client's second main code is empty
      {"B", "CNY", 1.0, "CNY"},  {"B", "KZT", 0.3, "CNY"},  {"B", "EUR", 1.0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.client) + " " + (c.currency ? c.currency : "null"));
    EXPECT_EQ(e.GetCurrencyCoefficient(c.client, c.currency), c.coefficient);
    const char* entry = e.FindClientCurrencyEntry(c.client, c.currency);
    EXPECT_EQ(std::string(entry ? entry : "null"), c.entry ? c.entry : "null");
  }
  TSettingsEngine single("[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CLIENTSNOMULTICURRENCY]\nNM=\n", 2);
  EXPECT_FALSE(single.IsMultiCurrencyClient("Z"));
  EXPECT_EQ(single.GetCurrencyCoefficient("Z", "EUR"), 0.0);
}

TEST(SecurityRestrictionQueries, MultiCurrencyListsOfTheClientElseTheGeneralOnes) {
  TSettingsEngine e("[AddMultiCurrency]\nK=USD, EUR\n[CLA]\naddmulticurrency_sur=usd,eur\n", 2);
  EXPECT_TRUE(e.CheckSecurityRestriction("Z", "K", "USD", "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", "USD", "CHF"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", "CHF", "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", nullptr, "USD", "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", nullptr, "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", "USD", nullptr));
  EXPECT_FALSE(e.CheckSecurityRestriction("A", "K", "USD", "EUR"));
  EXPECT_TRUE(e.CheckSecurityRestriction("A", "SUR", "usd", "eur"));
  EXPECT_EQ(e.FindSecurityRestriction("Z", "K"), (TList{"USD", "EUR"}));
  EXPECT_TRUE(e.FindSecurityRestriction("Z", nullptr).empty());
  EXPECT_TRUE(e.FindSecurityRestriction("A", "K").empty());
  for (const char* client : {"", static_cast<const char*>(nullptr), "A", "Z"})
    EXPECT_TRUE(e.GetClientSecurityFlag(client)) << (client ? client : "null");
  TSettingsEngine none("[CLA]\nCURRBOARDS=X\n", 2);
  for (const char* client : {"", "A", "Z"}) EXPECT_FALSE(none.GetClientSecurityFlag(client));
}

TEST(SecurityRestrictionQueries, BoardsAllowedAndCheckLimitExemptions) {
  TSettingsEngine e("[CURRBOARDS]\nCETS=\n[GENERAL]\nIGNORECHECKLIMITS=G1,G2\n"
                    "[CLA]\nCURRBOARDS=TQBR, EQBR\nIGNORECHECKLIMITS=X\n",
                    2);
  const std::pair<const char*, bool> cases[] = {
      {"A TQBR", true}, {"A EQBR", true}, {"A CETS", true},  // the general boards
      {"A SPBFUT", false}, {"Z CETS", true}, {"Z TQBR", false},
  };
  for (const auto& [text, allowed] : cases) {
    const std::string clientAndBoard(text);
    EXPECT_EQ(e.IsClientBoardAllowed(clientAndBoard.substr(0, 1), clientAndBoard.substr(2)), allowed)
        << text;
  }
  EXPECT_EQ(*e.GetClientSecurityRecordTail("A"), (TList{"X"}));
  EXPECT_EQ(*e.GetClientSecurityRecordTail("Z"), (TList{"G1", "G2"}));
}

TEST(BaseAssetQueries, DefaultAndTemplateTables) {
  TSettingsEngine e("[BASEASSETS]\nGRP1=A1,2.5,b2\n[BASEASSETS_TEMPLATE_X]\nCLIENTS=C1, C2\n"
                    "G=A1,3\n[BASEASSETS_TEMPLATE_Y]\nCLIENTS=C1\nH=A1,4\n",
                    2);
  struct Case {
    const char* name;
    const char* client;
    const char* group;
    double coefficient;
  };
  const Case cases[] = {
      {"A1", nullptr, "GRP1", 2.5}, {"B2", nullptr, "GRP1", 1.0},  // names match in upper case
      {"a1", nullptr, "GRP1", 2.5}, {"A1", "C1", "G", 3.0},         // template X sorts first
      {"A1", "C2", "G", 3.0},       {"A1", "C9", "GRP1", 2.5},      // no table: DEFAULT
      {"B2", "C1", nullptr, 1.0},   // no fallback inside a table
      {"CLIENTS", "C1", nullptr, 1.0}, {nullptr, "C1", nullptr, 1.0}, {"NONE", nullptr, nullptr, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name ? c.name : "null") + " " + (c.client ? c.client : "null"));
    const char* group = e.GetBaseAssetGroup(c.name, c.client);
    EXPECT_EQ(std::string(group ? group : "null"), c.group ? c.group : "null");
    EXPECT_EQ(e.GetBaseAssetCoefficient(c.name, c.client), c.coefficient);
  }
  TSettingsEngine other("[BASEASSETSX]\nK=Z9,0.5\n[BASEASSETS_TEMPLATE_E]\nCLIENTS=\nK=Z9,7\n", 2);
  EXPECT_EQ(other.GetBaseAssetCoefficient("Z9", "ANY"), 0.5);
  EXPECT_EQ(other.BaseAssets().size(), 1u);
}

TEST(ListQueries, CommaListTests) {
  TSettingsEngine e("[GENERAL]\nMAINMARGINCLASSES=\n", 2);
  EXPECT_TRUE(e.IsItemInCommaList("A", "A , B"));
  EXPECT_TRUE(e.IsItemInCommaList("B", "A , B"));
  EXPECT_FALSE(e.IsItemInCommaList(" A", "A,B"));
  EXPECT_FALSE(e.IsItemInCommaList("", "  "));
  EXPECT_FALSE(e.IsItemInCommaList("A", nullptr));
  EXPECT_FALSE(e.IsItemInCommaList(nullptr, "A"));
  EXPECT_TRUE(e.IsMainMarginClass(""));  // the two added commas meet
  EXPECT_FALSE(e.IsMainMarginClass("EQBR"));
  EXPECT_FALSE(e.IsMainMarginClass(nullptr));
}

}  // namespace
}  // namespace DL
