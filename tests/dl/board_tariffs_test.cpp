// Board tariffs: the fees of every tariff class (the worked numbers of the
// exchange's tariffs, caps, minima, term buckets, overrides and the
// minimum-fee floor), and the tariff map built from a settings text.
#include "dl/engine/board_tariffs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "dl/engine/board_tariff.h"
#include "dl/engine/built_in_boards.h"
#include "dl/store/ini_file.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const TOverrideRates kNone;

struct TFeeCase {
  std::string name;
  std::shared_ptr<ABoardTariff> tariff;
  double amount;
  std::uint32_t repoDays;
  std::uint32_t bondDays;
  double ts;
  double org;
  double clearing;
};

std::shared_ptr<ABoardTariff> Shares(bool minimumFee, TOverrideRates overrides = {}) {
  return std::make_shared<TNormalTariff>(0.0025, 0.0035, 0.004, overrides, minimumFee);
}

std::shared_ptr<ABoardTariff> Rpma(TOverrideRates overrides = {}) {
  return std::make_shared<TExchangeREPO>(3.6e-05, 3.6e-05, 0.000168, 30.0, 30.0, 140.0, overrides);
}

std::vector<TFeeCase> FeeCases() {
  auto dark = std::make_shared<TDarkPool>(kNone, false);
  auto bonds = std::make_shared<TBondsTariff>(kNone, false);
  auto bondsFloor = std::make_shared<TBondsTariff>(kNone, true);
  auto negot = std::make_shared<TBondsAtNegot>(kNone, false);
  auto other = std::make_shared<TOtherBondsTariff>(kNone, false);
  auto euroRepo = std::make_shared<TSharesEuroBondsAtREPO>(0.07, kNone);
  auto modified = std::make_shared<TModifiedREPO>(kNone);
  auto gzbMain = std::make_shared<TGZBSharesBondsAtMain>(kNone);
  auto gzbNegot = std::make_shared<TGZBBondsAtNegot>(kNone);
  auto gzbRepo = std::make_shared<TGZBBondsAtREPO>(kNone);
  return {
      {"shares", Shares(false), 1000000, 0, 0, 25.0, 35.0, 40.0},
      {"shares floor", Shares(true), 1000, 0, 0, 1.0, 1.0, 1.0},
      {"shares small, no floor", Shares(false), 1000, 0, 0, 0.025, 0.035, 0.04},
      {"shares ignore days", Shares(false), 1000000, 99, 99, 25.0, 35.0, 40.0},
      {"dark pool capped", dark, 1e10, 0, 0, 37500.0, 52500.0, 60000.0},
      {"dark pool below caps", dark, 1e6, 0, 0, 12.5, 17.5, 20.0},
      {"bonds 100 days", bonds, 1e6, 0, 100, 30.0, 35.0, 35.0},
      {"bonds 101 days flat", bonds, 1e6, 0, 101, 30.0, 35.0, 35.0},
      {"bonds 10 days", bonds, 1e6, 0, 10, 3.0, 3.5, 3.5},
      {"bonds 0 days", bonds, 1e6, 0, 0, 0.0, 0.0, 0.0},
      {"bonds 0 days floor", bondsFloor, 1e6, 0, 0, 1.0, 1.0, 1.0},
      {"bonds read bond days only", bonds, 1e6, 50, 10, 3.0, 3.5, 3.5},
      {"bonds at negot capped", negot, 1e11, 0, 200, 60000.0, 70000.0, 70000.0},
      {"bonds at negot per day", negot, 1e6, 0, 50, 15.0, 17.5, 17.5},
      {"bonds at negot 100 days", negot, 1e6, 0, 100, 30.0, 35.0, 35.0},
      {"bonds at negot 101 days flat", negot, 1e6, 0, 101, 30.0, 35.0, 35.0},
      {"other bonds 150 days", other, 1e6, 0, 150, 45.0, 52.5, 52.5},
      {"other bonds 151 days flat", other, 1e6, 0, 151, 45.0, 52.5, 52.5},
      {"other bonds 100 days", other, 1e6, 0, 100, 30.0, 35.0, 35.0},
      {"euro repo 0 days fixed", euroRepo, 5.0, 0, 0, 1500.0, 1500.0, 1500.0},
      {"euro repo 1 day", euroRepo, 1e6, 1, 0, 25.0, 35.0, 40.0},
      {"euro repo 2 days", euroRepo, 1e6, 2, 0, 45.0, 45.0, 60.0},
      {"euro repo 7 days", euroRepo, 1e6, 7, 0, 45.0, 45.0, 60.0},
      {"euro repo 8 days", euroRepo, 1e6, 8, 0, 45.0, 45.0, 110.0},
      {"euro repo 21 days", euroRepo, 1e6, 21, 0, 45.0, 45.0, 110.0},
      {"euro repo 22 days", euroRepo, 1e6, 22, 0, 45.0, 45.0, 200.0},
      {"euro repo 30 days", euroRepo, 1e6, 30, 0, 45.0, 45.0, 200.0},
      {"euro repo 31 days", euroRepo, 1e6, 31, 0, 45.0, 45.0, 400.0},
      {"euro repo 90 days", euroRepo, 1e6, 90, 0, 45.0, 45.0, 400.0},
      {"euro repo 91 days long term", euroRepo, 1e6, 91, 0, 45.0, 45.0, 700.0},
      {"modified repo 0 days minimum", modified, 1e6, 0, 0, 500.0, 500.0, 500.0},
      {"modified repo 1 day minimum", modified, 1e6, 1, 0, 500.0, 500.0, 500.0},
      {"modified repo 10 days", modified, 1e9, 10, 0, 10000.0, 10000.0, 15000.0},
      {"modified repo 0 days large", modified, 1e10, 0, 0, 10000.0, 10000.0, 15000.0},
      {"gzb main per day", gzbMain, 1e6, 0, 100, 0.0, 100.0, 0.0},
      {"gzb main flat", gzbMain, 1e6, 0, 101, 0.0, 100.0, 0.0},
      {"gzb main 10 days", gzbMain, 1e6, 0, 10, 0.0, 10.0, 0.0},
      {"gzb negot per day 200", gzbNegot, 1e6, 0, 200, 0.0, 200.0, 0.0},
      {"gzb negot flat 201", gzbNegot, 1e6, 0, 201, 0.0, 200.0, 0.0},
      {"gzb negot capped", gzbNegot, 1e10, 0, 201, 0.0, 500000.0, 0.0},
      {"gzb repo per day on repo days", gzbRepo, 1e6, 100, 0, 30.0, 35.0, 35.0},
      {"gzb repo flat", gzbRepo, 1e6, 101, 7, 30.0, 35.0, 35.0},
      {"gzb repo 100 days", gzbRepo, 1e6, 100, 0, 30.0, 35.0, 35.0},
      {"exchange repo minima", Rpma(), 1e6, 7, 0, 30.0, 30.0, 140.0},
      {"exchange repo 0 days is 1 day", Rpma(), 1e9, 0, 0, 360.0, 360.0, 1680.0},
      {"exchange repo above minima", Rpma(), 1e9, 7, 0, 2520.0, 2520.0, 11760.0},
  };
}

void ExpectFees(const ABoardTariff& tariff, double amount, std::uint32_t repoDays,
                std::uint32_t bondDays, std::vector<double> expected) {
  double fees[3] = {-7.0, -7.0, -7.0};
  EXPECT_EQ(tariff.CalcFees(fees, amount, repoDays, bondDays), fees);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(fees[i], expected[i], 1e-9 * (1.0 + std::fabs(expected[i]))) << i;
}

TEST(BoardTariffFees, EveryClassComputesItsThreeFees) {
  for (const TFeeCase& c : FeeCases()) {
    SCOPED_TRACE(c.name);
    ExpectFees(*c.tariff, c.amount, c.repoDays, c.bondDays, {c.ts, c.org, c.clearing});
  }
  // RPMA, 7 days: a hundred million shows the per-day amounts above the minima.
  ExpectFees(*Rpma(), 1e8, 7, 0, {252.0, 252.0, 1176.0});
  ExpectFees(*Shares(false), -1e6, 0, 0, {-25.0, -35.0, -40.0});
  ExpectFees(*Shares(true), -1e6, 0, 0, {1.0, 1.0, 1.0});
  ExpectFees(TModifiedREPO(kNone), 0.0, 3, 0, {500.0, 500.0, 500.0});
  EXPECT_EQ(Shares(true)->PercentBase(), 100.0);
}

TEST(BoardTariffFees, OverridesReplaceAComponentWithoutFloorOrCap) {
  TOverrideRates zeroTs;
  zeroTs.Ts = 0.0;
  ExpectFees(*Shares(true, zeroTs), 1000, 0, 0, {0.0, 1.0, 1.0});  // set to 0.0: no floor
  ExpectFees(TDarkPool({0.01, 0.02, 0.03}, false), 1e10, 0, 0, {1e6, 2e6, 3e6});  // not capped
  ExpectFees(TGZBSharesBondsAtMain({0.1, -1.0, 0.2}), 1000.0, 0, 5, {1.0, 0.005, 2.0});
  const TOverrideRates org{-1.0, 0.5, -1.0};
  const std::shared_ptr<ABoardTariff> tariffs[] = {
      Shares(false, org), std::make_shared<TDarkPool>(org, false),
      std::make_shared<TBondsAtNegot>(org, false), std::make_shared<TBondsTariff>(org, false),
      std::make_shared<TOtherBondsTariff>(org, false), std::make_shared<TSharesEuroBondsAtREPO>(0.0, org),
      std::make_shared<TModifiedREPO>(org), std::make_shared<TGZBSharesBondsAtMain>(org),
      std::make_shared<TGZBBondsAtNegot>(org), std::make_shared<TGZBBondsAtREPO>(org), Rpma(org),
  };
  for (const auto& tariff : tariffs) {
    double fees[3];
    tariff->CalcFees(fees, 1000.0, 0, 0);
    EXPECT_DOUBLE_EQ(fees[kOrgFee], 5.0) << &tariff - tariffs;
  }
  ExpectFees(*Rpma(org), 1000.0, 0, 0, {30.0, 5.0, 140.0});  // the others keep their minima
}

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
