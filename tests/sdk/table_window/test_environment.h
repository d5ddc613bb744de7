// The stand-in host with its MDI frame and a test module initialised by it,
// for tests of plug-in windows, dialogs and tables.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/standin/standin_host.h"
#include "sdk/plugin_module.h"
#include "test_table.h"

namespace table_test {

class TestModule : public CZenkPluginModule {
 public:
  explicit TestModule(HINSTANCE instance) : CZenkPluginModule(instance) {}

  // Restores a saved test table as the product's module restores its tables.
  int RestoreWindow(uint32_t a, const char* caption, uint32_t b, uint32_t c, uint32_t d) override;
  void RegisterTable(CTablePlugin* table) override { tables.insert(table); }
  void UnregisterTable(CTablePlugin* table, bool) override { tables.erase(table); }
  void RegisterDialog(CZPluginDialog* dialog) override { dialogs.insert(dialog); }
  void UnregisterDialog(CZPluginDialog* dialog, bool) override { dialogs.erase(dialog); }
  bool EnableCommand(int id, bool enable, bool) override {
    commands[id] = enable;
    return true;
  }

  std::set<CTablePlugin*> tables;
  std::set<CZPluginDialog*> dialogs;
  std::map<int, bool> commands;
  std::vector<TestTable*> restored;
  std::vector<TestRow*> restoreSource;  // rows a restored table fills
};

class TestEnvironment {
 public:
  explicit TestEnvironment(bool visible = false);
  ~TestEnvironment();

  StandInHost& Host() { return host_; }
  SdkWindowHost& Windows() { return host_.SdkWindows(); }
  TableServices& Services() { return host_.SdkWindows().Services(); }
  TestModule& Module() { return *module_; }
  HWND MdiClient() const { return host_.MdiClient(); }
  HWND MainFrame() const { return host_.Frame(); }
  int LineHeight() const { return static_cast<int>(host_.UiInfo()[7]); }
  int TextCharWidth() const { return static_cast<int>(host_.UiInfo()[15]); }
  int NumberCharWidth() const { return static_cast<int>(host_.UiInfo()[16]); }
  void Pump();
  int SaveLayout() { return Windows().SaveLayout(MdiClient()); }
  int RestoreLayout() { return Windows().RestoreLayout(callbacks_); }
  // Creates a test table, answering its create dialog with OK.
  TestTable* CreateTable(std::vector<TestRow*> rows = {});

 private:
  StandInHost host_;
  uint32_t callbacks_[host::kCallbackCount] = {host::kCallbackTableBytes};
  std::unique_ptr<TestModule> module_;
};

// The list of a table, and what one of its cells shows.
HWND ListOf(TestTable* table);
std::string CellText(TestTable* table, int line, int column);
COLORREF CellBack(TestTable* table, int line, int column);
COLORREF CellFore(TestTable* table, int line, int column);
std::vector<std::string> HeaderTitles(TestTable* table);

}  // namespace table_test
