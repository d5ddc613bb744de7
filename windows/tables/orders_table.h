// CVantrelOrdersTable: the host table "Заявки по закрытию позиций клиентов"
// (host table type 210607, table kind 2). One row per closing-order record
// of the module, that is per host answer to one of the plug-in's own closing
// orders; the rows point at the module's records and never own them. The
// table's filter (firms, clients, accounts, the closing comment, states and
// directions) decides which orders are shown.
#pragma once

#include "module/table_refresh.h"
#include "sdk/table_plugin.h"
#include "windows/tables/table_columns.h"

// The withdrawal command of the orders table (context menu and host menu).
enum : int { kCommandWithdrawOrder = 424 };

class CVantrelOrdersTable : public CTablePlugin {
 public:
  CVantrelOrdersTable(TableSchema* columns, const char* caption, const char* dialogTitle, UINT dialogTemplate,
                      DLGPROC dialogProc, uint32_t tableType);
  // Empties the three filters through the host, which owns their arrays.
  ~CVantrelOrdersTable() override;

  // The table's own record follows the SDK's: version 101, the client,
  // account and firm filters, then the flags active, withdrawn, executed,
  // buy and sell, a byte each.
  bool LoadState() override;
  int SaveState(LPARAM hostValue) override;
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnContextMenu(HMENU menu, int x, int y) override;
  int OnMenuCommand(int id, int code, int control) override;
  int OnMDIActivate(HWND activated, HWND deactivated) override;
  // Every closing-order record of the module that the filter accepts. True.
  bool FillRows() override;
  bool ClearRowsOfKind(int kind, int argument) override;
  bool AcceptsRecord(void* row) override;
  // Time and date cells are handed to the list as their text.
  double GetCellValue(int mode, int position, void* row, char* text, int titleFlag, int* textFlag) override;
  int UpdateRowColors(int kind, void* row) override;
  // A double click on an order's line withdraws it.
  bool OnListCommand(ZListCommandRecord* record, int code, LRESULT* result) override;
  // Either of `text` and `textFlag` may be null; what is given is written.
  double GetCellText(int mode, int position, void* row, char* text, int* textFlag) override;
  // By the host's row order word of the records.
  int CompareRows(void* first, void* second) override;

  int GetTableKind() const { return tableKind_; }
  host::FilterSelection* GetClientFilter() { return &filters_.first; }
  host::FilterSelection* GetAccountFilter() { return &filters_.second; }
  host::FilterSelection* GetFirmFilter() { return &firmFilter_; }

  // Which orders are shown: by state (an active order counts as active even
  // when also marked withdrawn) and by direction.
  bool showActive = true;
  bool showExecuted = true;
  bool showWithdrawn = true;
  bool showBuy = true;
  bool showSell = true;

 private:
  void WithdrawSelectedOrder();
  bool EditWithFilters();

  int tableKind_ = kOrdersTableKind;
  // The client filter is the first selection and the trading-account filter
  // the second, as the host's refresh message addresses them.
  TTableFilterSelections filters_ = {};
  host::FilterSelection firmFilter_ = {};
};

// The procedure of the table's create/edit dialog (template 116): the three
// filters and the five state and direction boxes, then the SDK's name and
// columns.
INT_PTR CALLBACK OrdersTableDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
