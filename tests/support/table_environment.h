// The stand-in host with its MDI frame and a module initialised by it, for
// tests of plug-in windows, dialogs and tables: the module registers what the
// SDK registers with it and serves risk tables from records the test owns.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/standin/standin_host.h"
#include "module/risk/client_risk_record.h"
#include "sdk/plugin_module.h"
#include "sdk/table_plugin.h"
#include "support/dialog_driver.h"
#include "module/settings/module_settings.h"
#include "windows/tables/risk_table_source.h"
#include "windows/tables/table_columns.h"

class TableTestModule : public CZenkPluginModule, public IRiskTableSource {
 public:
  explicit TableTestModule(HINSTANCE instance) : CZenkPluginModule(instance) {}

  // The host restores a saved window: the test's own restore, if any.
  int RestoreWindow(uint32_t, const char*, uint32_t, uint32_t c, uint32_t d) override {
    return restore ? restore(c, d) : 0;
  }
  void RegisterTable(CTablePlugin* table) override { tables.insert(table); }
  void UnregisterTable(CTablePlugin* table, bool) override { tables.erase(table); }
  void RegisterDialog(CZPluginDialog* dialog) override { dialogs.insert(dialog); }
  void UnregisterDialog(CZPluginDialog* dialog, bool) override { dialogs.erase(dialog); }
  bool EnableCommand(int id, bool enable, bool) override { return commands[id] = enable, true; }

  bool HasFirmSettings() const override { return firmSettings; }
  std::vector<TClientRiskRecord*> RiskRecords() const override { return records; }
  const TRiskColorSettings& RiskColorSettings() const override { return colours; }
  TFilterHandles RiskFilterHandles() const override { return {&clientItems, &accountItems}; }
  const TModuleSettings& RiskFilterSettings() const override { return settings; }
  TOrdersFilterLists RiskItemLists() override { return {&clientItems, &accountItems, &firmItems}; }

  std::function<int(uint32_t, uint32_t)> restore;
  std::set<CTablePlugin*> tables;
  std::set<CZPluginDialog*> dialogs;
  std::map<int, bool> commands;
  bool firmSettings = true;
  std::vector<TClientRiskRecord*> records;
  TRiskColorSettings colours;
  TModuleSettings settings;
  host::ItemList clientItems = {}, accountItems = {}, firmItems = {};
};

class TableEnvironment {
 public:
  explicit TableEnvironment(bool visible = false);
  ~TableEnvironment();

  StandInHost& Host() { return host_; }
  SdkWindowHost& Windows() { return host_.SdkWindows(); }
  TableServices& Services() { return host_.SdkWindows().Services(); }
  TableTestModule& Module() { return *module_; }
  TTableColumnSchemas& Schemas() { return schemas_; }
  HWND MdiClient() const { return host_.MdiClient(); }
  int LineHeight() const { return static_cast<int>(host_.UiInfo()[7]); }
  int TextCharWidth() const { return static_cast<int>(host_.UiInfo()[15]); }
  int NumberCharWidth() const { return static_cast<int>(host_.UiInfo()[16]); }
  void Pump();
  int SaveLayout() { return Windows().SaveLayout(MdiClient()); }
  int RestoreLayout() { return Windows().RestoreLayout(callbacks_); }

  // Creates the table, its create dialog answered with OK; null (the table
  // deleted) when it was not created.
  template <typename Table>
  Table* Open(Table* table) {
    DialogDriver ok([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    if (table->Create()) return table;
    delete table;
    return nullptr;
  }

 private:
  StandInHost host_;
  uint32_t callbacks_[host::kCallbackCount] = {host::kCallbackTableBytes};
  std::unique_ptr<TableTestModule> module_;
  TTableColumnSchemas schemas_;
};

// What the list of a table shows.
HWND ListOf(CTablePlugin* table);
std::string CellText(CTablePlugin* table, int line, int column);
// The background of a cell; with fore, the colour of its text.
COLORREF CellBack(CTablePlugin* table, int line, int column, bool fore = false);
std::vector<std::string> HeaderTitles(CTablePlugin* table);
std::vector<int> ColumnIds(CTablePlugin* table);
int LineOf(CTablePlugin* table, const void* row);
// The x of the middle of a column of the list.
int ColumnCentre(HWND list, int column);
// A press, a move and a release of the left button.
void Drag(HWND window, int x0, int y0, int x1, int y1);
