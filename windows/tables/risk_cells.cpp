#include "windows/tables/risk_cells.h"

#include <cmath>
#include <cstdio>

#include "module/risk/client_risk_record.h"
#include "sdk/numeric.h"
#include "sdk/plugin_module.h"

namespace {

constexpr double kNotSetTolerance = 1e-7;

bool IsNotSet(double value) { return std::fabs(value - kValueNotSet) <= kNotSetTolerance; }

void CopyText(const char* source, char* text, size_t size) { std::snprintf(text, size, "%s", source); }

void FormatNumber(double value, int decimals, char* text, size_t size) {
  if (CZenkPluginModule* module = GetPluginModule()) module->FormatDouble(text, size, value, decimals, true, true);
}

}  // namespace

double RiskCellText(int columnId, const TClientRiskRecord& record, char* text, size_t size) {
  if (text == nullptr || size == 0) return 0.0;
  text[0] = 0;
  const double value = record.GetValueByColumn(columnId);
  switch (columnId) {
    case 1:
      CopyText(record.firm, text, size);
      return 0.0;
    case 2:
      CopyText(record.clientCode, text, size);
      return 0.0;
    case 3:
      CopyText(record.account, text, size);
      return 0.0;
    case 4: case 5: case 6: case 7: case 8: case 9: case 10:
    case 12: case 13: case 14: case 15: case 16: case 17:
      FormatNumber(value, 2, text, size);
      return value;
    case 18: case 19: case 20: case 21:
      if (IsNotSet(value)) return 0.0;
      FormatNumber(value, 4, text, size);
      return value;
    case 22:
      FormatNumber(value, 4, text, size);
      return value;
    case 23:
      // The margin level is shown as a percentage but sorts and exports as kept.
      FormatNumber(value * 100, 4, text, size);
      return value;
    case 24:
      // An unset leverage shows empty but keeps its value for sorting.
      if (!IsNotSet(value)) FormatNumber(value, 4, text, size);
      return value;
  }
  return 0.0;
}
