// The stand-in host's side of plug-in windows: its MDI frames of class
// "HostWindow", context menus, registered dialogs, the saved layout and the
// list and table services.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

#include "host/standin/menu_snapshot.h"
#include "host/standin/table_services.h"
#include "host/standin/window_state_store.h"

// A plug-in frame's default procedure: the MDI child's, with the host's
// question before a close.
constexpr UINT kMayCloseMessage = 4125;
LRESULT HostFrameDefaultProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

class SdkWindowHost {
 public:
  SdkWindowHost();
  ~SdkWindowHost();
  SdkWindowHost(const SdkWindowHost&) = delete;
  SdkWindowHost& operator=(const SdkWindowHost&) = delete;

  // Sends the save message to every window of the MDI client and keeps one
  // record per plug-in window that wrote one.
  int SaveLayout(HWND mdiClient);
  // Restores every saved record through the plug-in's callback entry 5
  // (a, caption, b, record, kRestoreTag); the number restored.
  int RestoreLayout(const uint32_t* callbacks);

  WindowStateStore& Store() { return store_; }
  TableServices& Services() { return services_; }
  const std::vector<HWND>& RegisteredDialogs() const { return dialogs_; }
  int ContextMenusShown() const { return contextMenus_; }
  HWND LastContextMenuWindow() const { return lastMenuWindow_; }
  // The items of the last context menu the host was asked to show.
  const std::vector<MenuItemSnapshot>& LastContextMenu() const { return lastMenu_; }
  // The stand-in shows no context menu unless asked: then each is tracked for
  // the given time (for a screenshot) and closed unchosen, at the point given
  // for the next menu (screen coordinates) or else at the cursor.
  void ShowContextMenus(UINT milliseconds) { showMenuMilliseconds_ = milliseconds; }
  void SetNextMenuPoint(POINT point) { nextMenuPoint_ = point, hasNextMenuPoint_ = true; }

  // Host functions.
  HWND CreateFrame(HWND mdiClient, const char* caption, const WINDOWPLACEMENT* placement, DWORD style,
                   LPARAM extra);                       // 16
  void ActivateFrame(HWND mdiClient, HWND frame);       // 17
  HMENU BeginContextMenu();                             // 19
  void EndContextMenu(HWND window);                     // 20
  void RegisterDialog(HWND dialog);                     // 39
  void UnregisterDialog(HWND dialog);                   // 40

 private:
  WindowStateStore store_;
  TableServices services_{store_};
  std::vector<std::string> savedCaptions_;
  std::vector<HWND> dialogs_;
  HMENU pendingMenu_ = nullptr;
  int contextMenus_ = 0;
  HWND lastMenuWindow_ = nullptr;
  std::vector<MenuItemSnapshot> lastMenu_;
  UINT showMenuMilliseconds_ = 0;
  POINT nextMenuPoint_ = {};
  bool hasNextMenuPoint_ = false;
};

// Class of the host's frame windows.
extern const char kHostFrameClassName[];
