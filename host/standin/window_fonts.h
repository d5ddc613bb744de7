// The faces Wine draws the host's windows with: the dialogs' font, the list
// font the host hands the plug-in and the window-button font. A machine
// without one of them draws title-bar buttons as letters and lists in a
// stranger's metrics; host.exe --fonts reports them before any test runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct WindowFace {
  std::string role;       // "dialog font", ...
  std::string requested;  // the face the windows ask for
  std::string drawnWith;  // the family Wine draws it with
  bool present = false;   // drawn with the face asked for or its registered substitute
  bool needsCyrillic = false;
  bool cyrillic = false;
};

std::vector<WindowFace> ResolveWindowFaces(HFONT listFont);

// One line per face; false when a face is missing or lacks Cyrillic it needs.
bool ReportWindowFaces(const std::vector<WindowFace>& faces, std::string* report);
