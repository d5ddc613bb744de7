// Fees of every tariff class: the worked numbers of the exchange's tariffs,
// caps, minima, term buckets, overrides and the minimum-fee floor.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dl/engine/board_tariff.h"

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
      {"exchange repo minima", Rpma(), 1e6, 7, 0, 30.0, 30.0, 140.0},
      {"exchange repo 0 days is 1 day", Rpma(), 1e9, 0, 0, 360.0, 360.0, 1680.0},
      {"exchange repo above minima", Rpma(), 1e9, 7, 0, 2520.0, 2520.0, 11760.0},
  };
}

TEST(BoardTariffFees, EveryClassComputesItsThreeFees) {
  for (const TFeeCase& c : FeeCases()) {
    SCOPED_TRACE(c.name);
    double fees[3] = {-7.0, -7.0, -7.0};
    const double* result = c.tariff->CalcFees(fees, c.amount, c.repoDays, c.bondDays);
    EXPECT_EQ(result, fees);
    EXPECT_NEAR(fees[kTsFee], c.ts, 1e-9 * (1.0 + c.ts));
    EXPECT_NEAR(fees[kOrgFee], c.org, 1e-9 * (1.0 + c.org));
    EXPECT_NEAR(fees[kClearingFee], c.clearing, 1e-9 * (1.0 + c.clearing));
  }
}

TEST(BoardTariffFees, ExchangeRepoPerDayAmountsBeforeTheMinima) {
  // RPMA, 7 days, one million: 2.52, 2.52 and 11.76 are raised to the minima;
  // a hundred times the amount shows the raw per-day values.
  double fees[3];
  Rpma()->CalcFees(fees, 1e8, 7, 0);
  EXPECT_NEAR(fees[kTsFee], 252.0, 1e-9);
  EXPECT_NEAR(fees[kOrgFee], 252.0, 1e-9);
  EXPECT_NEAR(fees[kClearingFee], 1176.0, 1e-9);
}

TEST(BoardTariffFees, OverrideReplacesComponentWithoutFloorOrCap) {
  double fees[3];
  TOverrideRates zeroTs;
  zeroTs.Ts = 0.0;
  Shares(true, zeroTs)->CalcFees(fees, 1000, 0, 0);
  EXPECT_EQ(fees[kTsFee], 0.0);  // set to 0.0: no floor
  EXPECT_EQ(fees[kOrgFee], 1.0);
  EXPECT_EQ(fees[kClearingFee], 1.0);

  TOverrideRates all{0.01, 0.02, 0.03};
  TDarkPool(all, false).CalcFees(fees, 1e10, 0, 0);
  EXPECT_DOUBLE_EQ(fees[kTsFee], 1e6);  // not capped
  EXPECT_DOUBLE_EQ(fees[kOrgFee], 2e6);
  EXPECT_DOUBLE_EQ(fees[kClearingFee], 3e6);
}

TEST(BoardTariffFees, OverridesApplyToEveryClassIncludingExchangeRepo) {
  const TOverrideRates org{-1.0, 0.5, -1.0};
  std::vector<std::shared_ptr<ABoardTariff>> tariffs = {
      Shares(false, org),
      std::make_shared<TDarkPool>(org, false),
      std::make_shared<TBondsAtNegot>(org, false),
      std::make_shared<TBondsTariff>(org, false),
      std::make_shared<TOtherBondsTariff>(org, false),
      std::make_shared<TSharesEuroBondsAtREPO>(0.0, org),
      std::make_shared<TModifiedREPO>(org),
      std::make_shared<TGZBSharesBondsAtMain>(org),
      std::make_shared<TGZBBondsAtNegot>(org),
      std::make_shared<TGZBBondsAtREPO>(org),
      Rpma(org),
  };
  for (std::size_t i = 0; i < tariffs.size(); ++i) {
    SCOPED_TRACE(i);
    double fees[3];
    tariffs[i]->CalcFees(fees, 1000.0, 0, 0);
    EXPECT_DOUBLE_EQ(fees[kOrgFee], 5.0);
  }
  double fees[3];
  Rpma(org)->CalcFees(fees, 1000.0, 0, 0);
  EXPECT_EQ(fees[kTsFee], 30.0);  // not overridden: still the minimum
}

TEST(BoardTariffFees, GzbTariffsChargeOnlyTheOrganiserUnlessOverridden) {
  const TOverrideRates tsAndClearing{0.1, -1.0, 0.2};
  double fees[3];
  TGZBSharesBondsAtMain(tsAndClearing).CalcFees(fees, 1000.0, 0, 5);
  EXPECT_DOUBLE_EQ(fees[kTsFee], 1.0);
  EXPECT_DOUBLE_EQ(fees[kClearingFee], 2.0);
  TGZBBondsAtNegot(kNone).CalcFees(fees, 1e12, 0, 5);
  EXPECT_EQ(fees[kTsFee], 0.0);
  EXPECT_EQ(fees[kClearingFee], 0.0);
}

TEST(BoardTariffFees, NegativeAndZeroAmountsUseTheSameFormulas) {
  double fees[3];
  Shares(false)->CalcFees(fees, -1e6, 0, 0);
  EXPECT_DOUBLE_EQ(fees[kTsFee], -25.0);
  Shares(true)->CalcFees(fees, -1e6, 0, 0);
  EXPECT_EQ(fees[kTsFee], 1.0);
  TModifiedREPO(kNone).CalcFees(fees, 0.0, 3, 0);
  EXPECT_EQ(fees[kClearingFee], 500.0);
}

TEST(BoardTariffFees, CalcFeesChangesNothingInTheTariff) {
  auto tariff = Shares(true);
  double first[3];
  double second[3];
  tariff->CalcFees(first, 123456.0, 3, 4);
  tariff->CalcFees(second, 123456.0, 3, 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(first[i], second[i]);
  EXPECT_EQ(tariff->PercentBase(), 100.0);
}

}  // namespace
}  // namespace DL
