// Answers the next modal dialog or message box of the test thread: a timer
// waits for it to appear inside its modal loop and then runs an action on
// it (fill controls, press a button).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class DialogDriver {
 public:
  using Action = std::function<void(HWND dialog)>;

  // Arms the driver for the next dialog that is shown, or for every dialog
  // shown while it lives.
  explicit DialogDriver(Action action, bool everyDialog = false);
  ~DialogDriver();

  bool Ran() const { return ran_; }
  // The text of the dialog's caption and of its first static text.
  const std::string& Caption() const { return caption_; }
  const std::string& Text() const { return text_; }
  // Those texts of every dialog it acted on, in turn.
  const std::vector<std::string>& Texts() const { return texts_; }

  static void Press(HWND dialog, int buttonId);
  // The host ends its message loop while the dialog is open.
  static void Quit(HWND dialog);
  // Takes the quit left queued for the host out of the test thread's queue,
  // so later modal loops of the test run; false when none was left.
  static bool TakeQuit();
  // The user edits the dialog, then the host quits; with a button, the user
  // presses it after the edit and the quit comes while the question it asks
  // is open (asked tells whether one was).
  static Action EditThenQuit(Action edit, int button = 0, bool* asked = nullptr);

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  struct Search {
    HWND dialog;
    const std::vector<HWND>& handled;
  };
  static BOOL CALLBACK FindDialog(HWND window, LPARAM search);

  Action action_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
  std::string caption_;
  std::string text_;
  bool every_;
  std::vector<HWND> handled_;
  std::vector<std::string> texts_;
  static DialogDriver* armed_;
};
