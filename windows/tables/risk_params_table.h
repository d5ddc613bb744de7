// CVantrelFutRiskParamsTable: the host table "Риск-параметры срочного рынка"
// (host table type 210606, table kind 1). One row per client record of the
// module, coloured by the client's funds-sufficiency state; the cells follow
// the risk column schema. Rows point at the module's records and never own
// them.
#pragma once

#include "module/table_refresh.h"
#include "sdk/table_plugin.h"
#include "windows/tables/risk_table_filter.h"
#include "windows/tables/table_columns.h"

struct TClientRiskRecord;

// The host's filter-refresh message to a table window.
enum : UINT { WM_TABLE_FILTER_REFRESH = 4042 };

class CVantrelFutRiskParamsTable : public CTablePlugin {
 public:
  CVantrelFutRiskParamsTable(TableSchema* columns, const char* caption, const char* dialogTitle,
                             UINT dialogTemplate, DLGPROC dialogProc, uint32_t tableType);
  // Empties the three filters through the host, which owns their arrays.
  ~CVantrelFutRiskParamsTable() override;

  // The table's own record follows the SDK's: version 104, the client,
  // account and firm filters, the conditions, the closing pattern, the
  // client and position types, then the filter file.
  bool LoadState() override;
  int SaveState(LPARAM hostValue) override;
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  int OnMDIActivate(HWND activated, HWND deactivated) override;
  // Nothing until the module has a firm's settings; then every client record
  // of the module that the table accepts, in the module's order. True.
  bool FillRows() override;
  bool ClearRowsOfKind(int kind, int argument) override;
  // False for the excluded and for whoever fails the table's filter.
  bool AcceptsRecord(void* row) override;
  // The filter dialog's choices become the table's once it is confirmed.
  bool OnTableDialogApply(HWND dialog) override;
  // The dialog works on copies of the filters; they become the table's only on OK.
  bool EditWithFilters();
  double GetCellValue(int mode, int position, void* row, char* text, int titleFlag, int* textFlag) override;
  // Adds, recolours or removes the record's row as the filter decides; 0 for
  // another kind or a null record.
  int UpdateRowColors(int kind, void* row) override;
  // Either of `text` and `textFlag` may be null; what is given is written.
  double GetCellText(int mode, int position, void* row, char* text, int* textFlag) override;
  // By firm code, then trading account; the client code takes no part.
  int CompareRows(void* first, void* second) override;
  // True when some line of the list, header included, carries the record.
  virtual bool ContainsRecord(const TClientRiskRecord* record);
  int OnMenuCommand(int id, int code, int control) override;
  // The context menu: margin calls, refresh, closing, sorting by the clicked
  // column (-1 outside the list) and the host's table commands.
  void OnContextMenu(HMENU menu, int column, int row) override;
  // A margin call of the kind to the selected client, or to every client of
  // the table, its text shown for editing first.
  void SendMarginCallToClient(int type);
  void SendMarginCallToAllClients(int type, int command);
  // Sorts by the column at the position: its default direction first, the
  // other on a second choice; with -1 every sort field goes.
  void SortByColumn(int position);
  // The closing commands: the preparation window of one client, or one for
  // every client of the table, by the table's closing pattern.
  void CloseClientPositions(bool allClients, TClientRiskRecord* record);
  // Active closing orders of the client (null: of every client the table accepts).
  int CountActiveClosingOrders(const TClientRiskRecord* record);

  int GetTableKind() const { return tableKind_; }
  // The filters are the host's storage: its filter functions fill and empty them.
  host::FilterSelection* GetClientFilter() { return &filters_.first; }
  host::FilterSelection* GetAccountFilter() { return &filters_.second; }
  host::FilterSelection* GetFirmFilter() { return &firmFilter_; }
  // 1: the client filter's items are kept out; 0: only they pass.
  uint32_t GetClientFilterMode() const { return filters_.first.reserved1; }
  uint32_t SetClientFilterMode(uint32_t mode) { return filters_.first.reserved1 = mode; }
  // Position of the table's closing pattern in the module's list; -1 for none.
  int GetPatternIndex() const { return patternIndex_; }
  int SetPatternIndex(int index) { return patternIndex_ = index; }
  // Set when the table reads its client filter from a file of its own; such a
  // table is left out of the module-wide filter updates.
  bool GetFilterFromFile() const { return filterFromFile_; }
  bool SetFilterFromFile(bool fromFile) { return filterFromFile_ = fromFile; }
  TRiskTableFilter& Filter() { return filter_; }
  const TRiskTableFilter& Filter() const { return filter_; }

 private:
  int tableKind_ = kRiskTableKind;
  // The client filter is the first selection and the trading-account filter
  // the second, as the host's refresh message addresses them.
  TTableFilterSelections filters_ = {};
  host::FilterSelection firmFilter_ = {};
  int patternIndex_ = -1;
  bool filterFromFile_ = false;
  TRiskTableFilter filter_;
};

// The procedure of the table's create/edit dialog (template 101): the
// filters, the conditions and the closing pattern, then the SDK's name and
// columns.
INT_PTR CALLBACK RiskTableDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
