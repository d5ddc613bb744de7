// A test dialog of the controls' resources inside the stand-in host, in the
// host's font as plug-in dialogs have it, recording the notifications its
// controls send.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/table_environment.h"

enum : int {
  kListsDialog = 31100,
  kTreeDialog = 31101,
  kSingleList = 1151,    // single selection
  kExtendedList = 1152,  // extended selection
  kSortedList = 1153,    // LBS_SORT
  kTree = 1181,
};

class ControlsDialog {
 public:
  ControlsDialog(TableEnvironment& env, int templateId);
  ~ControlsDialog();

  HWND Window() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  struct Command {
    int id;
    int code;
  };
  std::vector<Command> commands;  // WM_COMMAND from the controls
  std::vector<NMHDR> notifies;    // WM_NOTIFY headers
  // Answers WM_NOTIFY when set.
  std::function<LRESULT(NMHDR*)> onNotify;

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND dialog_;
};

// The texts a list box shows, in order.
std::vector<std::string> ListTexts(HWND list);
// Types the text into a window as the keyboard does, one WM_CHAR a letter.
void TypeText(HWND window, const std::string& text);
std::string WindowText(HWND window);
