#include "windows/tables/orders_table_source.h"

#include "sdk/plugin_module.h"

TEditFilters g_editFilters;

IOrdersTableSource* GetOrdersTableSource() { return dynamic_cast<IOrdersTableSource*>(GetPluginModule()); }
