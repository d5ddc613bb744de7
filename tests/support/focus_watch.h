// The window the test thread last gave the keyboard focus to, while this
// object lives. Another test program on the same screen may take the focus
// away at any moment, so what a dialog focused is read here, not from
// GetFocus.
#pragma once

#include <windows.h>

class FocusWatch {
 public:
  FocusWatch() : hook_(SetWindowsHookExA(WH_CBT, OnHook, nullptr, GetCurrentThreadId())) { last_ = nullptr; }
  ~FocusWatch() { UnhookWindowsHookEx(hook_); }
  static HWND Last() { return last_; }

 private:
  static LRESULT CALLBACK OnHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS && wParam != 0) last_ = reinterpret_cast<HWND>(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
  static inline HWND last_ = nullptr;
};
