// A plug-in window inside the host: a host frame window created through the
// host and bound to this object, which receives its messages through the
// virtual handlers below and writes itself into the host's saved layout.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "sdk/plugin_module.h"

// Markers of a plug-in window's record in the host's window-state stream.
enum : uint32_t {
  kWindowStateMarker = 20090420,
  kChildWindowStateMarker = 25029,
};

// The host asks every plug-in window to save itself (lParam: a host value).
enum { WM_PLUGIN_SAVE_STATE = 4025 };

class CZPluginChildWnd {
 public:
  CZPluginChildWnd(const char* caption, uint32_t kind);
  virtual ~CZPluginChildWnd();

  virtual void OnCreateAborted();
  virtual void Destroy();
  virtual bool LoadState();
  virtual HWND Create(const char* className, const char* caption, DWORD style, int x, int y, int width,
                      int height, LPARAM extra);
  virtual int QueryWindowValue(int value);
  virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual int OnNotify(int controlId, NMHDR* header, LRESULT* result);
  virtual int OnMeasureItem(int controlId, MEASUREITEMSTRUCT* item);
  virtual int OnDrawItem(int controlId, DRAWITEMSTRUCT* item);
  virtual int OnCreate(CREATESTRUCTA* create);
  virtual void OnContextMenu(HMENU menu, int x, int y);
  virtual int OnNcDestroy();
  virtual int OnClose(WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual int SaveState(LPARAM hostValue);
  virtual void OnActivate(int state, HWND other, int minimised);
  virtual int OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual int HandleMessage(int a, int b, int c, int d);
  virtual void OnSetFont(HFONT font, BOOL redraw);
  virtual int OnMenuCommand(int id, int code, int third);
  virtual int OnMDIActivate(HWND activated, HWND deactivated);
  virtual int OnSize(int type, LPARAM size, int height);

  BOOL ShowWindow(int command);
  void SetIcon(HICON icon, BOOL big);
  BOOL SetAutoDelete(BOOL autoDelete);
  BOOL SetOwnsWindow(BOOL ownsWindow);
  // Deletes the object now or, while one of its own commands runs, once the
  // last of them returns; a window it owns goes now either way.
  void DeleteWhenIdle();
  // The object's window was destroyed (the host closed it, or was done with
  // the plug-in): a command of it still running shows and sends nothing more.
  bool WindowGone() const { return windowGone_; }
  HWND GetHwnd() const { return window_; }
  static HWND GetHwnd(const CZPluginChildWnd* object) { return object ? object->window_ : nullptr; }
  HWND GetParentWindow() const;
  HWND GetHostFrame() const;
  bool IsMdiFrame() const;
  void CloseFrame();
  void ActivateHostFrame();
  void MaximizeFrame();
  void RestoreFrame();
  int MessageBox(const char* text, const char* caption, UINT type);
  CZPluginChildWnd* FindChildObject(int controlId) const;
  void SendToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool recurse) const;
  uint32_t GetWindowKind() const { return kind_; }
  const char* GetCaption() const { return caption_; }
  const char* GetWindowClassName() const { return className_; }
  HWND GetMdiClient() const { return mdiClient_; }

  static CZPluginChildWnd* GetWindowObject(HWND window);
  static CZPluginChildWnd* GetActiveWindowObject();

  // Called by the creation hook when it binds a window to this object.
  void AttachWindow(HWND window, WNDPROC oldProcedure);

 protected:
  // Writes the window's record into the host's stream (message 4025).
  void SaveIntoHostStream(LPARAM hostValue);
  // Clears the binding of a window to this object.
  void Unbind(HWND window);

  HWND window_ = nullptr;
  HWND mdiClient_ = nullptr;
  WNDPROC oldProcedure_ = nullptr;
  HICON pendingIcon_ = nullptr;
  BOOL bigIcon_ = FALSE;
  char caption_[512] = {};
  char className_[512] = {};
  BOOL autoDelete_ = TRUE;
  BOOL ownsWindow_ = TRUE;
  uint32_t kind_;

 private:
  friend class CWindowUse;
  int uses_ = 0;
  bool deleteWhenIdle_ = false;
  bool windowGone_ = false;
};

// Held while one of the object's own commands runs, that is while a message
// to one of its windows is handled. The host may close the window or be done
// with the plug-in from inside the command (a box, a transaction): the
// object is then freed only once the outermost use ends, never under the
// command that still reads it.
class CWindowUse {
 public:
  explicit CWindowUse(CZPluginChildWnd* object) : object_(object) {
    if (object_ != nullptr) ++object_->uses_;
  }
  ~CWindowUse() {
    if (object_ != nullptr && --object_->uses_ == 0 && object_->deleteWhenIdle_) delete object_;
  }
  CWindowUse(const CWindowUse&) = delete;
  CWindowUse& operator=(const CWindowUse&) = delete;

 private:
  CZPluginChildWnd* object_;
};
