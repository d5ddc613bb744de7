// The SDK's table window: a plug-in child window whose client area is one
// host list, driven by its CZPluginTableView. The product's tables derive
// from it and override the row, cell, sort and command hooks.
#pragma once

#include "sdk/plugin_child_wnd.h"
#include "sdk/table_view.h"

// Marker a table window writes after the child window's record.
enum : uint32_t { kTableStateMarker = 20933 };

// Private messages the host and the module send to a table window.
enum : UINT {
  WM_TABLE_LIST_SERVICE = 4044,
  WM_TABLE_TABLE_SERVICE = 4045,
  WM_TABLE_HOST_LOOK = 4047,
  WM_TABLE_LIST_SERVICE_STOP = 4058,
  WM_TABLE_REFILL = 4065,
  WM_TABLE_START_LIST_SERVICE = 4066,
  WM_TABLE_START_TABLE_SERVICE = 4067,
  WM_TABLE_START_SERVICES = 4068,
};

// Host commands a table answers.
enum : int {
  kCommandEditTable = 303,
  kCommandListDialog = 304,
  kCommandListService = 306,
  kCommandTableService = 307,
};

enum RowOperation { kRowInsert = 0, kRowDelete = 1, kRowUpdate = 2 };

class CTablePlugin : public CZPluginChildWnd {
 public:
  CTablePlugin(TableSchema* schema, const char* caption, const char* dialogCaption, UINT dialogTemplate,
               DLGPROC dialogProc, uint32_t kind, HICON icon, BOOL bigIcon);
  ~CTablePlugin() override;

  bool LoadState() override;
  HWND Create(const char* className, const char* caption, DWORD style, int x, int y, int width, int height,
              LPARAM extra) override;
  // Creates the table with the defaults the module uses.
  HWND Create() { return Create(nullptr, nullptr, 0x50CF0000, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0); }
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  int SaveState(LPARAM hostValue) override;
  int OnMenuCommand(int id, int code, int control) override;
  int OnMDIActivate(HWND activated, HWND deactivated) override;
  int OnSize(int type, LPARAM size, int height) override;

  virtual bool OnTableDialogInit(HWND dialog);
  virtual void OnTableDialogUpdate(HWND dialog);
  virtual bool OnTableDialogApply(HWND dialog);
  virtual bool OnTableDialogCommand(LPARAM lParam, WPARAM wParam, int code);
  virtual bool EditTable();
  virtual int StartListService(int flag);
  virtual int ApplyHostLook();
  virtual void OnListEvent();
  virtual bool FillRows();
  virtual bool ClearRowsOfKind(int kind, int argument);
  virtual int ClearRows();
  virtual void EnableTableCommands(BOOL enable);
  virtual bool AcceptsRecord(void* row);
  virtual int UpsertRow(void* row, int column, int operation, const TableRowColours* colours);
  // Removes the row of the object from the list, whatever the table's filter says.
  int DeleteRow(void* row);
  virtual double GetCellValue(int mode, int position, void* row, char* text, int titleFlag, int* textFlag);
  virtual const char* FormatInt(int first, int value, int third, int fourth);
  virtual int UpdateRowColors(int kind, void* row);
  virtual int RefreshRow(void* row, const TableRowColours* colours);
  virtual bool OnListCommand(ZListCommandRecord* record, int code, LRESULT* result);
  virtual INT_PTR GetSortValue(int mode, void* context, void* row, int position, char* text, int textSize,
                               void* value);
  virtual int CompareRowsCallback(int mode, void* first, void* second, int reserved);
  // Writes at most 1,024 bytes of text, terminator included.
  virtual double GetCellText(int mode, int position, void* row, char* text, int* textFlag);
  virtual int CompareRows(void* first, void* second);
  virtual const char* GetColumnText(int position);

  CZPluginTableView* GetView() const { return view_; }
  // Tells this table from every other of the process, one closed before
  // among them: a table is found again by it after a modal box, never
  // kept by its address.
  uint32_t Serial() const { return serial_; }

 private:
  bool ConfirmColumnRemoval(int position);
  void PostServiceRestarts(bool listWasOn, bool tableWasOn);

  CZPluginTableView* view_ = nullptr;
  uint32_t serial_;
};
