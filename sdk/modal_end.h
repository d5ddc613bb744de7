// What a modal dialog's own handlers ended it with. The modal loop also ends
// when the host ends its message loop (WM_QUIT) or the dialog's owner is
// destroyed, and then answers as if OK had been pressed: only an end asked
// for here counts, anything else is a Cancel.
#pragma once

#include <windows.h>

class CModalEnd {
 public:
  // Before each run of the modal loop.
  void Start() { result_ = IDCANCEL; }
  // From a handler of a pressed button, Enter or Esc.
  void End(HWND dialog, INT_PTR result) {
    result_ = result;
    ::EndDialog(dialog, result);
  }
  INT_PTR Result() const { return result_; }

 private:
  INT_PTR result_ = IDCANCEL;
};
