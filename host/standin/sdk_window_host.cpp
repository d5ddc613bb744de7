#include "host/standin/sdk_window_host.h"

#include "sdk/host_api.h"

const char kHostFrameClassName[] = "HostWindow";

namespace {

// The message the host sends to every plug-in window when it saves its layout.
const UINT kSaveWindowMessage = 4025;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

// Tracked until the timer closes it; nothing is chosen.
void ShowMenuAwhile(HMENU menu, HWND window, POINT at, UINT milliseconds) {
  SetTimer(nullptr, 0, milliseconds, CloseMenu);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x, at.y, 0, window, nullptr);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return HostFrameDefaultProc(hwnd, message, wParam, lParam);
}

}  // namespace

// The host asks a plug-in window before it closes it (message 4125, the
// answer 1 refuses), however the close was asked for.
LRESULT HostFrameDefaultProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    LRESULT refused = 0;
    SendMessageA(frame, kMayCloseMessage, 0, reinterpret_cast<LPARAM>(&refused));
    if (refused == 1) return 0;
  }
  return DefMDIChildProcA(frame, message, wParam, lParam);
}

SdkWindowHost::SdkWindowHost() {
  WNDCLASSA wc = {};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!GetClassInfoA(instance, kHostFrameClassName, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostFrameClassName;
    RegisterClassA(&wc);
  }
}

SdkWindowHost::~SdkWindowHost() {
  if (pendingMenu_) DestroyMenu(pendingMenu_);
}

HWND SdkWindowHost::CreateFrame(HWND mdiClient, const char* caption, const WINDOWPLACEMENT* placement, DWORD style,
                                LPARAM extra) {
  if (!mdiClient) return nullptr;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  if (placement) {
    const RECT& r = placement->rcNormalPosition;
    x = r.left;
    y = r.top;
    if (r.right != static_cast<LONG>(CW_USEDEFAULT)) width = r.right - r.left + 1;
    if (r.bottom != static_cast<LONG>(CW_USEDEFAULT)) height = r.bottom - r.top + 1;
  }
  // The frame is the first window created: the plug-in's creation hook binds it.
  return CreateMDIWindowA(kHostFrameClassName, caption ? caption : "", style & ~WS_CHILD, x, y, width, height,
                          mdiClient, GetModuleHandleA(nullptr), extra);
}

void SdkWindowHost::ActivateFrame(HWND mdiClient, HWND frame) {
  if (mdiClient && frame) SendMessageA(mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
}

HMENU SdkWindowHost::BeginContextMenu() {
  if (pendingMenu_) DestroyMenu(pendingMenu_);
  pendingMenu_ = CreatePopupMenu();
  return pendingMenu_;
}

// Tests read what the menu held; a test cannot answer a menu shown, so it is
// shown only when the host was asked to.
void SdkWindowHost::EndContextMenu(HWND window) {
  ++contextMenus_;
  lastMenuWindow_ = window;
  lastMenu_ = pendingMenu_ ? SnapshotMenu(pendingMenu_) : std::vector<MenuItemSnapshot>();
  if (pendingMenu_ && showMenuMilliseconds_ > 0) {
    POINT at = nextMenuPoint_;
    if (!hasNextMenuPoint_) GetCursorPos(&at);
    hasNextMenuPoint_ = false;
    ShowMenuAwhile(pendingMenu_, window, at, showMenuMilliseconds_);
  }
  if (pendingMenu_) DestroyMenu(pendingMenu_);
  pendingMenu_ = nullptr;
}

void SdkWindowHost::RegisterDialog(HWND dialog) { dialogs_.push_back(dialog); }

void SdkWindowHost::UnregisterDialog(HWND dialog) {
  for (size_t i = 0; i < dialogs_.size(); ++i)
    if (dialogs_[i] == dialog) {
      dialogs_.erase(dialogs_.begin() + i);
      return;
    }
}

int SdkWindowHost::SaveLayout(HWND mdiClient) {
  if (!mdiClient) return 0;
  std::vector<HWND> frames;
  for (HWND child = GetWindow(mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    frames.push_back(child);
  size_t before = store_.Records().size();
  for (size_t i = 0; i < frames.size(); ++i) {
    size_t records = store_.Records().size();
    SendMessageA(frames[i], kSaveWindowMessage, 0, static_cast<LPARAM>(i));
    if (store_.Records().size() == records) continue;  // not a plug-in window
    char caption[256] = {};
    GetWindowTextA(frames[i], caption, sizeof caption);
    savedCaptions_.resize(store_.Records().size());
    savedCaptions_.back() = caption;
  }
  return static_cast<int>(store_.Records().size() - before);
}

int SdkWindowHost::RestoreLayout(const uint32_t* callbacks) {
  using RestoreEntry = host::CallbackSig<5>::Fn;
  auto restore = callbacks ? reinterpret_cast<RestoreEntry>(static_cast<uintptr_t>(callbacks[5])) : nullptr;
  if (!restore) return 0;
  int restored = 0;
  for (size_t i = 0; i < store_.Records().size(); ++i) {
    const char* caption = i < savedCaptions_.size() ? savedCaptions_[i].c_str() : "";
    if (restore(0, caption, 0, static_cast<uint32_t>(i), WindowStateStore::kRestoreTag)) ++restored;
  }
  return restored;
}
