// A risk parameter recomputed from supplied values, worked by hand.
#include "module/risk/risk_param_by_index.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

namespace {
TClientRiskRecord Client() {
  TClientRiskRecord record;
  record.realVariationMargin = 1000;     // VM
  record.optionLiquidationValue = 500;   // OLV
  record.dayStartLimit = 20000;          // L
  record.accruedIncome = 3000;           // AI
  record.variationMargin = 700;          // V
  return record;
}

TRiskParamInputs Inputs(double planned) {
  TRiskParamInputs inputs;
  inputs.plannedNetPosition = planned;   // B
  inputs.currentNetPosition = 16000;     // C
  inputs.currentNetPositionOpen = 8000;  // D
  inputs.fundsA = 100;
  inputs.fundsB = 50;
  inputs.fundsC = 20;
  inputs.fundsD = 30;
  inputs.fundsMode = 1;                  // funds ratio 200 / 180
  return inputs;
}

TEST(RiskParamByIndex, EachIndexWorkedByHand) {
  struct Case {
    int index;
    double planned;
    bool united;
    int useVarMargin;
    double expected;
  };
  const Case cases[] = {
      {6, 40000, true, 1, 200.0 / 180},   // united: always the funds ratio
      {6, 40000, false, 1, 160},
      {7, 40000, false, 1, 80},
      {8, 40000, false, 1, 400},
      // assets 40000 + 16000 + 1000 + 500
      {15, 40000, false, 1, 575},
      {15, 40000, false, 2, 565},         // a gain in variation margin left out
      // debt: s = -40000 + 16000 + 1000 + 500 = -22500; -40000 + 17500
      {17, -40000, false, 1, -225},
      {17, 40000, false, 1, 0},
      {18, 40000, false, 1, 57500.0 / 16000},
      // open positions: 40000 + 8000 + 1000 + 500 over 8000
      {19, 40000, false, 1, 49500.0 / 8000},
      {20, 40000, false, 1, 23000.0 / 16000},  // (L + AI) / C
      {21, 40000, false, 1, 23700.0 / 16000},  // (L + AI + V) / C
      {23, 40000, false, 1, 200.0 / 180},
      // No formula: C as it went in, not divided.
      {16, 40000, false, 1, 16000},
      {9, 40000, false, 1, 16000},
      {22, 40000, false, 1, 16000},
      {5, 40000, false, 1, 16000},
      {24, 40000, false, 1, 16000},
  };
  const TClientRiskRecord record = Client();
  for (const Case& c : cases) {
    TFormulaModes modes;
    modes.useVarMargin = c.useVarMargin;
    EXPECT_DOUBLE_EQ(GetRiskParamByIndex(record, c.index, Inputs(c.planned), c.united, modes),
                     c.expected)
        << "index " << c.index << " planned " << c.planned << " united " << c.united;
  }
}

TEST(RiskParamByIndex, SufficiencyWithoutANetPositionIsNotSet) {
  TRiskParamInputs inputs = Inputs(40000);
  inputs.currentNetPosition = 0;
  inputs.currentNetPositionOpen = 0;
  const TFormulaModes modes;
  EXPECT_EQ(GetRiskParamByIndex(Client(), 18, inputs, false, modes), kValueNotSet);
  EXPECT_EQ(GetRiskParamByIndex(Client(), 19, inputs, false, modes), kValueNotSet);
  EXPECT_EQ(GetRiskParamByIndex(Client(), 20, inputs, false, modes), 1.0);
}
}  // namespace
