// The colours of a client's row in the risk-parameters table: window text on
// the background of the client's funds-sufficiency state.
#pragma once

#include "module/cell_colors.h"
#include "sdk/table_view.h"

struct TClientRiskRecord;

// Every word of the block starts at zero, so the words the colour rule does
// not set ask the list for nothing; a null record gives a block of zeros.
TableRowColours RiskRowColours(const TRiskColorSettings& settings, const TClientRiskRecord* record);
