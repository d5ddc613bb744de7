// A test dialog of the controls' resources inside the stand-in host, in the
// host's font as plug-in dialogs have it, recording its controls' commands.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/table_environment.h"
#include "support/window_text.h"

enum : int { kListsDialog = 31100, kTreeDialog = 31101, kInputDialog = 31102, kTree = 1181 };
enum : int { kSingleList = 1151, kExtendedList = 1152, kSortedList = 1153 /* LBS_SORT */ };

class ControlsDialog {
 public:
  ControlsDialog(TableEnvironment& env, int templateId);
  ~ControlsDialog() { DestroyWindow(dialog_); }
  HWND Window() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  struct Command {
    int id, code;
  };
  std::vector<Command> commands;
  std::function<LRESULT(NMHDR*)> onNotify;  // answers WM_NOTIFY when set
  std::function<void(int id, int code)> onCommand;  // hears WM_COMMAND when set

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND dialog_;
};

std::vector<std::string> ListTexts(HWND list);
// One WM_CHAR a letter, as the keyboard types.
void TypeText(HWND window, const std::string& text);
