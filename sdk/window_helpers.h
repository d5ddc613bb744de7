// Measuring texts, fitting list extents and placing windows.
#pragma once

#include <windows.h>

void MeasureText(HFONT font, const char* text, int* width, int* height);
int TextWidth(HFONT font, const char* text);
void FitListBoxExtent(HWND listBox, int itemIndex);
void FitListBoxExtentAll(HWND listBox);
void FitComboBoxExtent(HWND comboBox);
void SetFontRecursive(HWND window, HFONT font);

// Work area of the monitor nearest to the window; false only when USER32
// cannot be loaded.
bool GetMonitorWorkArea(HWND window, RECT* rect);
void CenterWindowInWorkArea(HWND window);
