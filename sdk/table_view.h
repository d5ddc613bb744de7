// The list control of a table window: its columns, its lines (one per row
// object), the cell data it draws through callbacks, the create/edit dialog
// and the two host services offered for tables.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

#include "sdk/modal_end.h"
#include "sdk/state_stream.h"
#include "sdk/table_column_info.h"
#include "sdk/table_view_settings.h"
#include "sdk/zlist_api.h"

class CTablePlugin;
class CZPluginTableView;

// Colours of a row: flags, then the values of list properties 2, 8, 1, 4
// and 128 (flags 0x02, 0x08, 0x01, 0x04 and 0x80; 128 with 0 resets it).
struct TableRowColours {
  uint32_t flags;
  uint32_t values[5];
};

// The block the view hands to the host's table service.
struct TableServiceCallbacks {
  uint32_t size;  // 64
  HWND tableWindow;
  HWND list;
  void* serviceBlock;
  CZPluginTableView* view;
  void* callbacks[11];
};
static_assert(sizeof(TableServiceCallbacks) == 64, "table service block layout");

// The table service's own block; the view reads three of its dwords.
enum { kTableServiceBlockDwords = 168 };  // 672 bytes
enum { kServiceRunning = 14, kServiceStartAfterRestore = 20, kServiceStartOnMessage = 21 };

class CZPluginTableView {
 public:
  CZPluginTableView(TableSchema* schema, const char* caption, const char* dialogCaption, UINT dialogTemplate,
                    DLGPROC dialogProc);
  virtual ~CZPluginTableView();

  virtual bool Open(CTablePlugin* table);
  virtual bool CreateList();
  virtual void FillTableDialog();
  virtual void UpdateTableDialogButtons();
  virtual bool ApplyTableDialog();
  virtual bool OnTableDialogCommand(LPARAM lParam, WPARAM wParam, int code);
  virtual void OnListServiceMessage(UINT message);
  virtual int StartListService(int flag);
  virtual bool StopListService(bool final);
  virtual void OnTableServiceMessage(UINT message);
  virtual int StartTableService(int flag);
  virtual bool StopTableService(bool final);
  virtual bool RunListDialogService();
  virtual void FitFrameToList();
  virtual int UpdateRow(void* row, int column, int operation, const TableRowColours* colours);
  virtual int GetRowCount() const;
  virtual int GetColumnCount() const;
  virtual int IndexOfColumn(int id) const;
  virtual void* GetSelectedRow() const;
  virtual bool IsTextColumn(int id) const;
  virtual bool IsTextColumnAt(int position) const;
  virtual void SetSelection(int line, int flag);
  virtual void* GetRowObject(int line) const;
  virtual bool SaveSettings(StateStream& stream);
  virtual bool LoadSettings(StateStream& stream);
  virtual int ApplyHostLook();
  virtual void ClearRows();
  virtual void RegisterListService(const void* settings, uint32_t length);

  // What the tables and their dialogs read.
  HWND GetList() const { return list_; }
  HWND GetDialog() const { return dialog_; }
  void SetDialog(HWND dialog) { dialog_ = dialog; }
  // The dialog's own buttons end it through here: Open takes nothing else
  // for a confirmation.
  void EndTableDialog(HWND dialog, INT_PTR result) { dialogEnd_.End(dialog, result); }
  CTablePlugin* GetTable() const { return table_; }
  TableSchema* GetSchema() const { return schema_; }
  const std::vector<ColumnRef>& Columns() const { return columns_; }
  int ColumnIdAt(int position) const;  // -1 outside the columns
  const TableColumnInfo* ColumnInfoAt(int position) const;
  const std::string& Caption() const { return caption_; }
  const std::string& DialogCaption() const { return dialogCaption_; }
  void SetDialogCaption(const std::string& caption) { dialogCaption_ = caption; }
  bool DialogRequired() const { return dialogRequired_; }
  int DefaultSortDirection(int position) const { return IsTextColumnAt(position) ? 1 : 0; }
  // The list's sort fields as (position, direction): read afresh while the
  // list exists, kept as last read once it is gone.
  const std::vector<ZListSortField>& SortFieldsCopy();
  void RefreshSortFieldsCopy();
  int ListServiceId() const { return listServiceId_; }
  const uint32_t* TableServiceBlock() const { return tableServiceBlock_; }
  // Moves or removes a shown column; the fixed first column never moves.
  bool MoveColumn(int from, int to);
  bool RemoveColumn(int position);
  bool ListServiceOn() const;
  bool TableServiceOn() const { return tableServiceBlock_[kServiceRunning] != 0; }

  // Width in pixels of a schema column.
  int DefaultWidth(const TableColumnInfo& info) const;

 private:
  int PositionOf(int id) const;  // -1 when not shown
  void FillColumnsFromSchema();
  void TakeListStateIntoPending();
  void ApplyPendingListState();
  void FillTableServiceCallbacks();
  void ReportServiceError(const char* text);

  TableSchema* schema_;
  std::vector<ColumnRef> columns_;
  CTablePlugin* table_ = nullptr;
  HWND tableWindow_ = nullptr;
  HWND list_ = nullptr;
  HWND dialog_ = nullptr;
  UINT dialogTemplate_;
  bool dialogRequired_ = true;
  DLGPROC dialogProc_;
  CModalEnd dialogEnd_;
  std::string caption_;
  std::string dialogCaption_;
  std::vector<SavedSortField> pendingSortFields_;
  std::vector<FilterRecord> pendingFilters_;
  std::vector<FormatRecord> pendingFormatting_;
  std::vector<ZListSortField> sortFieldsCopy_;
  int32_t listServiceId_ = 0;
  TableServiceCallbacks tableServiceCallbacks_;
  uint32_t tableServiceBlock_[kTableServiceBlockDwords];
  bool restored_ = false;
};

// The table being served by a list callback or a row update, the table whose
// create/edit dialog runs, the view being served and the row being updated.
extern CTablePlugin* g_pCurrentTable;
extern CTablePlugin* g_pTableBeingCreated;
extern CZPluginTableView* g_pCurrentTableView;
extern void* g_pCurrentRowObject;

// The SDK's create/edit dialog procedure (dialog template 101).
INT_PTR CALLBACK TableSettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Integer conversions of cell values: NaN gives 0, values out of range the
// nearest bound.
int32_t ClampToInt32(double value);
int64_t ClampToInt64(double value);

// Writes the 8-byte list value of a date (type 8) or time (type 7) cell.
void WritePackedTimeValue(uint32_t valueType, double value, void* out);
