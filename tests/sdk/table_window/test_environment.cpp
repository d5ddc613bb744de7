#include "test_environment.h"

#include "host/zlist/zlist_inspect.h"
#include "sdk/host_call.h"
#include "support/dialog_driver.h"
#include "host_basics.h"

namespace table_test {

struct TestEnvironment::Impl {
  explicit Impl(bool visible) : host(visible) {}
  BasicHost host;
};

TestEnvironment::TestEnvironment(bool visible) : impl_(new Impl(visible)) {
  sdk_.SetMdiClient(impl_->host.client);
  sdk_.InstallFunctions(impl_->host.table);
  module_.reset(new TestModule(GetModuleHandleA(nullptr)));
  module_->Init(reinterpret_cast<const uint32_t*>(impl_->host.table), impl_->host.callbacks);
  for (int i = 0; i < 18; ++i) module_->ui[i] = impl_->host.ui[i];
}

TestEnvironment::~TestEnvironment() {
  // Windows left open close with the host, before the module goes.
  DestroyWindow(impl_->host.frame);
  Pump();
  module_.reset();
}

HWND TestEnvironment::MdiClient() const { return impl_->host.client; }
HWND TestEnvironment::MainFrame() const { return impl_->host.frame; }

void TestEnvironment::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int TestEnvironment::RestoreLayout() {
  return sdk_.RestoreLayout(reinterpret_cast<const uintptr_t*>(impl_->host.callbacks));
}

TestTable* TestEnvironment::CreateTable(std::vector<TestRow*> rows) {
  auto* table = new TestTable;
  table->source = std::move(rows);
  DialogDriver ok([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  if (!table->Create()) {
    delete table;
    return nullptr;
  }
  return table;
}

int TestModule::RestoreWindow(uint32_t a, uint32_t b, uint32_t, uint32_t, uint32_t) {
  CallHostVoid(59, a, b);
  uint32_t marker = 0, kind = 0;
  int restoredWindow = 0;
  if (CallHost<int>(63, &marker, 4) && CallHost<int>(63, &kind, 4) && marker == 20090420 && kind == kTestTableKind) {
    auto* table = new TestTable;
    table->source = restoreSource;
    if (table->LoadState() && table->Create()) {
      restored.push_back(table);
      restoredWindow = 1;
    } else {
      delete table;
    }
  }
  CallHostVoid(60);
  return restoredWindow;
}

HWND ListOf(TestTable* table) { return table && table->GetView() ? table->GetView()->GetList() : nullptr; }

std::string CellText(TestTable* table, int line, int column) {
  char text[512] = {};
  if (!ZListInspectCell(ListOf(table), line, column, text, sizeof text, nullptr, nullptr)) return "<no cell>";
  return text;
}

COLORREF CellBack(TestTable* table, int line, int column) {
  COLORREF back = 0;
  ZListInspectCell(ListOf(table), line, column, nullptr, 0, &back, nullptr);
  return back;
}

COLORREF CellFore(TestTable* table, int line, int column) {
  COLORREF fore = 0;
  ZListInspectCell(ListOf(table), line, column, nullptr, 0, nullptr, &fore);
  return fore;
}

std::vector<std::string> HeaderTitles(TestTable* table) {
  std::vector<std::string> titles;
  for (int c = 0; c < GetNColumns(ListOf(table)); ++c) titles.push_back(CellText(table, 0, c));
  return titles;
}

}  // namespace table_test
