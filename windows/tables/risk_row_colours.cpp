#include "windows/tables/risk_row_colours.h"

#include "module/risk/client_risk_record.h"

TableRowColours RiskRowColours(const TRiskColorSettings& settings, const TClientRiskRecord* record) {
  TRowColors colors{};
  if (record != nullptr) {
    const TFundsSufficiency levels{record->sfr, record->sfrOpenPositions};
    GetRiskCellColors(settings, &levels, &colors);
  }
  TableRowColours block{};
  block.flags = colors.flags;
  for (int i = 0; i < 5; ++i) block.values[i] = colors.values[i];
  return block;
}
