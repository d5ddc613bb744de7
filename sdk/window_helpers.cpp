#include "sdk/window_helpers.h"

#include <string>

void MeasureText(HFONT font, const char* text, int* width, int* height) {
  SIZE extent = {};
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = font ? SelectObject(screen, font) : nullptr;
  if (text != nullptr) GetTextExtentPoint32A(screen, text, lstrlenA(text), &extent);
  if (previous != nullptr) SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  if (width != nullptr) *width = extent.cx;
  if (height != nullptr) *height = extent.cy;
}

int TextWidth(HFONT font, const char* text) {
  int width = 0;
  MeasureText(font, text, &width, nullptr);
  return width;
}

namespace {
HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

std::string ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageA(window, lengthMessage, index, 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int WidestItem(HWND window, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  const int count = static_cast<int>(SendMessageA(window, countMessage, 0, 0));
  int widest = 0;
  for (int index = 0; index < count; ++index) {
    const int width = TextWidth(FontOf(window), ItemText(window, lengthMessage, textMessage, index).c_str());
    if (width > widest) widest = width;
  }
  return widest;
}
}  // namespace

void FitListBoxExtent(HWND listBox, int itemIndex) {
  const std::string text = ItemText(listBox, LB_GETTEXTLEN, LB_GETTEXT, itemIndex);
  const int width = TextWidth(FontOf(listBox), text.c_str()) + 2;
  if (width > SendMessageA(listBox, LB_GETHORIZONTALEXTENT, 0, 0))
    SendMessageA(listBox, LB_SETHORIZONTALEXTENT, width, 0);
}

void FitListBoxExtentAll(HWND listBox) {
  SendMessageA(listBox, LB_SETHORIZONTALEXTENT,
               WidestItem(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT) + 2, 0);
}

void FitComboBoxExtent(HWND comboBox) {
  SendMessageA(comboBox, CB_SETHORIZONTALEXTENT,
               WidestItem(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT) + 2, 0);
}

namespace {
BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}
}  // namespace

void SetFontRecursive(HWND window, HFONT font) {
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EnumChildWindows(window, SetFontOnChild, reinterpret_cast<LPARAM>(font));
  InvalidateRect(window, nullptr, TRUE);
}

bool GetMonitorWorkArea(HWND window, RECT* rect) {
  using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
  using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, MONITORINFO*);
  HMODULE user32 = LoadLibraryA("USER32.dll");
  if (user32 == nullptr) return false;
  auto monitorFromWindow = reinterpret_cast<MonitorFromWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
  auto getMonitorInfo = reinterpret_cast<GetMonitorInfoFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
  bool found = false;
  if (monitorFromWindow != nullptr && getMonitorInfo != nullptr) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = monitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && getMonitorInfo(monitor, &info)) {
      *rect = info.rcWork;
      found = true;
    }
  }
  if (!found && !SystemParametersInfoA(SPI_GETWORKAREA, 0, rect, 0))
    GetWindowRect(GetDesktopWindow(), rect);
  FreeLibrary(user32);
  return true;
}

void CenterWindowInWorkArea(HWND window) {
  RECT work, own;
  if (!GetMonitorWorkArea(window, &work) || !GetWindowRect(window, &own)) return;
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int x = work.left + ((work.right - work.left) - width) / 2;
  const int y = work.top + ((work.bottom - work.top) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
