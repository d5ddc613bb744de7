// What a window draws, read back for tests of its drawing.
#pragma once

#include <windows.h>

// One pixel of the window's client area as the window itself draws it.
COLORREF DrawnPixel(HWND window, int x, int y);
