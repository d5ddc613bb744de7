// The stand-in host's side of plug-in windows: its MDI frames of class
// "HostWindow", context menus, registered dialogs, the saved layout and the
// list and table services, with the host functions that reach them.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <map>
#include <utility>
#include <vector>

#include "host/table_services.h"
#include "host/window_state_store.h"

class SdkWindowHost {
 public:
  SdkWindowHost();
  ~SdkWindowHost();

  // The one instance the host functions reach; null when none.
  static SdkWindowHost* Current();

  // Fills the host function table entries this part of the host answers.
  void InstallFunctions(uintptr_t* table);
  void SetMdiClient(HWND client) { mdiClient_ = client; }
  HWND MdiClient() const { return mdiClient_; }

  // Host options (host function 101) of category 6 and 3.
  void SetOption(int category, int id, int value) { options_[{category, id}] = value; }
  bool Option(int category, int id, int* value) const;

  // Sends the save message to every plug-in window of the MDI client and
  // keeps one record per window.
  int SaveLayout();
  // Restores every saved record through the plug-in's callback entry 5.
  int RestoreLayout(const uintptr_t* callbacks);

  WindowStateStore& Store() { return store_; }
  TableServices& Services() { return services_; }
  const std::vector<HWND>& RegisteredDialogs() const { return dialogs_; }
  int ContextMenusShown() const { return contextMenus_; }
  HWND LastContextMenuWindow() const { return lastMenuWindow_; }
  int ActivatedFrames() const { return activations_; }

  // Host functions.
  HWND CreateFrame(HINSTANCE instance, const char* className, const char* caption, const WINDOWPLACEMENT* placement,
                   DWORD style, LPARAM extra);  // 16
  void ActivateFrame(HWND frame);              // 17
  HMENU BeginContextMenu();                    // 19
  void EndContextMenu(HWND window);            // 20
  void RegisterDialog(HWND dialog);            // 39
  void UnregisterDialog(HWND dialog);          // 40

 private:
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND mdiClient_ = nullptr;
  std::map<std::pair<int, int>, int> options_;
  WindowStateStore store_;
  TableServices services_{store_};
  std::vector<HWND> dialogs_;
  HMENU pendingMenu_ = nullptr;
  int contextMenus_ = 0;
  HWND lastMenuWindow_ = nullptr;
  int activations_ = 0;
};

// Class of the host's frame windows.
extern const char kHostFrameClassName[];
