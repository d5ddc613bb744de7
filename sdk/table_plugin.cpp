#include "sdk/table_plugin.h"

#include <cstdio>
#include <new>

#include "sdk/host_call.h"
#include "sdk/host_state_stream.h"
#include "sdk/modal_loops.h"

namespace {

// Sets the table globals for one operation and clears them on every way out.
class TableContext {
 public:
  TableContext(CTablePlugin* table, bool beingCreated) : beingCreated_(beingCreated) {
    g_pCurrentTable = table;
    if (beingCreated_) g_pTableBeingCreated = table;
  }
  ~TableContext() {
    g_pCurrentTable = nullptr;
    if (beingCreated_) g_pTableBeingCreated = nullptr;
  }

 private:
  bool beingCreated_;
};

const int kTableCommands[] = {303, 306, 316, 304, 308, 309, 310, 311};

}  // namespace

CTablePlugin::CTablePlugin(TableSchema* schema, const char* caption, const char* dialogCaption, UINT dialogTemplate,
                           DLGPROC dialogProc, uint32_t kind, HICON icon, BOOL bigIcon)
    : CZPluginChildWnd(caption, kind) {
  static uint32_t lastSerial = 0;
  serial_ = ++lastSerial;
  if (icon) SetIcon(icon, bigIcon);
  view_ = new (std::nothrow) CZPluginTableView(schema, caption, dialogCaption, dialogTemplate, dialogProc);
}

CTablePlugin::~CTablePlugin() {
  if (g_pPluginModule) g_pPluginModule->UnregisterTable(this, false);
  // No dialog procedure may reach a table that is gone.
  if (g_pTableBeingCreated == this) g_pTableBeingCreated = nullptr;
  if (g_pCurrentTable == this) g_pCurrentTable = nullptr;
  // Deleted while its window lives: the window's own teardown would reach
  // only the base handlers, so the services and the view are released here.
  if (view_) {
    if (window_ && IsWindow(window_)) {
      view_->StopListService(true);
      view_->StopTableService(true);
    }
    delete view_;
    view_ = nullptr;
  }
}

bool CTablePlugin::LoadState() {
  if (!CZPluginChildWnd::LoadState()) return false;
  HostStateStream stream;
  uint32_t marker = 0;
  if (!stream.ReadU32(&marker) || marker != kTableStateMarker) return false;
  return view_ && view_->LoadSettings(stream);
}

int CTablePlugin::SaveState(LPARAM hostValue) {
  if (!CZPluginChildWnd::SaveState(hostValue)) return 0;
  HostStateStream stream;
  stream.WriteU32(kTableStateMarker);
  return view_ && view_->SaveSettings(stream) ? 1 : 0;
}

HWND CTablePlugin::Create(const char*, const char*, DWORD, int, int, int, int, LPARAM) {
  if (!view_) return nullptr;
  {
    TableContext context(this, true);
    if (!view_->Open(this)) {
      delete view_;
      view_ = nullptr;
      return nullptr;
    }
    EnableTableCommands(TRUE);
    FillRows();
  }
  if (g_pPluginModule) g_pPluginModule->RegisterTable(this);
  ActivateHostFrame();
  return window_;
}

bool CTablePlugin::EditTable() {
  if (!view_) return false;
  HWND frame = GetHostFrame();
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (frame) GetWindowPlacement(frame, &placement);
  TableContext context(this, true);
  bool listWasOn = view_->StopListService(false);
  bool tableWasOn = view_->StopTableService(false);
  bool opened = view_->Open(this);
  // The host closed the table, or was done with the plug-in, while the
  // dialog was open: nothing of the window is left to restore.
  if (WindowGone() || PluginIsDone()) return false;
  if (opened) {
    EnableTableCommands(TRUE);
    FillRows();
  }
  // A cancelled edit leaves the list as it was, so its services run again.
  if (listWasOn) StartListService(1);
  if (tableWasOn) view_->StartTableService(1);
  if (opened && frame) SetWindowPlacement(frame, &placement);
  return opened;
}

BOOL CTablePlugin::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto done = [result](LRESULT value) {
    if (result) *result = value;
    return TRUE;
  };
  switch (message) {
    case WM_DESTROY:
      if (view_) {
        view_->StopListService(true);
        view_->StopTableService(true);
      }
      break;
    case WM_SETFOCUS:
      if (view_ && view_->GetList()) SetFocus(view_->GetList());
      break;
    case WM_CONTEXTMENU:
      return done(1);
    case WM_TABLE_REFILL: {
      if (!view_) return done(1);
      bool listWasOn = view_->StopListService(false);
      bool tableWasOn = view_->StopTableService(false);
      ClearRows();
      FillRows();
      if (listWasOn) view_->StartListService(1);
      if (tableWasOn) view_->StartTableService(1);
      return done(1);
    }
    case WM_TABLE_START_LIST_SERVICE:
      if (view_) view_->StartListService(1);
      return done(1);
    case WM_TABLE_START_TABLE_SERVICE:
      if (view_) view_->StartTableService(1);
      return done(1);
    case WM_TABLE_START_SERVICES:
      SendMessageA(window_, WM_TABLE_START_LIST_SERVICE, 0, 0);
      SendMessageA(window_, WM_TABLE_START_TABLE_SERVICE, 0, 0);
      return done(1);
    case WM_TABLE_LIST_SERVICE:
    case WM_TABLE_LIST_SERVICE_STOP:
      if (view_) view_->OnListServiceMessage(message);
      return done(1);
    case WM_TABLE_TABLE_SERVICE:
      if (view_) view_->OnTableServiceMessage(message);
      return done(1);
    case WM_TABLE_HOST_LOOK:
      ApplyHostLook();
      break;
    case ZLIST_WM_COMMAND: {
      LRESULT answer = 0;
      bool handled = OnListCommand(reinterpret_cast<ZListCommandRecord*>(lParam), static_cast<int>(wParam), &answer);
      return done(handled ? answer : 0);
    }
  }
  return CZPluginChildWnd::OnMessage(message, wParam, lParam, result);
}

int CTablePlugin::OnMenuCommand(int id, int code, int control) {
  switch (id) {
    case kCommandEditTable:
      return EditTable();
    case kCommandListDialog:
      if (view_) view_->RunListDialogService();
      return 1;
    case kCommandListService:
      if (view_) view_->StartListService(1);
      return 1;
    case kCommandTableService:
      if (view_) view_->StartTableService(1);
      return 1;
  }
  return 0;
}

int CTablePlugin::OnMDIActivate(HWND activated, HWND deactivated) {
  EnableTableCommands(activated == window_);
  return CZPluginChildWnd::OnMDIActivate(activated, deactivated);
}

int CTablePlugin::OnSize(int, LPARAM size, int height) {
  if (view_ && view_->GetList()) MoveWindow(view_->GetList(), 0, 0, LOWORD(size), height, TRUE);
  return 0;
}

bool CTablePlugin::OnTableDialogInit(HWND) { return true; }
void CTablePlugin::OnTableDialogUpdate(HWND) {}
bool CTablePlugin::OnTableDialogApply(HWND) { return true; }
bool CTablePlugin::OnTableDialogCommand(LPARAM, WPARAM, int) { return false; }

int CTablePlugin::StartListService(int flag) { return view_ ? view_->StartListService(flag) : 0; }
int CTablePlugin::ApplyHostLook() { return view_ ? view_->ApplyHostLook() : 0; }
void CTablePlugin::OnListEvent() {}
bool CTablePlugin::FillRows() { return true; }
bool CTablePlugin::ClearRowsOfKind(int, int) { return true; }

int CTablePlugin::ClearRows() {
  if (!view_) return 0;
  view_->ClearRows();
  return 1;
}

void CTablePlugin::EnableTableCommands(BOOL enable) {
  if (g_pPluginModule)
    for (int id : kTableCommands) g_pPluginModule->EnableCommand(id, enable != 0, true);
  OnListEvent();
}

const char* CTablePlugin::FormatInt(int, int value, int, int) {
  static char text[10];
  snprintf(text, sizeof text, "%d", value);
  return text;
}
