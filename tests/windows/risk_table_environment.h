// The stand-in host with its MDI frame and a module that serves risk tables
// from records the test owns, for tests of the plug-in's table windows.
#pragma once

#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/standin/standin_host.h"
#include "module/risk/client_risk_record.h"
#include "sdk/plugin_module.h"
#include "windows/tables/risk_params_table.h"
#include "windows/tables/risk_table_source.h"
#include "windows/tables/table_columns.h"

namespace windows_test {

class RiskTestModule : public CZenkPluginModule, public IRiskTableSource {
 public:
  explicit RiskTestModule(HINSTANCE instance) : CZenkPluginModule(instance) {}

  void RegisterTable(CTablePlugin* table) override { tables.insert(table); }
  void UnregisterTable(CTablePlugin* table, bool) override { tables.erase(table); }

  bool HasFirmSettings() const override { return firmSettings; }
  std::vector<TClientRiskRecord*> RiskRecords() const override { return records; }
  const TRiskColorSettings& RiskColorSettings() const override { return colours; }
  TFilterHandles RiskFilterHandles() const override { return {&clientItems, &accountItems}; }

  std::set<CTablePlugin*> tables;
  bool firmSettings = true;
  std::vector<TClientRiskRecord*> records;
  TRiskColorSettings colours;
  host::ItemList clientItems = {};
  host::ItemList accountItems = {};
};

class RiskTableEnvironment {
 public:
  explicit RiskTableEnvironment(bool visible = false);
  ~RiskTableEnvironment();

  StandInHost& Host() { return host_; }
  RiskTestModule& Module() { return *module_; }
  TTableColumnSchemas& Schemas() { return schemas_; }
  HWND MainFrame() const { return host_.Frame(); }
  int LineHeight() const { return static_cast<int>(host_.UiInfo()[7]); }
  void Pump();
  // A new risk table as the module creates one, its create dialog answered
  // with OK; null when it could not be created.
  CVantrelFutRiskParamsTable* CreateRiskTable();
  // A plain SDK table over a schema, to see the schema's first layout.
  CTablePlugin* CreatePlainTable(TableSchema* schema);

 private:
  StandInHost host_;
  uint32_t callbacks_[host::kCallbackCount] = {host::kCallbackTableBytes};
  std::unique_ptr<RiskTestModule> module_;
  TTableColumnSchemas schemas_;
};

// A client record with its codes; the ratios not set, the amounts zero.
std::unique_ptr<TClientRiskRecord> MakeClient(const char* firm, const char* account, const char* clientCode);

// What the list of a table shows.
HWND ListOf(CTablePlugin* table);
std::string CellText(CTablePlugin* table, int line, int column);
COLORREF CellBack(CTablePlugin* table, int line, int column);
COLORREF CellFore(CTablePlugin* table, int line, int column);
std::vector<std::string> HeaderTitles(CTablePlugin* table);
int LineOf(CTablePlugin* table, const void* row);

}  // namespace windows_test
