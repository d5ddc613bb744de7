// Order records that answer the plug-in's closing orders: kept, shown in the
// orders tables and handed on to the open preparation windows.
#include "module/vantrel_module.h"

void CVantrelModule::OnClosingOrderRecord(const uint8_t* record) {
  ClosingOrderRecord* order = m_closingOrders.OnOrderRecord(record);
  if (order == nullptr) return;
  BroadcastToTables(kOrdersTableKind, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(order)));
  AdvancePrepOrderWindows(*order);
}
