// The board tariff map built from a settings text: the DEFAULT tariff, the
// built-in boards with the broker's overrides, boards named only by the
// override sections, and the minimum-fee boards.
#include "dl/engine/board_tariffs.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>

#include "dl/engine/built_in_boards.h"
#include "dl/store/ini_file.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

// The engine's default list of minimum-fee classes.
const char kDefaultMinTs[] =
    "EQBR,EQNS,EQNL,EQBS,EQNE,EQNB,EQOB,EQOS,EQNO,EQLV,EQLI,EQOV,EQQI,PSEQ,PSES,PSNE,PSNL,PSI2,"
    "PSLV,PSLI,PSQI,EQDB,PSNB,PSNO,PSOB,PSOS,PSOV,PSDB,EQEU,PSEU,SMAL,EQDP,OQQI,PSQI_BND,GAZP,"
    "AUCT,AUBB,AUCT_BND,PSAU,PSBB,PSSU,EQUS,PSUS,EQDE,PSDE,EQRP,EQRP_BND,PSRP,PSRP_BND,PSTN,"
    "PSTN_BND,TQBR,TQBS,TQLV,TQLI,TQNE,TQQI,TQNL,TQOB,TQOS,TQNO,TQOV,TQNB,TQUS,TQEU,PTEQ,PTES,"
    "PTNL,PTLV,PTLI,PTNE,PTQI,PTOB,PTOS,PTNO,PTOV,PTNB,PTUS,PTEU";

class BoardTariffsTest : public ::testing::Test {
 protected:
  void Build(const std::string& text, const std::string& minTs = kDefaultMinTs,
             const std::string& ignore = "") {
    ini_.Parse(text.c_str(), TIniFile::kSourceText, ';', 1);
    minTs_ = SplitCommaList(minTs);
    ignore_ = SplitCommaList(ignore);
    tariffs_.Build(ini_, minTs_, ignore_);
  }
  const TNormalTariff& Normal(const char* board) {
    const auto* tariff = dynamic_cast<const TNormalTariff*>(tariffs_.GetBoardTariff(board));
    EXPECT_NE(tariff, nullptr) << board;
    static const TNormalTariff kMissing(-9, -9, -9, TOverrideRates{}, false);
    return tariff ? *tariff : kMissing;
  }

  TIniFile ini_;
  std::vector<std::string> minTs_;
  std::vector<std::string> ignore_;
  TBoardTariffs tariffs_;
};

void ExpectNoOverrides(const TOverrideRates& o) {
  EXPECT_EQ(o.Ts, -1.0);
  EXPECT_EQ(o.Org, -1.0);
  EXPECT_EQ(o.Clearing, -1.0);
}

TEST_F(BoardTariffsTest, EmptyTextGivesOneHundredAndFiveTariffs) {
  Build("");
  EXPECT_EQ(kBuiltInBoardCount, 87u);
  EXPECT_EQ(tariffs_.Tariffs().size(), 105u);

  const TNormalTariff& fallback = Normal("DEFAULT");
  EXPECT_EQ(fallback.Rates().Ts, 0.0105);
  EXPECT_EQ(fallback.Rates().Org, 0.0);
  EXPECT_EQ(fallback.Rates().Clearing, 0.0);
  ExpectNoOverrides(fallback.Overrides());
  EXPECT_FALSE(fallback.MinimumFee());

  // Minimum-fee classes without a built-in tariff: the [COMMISSION] rates
  // with the flag.
  for (const char* code : {"EQNS", "PSTN", "PSTN_BND", "PTEQ", "PTEU"}) {
    SCOPED_TRACE(code);
    const TNormalTariff& t = Normal(code);
    EXPECT_EQ(t.Rates().Ts, 0.0105);
    EXPECT_TRUE(t.MinimumFee());
    ExpectNoOverrides(t.Overrides());
  }
}

TEST_F(BoardTariffsTest, BuiltInBoardsHaveTheirClassesAndFlags) {
  Build("");
  std::map<std::string, int> perClass;
  for (std::size_t i = 0; i < kBuiltInBoardCount; ++i) {
    const ABoardTariff* t = tariffs_.GetBoardTariff(kBuiltInBoards[i].Code);
    ASSERT_NE(t, nullptr);
    ++perClass[typeid(*t).name()];
  }
  EXPECT_EQ(perClass[typeid(TNormalTariff).name()], 32);
  EXPECT_EQ(perClass[typeid(TOtherBondsTariff).name()], 13);
  EXPECT_EQ(perClass[typeid(TBondsTariff).name()], 11);
  EXPECT_EQ(perClass[typeid(TGZBBondsAtREPO).name()], 7);
  EXPECT_EQ(perClass[typeid(TExchangeREPO).name()], 6);
  EXPECT_EQ(perClass[typeid(TBondsAtNegot).name()], 5);
  EXPECT_EQ(perClass[typeid(TGZBSharesBondsAtMain).name()], 5);
  EXPECT_EQ(perClass[typeid(TModifiedREPO).name()], 4);
  EXPECT_EQ(perClass[typeid(TSharesEuroBondsAtREPO).name()], 2);
  EXPECT_EQ(perClass[typeid(TDarkPool).name()], 1);
  EXPECT_EQ(perClass[typeid(TGZBBondsAtNegot).name()], 1);

  EXPECT_TRUE(Normal("TQBR").MinimumFee());   // in the default list
  EXPECT_FALSE(Normal("EQCC").MinimumFee());  // not in it
  EXPECT_EQ(Normal("EQOC").Rates().Ts, 0.006);
  const auto* dark = dynamic_cast<const TDarkPool*>(tariffs_.GetBoardTariff("EQDP"));
  ASSERT_NE(dark, nullptr);
  EXPECT_TRUE(dark->MinimumFee());
  const auto* eqrp = dynamic_cast<const TExchangeREPO*>(tariffs_.GetBoardTariff("EQRP"));
  ASSERT_NE(eqrp, nullptr);
  EXPECT_EQ(eqrp->Rates().Clearing, 0.00035);
  EXPECT_EQ(eqrp->Minimums().Clearing, 140.0);
}

TEST_F(BoardTariffsTest, LongTermRepoClearingIsTheCommissionClearingRate) {
  Build("[COMMISSION]\nCLEARING=0.05\n");
  const auto* repo = dynamic_cast<const TSharesEuroBondsAtREPO*>(tariffs_.GetBoardTariff("RPEU"));
  ASSERT_NE(repo, nullptr);
  EXPECT_EQ(repo->LongTermClearingRate(), 0.05);
  EXPECT_EQ(Normal("DEFAULT").Rates().Clearing, 0.05);
}

TEST_F(BoardTariffsTest, OverrideKeysAreUpperCased) {
  Build("[BOARDCOMMISSION]\ntqbr=0.01\n");
  const TNormalTariff& t = Normal("TQBR");
  EXPECT_EQ(t.Overrides().Ts, 0.01);
  EXPECT_EQ(t.Overrides().Org, -1.0);
  EXPECT_EQ(t.Overrides().Clearing, -1.0);
  EXPECT_EQ(t.Rates().Ts, 0.0025);  // the built-in rate stays
}

TEST_F(BoardTariffsTest, OverrideThatIsNoNumberIsZero) {
  Build("[BOARDCOMMISSION]\nTQBR=abc\n");
  double fees[3];
  tariffs_.GetBoardTariff("TQBR")->CalcFees(fees, 1e6, 0, 0);
  EXPECT_EQ(fees[kTsFee], 0.0);
  EXPECT_DOUBLE_EQ(fees[kOrgFee], 35.0);
}

TEST_F(BoardTariffsTest, BoardNamedOnlyByOverrideSections) {
  Build(
      "[COMMISSION]\nORG=0.003\n[BOARDCOMMISSION]\nXXXX=0.02\n[CLEARINGCOMMISSION]\nXXXX=0.001\n"
      "[ORGCOMMISSION]\nYYYY=0.5\n");
  const TNormalTariff& x = Normal("XXXX");
  EXPECT_EQ(x.Rates().Ts, 0.02);
  EXPECT_EQ(x.Rates().Org, 0.003);
  EXPECT_EQ(x.Rates().Clearing, 0.001);
  ExpectNoOverrides(x.Overrides());
  EXPECT_FALSE(x.MinimumFee());
  const TNormalTariff& y = Normal("YYYY");
  EXPECT_EQ(y.Rates().Ts, 0.0105);
  EXPECT_EQ(y.Rates().Org, 0.5);
  EXPECT_EQ(y.Rates().Clearing, 0.0);
}

TEST_F(BoardTariffsTest, OverrideSectionsComeBeforeTheMinimumFeeBoards) {
  Build("[BOARDCOMMISSION]\nEQNS=0.02\n");
  const TNormalTariff& t = Normal("EQNS");
  EXPECT_FALSE(t.MinimumFee());
  EXPECT_EQ(t.Rates().Ts, 0.02);
}

TEST_F(BoardTariffsTest, LowerCaseMinimumFeeEntry) {
  Build("", "abcd,TQBR");
  EXPECT_TRUE(Normal("ABCD").MinimumFee());
  EXPECT_FALSE(IsMinTsCommClass("ABCD", minTs_, ignore_));
  EXPECT_TRUE(IsMinTsCommClass("abcd", minTs_, ignore_));
  EXPECT_FALSE(Normal("EQBR").MinimumFee());  // no longer listed
}

TEST_F(BoardTariffsTest, IgnoredMinimumFeeClasses) {
  Build("", kDefaultMinTs, "TQBR,EQNS");
  EXPECT_FALSE(Normal("TQBR").MinimumFee());
  EXPECT_EQ(tariffs_.GetBoardTariff("EQNS"), tariffs_.GetBoardTariff("DEFAULT"));
  EXPECT_FALSE(IsMinTsCommClass("TQBR", minTs_, ignore_));
  EXPECT_TRUE(IsMinTsCommClass("TQBS", minTs_, ignore_));
  EXPECT_FALSE(IsMinTsCommClass(nullptr, minTs_, ignore_));
}

TEST_F(BoardTariffsTest, LookupIsExactAndFallsBackToDefault) {
  Build("[COMMISSION]\nTS=0.2\n");
  const ABoardTariff* fallback = tariffs_.GetBoardTariff("DEFAULT");
  EXPECT_EQ(tariffs_.GetBoardTariff("tqbr"), fallback);
  EXPECT_EQ(tariffs_.GetBoardTariff("NOPE"), fallback);
  EXPECT_EQ(tariffs_.GetBoardTariff(""), fallback);
  EXPECT_EQ(tariffs_.GetBoardTariff(nullptr), fallback);
  EXPECT_NE(tariffs_.GetBoardTariff("TQBR"), fallback);
  EXPECT_EQ(Normal("DEFAULT").Rates().Ts, 0.2);
}

TEST(CommissionSections, ReadAsUpperCasedKeysAndNumbers) {
  TIniFile ini("[orgcommission]\nabc=1.5\nDef=x\n", TIniFile::kSourceText, ';', 1);
  const TCommissionRates rates = ReadCommissionSection(ini, "OrgCommission");
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_EQ(rates.at("ABC"), 1.5);
  EXPECT_EQ(rates.at("DEF"), 0.0);
  EXPECT_TRUE(ReadCommissionSection(ini, "ABSENT").empty());

  const TOverrideRates o = GetBoardCommissionOverrides("abc", rates, {}, rates);
  EXPECT_EQ(o.Ts, 1.5);
  EXPECT_EQ(o.Org, -1.0);
  EXPECT_EQ(o.Clearing, 1.5);
}

}  // namespace
}  // namespace DL
