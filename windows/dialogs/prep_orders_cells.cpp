#include "windows/dialogs/prep_orders_cells.h"

#include "module/market_records.h"
#include "module/vantrel_module.h"
#include "sdk/host_record_fields.h"

#include <commctrl.h>

namespace prep_orders {
const uint8_t* LineSecurity(const TOrderLine& line) {
  return FindSecurityInClasses(line.SecCode, 0x48, 0x900, nullptr);
}

// A security the host no longer knows shows its price with 2 decimals.
int PriceDecimals(const TOrderLine& line) {
  const uint8_t* security = LineSecurity(line);
  if (security == nullptr) return 2;
  const int decimals = host::record::Read<int16_t>(security, host::record::kSecurityPriceDecimals);
  return decimals < 0 ? 0 : decimals > 15 ? 15 : decimals;
}

std::string Number(double value, int decimals, bool localeStyle) {
  char text[64] = {};
  g_pModule->FormatDouble(text, sizeof text, value, decimals, localeStyle, localeStyle);
  return text;
}

std::string CellValue(const TOrderLine& line, int column) {
  switch (column) {
    case kPriceColumn: return Number(line.Price, PriceDecimals(line), true);
    case kQuantityColumn: return Number(line.Quantity, 0, true);
    default: return std::string();
  }
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string CellText(HWND list, int row, int column) {
  char text[33] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// Formation over the window's store with the module's calculation settings.
CClosingFormation Formation(COrderStore& store, std::vector<THeldNote>* heldNotes) {
  TFormulaModes modes;
  modes.useTotalAssets = g_pModule->Settings().UseTotalAssets;
  modes.useVarMargin = g_pModule->Settings().UseVarMargin;
  return CClosingFormation(store, g_pModule->ClosingOrders(), g_pModule->Closing(), modes, g_pModule->Log(),
                           heldNotes);
}
}  // namespace prep_orders
