#include "dl/engine/board_tariff.h"

#include <algorithm>

namespace DL {
namespace {

double Cap(double value, double cap) { return std::min(value, cap); }
double AtLeast(double value, double minimum) { return std::max(value, minimum); }

}  // namespace

void ABoardTariff::ApplyOverrides(double* fees, double amount) const {
  const double rates[] = {overrides_.Ts, overrides_.Org, overrides_.Clearing};
  for (int i = 0; i < 3; ++i) {
    if (!(rates[i] < 0.0)) fees[i] = Fee(rates[i], amount);
  }
}

void ABoardTariff::ApplyFloor(double* fees, bool minimumFee) const {
  if (!minimumFee) return;
  const double rates[] = {overrides_.Ts, overrides_.Org, overrides_.Clearing};
  for (int i = 0; i < 3; ++i) {
    if (rates[i] < 0.0) fees[i] = AtLeast(fees[i], 1.0);
  }
}

double ABoardTariff::PerDayFee(std::uint32_t days, std::uint32_t threshold, double perDayRate,
                               double flatRate, double amount) const {
  if (days <= threshold) return static_cast<double>(days) * amount * perDayRate / percentBase_;
  return Fee(flatRate, amount);
}

TNormalTariff::TNormalTariff(double ts, double org, double clearing,
                             const TOverrideRates& overrides, bool minimumFee)
    : ABoardTariff(overrides), rates_{ts, org, clearing}, minimumFee_(minimumFee) {}

double* TNormalTariff::CalcFees(double* fees, double amount, std::uint32_t, std::uint32_t) const {
  fees[kTsFee] = rates_.Ts / PercentBase() * amount;
  fees[kOrgFee] = rates_.Org / PercentBase() * amount;
  fees[kClearingFee] = rates_.Clearing / PercentBase() * amount;
  ApplyOverrides(fees, amount);
  ApplyFloor(fees, minimumFee_);
  return fees;
}

TDarkPool::TDarkPool(const TOverrideRates& overrides, bool minimumFee)
    : ABoardTariff(overrides), minimumFee_(minimumFee) {}

double* TDarkPool::CalcFees(double* fees, double amount, std::uint32_t, std::uint32_t) const {
  fees[kTsFee] = Cap(Fee(rates_.Ts, amount), caps_.Ts);
  fees[kOrgFee] = Cap(Fee(rates_.Org, amount), caps_.Org);
  fees[kClearingFee] = Cap(Fee(rates_.Clearing, amount), caps_.Clearing);
  ApplyOverrides(fees, amount);
  ApplyFloor(fees, minimumFee_);
  return fees;
}

TBondsAtNegot::TBondsAtNegot(const TOverrideRates& overrides, bool minimumFee)
    : ABoardTariff(overrides), minimumFee_(minimumFee) {}

double* TBondsAtNegot::CalcFees(double* fees, double amount, std::uint32_t,
                                std::uint32_t bondDays) const {
  fees[kTsFee] = Cap(PerDayFee(bondDays, 100, perDayRates_.Ts, flatRates_.Ts, amount), caps_.Ts);
  fees[kOrgFee] =
      Cap(PerDayFee(bondDays, 100, perDayRates_.Org, flatRates_.Org, amount), caps_.Org);
  fees[kClearingFee] = Cap(
      PerDayFee(bondDays, 100, perDayRates_.Clearing, flatRates_.Clearing, amount), caps_.Clearing);
  ApplyOverrides(fees, amount);
  ApplyFloor(fees, minimumFee_);
  return fees;
}

TBondsTariff::TBondsTariff(const TOverrideRates& overrides, bool minimumFee)
    : ABoardTariff(overrides), minimumFee_(minimumFee) {}

double* TBondsTariff::CalcFees(double* fees, double amount, std::uint32_t,
                               std::uint32_t bondDays) const {
  fees[kTsFee] = PerDayFee(bondDays, 100, perDayRates_.Ts, flatRates_.Ts, amount);
  fees[kOrgFee] = PerDayFee(bondDays, 100, perDayRates_.Org, flatRates_.Org, amount);
  fees[kClearingFee] =
      PerDayFee(bondDays, 100, perDayRates_.Clearing, flatRates_.Clearing, amount);
  ApplyOverrides(fees, amount);
  ApplyFloor(fees, minimumFee_);
  return fees;
}

TOtherBondsTariff::TOtherBondsTariff(const TOverrideRates& overrides, bool minimumFee)
    : ABoardTariff(overrides), minimumFee_(minimumFee) {}

double* TOtherBondsTariff::CalcFees(double* fees, double amount, std::uint32_t,
                                    std::uint32_t bondDays) const {
  fees[kTsFee] = PerDayFee(bondDays, 150, perDayRates_.Ts, flatRates_.Ts, amount);
  fees[kOrgFee] = PerDayFee(bondDays, 150, perDayRates_.Org, flatRates_.Org, amount);
  fees[kClearingFee] =
      PerDayFee(bondDays, 150, perDayRates_.Clearing, flatRates_.Clearing, amount);
  ApplyOverrides(fees, amount);
  ApplyFloor(fees, minimumFee_);
  return fees;
}

TSharesEuroBondsAtREPO::TSharesEuroBondsAtREPO(double longTermClearingRate,
                                               const TOverrideRates& overrides)
    : ABoardTariff(overrides), longTermClearingRate_(longTermClearingRate) {}

double TSharesEuroBondsAtREPO::ClearingRate(std::uint32_t repoDays) const {
  if (repoDays <= 7) return 0.006;
  if (repoDays <= 21) return 0.011;
  if (repoDays <= 30) return 0.02;
  if (repoDays <= 90) return 0.04;
  return longTermClearingRate_;
}

double* TSharesEuroBondsAtREPO::CalcFees(double* fees, double amount, std::uint32_t repoDays,
                                         std::uint32_t) const {
  if (repoDays == 0) {
    fees[kTsFee] = fees[kOrgFee] = fees[kClearingFee] = fixedFee_;
  } else if (repoDays == 1) {
    fees[kTsFee] = Fee(oneDayRates_.Ts, amount);
    fees[kOrgFee] = Fee(oneDayRates_.Org, amount);
    fees[kClearingFee] = Fee(oneDayRates_.Clearing, amount);
  } else {
    fees[kTsFee] = Fee(longerTsRate_, amount);
    fees[kOrgFee] = Fee(longerOrgRate_, amount);
    fees[kClearingFee] = Fee(ClearingRate(repoDays), amount);
  }
  ApplyOverrides(fees, amount);
  return fees;
}

TModifiedREPO::TModifiedREPO(const TOverrideRates& overrides) : ABoardTariff(overrides) {}

double* TModifiedREPO::CalcFees(double* fees, double amount, std::uint32_t repoDays,
                                std::uint32_t) const {
  const double rates[] = {perDayRates_.Ts, perDayRates_.Org, perDayRates_.Clearing};
  for (int i = 0; i < 3; ++i) {
    double fee = Fee(rates[i], amount);
    if (repoDays >= 1) fee *= repoDays;
    fees[i] = AtLeast(fee, minimum_);
  }
  ApplyOverrides(fees, amount);
  return fees;
}

TGZBSharesBondsAtMain::TGZBSharesBondsAtMain(const TOverrideRates& overrides)
    : ABoardTariff(overrides) {}

double* TGZBSharesBondsAtMain::CalcFees(double* fees, double amount, std::uint32_t,
                                        std::uint32_t bondDays) const {
  fees[kTsFee] = 0.0;
  fees[kOrgFee] = PerDayFee(bondDays, 100, perDayOrgRate_, flatOrgRate_, amount);
  fees[kClearingFee] = 0.0;
  ApplyOverrides(fees, amount);
  return fees;
}

TGZBBondsAtNegot::TGZBBondsAtNegot(const TOverrideRates& overrides) : ABoardTariff(overrides) {}

double* TGZBBondsAtNegot::CalcFees(double* fees, double amount, std::uint32_t,
                                   std::uint32_t bondDays) const {
  fees[kTsFee] = 0.0;
  fees[kOrgFee] = Cap(PerDayFee(bondDays, 200, perDayOrgRate_, flatOrgRate_, amount), orgCap_);
  fees[kClearingFee] = 0.0;
  ApplyOverrides(fees, amount);
  return fees;
}

TGZBBondsAtREPO::TGZBBondsAtREPO(const TOverrideRates& overrides) : ABoardTariff(overrides) {}

double* TGZBBondsAtREPO::CalcFees(double* fees, double amount, std::uint32_t repoDays,
                                  std::uint32_t) const {
  fees[kTsFee] = PerDayFee(repoDays, 100, perDayRates_.Ts, flatRates_.Ts, amount);
  fees[kOrgFee] = PerDayFee(repoDays, 100, perDayRates_.Org, flatRates_.Org, amount);
  fees[kClearingFee] =
      PerDayFee(repoDays, 100, perDayRates_.Clearing, flatRates_.Clearing, amount);
  ApplyOverrides(fees, amount);
  return fees;
}

TExchangeREPO::TExchangeREPO(double ts, double org, double clearing, double tsMinimum,
                             double orgMinimum, double clearingMinimum,
                             const TOverrideRates& overrides)
    : ABoardTariff(overrides), rates_{ts, org, clearing},
      minimums_{tsMinimum, orgMinimum, clearingMinimum} {}

double* TExchangeREPO::CalcFees(double* fees, double amount, std::uint32_t repoDays,
                                std::uint32_t) const {
  const double days = repoDays == 0 ? 1.0 : static_cast<double>(repoDays);
  fees[kTsFee] = AtLeast(days * amount * rates_.Ts / PercentBase(), minimums_.Ts);
  fees[kOrgFee] = AtLeast(days * amount * rates_.Org / PercentBase(), minimums_.Org);
  fees[kClearingFee] =
      AtLeast(days * amount * rates_.Clearing / PercentBase(), minimums_.Clearing);
  // The board's override rates apply here as to every other tariff.
  ApplyOverrides(fees, amount);
  return fees;
}

}  // namespace DL
