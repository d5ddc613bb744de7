#include "support/window_capture.h"

#include <cstdio>

#include "support/host_program_folder.h"

// Read from the window's own device context, not from the screen: test
// programs running side by side share the display, and another's window may
// lie over this one there.
Capture CaptureWindow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Capture capture;
  RECT r;
  GetWindowRect(window, &r);
  capture.width = r.right - r.left;
  capture.height = r.bottom - r.top;
  capture.stride = (capture.width * 3 + 3) & ~3;
  HDC drawn = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(drawn);
  HBITMAP bitmap = CreateCompatibleBitmap(drawn, capture.width, capture.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, capture.width, capture.height, drawn, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, capture.width, capture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  capture.pixels.resize(static_cast<size_t>(capture.stride) * capture.height);
  GetDIBits(memory, bitmap, 0, capture.height, capture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, drawn);
  return capture;
}

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

bool SaveBitmap(const Capture& capture, const std::string& path) {
  BITMAPFILEHEADER file = {};
  const BITMAPINFOHEADER info = {sizeof info, capture.width, capture.height, 1, 24, BI_RGB,
                                 static_cast<DWORD>(capture.pixels.size()), 0, 0, 0, 0};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
            fwrite(capture.pixels.data(), capture.pixels.size(), 1, out) == 1;
  return fclose(out) == 0 && ok;
}

// build/screenshots, beside the folder of the test executables.
std::string ScreenshotFolder() {
  const std::string bin = TestProgramFolder();
  const std::string folder = bin.substr(0, bin.find_last_of('\\')) + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
