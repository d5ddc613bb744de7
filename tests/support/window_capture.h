// Pictures of windows as they are drawn, saved under the build tree
// so that a person can look at what a test put on screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The window's pixels as it is drawn, bottom-up 24-bit rows.
struct Capture {
  int width = 0, height = 0, stride = 0;
  std::vector<uint8_t> pixels;
};

Capture CaptureWindow(HWND window);
// One pixel of the window's client area as the window itself draws it.
COLORREF DrawnPixel(HWND window, int x, int y);
// A 24-bit .bmp file.
bool SaveBitmap(const Capture& capture, const std::string& path);
// build/screenshots, beside the folder of the test executables (made when missing).
std::string ScreenshotFolder();
