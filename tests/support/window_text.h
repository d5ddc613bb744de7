// Reading what windows show, for tests that drive them with messages.
#pragma once

#include <windows.h>

#include <string>

// A window's text as WM_GETTEXT answers it; the controls that answer only
// that message (no WM_GETTEXTLENGTH) are read too, up to 1023 characters.
inline std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// A window's rectangle in the client coordinates of another window.
inline RECT RectIn(HWND window, HWND other) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}
