// The colour-select control that dialog templates place: a window of the
// class "ClassColorSelectCtrl" holding a CChooseColorCtrl. The dialog sets
// and reads the colour as the window's text, a decimal number, and learns of
// a colour the user chose as a WM_COMMAND from the control's id with the
// colour in lParam.
#pragma once

#include <windows.h>

constexpr char kColorSelectClass[] = "ClassColorSelectCtrl";

LRESULT CALLBACK ColorCtrlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// True when the class is registered now or already was; the module's
// UnregisterWindowClasses undoes it.
bool RegisterColorSelectClass(HINSTANCE instance);
