#include "support/window_capture.h"

COLORREF DrawnPixel(HWND window, int x, int y) {
  RECT area;
  GetClientRect(window, &area);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF pixel = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixel;
}
