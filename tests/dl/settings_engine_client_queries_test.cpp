// The engine's per-client queries: commissions by board, board lists,
// currencies, multi-currency lists, boards allowed, and the base assets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dl/engine/settings_engine.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;

TEST(ClientCommissionQuery, BoardEntryThenDefaultEntryOfTheClientsKind) {
  TSettingsEngine e("[CLT]\nCOMMISSIONTYPE=3\nTQBR_TRADE=0.3\nDEFAULT_TRADE=0.5\n", 2);
  const TClientCommSettings board = e.GetClientCommissionSettings("T", "TQBR");
  EXPECT_EQ(board.CommissionType, 3);
  EXPECT_EQ(board.TradeCommission, board.TradeByBoard.at("TQBR"));
  const TClientCommSettings other = e.GetClientCommissionSettings("T", "OTHER");
  EXPECT_EQ(other.CommissionType, 3);
  EXPECT_EQ(other.TradeCommission, other.TradeByBoard.at("DEFAULT"));
  EXPECT_NE(board.TradeCommission, other.TradeCommission);
}

TEST(ClientCommissionQuery, AnswerDependsOnlyOnClientAndBoard) {
  const char text[] = "[CLF]\nCETS_FIXED=2\nTQBR_TRADE_MAX=0.1,7\nDEFAULT_TRADE=0.5\n";
  TSettingsEngine fresh(text, 2);
  const TClientCommSettings expected = fresh.GetClientCommissionSettings("F", "OTHER");

  TSettingsEngine e(text, 2);
  const TClientCommSettings cets = e.GetClientCommissionSettings("F", "CETS");
  EXPECT_EQ(cets.CommissionType, 1);
  EXPECT_EQ(cets.BrokerCommission, cets.FixedByBoard.at("CETS"));
  const TClientCommSettings tqbr = e.GetClientCommissionSettings("F", "TQBR");
  EXPECT_EQ(tqbr.CommissionType, 4);
  EXPECT_EQ(tqbr.TradeCommission, tqbr.TradeMaxByBoard.at("TQBR").first);
  EXPECT_EQ(tqbr.BrokerCommission, tqbr.TradeMaxByBoard.at("TQBR").second);
  // The first map holding DEFAULT is of kind 3, the client's kind is 1:
  // nothing is copied, and nothing left over from the earlier boards shows.
  const TClientCommSettings other = e.GetClientCommissionSettings("F", "OTHER");
  EXPECT_EQ(other.CommissionType, expected.CommissionType);
  EXPECT_EQ(other.BrokerCommission, expected.BrokerCommission);
  EXPECT_EQ(other.TradeCommission, expected.TradeCommission);
  EXPECT_NE(other.BrokerCommission, cets.BrokerCommission);
}

TEST(ClientCommissionQuery, ScaleOfTheClientBoardAndTradingPoint) {
  TSettingsEngine e("[COMMISSIONSCALE]\nMINVALUE=10\n100=0.04\n[CLS_COMMISSIONSCALE]\nMINVALUE=2\n",
                    2);
  const TClientCommSettings general = e.GetClientCommissionSettings("Z", "TQBR");
  EXPECT_EQ(general.ScaleMinValue, 1000.0);
  EXPECT_EQ(general.ScaleRates.size(), 1u);
  const TClientCommSettings own = e.GetClientCommissionSettings("S", "TQBR");
  EXPECT_EQ(own.ScaleMinValue, 200.0);
  EXPECT_TRUE(own.ScaleRates.empty());
}

TEST(ClientBoardListQuery, GroupOfTheBoardForScaleClients) {
  TSettingsEngine e(
      "[GENERAL]\nUSECOMMISSIONSCALE=1\n[COMMISSION]\nREPOBROKER=9\n"
      "[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n[U5]\nCOMMISSION=1\n[U2]\n",
      2);
  const TBoardGroup& reply = e.GetClientBoardList("TQBR", "Z");
  EXPECT_EQ(reply.Boards, (TList{"TQBR", "TQBS"}));
  EXPECT_NE(reply.GroupKind, 0);
  EXPECT_TRUE(reply.GroupFlag);
  ASSERT_GE(reply.OtherBoards.size(), 2u);
  EXPECT_EQ(reply.OtherBoards[reply.OtherBoards.size() - 2], 2);
  EXPECT_EQ(reply.OtherBoards.back(), 5);

  TSettingsEngine fixed("[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\n", 2);
  const TBoardGroup& none = fixed.GetClientBoardList("TQBR", "Z");
  EXPECT_EQ(none.GroupKind, 0);
  EXPECT_TRUE(none.Boards.empty());
  EXPECT_TRUE(none.OtherBoards.empty());
  EXPECT_FALSE(none.GroupFlag);
}

const char kCurrencies[] =
    "[GENERAL]\nSUPPORTMULTICURRENCY=1\n[CLIENTSNOMULTICURRENCY]\nNM=\n"
    "[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CURRENCY2]\nMAIN=CNY\nKZT=0.2\n"
    "[CLA]\nCURRENCY_MAIN=SUR\nCURRENCY_USD=75.5\ncurrency2_cny=11\n";

TEST(CurrencyQueries, GeneralGroupsAndClientGroups) {
  TSettingsEngine e(kCurrencies, 2);
  EXPECT_TRUE(e.IsMultiCurrencyClient("Z"));
  EXPECT_FALSE(e.IsMultiCurrencyClient("NM"));
  EXPECT_EQ(e.GetCurrencyCoefficient("Z", "EUR"), 1.5);
  EXPECT_EQ(e.GetCurrencyCoefficient("Z", "USD"), 1.0);
  EXPECT_EQ(e.GetCurrencyCoefficient("Z", "KZT"), 0.2);
  EXPECT_EQ(e.GetCurrencyCoefficient("Z", "XXX"), 1.0);
  EXPECT_EQ(e.GetCurrencyCoefficient("Z", nullptr), 0.0);
  EXPECT_EQ(e.GetCurrencyCoefficient("NM", "EUR"), 0.0);
  EXPECT_EQ(e.GetCurrencyCoefficient("A", "USD"), 75.5);
  EXPECT_EQ(e.GetCurrencyCoefficient("A", "SUR"), 1.0);
  EXPECT_EQ(e.GetCurrencyCoefficient("A", "CNY"), 11.0);

  EXPECT_STREQ(e.FindClientCurrencyEntry("Z", "EUR"), "USD");
  EXPECT_STREQ(e.FindClientCurrencyEntry("Z", "USD"), "USD");
  EXPECT_STREQ(e.FindClientCurrencyEntry("Z", "KZT"), "CNY");
  EXPECT_EQ(e.FindClientCurrencyEntry("Z", "XXX"), nullptr);
  EXPECT_EQ(e.FindClientCurrencyEntry("NM", "EUR"), nullptr);
  EXPECT_EQ(e.FindClientCurrencyEntry("Z", nullptr), nullptr);
  EXPECT_STREQ(e.FindClientCurrencyEntry("A", "USD"), "SUR");
  EXPECT_EQ(e.FindClientCurrencyEntry("A", "CNY"), nullptr);  // the second main code is empty

  TSettingsEngine single("[CURRENCY]\nMAIN=USD\nEUR=1.5\n[CLIENTSNOMULTICURRENCY]\nNM=\n", 2);
  EXPECT_FALSE(single.IsMultiCurrencyClient("Z"));
  EXPECT_EQ(single.GetCurrencyCoefficient("Z", "EUR"), 0.0);
}

TEST(SecurityRestrictionQueries, MultiCurrencyListsOfTheClientElseTheGeneralOnes) {
  TSettingsEngine e("[AddMultiCurrency]\nK=USD, EUR\n[CLA]\naddmulticurrency_sur=usd,eur\n", 2);
  EXPECT_TRUE(e.CheckSecurityRestriction("Z", "K", "USD", "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", "USD", "CHF"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", nullptr, "USD", "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("Z", "K", nullptr, "EUR"));
  EXPECT_FALSE(e.CheckSecurityRestriction("A", "K", "USD", "EUR"));
  EXPECT_TRUE(e.CheckSecurityRestriction("A", "SUR", "usd", "eur"));
  EXPECT_EQ(e.FindSecurityRestriction("Z", "K"), (TList{"USD", "EUR"}));
  EXPECT_TRUE(e.FindSecurityRestriction("Z", nullptr).empty());
  EXPECT_TRUE(e.FindSecurityRestriction("A", "K").empty());
  // Asking changes nothing: the general answer is the same afterwards.
  EXPECT_TRUE(e.CheckSecurityRestriction("Z", "K", "USD", "EUR"));

  EXPECT_TRUE(e.GetClientSecurityFlag(""));  // the general value
  EXPECT_TRUE(e.GetClientSecurityFlag(nullptr));
  EXPECT_TRUE(e.GetClientSecurityFlag("A"));
  EXPECT_TRUE(e.GetClientSecurityFlag("Z"));  // the default record holds the general lists
  TSettingsEngine none("[CLA]\nCURRBOARDS=X\n", 2);
  EXPECT_FALSE(none.GetClientSecurityFlag(""));
  EXPECT_FALSE(none.GetClientSecurityFlag("Z"));
  EXPECT_FALSE(none.GetClientSecurityFlag("A"));
}

TEST(SecurityRestrictionQueries, BoardsAllowedAndCheckLimitExemptions) {
  TSettingsEngine e(
      "[CURRBOARDS]\nCETS=\n[GENERAL]\nIGNORECHECKLIMITS=G1,G2\n"
      "[CLA]\nCURRBOARDS=TQBR, EQBR\nIGNORECHECKLIMITS=X\n",
      2);
  EXPECT_TRUE(e.IsClientBoardAllowed("A", "TQBR"));
  EXPECT_TRUE(e.IsClientBoardAllowed("A", "CETS"));  // the general boards
  EXPECT_FALSE(e.IsClientBoardAllowed("A", "SPBFUT"));
  EXPECT_TRUE(e.IsClientBoardAllowed("Z", "CETS"));
  EXPECT_FALSE(e.IsClientBoardAllowed("Z", "TQBR"));
  EXPECT_EQ(*e.GetClientSecurityRecordTail("A"), (TList{"X"}));
  EXPECT_EQ(*e.GetClientSecurityRecordTail("Z"), (TList{"G1", "G2"}));
}

TEST(BaseAssetQueries, DefaultAndTemplateTables) {
  TSettingsEngine e(
      "[BASEASSETS]\nGRP1=A1,2.5,b2\n[BASEASSETS_TEMPLATE_X]\nCLIENTS=C1, C2\n"
      "G=A1,3\n[BASEASSETS_TEMPLATE_Y]\nCLIENTS=C1\nH=A1,4\n",
      2);
  EXPECT_EQ(e.GetBaseAssetCoefficient("A1", nullptr), 2.5);
  EXPECT_STREQ(e.GetBaseAssetGroup("A1", nullptr), "GRP1");
  EXPECT_EQ(e.GetBaseAssetCoefficient("B2", nullptr), 1.0);
  EXPECT_STREQ(e.GetBaseAssetGroup("B2", nullptr), "GRP1");  // names match in upper case
  EXPECT_STREQ(e.GetBaseAssetGroup("a1", nullptr), "GRP1");
  EXPECT_EQ(e.GetBaseAssetCoefficient("A1", "C1"), 3.0);  // template X sorts first
  EXPECT_STREQ(e.GetBaseAssetGroup("A1", "C2"), "G");
  EXPECT_EQ(e.GetBaseAssetCoefficient("A1", "C9"), 2.5);  // no table: DEFAULT
  EXPECT_EQ(e.GetBaseAssetGroup("B2", "C1"), nullptr);    // no fallback inside a table
  EXPECT_EQ(e.GetBaseAssetGroup("CLIENTS", "C1"), nullptr);
  EXPECT_EQ(e.GetBaseAssetGroup(nullptr, "C1"), nullptr);
  EXPECT_EQ(e.GetBaseAssetCoefficient("NONE", nullptr), 1.0);

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
