// What the preparation window's list shows of an order line, and the
// formation over a window's store: shared by the window's list, its in-place
// editing and its sends.
#pragma once

#include "module/closing/closing_formation.h"
#include "module/closing/order_line.h"

#include <windows.h>

#include <string>

namespace prep_orders {
enum Column : int { kFirmColumn = 0, kAccountColumn = 2, kPriceColumn = 6, kQuantityColumn = 7 };

// The line's security among the classes closing orders go to; null when the
// host no longer knows it.
const uint8_t* LineSecurity(const TOrderLine& line);
int PriceDecimals(const TOrderLine& line);
std::string Number(double value, int decimals, bool localeStyle);
// The text of the line's price or quantity cell.
std::string CellValue(const TOrderLine& line, int column);
void SetCell(HWND list, int row, int column, const std::string& text);
std::string CellText(HWND list, int row, int column);
// Formation over the window's store with the module's calculation settings;
// what unreported orders hold goes to heldNotes when given.
CClosingFormation Formation(COrderStore& store, std::vector<THeldNote>* heldNotes = nullptr);
}  // namespace prep_orders
