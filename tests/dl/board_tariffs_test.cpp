// Board tariffs: the fees of every tariff class (the worked numbers of the
// exchange's tariffs, caps, minima, term buckets, overrides and the
// minimum-fee floor), and the tariff map built from a settings text.
#include "dl/engine/board_tariffs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "dl/engine/board_tariff.h"
#include "dl/engine/built_in_boards.h"
#include "dl/engine/settings_engine.h"
#include "dl/store/ini_file.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const TOverrideRates kNone;

void ExpectFees(const ABoardTariff& tariff, double amount, std::uint32_t repoDays,
                std::uint32_t bondDays, std::vector<double> expected) {
  double fees[3] = {-7.0, -7.0, -7.0};
  EXPECT_EQ(tariff.CalcFees(fees, amount, repoDays, bondDays), fees);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(fees[i], expected[i], 1e-9 * (1.0 + std::fabs(expected[i]))) << i;
}

struct TFeeCase {
  double amount;
  std::uint32_t repoDays;
  std::uint32_t bondDays;
  std::vector<double> fees;  // trading system, organiser, clearing
};

TEST(BoardTariffFees, EveryClassComputesItsThreeFees) {
  using std::make_shared;
  const std::pair<std::shared_ptr<ABoardTariff>, std::vector<TFeeCase>> cases[] = {
      // Rates per hundred of the amount; the floor raises each fee below 1 to 1.
      {make_shared<TNormalTariff>(0.0025, 0.0035, 0.004, kNone, false),
       {{1e6, 0, 0, {25, 35, 40}}, {1000, 0, 0, {0.025, 0.035, 0.04}}, {1e6, 99, 99, {25, 35, 40}},
        {-1e6, 0, 0, {-25, -35, -40}}}},
      {make_shared<TNormalTariff>(0.0025, 0.0035, 0.004, kNone, true),
       {{1000, 0, 0, {1, 1, 1}}, {-1e6, 0, 0, {1, 1, 1}}}},
      {make_shared<TDarkPool>(kNone, false), {{1e10, 0, 0, {37500, 52500, 60000}}, {1e6, 0, 0, {12.5, 17.5, 20}}}},
      // Per day up to 100 bond days, then flat; bond days only.
      {make_shared<TBondsTariff>(kNone, false),
       {{1e6, 0, 100, {30, 35, 35}}, {1e6, 0, 101, {30, 35, 35}}, {1e6, 0, 10, {3, 3.5, 3.5}},
        {1e6, 0, 0, {0, 0, 0}}, {1e6, 50, 10, {3, 3.5, 3.5}}}},
      {make_shared<TBondsTariff>(kNone, true), {{1e6, 0, 0, {1, 1, 1}}}},
      {make_shared<TBondsAtNegot>(kNone, false),
       {{1e11, 0, 200, {60000, 70000, 70000}}, {1e6, 0, 50, {15, 17.5, 17.5}}, {1e6, 0, 100, {30, 35, 35}},
        {1e6, 0, 101, {30, 35, 35}}}},
      {make_shared<TOtherBondsTariff>(kNone, false),
       {{1e6, 0, 150, {45, 52.5, 52.5}}, {1e6, 0, 151, {45, 52.5, 52.5}}, {1e6, 0, 100, {30, 35, 35}}}},
      // A fixed fee at 0 days, the one-day rates, then clearing by term.
      {make_shared<TSharesEuroBondsAtREPO>(0.07, kNone),
       {{5, 0, 0, {1500, 1500, 1500}}, {1e6, 1, 0, {25, 35, 40}}, {1e6, 2, 0, {45, 45, 60}}, {1e6, 7, 0, {45, 45, 60}},
        {1e6, 8, 0, {45, 45, 110}}, {1e6, 21, 0, {45, 45, 110}}, {1e6, 22, 0, {45, 45, 200}},
        {1e6, 30, 0, {45, 45, 200}}, {1e6, 31, 0, {45, 45, 400}}, {1e6, 90, 0, {45, 45, 400}},
        {1e6, 91, 0, {45, 45, 700}}}},
      {make_shared<TModifiedREPO>(kNone),
       {{1e6, 0, 0, {500, 500, 500}}, {1e6, 1, 0, {500, 500, 500}}, {1e9, 10, 0, {10000, 10000, 15000}},
        {1e10, 0, 0, {10000, 10000, 15000}}, {0, 3, 0, {500, 500, 500}}}},
      {make_shared<TGZBSharesBondsAtMain>(kNone),
       {{1e6, 0, 100, {0, 100, 0}}, {1e6, 0, 101, {0, 100, 0}}, {1e6, 0, 10, {0, 10, 0}}}},
      {make_shared<TGZBBondsAtNegot>(kNone),
       {{1e6, 0, 200, {0, 200, 0}}, {1e6, 0, 201, {0, 200, 0}}, {1e10, 0, 201, {0, 500000, 0}},
        {1e12, 0, 5, {0, 500000, 0}}}},
      {make_shared<TGZBBondsAtREPO>(kNone), {{1e6, 100, 0, {30, 35, 35}}, {1e6, 101, 7, {30, 35, 35}}}},
      // Per day with 0 days as one, raised to the minima.
      {make_shared<TExchangeREPO>(3.6e-05, 3.6e-05, 0.000168, 30.0, 30.0, 140.0, kNone),
       {{1e6, 7, 0, {30, 30, 140}}, {1e9, 0, 0, {360, 360, 1680}}, {1e9, 7, 0, {2520, 2520, 11760}},
        {1e8, 7, 0, {252, 252, 1176}}}},
  };
  for (const auto& [tariff, fees] : cases) {
    const auto& board = *tariff;
    for (const TFeeCase& c : fees) {
      SCOPED_TRACE(std::string(typeid(board).name()) + " " + std::to_string(c.amount) + " " +
                   std::to_string(c.repoDays) + "/" + std::to_string(c.bondDays));
      ExpectFees(*tariff, c.amount, c.repoDays, c.bondDays, c.fees);
    }
  }
  EXPECT_EQ(cases[0].first->PercentBase(), 100.0);
}

TEST(BoardTariffFees, OverridesReplaceAComponentWithoutFloorOrCap) {
  TOverrideRates zeroTs;
  zeroTs.Ts = 0.0;
  ExpectFees(TNormalTariff(0.0025, 0.0035, 0.004, zeroTs, true), 1000, 0, 0, {0.0, 1.0, 1.0});  // no floor
  ExpectFees(TDarkPool({0.01, 0.02, 0.03}, false), 1e10, 0, 0, {1e6, 2e6, 3e6});  // not capped
  ExpectFees(TGZBSharesBondsAtMain({0.1, -1.0, 0.2}), 1000.0, 0, 5, {1.0, 0.005, 2.0});
  const TOverrideRates org{-1.0, 0.5, -1.0};
  const std::shared_ptr<ABoardTariff> tariffs[] = {
      std::make_shared<TNormalTariff>(1, 1, 1, org, false), std::make_shared<TDarkPool>(org, false),
      std::make_shared<TBondsAtNegot>(org, false), std::make_shared<TBondsTariff>(org, false),
      std::make_shared<TOtherBondsTariff>(org, false), std::make_shared<TSharesEuroBondsAtREPO>(0.0, org),
      std::make_shared<TModifiedREPO>(org), std::make_shared<TGZBSharesBondsAtMain>(org),
      std::make_shared<TGZBBondsAtNegot>(org), std::make_shared<TGZBBondsAtREPO>(org),
  };
  for (const auto& tariff : tariffs) {
    double fees[3];
    tariff->CalcFees(fees, 1000.0, 0, 0);
    EXPECT_DOUBLE_EQ(fees[kOrgFee], 5.0) << &tariff - tariffs;
  }
  // The others keep their minima.
  ExpectFees(TExchangeREPO(3.6e-05, 3.6e-05, 0.000168, 30.0, 30.0, 140.0, org), 1000.0, 0, 0, {30.0, 5.0, 140.0});
}

// The class of a board's tariff, its rates, overrides and minimum-fee flag.
std::string Describe(const ABoardTariff* tariff) {
  std::ostringstream text;
  auto rates = [&text](const char* name, double ts, double org, double clearing) {
    text << " " << name << " " << ts << " " << org << " " << clearing;
  };
  if (const auto* normal = dynamic_cast<const TNormalTariff*>(tariff)) {
    rates("normal", normal->Rates().Ts, normal->Rates().Org, normal->Rates().Clearing);
    rates("overrides", normal->Overrides().Ts, normal->Overrides().Org, normal->Overrides().Clearing);
    text << (normal->MinimumFee() ? " floor" : "");
  } else if (const auto* repo = dynamic_cast<const TExchangeREPO*>(tariff)) {
    rates("repo", repo->Rates().Ts, repo->Rates().Org, repo->Rates().Clearing);
    rates("minima", repo->Minimums().Ts, repo->Minimums().Org, repo->Minimums().Clearing);
  } else if (const auto* euro = dynamic_cast<const TSharesEuroBondsAtREPO*>(tariff)) {
    text << " euro repo " << euro->LongTermClearingRate();
  } else if (const auto* dark = dynamic_cast<const TDarkPool*>(tariff)) {
    text << " dark pool" << (dark->MinimumFee() ? " floor" : "");
  }
  return text.str().substr(1);
}

// The tariffs of the engine built over a settings text, board by board.
TEST(BoardTariffs, TheMapOfASettingsText) {
  const char* const fallback = "normal 0.0105 0 0 overrides -1 -1 -1";
  const char* const shares = "normal 0.0025 0.0035 0.004 overrides -1 -1 -1";
  const char* const ignore = "[GENERAL]\nIGNOREMINTSCOMMFORCLASSES=TQBR,EQNS\n";
  const std::tuple<const char*, const char*, std::string> cases[] = {
      // Minimum-fee classes without a built-in tariff: the [COMMISSION] rates with the floor.
      {"", "DEFAULT", fallback}, {"", "EQNS", fallback + std::string(" floor")},
      {"", "PTEU", fallback + std::string(" floor")}, {"", "TQBR", shares + std::string(" floor")},
      {"", "EQCC", shares}, {"", "EQOC", "normal 0.006 0.0065 0.0065 overrides -1 -1 -1"},
      {"", "EQDP", "dark pool floor"}, {"", "EQRP", "repo 7.5e-05 7.5e-05 0.00035 minima 30 30 140"},
      {"", "RPMA", "repo 3.6e-05 3.6e-05 0.000168 minima 30 30 140"},
      {"[COMMISSION]\nCLEARING=0.05\nTS=0.2\n", "RPEU", "euro repo 0.05"},
      {"[COMMISSION]\nCLEARING=0.05\nTS=0.2\n", "DEFAULT", "normal 0.2 0 0.05 overrides -1 -1 -1"},
      // Override keys are upper-cased; the built-in rates stay.
      {"[BOARDCOMMISSION]\ntqbr=0.01\n[orgcommission]\nTQBR=x\n", "TQBR",
       "normal 0.0025 0.0035 0.004 overrides 0.01 0 -1 floor"},
      // A board named only by the override sections: each component from its section, else [COMMISSION].
      {"[COMMISSION]\nORG=0.003\n[BOARDCOMMISSION]\nXXXX=0.02\n[CLEARINGCOMMISSION]\nXXXX=0.001\n"
       "[ORGCOMMISSION]\nYYYY=0.5\n", "XXXX", "normal 0.02 0.003 0.001 overrides -1 -1 -1"},
      {"[COMMISSION]\nORG=0.003\n[ORGCOMMISSION]\nYYYY=0.5\n[CLEARINGCOMMISSION]\nYYYY=0.25\n", "YYYY",
       "normal 0.0105 0.5 0.25 overrides -1 -1 -1"},
      {"[COMMISSION]\nORG=0.003\n[CLEARINGCOMMISSION]\nZZZZ=0.1\n", "ZZZZ",
       "normal 0.0105 0.003 0.1 overrides -1 -1 -1"},
      // They come before the minimum-fee boards.
      {"[BOARDCOMMISSION]\nEQNS=0.02\n", "EQNS", "normal 0.02 0 0 overrides -1 -1 -1"},
      {"[GENERAL]\nMINTSCOMMCLASSES=abcd,TQBR\n", "ABCD", fallback + std::string(" floor")},
      {"[GENERAL]\nMINTSCOMMCLASSES=abcd,TQBR\n", "EQBR", shares}, {ignore, "TQBR", shares},
      {ignore, "EQNS", fallback}, {"", "tqbr", fallback}, {"", "NOPE", fallback}, {"", "", fallback},
  };
  for (const auto& [text, board, tariff] : cases) {
    TSettingsEngine engine(text, 2);
    EXPECT_EQ(Describe(engine.GetBoardTariff(board)), tariff) << text << " " << board;
    EXPECT_EQ(engine.GetBoardTariff(nullptr), engine.GetBoardTariff("DEFAULT"));
  }
  const TSettingsEngine engine("", 2);
  EXPECT_EQ(engine.BoardTariffs().Tariffs().size(), 105u);
  std::map<std::string, int> perClass;
  for (std::size_t i = 0; i < kBuiltInBoardCount; ++i) {
    const auto& board = *engine.GetBoardTariff(kBuiltInBoards[i].Code);
    ++perClass[typeid(board).name()];
  }
  const std::pair<const std::type_info&, int> classes[] = {
      {typeid(TNormalTariff), 32}, {typeid(TOtherBondsTariff), 13}, {typeid(TBondsTariff), 11},
      {typeid(TGZBBondsAtREPO), 7}, {typeid(TExchangeREPO), 6}, {typeid(TBondsAtNegot), 5},
      {typeid(TGZBSharesBondsAtMain), 5}, {typeid(TModifiedREPO), 4}, {typeid(TSharesEuroBondsAtREPO), 2},
      {typeid(TDarkPool), 1}, {typeid(TGZBBondsAtNegot), 1},
  };
  for (const auto& [type, count] : classes) EXPECT_EQ(perClass[type.name()], count) << type.name();
}

TEST(BoardTariffs, MinimumFeeClassesAndOverrides) {
  // The list compares exactly: "ABCD" is not "abcd".
  EXPECT_FALSE(IsMinTsCommClass("ABCD", {"abcd"}, {}));
  TIniFile ini("[orgcommission]\nabc=1.5\nDef=x\n", TIniFile::kSourceText, ';', 1);
  const TCommissionRates rates = ReadCommissionSection(ini, "OrgCommission");
  EXPECT_EQ(rates, (TCommissionRates{{"ABC", 1.5}, {"DEF", 0.0}}));
  EXPECT_TRUE(ReadCommissionSection(ini, "ABSENT").empty());
  const TOverrideRates o = GetBoardCommissionOverrides("abc", rates, {}, rates);
  EXPECT_EQ((std::vector<double>{o.Ts, o.Org, o.Clearing}), (std::vector<double>{1.5, -1, 1.5}));
}

}  // namespace
}  // namespace DL
