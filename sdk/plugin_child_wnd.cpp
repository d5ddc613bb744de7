#include "sdk/plugin_child_wnd.h"

#include <set>

#include "sdk/host_call.h"
#include "sdk/host_state_stream.h"
#include "sdk/modal_loops.h"
#include "sdk/plugin_thread_state.h"

namespace {

const char kDefaultClassName[] = "CPluginRootChildWnd";
const char kHostFrameClass[] = "HostWindow";

// Every plug-in window object alive; a window's user data is trusted as an
// object only when it names one of them.
std::set<const CZPluginChildWnd*>& LiveObjects() {
  static std::set<const CZPluginChildWnd*> objects;
  return objects;
}

void CopyText(char (&target)[512], const char* text) {
  if (text && *text) lstrcpynA(target, text, sizeof target);
}

}  // namespace

CZPluginChildWnd::CZPluginChildWnd(const char* caption, uint32_t kind) : kind_(kind) {
  CopyText(caption_, caption);
  lstrcpynA(className_, kDefaultClassName, sizeof className_);
  LiveObjects().insert(this);
}

CZPluginChildWnd::~CZPluginChildWnd() {
  LiveObjects().erase(this);
  autoDelete_ = FALSE;
  if (window_ && IsWindow(window_)) {
    // The window outlives this object's handlers: nothing may reach them.
    HWND window = window_;
    Unbind(window);
    if (ownsWindow_) DestroyWindow(window);
  }
  if (pendingIcon_) DestroyIcon(pendingIcon_);
}

void CZPluginChildWnd::Unbind(HWND window) {
  if (GetWindowLongPtrA(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void CZPluginChildWnd::AttachWindow(HWND window, WNDPROC oldProcedure) {
  window_ = window;
  oldProcedure_ = oldProcedure;
  mdiClient_ = HostWindowOfKind(5);
}

void CZPluginChildWnd::OnCreateAborted() {}

void CZPluginChildWnd::Destroy() {
  ownsWindow_ = FALSE;
  if (window_) DestroyWindow(window_);
}

bool CZPluginChildWnd::LoadState() {
  uint32_t marker = 0;
  HostStateStream stream;
  return stream.ReadU32(&marker) && marker == kChildWindowStateMarker;
}

HWND CZPluginChildWnd::Create(const char* className, const char* caption, DWORD style, int x, int y, int width,
                              int height, LPARAM extra) {
  if (window_) return window_;
  // Nothing is made once the host is done with the plug-in.
  if (!g_pPluginModule || PluginIsDone()) return nullptr;
  CopyText(className_, className);
  CopyText(caption_, caption);
  if (!InstallCreateHook(this, nullptr, nullptr)) return nullptr;
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));

  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  placement.ptMinPosition = {CW_USEDEFAULT, CW_USEDEFAULT};
  placement.ptMaxPosition = {CW_USEDEFAULT, CW_USEDEFAULT};
  placement.rcNormalPosition.left = x;
  placement.rcNormalPosition.top = y;
  placement.rcNormalPosition.right = width == static_cast<int>(CW_USEDEFAULT) ? CW_USEDEFAULT : x + width - 1;
  placement.rcNormalPosition.bottom = height == static_cast<int>(CW_USEDEFAULT) ? CW_USEDEFAULT : y + height - 1;
  HostCall<16>(g_pPluginModule->GetInstance(), static_cast<const char*>(className_),
               static_cast<const char*>(caption_), &placement, style, extra);

  SetCursor(cursor);
  RemoveCreateHook();
  if (window_) {
    mdiClient_ = HostWindowOfKind(5);
    if (style & WS_VISIBLE) {
      BringWindowToTop(GetHostFrame());
      ActivateHostFrame();
      if (mdiClient_) SendMessageA(mdiClient_, WM_MDIREFRESHMENU, 0, 0);
    }
  }
  return window_;
}

int CZPluginChildWnd::QueryWindowValue(int) { return 0; }

LRESULT CZPluginChildWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_pPluginModule) return DefWindowProcA(window_, message, wParam, lParam);
  return HostCall<6>(window_, message, wParam, lParam);
}

LRESULT CZPluginChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  WNDPROC old = oldProcedure_;
  if (message == WM_CREATE) {
    ::GetClassNameA(window_, className_, sizeof className_);
    if (OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)) == -1) return -1;
  } else {
    LRESULT result = 0;
    // The handler may delete this object (WM_NCDESTROY): nothing of it is
    // touched once it reports the message handled.
    if (OnMessage(message, wParam, lParam, &result)) return result;
    if (!GetWindowObject(window))
      return old ? CallWindowProcA(old, window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
  }
  if (old) return CallWindowProcA(old, window, message, wParam, lParam);
  return DefaultProc(message, wParam, lParam);
}

BOOL CZPluginChildWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto store = [result](LRESULT value) { if (result) *result = value; };
  switch (message) {
    case WM_SIZE:
      OnSize(static_cast<int>(wParam), lParam, HIWORD(lParam));
      return FALSE;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return FALSE;
    case WM_CLOSE: {
      LRESULT r = 1;
      if (!OnClose(wParam, lParam, &r)) return FALSE;
      store(r);
      return TRUE;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
      HWND item = message == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem
                                         : GetDlgItem(window_, static_cast<int>(wParam));
      CZPluginChildWnd* control = GetWindowObject(item);
      if (control && control->OnReflectedMessage(message, wParam, lParam, result)) {
        store(1);
        return TRUE;
      }
      int handled = message == WM_DRAWITEM
                        ? OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam))
                        : OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      if (!handled) return FALSE;
      store(0);
      return TRUE;
    }
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
      return FALSE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header || !header->hwndFrom) return FALSE;
      LRESULT r = 1;
      if (!OnNotify(static_cast<int>(wParam), header, &r)) return FALSE;
      store(r);
      return TRUE;
    }
    case WM_CONTEXTMENU: {
      HWND window = window_;
      OnContextMenu(reinterpret_cast<HMENU>(HostCall<19>()), -1, -1);
      HostCall<20>(window);
      return FALSE;
    }
    case WM_NCDESTROY:
      if (!OnNcDestroy()) return FALSE;
      store(0);
      return TRUE;
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) return FALSE;
      store(0);
      return TRUE;
    case WM_MDIACTIVATE:
      if (!OnMDIActivate(reinterpret_cast<HWND>(lParam), reinterpret_cast<HWND>(wParam))) return FALSE;
      store(0);
      return TRUE;
    case WM_PLUGIN_SAVE_STATE:
      SaveIntoHostStream(lParam);
      return FALSE;
  }
  return FALSE;
}

void CZPluginChildWnd::SaveIntoHostStream(LPARAM hostValue) {
  HostStateStream stream;
  HostCall<59>(0, 0);
  stream.WriteU32(kWindowStateMarker);
  stream.WriteU32(kind_);
  SaveState(hostValue);
  HostCall<61>(hostValue);
  HostCall<60>();
}

BOOL CZPluginChildWnd::OnCommand(WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  if (g_pPluginModule) {
    int own = g_pPluginModule->FindCommandId(id);
    if (own != -1) id = own;
  }
  return OnMenuCommand(id, HIWORD(wParam), 0) != 0;
}

int CZPluginChildWnd::OnNotify(int, NMHDR*, LRESULT*) { return 0; }
int CZPluginChildWnd::OnMeasureItem(int, MEASUREITEMSTRUCT*) { return 0; }
int CZPluginChildWnd::OnDrawItem(int, DRAWITEMSTRUCT*) { return 0; }

int CZPluginChildWnd::OnCreate(CREATESTRUCTA*) {
  if (pendingIcon_) {
    SendMessageA(window_, WM_SETICON, bigIcon_ ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(pendingIcon_));
    DestroyIcon(pendingIcon_);
    pendingIcon_ = nullptr;
  }
  return 1;
}

void CZPluginChildWnd::OnContextMenu(HMENU, int, int) {}

int CZPluginChildWnd::OnNcDestroy() {
  ownsWindow_ = FALSE;
  windowGone_ = true;
  if (autoDelete_) {
    // The window keeps no pointer to an object that is gone.
    Unbind(window_);
    DeleteWhenIdle();
  }
  return 1;
}

void CZPluginChildWnd::DeleteWhenIdle() {
  if (uses_ == 0) {
    delete this;
    return;
  }
  deleteWhenIdle_ = true;
  autoDelete_ = FALSE;
  if (window_ != nullptr && IsWindow(window_) && ownsWindow_) {
    ownsWindow_ = FALSE;
    DestroyWindow(window_);
  }
}

int CZPluginChildWnd::OnClose(WPARAM, LPARAM, LRESULT*) { return 0; }

int CZPluginChildWnd::SaveState(LPARAM) {
  HostStateStream stream;
  stream.WriteU32(kChildWindowStateMarker);
  return 1;
}

void CZPluginChildWnd::OnActivate(int, HWND, int) {}
int CZPluginChildWnd::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }
int CZPluginChildWnd::HandleMessage(int, int, int, int) { return 0; }
void CZPluginChildWnd::OnSetFont(HFONT, BOOL) {}
int CZPluginChildWnd::OnMenuCommand(int, int, int) { return 0; }
int CZPluginChildWnd::OnMDIActivate(HWND, HWND) { return 0; }
int CZPluginChildWnd::OnSize(int, LPARAM, int) { return 0; }

BOOL CZPluginChildWnd::ShowWindow(int command) { return window_ ? ::ShowWindow(window_, command) : FALSE; }

void CZPluginChildWnd::SetIcon(HICON icon, BOOL big) {
  if (pendingIcon_ && pendingIcon_ != icon) DestroyIcon(pendingIcon_);
  pendingIcon_ = icon;
  bigIcon_ = big;
}

BOOL CZPluginChildWnd::SetAutoDelete(BOOL autoDelete) {
  BOOL previous = autoDelete_;
  autoDelete_ = autoDelete;
  return previous;
}

BOOL CZPluginChildWnd::SetOwnsWindow(BOOL ownsWindow) {
  BOOL previous = ownsWindow_;
  ownsWindow_ = ownsWindow;
  return previous;
}

HWND CZPluginChildWnd::GetParentWindow() const {
  if (!window_) return nullptr;
  if (GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) return GetParent(window_);
  return GetWindow(window_, GW_OWNER);
}

HWND CZPluginChildWnd::GetHostFrame() const {
  for (HWND w = window_; w; w = GetParent(w)) {
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, kHostFrameClass) == 0) return w;
  }
  return nullptr;
}

bool CZPluginChildWnd::IsMdiFrame() const {
  HWND frame = GetHostFrame();
  return frame && (GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void CZPluginChildWnd::CloseFrame() {
  HWND frame = GetHostFrame();
  if (!frame) return;
  if (IsMdiFrame() && mdiClient_) SendMessageA(mdiClient_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame), 0);
  else SendMessageA(frame, WM_CLOSE, 0, 0);
}

void CZPluginChildWnd::ActivateHostFrame() { HostCall<17>(GetHostFrame()); }

void CZPluginChildWnd::MaximizeFrame() {
  HWND frame = GetHostFrame();
  if (!frame) return;
  if (IsMdiFrame() && mdiClient_) SendMessageA(mdiClient_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
  else ::ShowWindow(frame, SW_MAXIMIZE);
}

void CZPluginChildWnd::RestoreFrame() {
  HWND frame = GetHostFrame();
  if (!frame) return;
  if (IsMdiFrame() && mdiClient_) SendMessageA(mdiClient_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(frame), 0);
  else ::ShowWindow(frame, SW_RESTORE);
}

int CZPluginChildWnd::MessageBox(const char* text, const char* caption, UINT type) {
  return ShowMessageBox(window_, text, caption, type);
}

namespace {

CZPluginChildWnd* FindInDescendants(HWND parent, int controlId) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == controlId)
      if (CZPluginChildWnd* object = CZPluginChildWnd::GetWindowObject(child)) return object;
    if (CZPluginChildWnd* found = FindInDescendants(child, controlId)) return found;
  }
  return nullptr;
}

void SendToChildren(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, bool recurse) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (CZPluginChildWnd* object = CZPluginChildWnd::GetWindowObject(child)) {
      CWindowUse use(object);
      object->WindowProc(message, wParam, lParam);
    }
    else
      SendMessageA(child, message, wParam, lParam);
    if (recurse) SendToChildren(child, message, wParam, lParam, true);
  }
}

}  // namespace

CZPluginChildWnd* CZPluginChildWnd::FindChildObject(int controlId) const {
  return window_ ? FindInDescendants(window_, controlId) : nullptr;
}

void CZPluginChildWnd::SendToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool recurse) const {
  if (window_) SendToChildren(window_, message, wParam, lParam, recurse);
}

CZPluginChildWnd* CZPluginChildWnd::GetWindowObject(HWND window) {
  if (!window || !IsWindow(window)) return nullptr;
  auto* object = reinterpret_cast<CZPluginChildWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return object && LiveObjects().count(object) ? object : nullptr;
}

CZPluginChildWnd* CZPluginChildWnd::GetActiveWindowObject() {
  if (CZPluginChildWnd* object = GetWindowObject(GetActiveWindow())) return object;
  HWND client = HostWindowOfKind(5);
  if (!client) return nullptr;
  return GetWindowObject(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)));
}
