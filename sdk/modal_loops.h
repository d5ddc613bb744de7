// The plug-in's modal loops. A message box, a question, a file or colour
// dialog, a dialog of the plug-in or one the host runs for it: each runs a
// modal loop with the plug-in's code under it, and the host may be done with
// the plug-in from inside any of them. A host that unloads the library then
// returns into code that is gone, so every such loop is recorded while it
// runs, with the window it shows. When the host is done they are all ended
// (the module base does it), each call answers as if Cancel had been
// pressed, and none opens any more.
#pragma once

#include <windows.h>
#include <commdlg.h>

class CModalLoop {
 public:
  // Records the loop about to run; the first dialog window created from now
  // on is taken as its window.
  CModalLoop();
  ~CModalLoop();
  CModalLoop(const CModalLoop&) = delete;
  CModalLoop& operator=(const CModalLoop&) = delete;

  // Ends the window of every loop running, the innermost first, as Cancel.
  static void EndAll();
  // How many loops are running now.
  static int Running();

 private:
  static LRESULT CALLBACK OnWindowCreated(int code, WPARAM wParam, LPARAM lParam);

  CModalLoop* outer_;
  HWND window_ = nullptr;
};

// True once the host is done with the plug-in: no loop opens and every one
// that ends answers Cancel.
bool PluginIsDone();

// The system's message box; IDCANCEL, without a box, once the host is done.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The system's open-file dialog; false once the host is done.
bool ChooseFileToOpen(OPENFILENAMEA* choice);
// The system's colour dialog; false once the host is done.
bool ChooseColour(CHOOSECOLORA* choice);
