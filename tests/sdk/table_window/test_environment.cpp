#include "test_environment.h"

#include "host/zlist/zlist_readback.h"
#include "sdk/host_call.h"
#include "support/dialog_driver.h"

namespace table_test {

TestEnvironment::TestEnvironment(bool visible) {
  host_.CreateFrame("Тестовый терминал", visible);
  module_.reset(new TestModule(GetModuleHandleA(nullptr)));
  module_->OnPluginInit(1, host_.FunctionTable(), callbacks_, "");
  module_->SetHostUiInfo(host_.UiInfo());
}

TestEnvironment::~TestEnvironment() {
  // Windows still open close with the host's frame, while the module lives.
  DestroyWindow(host_.Frame());
  Pump();
  module_.reset();
}

void TestEnvironment::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
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

int TestModule::RestoreWindow(uint32_t, const char*, uint32_t, uint32_t c, uint32_t d) {
  HostCall<59>(c, d);
  uint32_t marker = 0, kind = 0;
  int restoredWindow = 0;
  if (HostCall<63>(&marker, 4) && HostCall<63>(&kind, 4) && marker == 20090420 && kind == kTestTableKind) {
    auto* table = new TestTable;
    table->source = restoreSource;
    if (table->LoadState() && table->Create()) {
      restored.push_back(table);
      restoredWindow = 1;
    } else {
      delete table;
    }
  }
  HostCall<60>();
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
