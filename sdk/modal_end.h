// What a modal dialog's own handlers ended it with. The modal loop also ends
// when the host ends its message loop (WM_QUIT) or the dialog's owner is
// destroyed, and then answers as if OK had been pressed: only an end asked
// for here counts, anything else is a Cancel. The first end counts: a
// button pressed after the host ended the dialog (a question of its OK was
// open then) changes nothing.
#pragma once

#include <windows.h>

class CModalEnd {
 public:
  // Before each run of the modal loop.
  void Start() {
    result_ = IDCANCEL;
    ended_ = false;
  }
  // From a handler of a pressed button, Enter or Esc, or from the host.
  void End(HWND dialog, INT_PTR result) {
    if (!ended_) result_ = result;
    ended_ = true;
    ::EndDialog(dialog, result_);
  }
  INT_PTR Result() const { return result_; }

 private:
  INT_PTR result_ = IDCANCEL;
  bool ended_ = false;
};
