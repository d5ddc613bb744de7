// Security restrictions per client and the board groups of commission scales.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dl/store/board_groups.h"
#include "dl/store/cache_item_id.h"
#include "dl/store/ini_file.h"
#include "dl/store/security_restrictions.h"

namespace DL {
namespace {

using TList = std::vector<std::string>;
using TLists = std::map<std::string, TList>;

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

TEST(SecurityRestrictionsCache, GeneralValues) {
  auto none = Parse("[GENERAL]\nIGNORECHECKLIMITS=\n");
  TCacheOfSecurityRestrictions plain(none.get());
  const TClientSecurityRestrictions& p = *plain.GetDefault();
  EXPECT_FALSE(p.HasMultiCurrency || p.UseOnlyMoneyLimitForOldMargin || p.HasCurrencyRates);
  EXPECT_TRUE(p.MultiCurrencyLists.empty() && p.IgnoreCheckLimits.empty());

  auto some = Parse("[AddMultiCurrency]\nSUR=USD,EUR\nsur2=CNY\n"
                    "[GENERAL]\nIGNORECHECKLIMITS=A, B\nUSEONLYMONEYLIMITFOROLDMARGIN=2\n");
  TCacheOfSecurityRestrictions general(some.get());
  const TClientSecurityRestrictions& d = *general.GetDefault();
  EXPECT_TRUE(d.HasMultiCurrency && d.UseOnlyMoneyLimitForOldMargin);
  EXPECT_EQ(d.MultiCurrencyLists, (TLists{{"SUR", {"USD", "EUR"}}, {"sur2", {"CNY"}}}));
  EXPECT_EQ(d.IgnoreCheckLimits, (TList{"A", "B"}));
  EXPECT_FALSE(d.HasCurrencyRates);
}

TEST(SecurityRestrictionsCache, ClientSection) {
  auto ini = Parse("[GENERAL]\nUSEONLYMONEYLIMITFOROLDMARGIN=1\nIGNORECHECKLIMITS=G\n[AddMultiCurrency]\nX=Y\n"
                   "[CLA]\nCURRENCY_MAIN=SUR\nCURRENCY_USD=75.5\nCURRENCY_EUR=\ncurrency2_cny=11\n"
                   "CURRENCY2_MAIN=\nCURRBOARDS=TQBR, EQBR,CETS\naddmulticurrency_sur=usd,eur\n"
                   "[CLB]\nUSEONLYMONEYLIMITFOROLDMARGIN=\nIGNORECHECKLIMITS=\n"
                   "[CLC]\nUSEONLYMONEYLIMITFOROLDMARGIN=0\nIGNORECHECKLIMITS=X,Y\n"
                   "[CLD]\nOTHER=1\n[CLE]\nCURRENCY2_KZT=2\n");
  TCacheOfSecurityRestrictions cache(ini.get());
  auto get = [&](const char* client) { return *cache.Get(TIniCacheItemID(client, "", "")); };
  const TClientSecurityRestrictions a = get("A");
  EXPECT_TRUE(a.HasCurrencyRates);
  EXPECT_EQ(a.MainCurrency + "/" + a.MainCurrency2, "SUR/");
  EXPECT_EQ(a.CurrencyRates, (std::map<std::string, double>{{"USD", 75.5}}));
  EXPECT_EQ(a.Currency2Rates, (std::map<std::string, double>{{"CNY", 11.0}}));
  EXPECT_EQ(a.CurrBoards, (TList{"CETS", "EQBR", "TQBR"}));
  EXPECT_TRUE(a.HasMultiCurrency);
  EXPECT_EQ(a.MultiCurrencyLists, (TLists{{"SUR", {"usd", "eur"}}}));
  EXPECT_TRUE(a.UseOnlyMoneyLimitForOldMargin);
  EXPECT_TRUE(a.IgnoreCheckLimits.empty());  // nothing falls back
  const TClientSecurityRestrictions b = get("B");
  EXPECT_TRUE(b.UseOnlyMoneyLimitForOldMargin);
  EXPECT_TRUE(b.IgnoreCheckLimits.empty());
  EXPECT_FALSE(b.HasMultiCurrency || b.HasCurrencyRates);
  const TClientSecurityRestrictions c = get("C");
  EXPECT_FALSE(c.UseOnlyMoneyLimitForOldMargin);
  EXPECT_EQ(c.IgnoreCheckLimits, (TList{"X", "Y"}));
  EXPECT_TRUE(get("D").UseOnlyMoneyLimitForOldMargin);
  EXPECT_TRUE(get("E").HasCurrencyRates);
  EXPECT_EQ(get("E").Currency2Rates.at("KZT"), 2.0);
  EXPECT_EQ(cache.Get(TIniCacheItemID("F", "", "")), cache.GetDefault());
}

TEST(BoardGroups, GroupsOfTheSection) {
  auto ini = Parse("[COMMISSIONSCALEBOARDS]\nTQBR,TQBS=1\nEQBR=\n[COMMISSIONSCALEBOARDS_TP1]\nSPB=1\n");
  TaggedStringMap tables(ini.get());
  struct Case {
    const char* board;
    const char* tradingPoint;
    bool found;
    TList boards;
    int kind;
  };
  const Case cases[] = {
      {"TQBR", "", true, {"TQBR", "TQBS"}, 1}, {"TQBS", "", true, {"TQBR", "TQBS"}, 1},
      {"EQBR", "", true, {"EQBR"}, 1},         {"CETS", "", false, {"EQBR", "TQBR", "TQBS"}, 2},
      {"SPB", "TP1", true, {"SPB"}, 1},        {"TQBR", "TP1", false, {"SPB"}, 2},
      // No section for the trading point: prohibited boards hold one empty code.
      {"TQBR", "TP2", false, {""}, 2},
  };
  for (const Case& c : cases) {
    TBoardGroup group;
    group.OtherBoards = {99};
    EXPECT_EQ(GetBoardGroup(tables, TIniCacheItemID("", c.board, c.tradingPoint), group), c.found)
        << c.board << " at " << c.tradingPoint;
    EXPECT_EQ(group.Boards, c.boards) << c.board << " at " << c.tradingPoint;
    EXPECT_EQ(group.GroupKind, c.kind) << c.board << " at " << c.tradingPoint;
    EXPECT_TRUE(group.OtherBoards.empty());
    EXPECT_FALSE(group.GroupFlag);
  }
  EXPECT_EQ(tables.Tables.size(), 3u);
  auto twice = Parse("[COMMISSIONSCALEBOARDS]\nA,B=1\nB,C=1\n");
  auto table = ReadBoardLists(*twice, "");
  EXPECT_EQ(table->at("B").Boards, (TList{"A", "B"}));  // the first group naming a board wins
  EXPECT_EQ(table->at(kProhibitedBoards).Boards, (TList{"A", "B", "B", "C"}));
  TBoardGroup group;
  EXPECT_FALSE(FindBoardGroup(TBoardGroupTable(), TIniCacheItemID("", "A", ""), group));
  EXPECT_TRUE(group.Boards.empty());
}

}  // namespace
}  // namespace DL
