#pragma once

#include <cstdint>

namespace DL {

// The three fee components, always in this order.
enum TFeeComponent { kTsFee = 0, kOrgFee = 1, kClearingFee = 2 };

// Rates that the broker's settings put over a board's built-in ones, as
// percentages; a negative rate is not set.
struct TOverrideRates {
  double Ts = -1.0;
  double Org = -1.0;
  double Clearing = -1.0;
};

// The commission tariff of one trading board: turns the money amount of a
// trade (and a term in days for bonds and REPO) into the trading-system,
// organiser and clearing fees. Every rate is a percentage of the amount.
class ABoardTariff {
 public:
  explicit ABoardTariff(const TOverrideRates& overrides) : overrides_(overrides) {}
  ABoardTariff(const ABoardTariff&) = delete;
  ABoardTariff& operator=(const ABoardTariff&) = delete;
  virtual ~ABoardTariff() = default;

  // Writes all three fees and returns fees. Changes nothing in the tariff.
  virtual double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                           std::uint32_t bondDays) const = 0;

  double PercentBase() const { return percentBase_; }
  // The rates the broker's settings put over this board's own.
  const TOverrideRates& Overrides() const { return overrides_; }

 protected:
  double Fee(double rate, double amount) const { return rate * amount / percentBase_; }
  // A set override replaces its component outright.
  void ApplyOverrides(double* fees, double amount) const;
  // With the minimum-fee flag, a component not overridden is at least 1.0.
  void ApplyFloor(double* fees, bool minimumFee) const;
  // Up to threshold days the per-day rate times the days, beyond it the flat
  // rate.
  double PerDayFee(std::uint32_t days, std::uint32_t threshold, double perDayRate, double flatRate,
                   double amount) const;

 private:
  double percentBase_ = 100.0;
  TOverrideRates overrides_;
};

struct TFeeRates {
  double Ts;
  double Org;
  double Clearing;
};

class TNormalTariff : public ABoardTariff {
 public:
  TNormalTariff(double ts, double org, double clearing, const TOverrideRates& overrides,
                bool minimumFee);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  const TFeeRates& Rates() const { return rates_; }
  bool MinimumFee() const { return minimumFee_; }

 private:
  TFeeRates rates_;
  bool minimumFee_;
};

class TDarkPool : public ABoardTariff {
 public:
  TDarkPool(const TOverrideRates& overrides, bool minimumFee);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  bool MinimumFee() const { return minimumFee_; }

 private:
  const TFeeRates caps_{37500.0, 52500.0, 60000.0};
  const TFeeRates rates_{0.00125, 0.00175, 0.002};
  bool minimumFee_;
};

// The three bond tariffs share one rule: per-day rates up to a threshold of
// days, flat rates beyond it, optional caps.
class TBondsAtNegot : public ABoardTariff {
 public:
  TBondsAtNegot(const TOverrideRates& overrides, bool minimumFee);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  bool MinimumFee() const { return minimumFee_; }

 private:
  const TFeeRates caps_{60000.0, 70000.0, 70000.0};
  const TFeeRates perDayRates_{3e-5, 3.5e-5, 3.5e-5};
  const TFeeRates flatRates_{0.003, 0.0035, 0.0035};
  bool minimumFee_;
};

class TBondsTariff : public ABoardTariff {
 public:
  TBondsTariff(const TOverrideRates& overrides, bool minimumFee);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  bool MinimumFee() const { return minimumFee_; }

 private:
  const TFeeRates perDayRates_{3e-5, 3.5e-5, 3.5e-5};
  const TFeeRates flatRates_{0.003, 0.0035, 0.0035};
  bool minimumFee_;
};

class TOtherBondsTariff : public ABoardTariff {
 public:
  TOtherBondsTariff(const TOverrideRates& overrides, bool minimumFee);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  bool MinimumFee() const { return minimumFee_; }

 private:
  const TFeeRates perDayRates_{3e-5, 3.5e-5, 3.5e-5};
  const TFeeRates flatRates_{0.0045, 0.00525, 0.00525};
  bool minimumFee_;
};

// REPO in shares and euro bonds: a fixed fee for a term of 0 days, otherwise
// rates by term bucket.
class TSharesEuroBondsAtREPO : public ABoardTariff {
 public:
  TSharesEuroBondsAtREPO(double longTermClearingRate, const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  double LongTermClearingRate() const { return longTermClearingRate_; }

 private:
  double ClearingRate(std::uint32_t repoDays) const;

  const double fixedFee_ = 1500.0;
  const TFeeRates oneDayRates_{0.0025, 0.0035, 0.004};
  const double longerTsRate_ = 0.0045;
  const double longerOrgRate_ = 0.0045;
  double longTermClearingRate_;
};

class TModifiedREPO : public ABoardTariff {
 public:
  explicit TModifiedREPO(const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

 private:
  const TFeeRates perDayRates_{0.0001, 0.0001, 0.00015};
  const double minimum_ = 500.0;
};

class TGZBSharesBondsAtMain : public ABoardTariff {
 public:
  explicit TGZBSharesBondsAtMain(const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

 private:
  const double perDayOrgRate_ = 0.0001;
  const double flatOrgRate_ = 0.01;
};

class TGZBBondsAtNegot : public ABoardTariff {
 public:
  explicit TGZBBondsAtNegot(const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

 private:
  const double perDayOrgRate_ = 0.0001;
  const double flatOrgRate_ = 0.02;
  const double orgCap_ = 500000.0;
};

class TGZBBondsAtREPO : public ABoardTariff {
 public:
  explicit TGZBBondsAtREPO(const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

 private:
  const TFeeRates perDayRates_{3e-5, 3.5e-5, 3.5e-5};
  const TFeeRates flatRates_{0.003, 0.0035, 0.0035};
};

// Exchange REPO: per-day rates with a minimum per component; a term of 0
// days counts as one day.
class TExchangeREPO : public ABoardTariff {
 public:
  TExchangeREPO(double ts, double org, double clearing, double tsMinimum, double orgMinimum,
                double clearingMinimum, const TOverrideRates& overrides);
  double* CalcFees(double* fees, double amount, std::uint32_t repoDays,
                   std::uint32_t bondDays) const override;

  const TFeeRates& Rates() const { return rates_; }
  const TFeeRates& Minimums() const { return minimums_; }

 private:
  TFeeRates rates_;
  TFeeRates minimums_;
};

}  // namespace DL
