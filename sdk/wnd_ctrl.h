// CWndCtrl: a small framework of windows bound to objects, for the colour
// controls. A window created through CreateEx is bound to its object while
// it exists; its messages reach the object's WindowProc, which dispatches the
// common ones to the virtual handlers below.
#pragma once

#include <windows.h>

#include <map>

class CWndCtrl {
 public:
  CWndCtrl() = default;
  CWndCtrl(const CWndCtrl&) = delete;
  CWndCtrl& operator=(const CWndCtrl&) = delete;

  virtual void MoveTo(int x, int y, int width, int height, BOOL repaint);
  // A null or empty class name is the framework's own class "WndColorCtrl",
  // registered with the parent's instance on first use; WS_BORDER is added
  // to the style. The window, or null.
  virtual HWND CreateEx(HWND parent, const char* className, const char* title, DWORD style,
                        DWORD exStyle, int x, int y, int width, int height, HMENU menu);
  virtual HWND Create(HWND parent, const char* className, const char* title, DWORD style, int x,
                      int y, int width, int height, HMENU menu);
  virtual void OnSetFont(HFONT font, BOOL redraw);
  virtual LRESULT OnSize(UINT type, int width, int height);
  virtual LRESULT OnMouseMove(UINT flags, int x, int y);
  virtual LRESULT OnLButtonUp(UINT flags, int x, int y);
  virtual LRESULT OnLButtonDown(UINT flags, int x, int y);
  virtual void OnPaint(HDC dc, PAINTSTRUCT* paint);
  virtual void OnCommand(int id, HWND control, int code);
  virtual LRESULT OnCreate(CREATESTRUCTA* create);
  virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual ~CWndCtrl();

  HWND GetHwnd() const { return m_hWnd; }
  // The window given as parent at creation: the popup's messages go there.
  HWND GetOwner() const { return m_owner; }

  // The object bound to a window, or null; a window loses its binding when
  // it is destroyed.
  static CWndCtrl* FromWindow(HWND window);
  static const std::map<HWND, CWndCtrl*>& BoundWindows();

 protected:
  HWND m_hWnd = nullptr;
  HWND m_owner = nullptr;

 private:
  static LRESULT CALLBACK FrameworkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Bind(HWND window);
};

constexpr char kWndCtrlClass[] = "WndColorCtrl";
