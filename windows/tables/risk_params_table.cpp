#include "windows/tables/risk_params_table.h"

#include <cmath>

#include "module/risk/client_risk_record.h"
#include "sdk/host_call.h"
#include "windows/tables/risk_cells.h"
#include "windows/tables/risk_row_colours.h"
#include "windows/tables/risk_table_source.h"

namespace {

constexpr int kCellTextSize = 1024;
constexpr double kHugeValue = 1e50;
constexpr double kHugeValueTolerance = 1e-8;

// Byte by byte as unsigned characters; -1, 0 or 1.
int CompareCodes(const char* a, const char* b) {
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  while (*x != 0 && *x == *y) ++x, ++y;
  return *x == *y ? 0 : *x > *y ? 1 : -1;
}

}  // namespace

CVantrelFutRiskParamsTable::CVantrelFutRiskParamsTable(TableSchema* columns, const char* caption,
                                                       const char* dialogTitle, UINT dialogTemplate,
                                                       DLGPROC dialogProc, uint32_t tableType)
    : CTablePlugin(columns, caption, dialogTitle, dialogTemplate, dialogProc, tableType, nullptr, FALSE) {}

CVantrelFutRiskParamsTable::~CVantrelFutRiskParamsTable() {
  HostCall<54>(&filters_.first);
  HostCall<54>(&filters_.second);
  HostCall<54>(&firmFilter_);
}

BOOL CVantrelFutRiskParamsTable::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_TABLE_FILTER_REFRESH) {
    IRiskTableSource* source = GetRiskTableSource();
    const TFilterHandles handles = source != nullptr ? source->RiskFilterHandles() : TFilterHandles{};
    if (HandleTableRefreshMessage(kRiskTableType, &filters_, handles)) FillRows();
  }
  return CTablePlugin::OnMessage(message, wParam, lParam, result);
}

int CVantrelFutRiskParamsTable::OnMDIActivate(HWND activated, HWND deactivated) {
  const int enable = activated == GetHwnd() ? 1 : 0;
  for (int command : {kCommandEditTable, kCommandListDialog, kCommandListService}) HostCall<11>(command, enable);
  return CZPluginChildWnd::OnMDIActivate(activated, deactivated);
}

bool CVantrelFutRiskParamsTable::FillRows() {
  IRiskTableSource* source = GetRiskTableSource();
  if (source == nullptr || !source->HasFirmSettings()) return true;
  ClearRowsOfKind(tableKind_, 0);
  const TRiskColorSettings& settings = source->RiskColorSettings();
  for (TClientRiskRecord* record : source->RiskRecords()) {
    const TableRowColours colours = RiskRowColours(settings, record);
    RefreshRow(record, &colours);
  }
  return true;
}

bool CVantrelFutRiskParamsTable::ClearRowsOfKind(int kind, int) {
  return kind == tableKind_ && ClearRows() != 0;
}

int CVantrelFutRiskParamsTable::UpdateRowColors(int kind, void* row) {
  // A null record would become an empty line that no client owns.
  if (kind != tableKind_ || row == nullptr) return 0;
  IRiskTableSource* source = GetRiskTableSource();
  const TRiskColorSettings settings = source != nullptr ? source->RiskColorSettings() : TRiskColorSettings{};
  const TableRowColours colours = RiskRowColours(settings, static_cast<const TClientRiskRecord*>(row));
  return RefreshRow(row, &colours);
}

double CVantrelFutRiskParamsTable::GetCellText(int, int position, void* row, char* text, int* textFlag) {
  CZPluginTableView* view = GetView();
  if (row == nullptr || view == nullptr) return 0.0;
  if (text != nullptr) text[0] = 0;
  if (textFlag != nullptr) *textFlag = 0;
  // A layout may name a column the schema does not have (or none at all):
  // such a cell stays empty.
  const TableSchema* schema = view->GetSchema();
  const int columnId = view->ColumnIdAt(position);
  if (schema == nullptr) return 0.0;
  const auto column = schema->find(columnId);
  if (column == schema->end()) return 0.0;
  if (textFlag != nullptr) *textFlag = TableColumnInfo::IsTextType(column->second) ? 1 : 0;
  char cell[kCellTextSize];
  const double value = RiskCellText(columnId, *static_cast<const TClientRiskRecord*>(row), cell, sizeof cell);
  if (text != nullptr) lstrcpynA(text, cell, kCellTextSize);
  return value;
}

double CVantrelFutRiskParamsTable::GetCellValue(int, int position, void* row, char* text, int, int* textFlag) {
  const double value = GetCellText(0, position, row, text, textFlag);
  if (textFlag != nullptr && *textFlag == 0 && text != nullptr && text[0] == 0 &&
      std::fabs(value - kHugeValue) <= kHugeValueTolerance)
    return 0.0;
  return value;
}

int CVantrelFutRiskParamsTable::CompareRows(void* first, void* second) {
  if (first == second) return 0;
  if (first == nullptr) return -1;
  if (second == nullptr) return 1;
  const auto* a = static_cast<const TClientRiskRecord*>(first);
  const auto* b = static_cast<const TClientRiskRecord*>(second);
  const int firms = CompareCodes(a->firm, b->firm);
  return firms != 0 ? firms : CompareCodes(a->account, b->account);
}

bool CVantrelFutRiskParamsTable::ContainsRecord(const TClientRiskRecord* record) {
  CZPluginTableView* view = GetView();
  if (record == nullptr || view == nullptr || view->GetList() == nullptr) return false;
  return GetPropertyWithData(view->GetList(), const_cast<TClientRiskRecord*>(record), -1, ZLIST_PROP_DATA) !=
         ZLIST_NO_LINE;
}
