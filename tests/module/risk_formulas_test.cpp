// The risk formulas against values worked by hand.
#include "module/risk/limit_merge.h"
#include "module/risk/risk_formulas.h"
#include "module/risk/risk_param_by_index.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

namespace {
TEST(RiskFormulas, FundsRatio) {
  struct Case { double a, b, c, d; int mode; double expected; };
  const Case cases[] = {
      {0, 0, 0, 0, 4, 1.0},                 // nothing at all
      {100, 50, 20, 30, 1, 200.0 / 180},    // N 100+50+20+30, D 50+130
      {100, 50, 20, 30, 7, 200.0 / 180},    // an unknown mode counts all of d
      {100, 50, 20, 30, 2, 170.0 / 150},    // a gain is left out
      {100, 50, 20, -30, 2, 140.0 / 120},   // a loss counts: N 140, D 50+70
      {100, 50, 20, -30, 3, 170.0 / 150},   // a loss is left out
      {100, 50, 20, 30, 3, 200.0 / 180}, {100, 50, 20, 30, 4, 170.0 / 150},
      {-10, 0, 5, 0, 1, -0.99},             // N -5, D 0
      {-10, 0, 20, 0, 1, 1.0}, {-10, 0, 10, 0, 1, 1.0},
      {-10, 40, 5, 99, 4, 35.0 / 40},       // a + d' below 0: D is b alone
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcFundsRatio(c.a, c.b, c.c, c.d, c.mode), c.expected)
        << c.a << " " << c.b << " " << c.c << " " << c.d << " mode " << c.mode;
}

TEST(RiskFormulas, RatiosGiveOneWithoutADivisor) {
  struct Case { double a, b, c, d, ratio, ratioPlus; };
  const Case cases[] = {{10, 20, 5, 5, 6.0, 7.0},      {-30, 10, 4, 2, -5.0, -4.5},
                        {10, 20, 0, 5, 1.0, 1.0},      {10, 20, 5e-8, 5, 1.0, 1.0},
                        {1e9, 1e9, kValueNotSet, 5, 1.0, 1.0}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(CalcRatioOrOne(c.a, c.b, c.c), c.ratio) << c.c;
    EXPECT_DOUBLE_EQ(CalcRatioPlusOrOne(c.a, c.b, c.c, c.d), c.ratioPlus) << c.c;
  }
}

TEST(RiskFormulas, SumByMarginMode) {
  struct Case { double margin; int mode; double expected; };  // a 100, b 200, d 10
  const Case cases[] = {{-50, 1, 260}, {-50, 2, 260}, {-50, 3, 310}, {-50, 0, 310},
                        {50, 1, 360},  {50, 2, 310},  {50, 3, 360},  {50, 5, 310}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(SumByMarginMode(100, 200, c.margin, 10, c.mode), c.expected) << c.mode;
}

TEST(RiskFormulas, CurrentDebtIsNeverPositive) {
  struct Case { double a, b, c; bool useTotalAssets; double expected; };
  const Case cases[] = {
      {-300, 999, 100, false, 0},      // -300 + 400 = 100, clamped to 0
      {-300, 999, -500, false, -300},  // -300 + max(-200, 0)
      {-300, 999, -100, false, -100},  {-300, 100, 999, true, 0},  // total assets b used
      {-300, -500, 999, true, -300},   {500, 0, 600, false, 0},
      {500, 0, 200, false, 0},         {-300, 0, 0, false, 0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcCurrentDebt(c.a, c.b, c.c, c.useTotalAssets), c.expected)
        << c.a << " " << c.b << " " << c.c << " " << c.useTotalAssets;
}

TEST(RiskFormulas, SufficiencyAndLeverageAreNotSetWithoutADivisor) {
  struct Case { double a, b, c; bool useTotalAssets; double expected; };
  const Case cases[] = {{500, 300, 200, true, 2.5},           {500, 300, 200, false, 1.5},
                        {-100, 300, 200, true, -0.5},         {500, 300, 0, true, kValueNotSet},
                        {500, 300, 0, false, kValueNotSet},
                        {500, 300, 1e-8, false, kValueNotSet}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(CalcSufficiencyRatio(c.a, c.b, c.c, c.useTotalAssets), c.expected) << c.c;
  struct Leverage { double positions, assets, expected; };
  const Leverage leverages[] = {{500, 250, 2.0},  {0, 250, 0.0},  {500, kValueNotSet, kValueNotSet},
                                {0, kValueNotSet, kValueNotSet},  {0, 0, 0.0}, {5e-8, 0, 0.0},
                                {500, 0, kValueNotSet},           {500, 5e-8, kValueNotSet}};
  for (const Leverage& c : leverages)
    EXPECT_DOUBLE_EQ(CalcCashLeverage(c.positions, c.assets), c.expected) << c.positions;
}

TEST(LimitMerge, EachBranchOfTheRule) {
  struct Case { double field, v, k; int type; double expected; };
  const Case cases[] = {
      {0, 500, 0.5, 0, 500},         {5e-8, 500, 0.5, 1, 500},   // an empty field takes v
      {-100, 500, 0.5, 0, -100},     {-100, -500, 0, 1, -100},   // a negative field stays
      {200, -50, 0.5, 0, -50},       // a negative type-0 value replaces it
      {200, -50, 0, 1, 200},         // type 1 with k 0: 200 / (1 - 0)
      {200, 50, 0, 0, 250},          {200, 50, 1, 1, 250},       // added
      {200, 50, 1, 0, 50},           // type 0 with k 1: 50 / 1
      {200, 50, 0.99999999, 1, 250}, // k 1 within the tolerance: no division by 1 - k
      {200, 400, 0.5, 1, 400},       // d 800 above: 200 / 0.5
      {200, 50, 0.5, 1, 250},        {200, -50, 0.5, 1, 150},    // d below: added
      {200, 150, 0.5, 0, 350},       // d 300 above: added
      {200, 50, 0.5, 0, 100},        // d 100 below: d
      {200, 100, 0.5, 0, 200},       {200, 100, 0.5, 1, 200},    // d equal: unchanged
      {200, 50, 0.5, 2, 200},        // a type that does not count
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(MergeLimitValue(c.field, c.v, c.k, c.type), c.expected)
        << c.field << " " << c.v << " k " << c.k << " type " << c.type;
}

TEST(RiskParamByIndex, EachIndexWorkedByHand) {
  TClientRiskRecord record;
  record.realVariationMargin = 1000, record.optionLiquidationValue = 500;
  record.dayStartLimit = 20000, record.accruedIncome = 3000, record.variationMargin = 700;
  // Net position C 16000 (open positions D 8000, or both 0); funds ratio 200 / 180.
  struct Case { int index; double planned; bool netZero, united; int varMargin; double expected; };
  const Case cases[] = {
      {6, 40000, false, true, 1, 200.0 / 180},  // united: always the funds ratio
      {6, 40000, false, false, 1, 160},  {7, 40000, false, false, 1, 80},
      {8, 40000, false, false, 1, 400},
      {15, 40000, false, false, 1, 575},  // 40000 + 16000 + 1000 + 500
      {15, 40000, false, false, 2, 565},  // a gain in variation margin left out
      {17, -40000, false, false, 1, -225}, {17, 40000, false, false, 1, 0},  // -40000 + 17500
      {18, 40000, false, false, 1, 57500.0 / 16000},
      {19, 40000, false, false, 1, 49500.0 / 8000},  // open positions
      {20, 40000, false, false, 1, 23000.0 / 16000},  // (L + AI) / C
      {21, 40000, false, false, 1, 23700.0 / 16000},  // (L + AI + V) / C
      {23, 40000, false, false, 1, 200.0 / 180},
      {18, 40000, true, false, 1, kValueNotSet}, {19, 40000, true, false, 1, kValueNotSet},
      {20, 40000, true, false, 1, 1.0},
      {16, 40000, false, false, 1, 16000}, {9, 40000, false, false, 1, 16000},  // no formula: C
      {22, 40000, false, false, 1, 16000}, {24, 40000, false, false, 1, 16000},
  };
  for (const Case& c : cases) {
    TRiskParamInputs in;
    in.plannedNetPosition = c.planned;
    in.currentNetPosition = c.netZero ? 0 : 16000, in.currentNetPositionOpen = c.netZero ? 0 : 8000;
    in.fundsA = 100, in.fundsB = 50, in.fundsC = 20, in.fundsD = 30, in.fundsMode = 1;
    TFormulaModes modes;
    modes.useVarMargin = c.varMargin;
    EXPECT_DOUBLE_EQ(GetRiskParamByIndex(record, c.index, in, c.united, modes), c.expected)
        << "index " << c.index << " planned " << c.planned << " united " << c.united;
  }
}
}  // namespace
