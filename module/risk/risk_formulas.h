// The formulas of the risk parameters. Amounts go in and come out multiplied
// by 100, as the client record holds them; kValueNotSet (1e30) is "no value".
#pragma once

// Funds ratio of the modified unified margin level. The mode says how much of
// d counts: 2 only a loss (min(d, 0)), 3 only a gain (max(d, 0)), 4 none,
// any other value all of it. A denominator that is not positive gives 1.0
// for a numerator of 0 or more, -0.99 below.
double CalcFundsRatio(double a, double b, double c, double d, int mode);

// (a + b) / c, and (a + b + d) / c; 1.0 when c is 0 or not set.
double CalcRatioOrOne(double a, double b, double c);
double CalcRatioPlusOrOne(double a, double b, double c, double d);

// a + b + d plus the variation margin c as the mode says: 1 all of it, 2 only
// a loss, 3 only a gain, any other value none.
double SumByMarginMode(double a, double b, double c, double d, int useVarMargin);

// Debt (0 or negative) of a planned net position a against the assets b (when
// the total assets are used) or c.
double CalcCurrentDebt(double a, double b, double c, bool useTotalAssets);

// Funds sufficiency: a (total assets) or b, divided by the requirement c;
// not set when c is 0.
double CalcSufficiencyRatio(double a, double b, double c, bool useTotalAssets);

// Cash leverage: the positions' value over the total assets. Total assets
// not set give "not set"; total assets of 0 give 0 when there are no
// positions and "not set" otherwise.
double CalcCashLeverage(double positionsValue, double totalAssets);
