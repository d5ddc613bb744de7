#include "windows/tables/risk_table_source.h"

#include "sdk/plugin_module.h"

IRiskTableSource* GetRiskTableSource() { return dynamic_cast<IRiskTableSource*>(GetPluginModule()); }
