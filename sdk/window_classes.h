// Window classes the plug-in registers. A class registered by a DLL outlives
// the DLL: each one registered here is unregistered again when the module is
// done, so a reloaded plug-in never creates windows whose procedure lies in
// a freed image, and registers its classes afresh.
#pragma once

#include <windows.h>

// True when the class is registered now or already was (the first
// registration stands; only a class registered here is undone later). The
// list takes the small icon given with the class: it is destroyed when the
// class is undone, or at once when this registration fails.
bool RegisterPluginWindowClass(const WNDCLASSEXA& windowClass);
// Undoes every registration above; a class that still has windows stays
// registered and is tried again next time.
void UnregisterPluginWindowClasses();
// Undoes one registration above now; false when the class stays (it still
// has windows, or was not registered here).
bool UnregisterPluginWindowClass(const char* name, HINSTANCE instance);
