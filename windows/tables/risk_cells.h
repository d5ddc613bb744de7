// What one cell of a client row of the risk-parameters table shows: its text
// and its numeric value, by the cell's column identifier.
#pragma once

#include <cstddef>

struct TClientRiskRecord;

// Writes the cell's text (terminated, at most `size` bytes) and returns its
// value. Amounts show two decimals, ratios four, with the locale's decimal
// and thousands separators; a column without a value is empty with value 0.
double RiskCellText(int columnId, const TClientRiskRecord& record, char* text, size_t size);
