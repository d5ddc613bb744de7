#include "risk_table_environment.h"

#include <cstdio>

#include "host/zlist/zlist_readback.h"
#include "support/dialog_driver.h"

namespace windows_test {

RiskTableEnvironment::RiskTableEnvironment(bool visible) {
  host_.CreateFrame("Тестовый терминал", visible);
  module_.reset(new RiskTestModule(GetModuleHandleA(nullptr)));
  module_->OnPluginInit(1, host_.FunctionTable(), callbacks_, "");
  module_->SetHostUiInfo(host_.UiInfo());
  module_->SetLocaleSeparators(' ', ',');
  BuildTableColumns(schemas_);
}

RiskTableEnvironment::~RiskTableEnvironment() {
  // Windows still open close with the host's frame, while the module lives.
  DestroyWindow(host_.Frame());
  Pump();
  module_.reset();
}

void RiskTableEnvironment::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

CVantrelFutRiskParamsTable* RiskTableEnvironment::CreateRiskTable() {
  auto* table = new CVantrelFutRiskParamsTable(&schemas_.risk, "Риск-параметры срочного рынка", "Создание таблицы",
                                               101, TableSettingsDlgProc, 210606);
  DialogDriver ok([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  if (!table->Create()) {
    delete table;
    return nullptr;
  }
  return table;
}

CTablePlugin* RiskTableEnvironment::CreatePlainTable(TableSchema* schema) {
  auto* table = new CTablePlugin(schema, "Таблица", "Создание таблицы", 101, TableSettingsDlgProc, 310002, nullptr,
                                 FALSE);
  DialogDriver ok([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  if (!table->Create()) {
    delete table;
    return nullptr;
  }
  return table;
}

std::unique_ptr<TClientRiskRecord> MakeClient(const char* firm, const char* account, const char* clientCode) {
  std::unique_ptr<TClientRiskRecord> record(new TClientRiskRecord(firm, account));
  snprintf(record->clientCode, sizeof record->clientCode, "%s", clientCode);
  return record;
}

HWND ListOf(CTablePlugin* table) { return table && table->GetView() ? table->GetView()->GetList() : nullptr; }

std::string CellText(CTablePlugin* table, int line, int column) {
  char text[512] = {};
  if (!ZListInspectCell(ListOf(table), line, column, text, sizeof text, nullptr, nullptr)) return "<no cell>";
  return text;
}

COLORREF CellBack(CTablePlugin* table, int line, int column) {
  COLORREF back = 0;
  ZListInspectCell(ListOf(table), line, column, nullptr, 0, &back, nullptr);
  return back;
}

COLORREF CellFore(CTablePlugin* table, int line, int column) {
  COLORREF fore = 0;
  ZListInspectCell(ListOf(table), line, column, nullptr, 0, nullptr, &fore);
  return fore;
}

std::vector<std::string> HeaderTitles(CTablePlugin* table) {
  std::vector<std::string> titles;
  for (int c = 0; c < GetNColumns(ListOf(table)); ++c) titles.push_back(CellText(table, 0, c));
  return titles;
}

int LineOf(CTablePlugin* table, const void* row) {
  return GetDefaultIndex(ListOf(table), const_cast<void*>(row));
}

}  // namespace windows_test
