#include "windows/tables/orders_table.h"

#include <cstring>
#include <string>

#include "module/cell_colors.h"
#include "module/host_data/closing_order_book.h"
#include "module/market_records.h"
#include "sdk/host_call.h"
#include "sdk/host_record_fields.h"
#include "sdk/host_state_stream.h"
#include "windows/tables/legacy_client_filter.h"
#include "windows/tables/order_cells.h"
#include "windows/tables/orders_table_source.h"
#include "windows/tables/risk_params_table.h"

namespace {
using host::record::FixedText;
using host::record::Read;
namespace order = host_data::order;

constexpr uint32_t kOrdersStateVersion = 101;
constexpr int kCellTextSize = 1024;


const uint8_t* Bytes(const void* row) { return static_cast<const ClosingOrderRecord*>(row)->bytes; }

const uint8_t* SecurityOf(const uint8_t* record) {
  return GetSecurityInfoByIndex(Read<int32_t>(record, order::kSecurityIndex));
}

TableRowColours OrderRowColours(const void* row) {
  TRowColors colors;
  GetOrderRowColors(Bytes(row), &colors);
  TableRowColours block{};
  block.flags = colors.flags;
  for (int i = 0; i < 5; ++i) block.values[i] = colors.values[i];
  return block;
}

bool Accepts(const std::string& text, const host::ItemList* list, const host::FilterSelection& filter) {
  return HostCall<58>(text.c_str(), list, &filter) != 0;
}

}  // namespace

CVantrelOrdersTable::CVantrelOrdersTable(TableSchema* columns, const char* caption, const char* dialogTitle,
                                         UINT dialogTemplate, DLGPROC dialogProc, uint32_t tableType)
    : CTablePlugin(columns, caption, dialogTitle, dialogTemplate, dialogProc, tableType, nullptr, FALSE) {}

CVantrelOrdersTable::~CVantrelOrdersTable() {
  HostCall<54>(&filters_.first);
  HostCall<54>(&filters_.second);
  HostCall<54>(&firmFilter_);
}

bool CVantrelOrdersTable::LoadState() {
  if (!CTablePlugin::LoadState()) return false;
  IOrdersTableSource* source = GetOrdersTableSource();
  const TOrdersFilterLists lists = source != nullptr ? source->OrdersFilterLists() : TOrdersFilterLists{};
  HostStateStream stream;
  uint32_t version = 0;
  stream.ReadU32(&version);
  HostCall<57>(&filters_.first, lists.clients);
  if (source != nullptr)
    DropLegacyClientFilter(filters_.first, lists.clients, [source] { source->DropClientFilterItems(); });
  HostCall<57>(&filters_.second, lists.accounts);
  HostCall<57>(&firmFilter_, lists.firms);
  // A record cut short leaves the rest of the flags as they were.
  for (bool* flag : {&showActive, &showWithdrawn, &showExecuted, &showBuy, &showSell}) {
    uint8_t byte = 0;
    if (!stream.Read(&byte, 1)) break;
    *flag = byte != 0;
  }
  return true;
}

int CVantrelOrdersTable::SaveState(LPARAM hostValue) {
  if (!CTablePlugin::SaveState(hostValue)) return 0;
  IOrdersTableSource* source = GetOrdersTableSource();
  const TOrdersFilterLists lists = source != nullptr ? source->OrdersFilterLists() : TOrdersFilterLists{};
  HostStateStream stream;
  stream.WriteU32(kOrdersStateVersion);
  HostCall<56>(&filters_.first, lists.clients);
  HostCall<56>(&filters_.second, lists.accounts);
  HostCall<56>(&firmFilter_, lists.firms);
  for (bool flag : {showActive, showWithdrawn, showExecuted, showBuy, showSell}) {
    const uint8_t byte = flag ? 1 : 0;
    stream.Write(&byte, 1);
  }
  return 1;
}

BOOL CVantrelOrdersTable::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_TABLE_FILTER_REFRESH) {
    IOrdersTableSource* source = GetOrdersTableSource();
    const TOrdersFilterLists lists = source != nullptr ? source->OrdersFilterLists() : TOrdersFilterLists{};
    if (HandleTableRefreshMessage(kOrdersTableType, &filters_, {lists.clients, lists.accounts})) FillRows();
  }
  return CTablePlugin::OnMessage(message, wParam, lParam, result);
}

void CVantrelOrdersTable::OnContextMenu(HMENU menu, int, int) {
  CZPluginTableView* view = GetView();
  const void* row = view != nullptr ? view->GetSelectedRow() : nullptr;
  const bool active = row != nullptr && (Read<uint32_t>(Bytes(row), order::kFlags) & order::kActive) != 0;
  AppendMenuA(menu, MF_STRING | (active ? MF_ENABLED : MF_GRAYED), kCommandWithdrawOrder, "Снять заявку");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kCommandEditTable, "Редактировать таблицу");
  AppendMenuA(menu, MF_STRING, kCommandListDialog, "Копировать в буфер обмена");
  AppendMenuA(menu, MF_STRING, kCommandListService, "Вывод через DDE сервер");
}

int CVantrelOrdersTable::OnMenuCommand(int id, int code, int control) {
  if (id == kCommandEditTable) return EditWithFilters();
  if (id == kCommandWithdrawOrder) WithdrawSelectedOrder();
  return CTablePlugin::OnMenuCommand(id, code, control);
}

void CVantrelOrdersTable::WithdrawSelectedOrder() {
  CZPluginTableView* view = GetView();
  IOrdersTableSource* source = GetOrdersTableSource();
  const void* row = view != nullptr ? view->GetSelectedRow() : nullptr;
  if (row == nullptr || source == nullptr) return;
  // Without the security's description the host could not tell the order's class.
  const uint8_t* security = SecurityOf(Bytes(row));
  if (security == nullptr) return;
  source->WithdrawClosingOrder(security, static_cast<double>(Read<int64_t>(Bytes(row), order::kNumber)));
}

// The dialog edits copies of the filters; they become the table's only on OK.
bool CVantrelOrdersTable::EditWithFilters() {
  if (GetView() == nullptr) return false;
  HostCall<55>(&g_editFilters.client, &filters_.first);
  HostCall<55>(&g_editFilters.account, &filters_.second);
  HostCall<55>(&g_editFilters.firm, &firmFilter_);
  if (!EditTable()) return false;
  HostCall<55>(&filters_.first, &g_editFilters.client);
  HostCall<55>(&filters_.second, &g_editFilters.account);
  HostCall<55>(&firmFilter_, &g_editFilters.firm);
  FillRows();
  return true;
}

int CVantrelOrdersTable::OnMDIActivate(HWND activated, HWND deactivated) {
  const int enable = activated == GetHwnd() ? 1 : 0;
  for (int command : {int{kCommandWithdrawOrder}, int{kCommandEditTable}, int{kCommandListDialog}, int{kCommandListService}})
    HostCall<11>(command, enable);
  return CZPluginChildWnd::OnMDIActivate(activated, deactivated);
}

bool CVantrelOrdersTable::FillRows() {
  ClearRowsOfKind(tableKind_, 0);
  if (IOrdersTableSource* source = GetOrdersTableSource())
    for (ClosingOrderRecord* record : source->ClosingOrderRows()) UpdateRowColors(tableKind_, record);
  return true;
}

bool CVantrelOrdersTable::ClearRowsOfKind(int kind, int) { return kind == tableKind_ && ClearRows() != 0; }

bool CVantrelOrdersTable::AcceptsRecord(void* row) {
  CZPluginTableView* view = GetView();
  IOrdersTableSource* source = GetOrdersTableSource();
  if (row == nullptr || view == nullptr || source == nullptr) return false;
  const uint8_t* record = Bytes(row);
  if (source->FilterOrdersByComment() &&
      FixedText(record, order::kComment, order::kCommentCapacity).find(source->ClosingComment()) == std::string::npos)
    return false;
  const TOrdersFilterLists lists = source->OrdersFilterLists();
  const std::string firm = FixedText(record, order::kFirm, order::kFirmCapacity);
  const std::string client = FixedText(record, order::kClientCode, order::kClientCodeCapacity) + " (" + firm + ")";
  if (!Accepts(firm, lists.firms, firmFilter_) || !Accepts(client, lists.clients, filters_.first) ||
      !Accepts(FixedText(record, order::kAccount, order::kAccountCapacity), lists.accounts, filters_.second))
    return false;
  const uint32_t flags = Read<uint32_t>(record, order::kFlags);
  const bool stateShown = (flags & order::kActive) != 0      ? showActive
                          : (flags & order::kWithdrawn) != 0 ? showWithdrawn
                                                             : showExecuted;
  return stateShown && ((flags & order::kSell) != 0 ? showSell : showBuy);
}

int CVantrelOrdersTable::UpdateRowColors(int kind, void* row) {
  if (kind != tableKind_ || row == nullptr) return 0;
  const TableRowColours colours = OrderRowColours(row);
  return RefreshRow(row, &colours);
}

bool CVantrelOrdersTable::OnListCommand(ZListCommandRecord* record, int code, LRESULT* result) {
  if (code == ZLIST_CMD_DOUBLE_CLICK && record != nullptr && record->line > 0) WithdrawSelectedOrder();
  return CTablePlugin::OnListCommand(record, code, result);
}

double CVantrelOrdersTable::GetCellText(int, int position, void* row, char* text, int* textFlag) {
  CZPluginTableView* view = GetView();
  if (row == nullptr || view == nullptr) return 0.0;
  if (text != nullptr) text[0] = 0;
  if (textFlag != nullptr) *textFlag = 0;
  const TableColumnInfo* column = view->ColumnInfoAt(position);
  if (column == nullptr) return 0.0;
  if (textFlag != nullptr) *textFlag = TableColumnInfo::IsTextType(*column) ? 1 : 0;
  const uint8_t* security = SecurityOf(Bytes(row));
  const uint8_t* classRecord = security != nullptr ? GetClassInfoByIndex(SecurityClassIndexOf(security)) : nullptr;
  if (classRecord == nullptr) return 0.0;
  char cell[kCellTextSize];
  const double value = OrderCellText(view->ColumnIdAt(position), Bytes(row), security, classRecord, cell, sizeof cell);
  if (text != nullptr) lstrcpynA(text, cell, kCellTextSize);
  return value;
}

double CVantrelOrdersTable::GetCellValue(int, int position, void* row, char* text, int, int* textFlag) {
  const double value = GetCellText(0, position, row, text, textFlag);
  CZPluginTableView* view = GetView();
  const TableColumnInfo* column = view != nullptr ? view->ColumnInfoAt(position) : nullptr;
  if (column != nullptr && textFlag != nullptr &&
      (column->valueType == kColumnTimeOfDay || column->valueType == kColumnDate))
    *textFlag = 1;
  return value;
}

int CVantrelOrdersTable::CompareRows(void* first, void* second) {
  if (first == second) return 0;
  if (first == nullptr) return -1;
  if (second == nullptr) return 1;
  const int32_t a = Read<int32_t>(Bytes(first), order::kKey), b = Read<int32_t>(Bytes(second), order::kKey);
  return a > b ? 1 : a < b ? -1 : 0;
}
