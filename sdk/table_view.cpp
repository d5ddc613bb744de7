#include "sdk/table_view.h"

#include <cstring>

#include "sdk/host_call.h"
#include "sdk/modal_loops.h"
#include "sdk/table_plugin.h"
#include "sdk/table_view_callbacks.h"

CTablePlugin* g_pCurrentTable = nullptr;
CTablePlugin* g_pTableBeingCreated = nullptr;
CZPluginTableView* g_pCurrentTableView = nullptr;
void* g_pCurrentRowObject = nullptr;

namespace {

const uint32_t* UiInfo() {
  static const uint32_t none[18] = {};
  return g_pPluginModule ? g_pPluginModule->GetHostUiInfo() : none;
}

// Sets a context global for the length of a scope and clears it on every
// way out.
template <typename T>
class ScopedGlobal {
 public:
  ScopedGlobal(T*& global, T* value) : global_(global) { global_ = value; }
  ~ScopedGlobal() { global_ = nullptr; }

 private:
  T*& global_;
};

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

}  // namespace

CZPluginTableView::CZPluginTableView(TableSchema* schema, const char* caption, const char* dialogCaption,
                                     UINT dialogTemplate, DLGPROC dialogProc)
    : schema_(schema),
      dialogTemplate_(dialogTemplate),
      dialogProc_(dialogProc),
      caption_(caption ? caption : ""),
      dialogCaption_(dialogCaption ? dialogCaption : "") {
  std::memset(&tableServiceCallbacks_, 0, sizeof tableServiceCallbacks_);
  std::memset(tableServiceBlock_, 0, sizeof tableServiceBlock_);
  RegisterListService(nullptr, 0);
  HostCall<84>(tableServiceBlock_);
  FillColumnsFromSchema();
}

CZPluginTableView::~CZPluginTableView() {
  if (list_ && IsWindow(list_)) DestroyWindow(list_);
}

void CZPluginTableView::FillColumnsFromSchema() {
  columns_.clear();
  if (!schema_) return;
  for (const auto& [id, info] : *schema_)
    if (info.visible) columns_.push_back({id, DefaultWidth(info)});
}

int CZPluginTableView::DefaultWidth(const TableColumnInfo& info) const {
  uint32_t perChar = UiInfo()[TableColumnInfo::IsTextType(info) ? 15 : 16];
  return static_cast<int>(info.width * perChar);
}

bool CZPluginTableView::Open(CTablePlugin* table) {
  table_ = table;
  if (columns_.empty()) FillColumnsFromSchema();
  ScopedGlobal<CZPluginTableView> current(g_pCurrentTableView, this);
  if (dialogRequired_) {
    if (!g_pPluginModule) return false;
    DLGPROC procedure = dialogProc_ ? dialogProc_ : TableSettingsDlgProc;
    dialogEnd_.Start();
    g_pPluginModule->RunDialog(dialogTemplate_, procedure, nullptr);
    if (dialogEnd_.Result() != 1 || PluginIsDone() || table->WindowGone()) return false;
  }
  if (!table->CZPluginChildWnd::Create(nullptr, caption_.c_str(), 0x56CF0000, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, 0))
    return false;
  static const char kCreating[] = "Создание";
  static const char kEditing[] = "Редактирование";
  const size_t prefix = sizeof kCreating - 1;
  if (dialogCaption_.compare(0, prefix, kCreating) == 0) dialogCaption_.replace(0, prefix, kEditing);

  WaitCursor wait;
  tableWindow_ = table->GetHwnd();
  bool created = CreateList();
  dialogRequired_ = true;
  return created;
}

bool CZPluginTableView::CreateList() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(tableWindow_, &placement);
  if (list_ && IsWindow(list_)) DestroyWindow(list_);
  list_ = CreateListClientEx(g_pPluginModule ? g_pPluginModule->GetInstance() : nullptr, tableWindow_, 1);
  if (!list_) return false;

  SetSuspendedInvalidation(list_, 15);
  if (!ListSortEnable(list_, TableSortCallback, table_)) return false;
  uint32_t option = 0;
  EnableColumnsDND(list_, CZenkPluginModule::QueryHostOption(6, 1, &option) ? option : 0);
  option = 0;
  if (CZenkPluginModule::QueryHostOption(6, 2, &option) && option) ListFilteringEnable(list_, TableRowDataCallback, table_);
  option = 0;
  if (CZenkPluginModule::QueryHostOption(6, 3, &option) && option)
    ListFormattingEnable(list_, TableRowDataCallback, table_);
  SetFixed(list_, 1, 1);

  for (int position = 0; position < GetColumnCount(); ++position) {
    const TableColumnInfo* info = ColumnInfoAt(position);
    ZListColumnDesc desc = {static_cast<uint16_t>(info ? info->valueType : 6), 0, 1};
    if (!AddColumn(list_, columns_[position].width, &desc)) return false;
  }
  ListDefSortEnableEx(list_, TableRowOrderCallback, table_, 0, 0);
  if (InsLineWithData(list_, nullptr) < 0) return false;

  const uint32_t* ui = UiInfo();
  for (int position = 0; position < GetColumnCount(); ++position) {
    const TableColumnInfo* info = ColumnInfoAt(position);
    if (!SetData(list_, 0, position, info ? info->title.c_str() : "")) return false;
    if (!IsTextColumnAt(position)) {
      SetStyle(list_, -1, position, 0x788, 0x508);
      SetProperty(list_, -1, position, ZLIST_PROP_CHAR_SIZE, -static_cast<INT_PTR>(ui[16]));
    } else {
      SetProperty(list_, -1, position, ZLIST_PROP_CHAR_SIZE, ui[15]);
    }
  }
  SetProperty(list_, -1, -1, ZLIST_PROP_DATA, reinterpret_cast<INT_PTR>(table_));
  SetProperty(list_, -1, -1, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&TableRowDataCallback));
  SetProperty(list_, -1, 0, ZLIST_PROP_DATA_CALLBACK, reinterpret_cast<INT_PTR>(&TableRowNumberCallback));
  SetProperty(list_, 0, -1, ZLIST_PROP_DATA_CALLBACK, 0);
  SetStyle(list_, 0, -1, 8, 0);
  SetProperty(list_, 0, -1, ZLIST_PROP_CHAR_SIZE, 0);
  SetStyle(list_, -1, 0, 2, 0xFFFF);
  SetStyle(list_, 0, -1, 2, 0xFFFF);
  SetProperty(list_, -1, 0, ZLIST_PROP_BACK_COLOUR, static_cast<INT_PTR>(0x8000000F));
  SetStandardSchema(list_);

  SetWindowTextA(tableWindow_, caption_.c_str());
  SetWindowPlacement(tableWindow_, &placement);
  FitFrameToList();

  ApplyPendingListState();
  ApplyHostLook();
  SetFocus(list_);

  if (restored_) {
    if (HostCall<171>(listServiceId_)) StartListService(0);
    if (tableServiceBlock_[kServiceStartAfterRestore]) StartTableService(2);
    restored_ = false;
  }
  return true;
}

bool CZPluginTableView::OnTableDialogCommand(LPARAM lParam, WPARAM wParam, int code) {
  return table_ && table_->OnTableDialogCommand(lParam, wParam, code);
}

void CZPluginTableView::FitFrameToList() {
  if (!table_) return;
  HWND frame = table_->GetHostFrame();
  if (!frame || IsZoomed(frame) || IsIconic(frame)) return;
  int listWidth = 0;
  GetXSize(list_, &listWidth);
  RECT window, client;
  GetWindowRect(frame, &window);
  GetClientRect(frame, &client);
  if (listWidth <= 0 || listWidth >= client.right) return;
  int width = (window.right - window.left) - client.right + listWidth;
  SetWindowPos(frame, nullptr, 0, 0, width, window.bottom - window.top, SWP_NOZORDER | SWP_NOMOVE);
}

int CZPluginTableView::UpdateRow(void* row, int, int operation, const TableRowColours* colours) {
  bool listOn = ListServiceOn();
  bool tableOn = TableServiceOn();
  int before = -1;
  if (listOn || tableOn) before = GetDefaultIndex(list_, row);

  int line = -1;
  if (operation == kRowInsert) line = InsLineWithData(list_, row);
  else if (operation == kRowDelete) line = DelLineWithData(list_, row);
  else line = UpdateLineWithData(list_, row);

  // A deleted row's index now names the next line, which keeps its own callback.
  g_pCurrentRowObject = row;
  if (line >= 0 && operation != kRowDelete) SetRowDataCallBack(list_, line, TableRowDataCallback);
  g_pCurrentTableView = nullptr;
  g_pCurrentRowObject = nullptr;

  if (operation != kRowDelete && colours && line != -1) {
    const int properties[4] = {ZLIST_PROP_TEXT_COLOUR, ZLIST_PROP_SELECTED_TEXT, ZLIST_PROP_BACK_COLOUR,
                               ZLIST_PROP_SELECTED_BACK};
    const uint32_t flags[4] = {0x02, 0x08, 0x01, 0x04};
    for (int i = 0; i < 4; ++i)
      if (colours->flags & flags[i]) SetPropertyWithData(list_, row, -1, properties[i], colours->values[i]);
    if (colours->flags & 0x80) {
      if (colours->values[4]) SetPropertyWithData(list_, row, -1, ZLIST_PROP_FONT, colours->values[4]);
      else ResetPropertyWithData(list_, row, -1, ZLIST_PROP_FONT);
    }
  }

  if (!listOn && !tableOn) return line;
  // What really happened to the list.
  int happened = operation;
  if (operation == kRowInsert && before >= 0) happened = kRowUpdate;
  else if (operation == kRowUpdate && before < 0) happened = kRowInsert;
  else if (operation == kRowUpdate && line == -1) happened = kRowDelete;
  int reported = happened == kRowDelete ? before : line;
  if (reported == -1) return line;

  if (listOn) {
    char error[1024] = {};
    int listOp = happened == kRowInsert ? 1 : happened == kRowDelete ? 2 : 3;
    if (!HostCall<169>(listServiceId_, reported, listOp, error, 1024)) {
      ReportServiceError(error);
      StopListService(false);
    }
  }
  if (tableOn) {
    int tableOp = happened == kRowInsert ? 1 : happened == kRowDelete ? 3 : 2;
    HostCall<88>(tableServiceBlock_, row, tableOp);
  }
  return line;
}

int CZPluginTableView::GetRowCount() const { return GetNRows(list_); }
int CZPluginTableView::GetColumnCount() const { return static_cast<int>(columns_.size()); }

int CZPluginTableView::PositionOf(int id) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i].identifier == id) return static_cast<int>(i);
  return -1;
}

int CZPluginTableView::IndexOfColumn(int id) const {
  int position = PositionOf(id);
  return position < 0 ? 0 : position;
}

int CZPluginTableView::ColumnIdAt(int position) const {
  if (position < 0 || position >= GetColumnCount()) return -1;
  return columns_[position].identifier;
}

const TableColumnInfo* CZPluginTableView::ColumnInfoAt(int position) const {
  int id = ColumnIdAt(position);
  if (id < 0 || !schema_) return nullptr;
  auto it = schema_->find(id);
  return it == schema_->end() ? nullptr : &it->second;
}

void* CZPluginTableView::GetSelectedRow() const {
  int line = GetSelection(list_);
  return line == -1 ? nullptr : GetRowObject(line);
}

bool CZPluginTableView::IsTextColumn(int id) const {
  if (!schema_) return false;
  auto it = schema_->find(id);
  return it != schema_->end() && TableColumnInfo::IsTextType(it->second);
}

bool CZPluginTableView::IsTextColumnAt(int position) const {
  int id = ColumnIdAt(position);
  return id >= 0 && IsTextColumn(id);
}

void CZPluginTableView::SetSelection(int line, int flag) { ::SetSelection(list_, line, flag); }

void* CZPluginTableView::GetRowObject(int line) const {
  return reinterpret_cast<void*>(GetProperty(list_, line, -1, ZLIST_PROP_DATA));
}

int CZPluginTableView::ApplyHostLook() {
  if (!list_) return 0;
  const uint32_t* ui = UiInfo();
  SetLineHeight(list_, static_cast<int>(ui[7]));
  SetProperty(list_, -1, 0, ZLIST_PROP_FONT, ui[1]);
  for (int position = 1; position < GetColumnCount(); ++position)
    SetProperty(list_, -1, position, ZLIST_PROP_FONT, IsTextColumnAt(position) ? ui[3] : ui[4]);
  SetProperty(list_, 0, -1, ZLIST_PROP_FONT, ui[2]);
  return 1;
}

void CZPluginTableView::ClearRows() {
  char error[1024] = {};
  if (ListServiceOn()) HostCall<167>(listServiceId_, 1, 0, 0, error, 1024);
  if (TableServiceOn()) HostCall<88>(tableServiceBlock_, static_cast<void*>(nullptr), 4);
  DelLines(list_, 1, -1);
}

const std::vector<ZListSortField>& CZPluginTableView::SortFieldsCopy() {
  if (list_ && IsWindow(list_)) RefreshSortFieldsCopy();
  return sortFieldsCopy_;
}

void CZPluginTableView::RefreshSortFieldsCopy() {
  sortFieldsCopy_.clear();
  int count = ListGetSortFields(list_, 0, nullptr);
  if (count <= 0) return;
  sortFieldsCopy_.resize(count);
  count = ListGetSortFields(list_, count, sortFieldsCopy_.data());
  sortFieldsCopy_.resize(count < 0 ? 0 : count);
}

bool CZPluginTableView::MoveColumn(int from, int to) {
  if (from < 1 || to < 1 || from >= GetColumnCount() || to >= GetColumnCount()) return false;
  ColumnRef moving = columns_[from];
  columns_.erase(columns_.begin() + from);
  columns_.insert(columns_.begin() + to, moving);
  return true;
}

bool CZPluginTableView::RemoveColumn(int position) {
  if (position < 1 || position >= GetColumnCount()) return false;
  columns_.erase(columns_.begin() + position);
  return true;
}
