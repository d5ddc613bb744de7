// A yes/no or OK/cancel question in the system's message box, answered yes
// only when the user pressed the button. The box's modal loop also ends when
// the host ends its message loop or the box goes with its owner, answering
// OK: a quit still queued, or the top-level window that owned the box gone,
// is a no, and so is any answer once the host is done with the plug-in. A
// child window given as the owner (a table in the host's frame) may close
// while the box stays: the answer is still the user's. The quit stays
// queued for the host.
#pragma once

#include <windows.h>

bool UserConfirms(HWND owner, const char* text, const char* caption, UINT type);
