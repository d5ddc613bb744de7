// CZPluginChildWnd: the base of every plug-in window. The window's user data
// holds its object; RootChildWndProc hands each message to the object.
#pragma once

#include <windows.h>

class CZPluginChildWnd {
 public:
  virtual ~CZPluginChildWnd() = default;
  virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
