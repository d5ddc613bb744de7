// Character filters of edit controls for EN_UPDATE (the number filters are
// members of CZenkPluginModule because the host validates numbers).
#pragma once

#include <windows.h>

// Latin letters, the letters of code page 1251 and "-".
void ValidateLettersEdit(HWND edit, int code);
void ValidateLettersDlgItem(HWND dialog, int controlId, int code);
// Anything but Latin letters.
void ValidateNoLatinEdit(HWND edit, int code);
void ValidateNoLatinDlgItem(HWND dialog, int controlId, int code);
