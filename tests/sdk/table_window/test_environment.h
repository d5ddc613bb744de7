// A stand-in host with its MDI frame, the SDK's host functions and a test
// module, for tests of plug-in windows and tables.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "host/sdk_window_host.h"
#include "sdk/plugin_module.h"
#include "test_table.h"

namespace table_test {

class TestModule : public CZenkPluginModule {
 public:
  explicit TestModule(HINSTANCE instance) : CZenkPluginModule(instance) {}

  // Restores a saved test table as the product's module restores its tables.
  int RestoreWindow(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e) override;
  void RegisterTable(CTablePlugin* table) override { tables.insert(table); }
  void UnregisterTable(CTablePlugin* table, bool) override { tables.erase(table); }
  void RegisterDialog(CZPluginDialog* dialog) override { dialogs.insert(dialog); }
  void UnregisterDialog(CZPluginDialog* dialog, bool) override { dialogs.erase(dialog); }
  bool EnableCommand(int id, bool enable, bool isHostId) override {
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

  SdkWindowHost& Host() { return sdk_; }
  TableServices& Services() { return sdk_.Services(); }
  TestModule& Module() { return *module_; }
  HWND MdiClient() const;
  HWND MainFrame() const;
  void Pump();
  int SaveLayout() { return sdk_.SaveLayout(); }
  int RestoreLayout();
  // Creates a test table, answering its create dialog with OK.
  TestTable* CreateTable(std::vector<TestRow*> rows = {});

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  SdkWindowHost sdk_;
  std::unique_ptr<TestModule> module_;
};

// The list of a table, and what one of its cells shows.
HWND ListOf(TestTable* table);
std::string CellText(TestTable* table, int line, int column);
COLORREF CellBack(TestTable* table, int line, int column);
COLORREF CellFore(TestTable* table, int line, int column);
std::vector<std::string> HeaderTitles(TestTable* table);

}  // namespace table_test
