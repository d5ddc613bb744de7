// One risk parameter of a client recomputed from values the caller supplies
// (the closing-orders preparation tries out positions with it).
#pragma once

#include "module/risk/client_risk_record.h"

// The calculation settings the formulas read.
struct TFormulaModes {
  bool useTotalAssets = false;  // UseTotalAssets
  int useVarMargin = 0;         // UseVarMargin
};

// Amounts multiplied by 100, as the client record holds them.
struct TRiskParamInputs {
  double plannedNetPosition = 0.0;
  double currentNetPosition = 0.0;
  double currentNetPositionOpen = 0.0;
  // The four inputs of the modified unified margin level and their mode.
  double fundsA = 0.0, fundsB = 0.0, fundsC = 0.0, fundsD = 0.0;
  int fundsMode = 0;
};

// The value of parameter index (a value id) for the client with these
// inputs; the record gives its variation margins, option value, day-start
// limit and accrued income. For a united client, and for index 23, the
// modified unified margin level. Amounts come out divided by 100; an index
// without a formula gives the current net position as it went in.
double GetRiskParamByIndex(const TClientRiskRecord& record, int index,
                           const TRiskParamInputs& inputs, bool united,
                           const TFormulaModes& modes);
