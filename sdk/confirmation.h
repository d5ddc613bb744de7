// A yes/no or OK/cancel question in the system's message box, answered yes
// only when the user pressed the button. The box's modal loop also ends when
// the host ends its message loop, answering OK: a quit still queued, or an
// owner gone, is a no, and so is any answer once the host is done with the
// plug-in. The quit stays queued for the host.
#pragma once

#include <windows.h>

bool UserConfirms(HWND owner, const char* text, const char* caption, UINT type);
