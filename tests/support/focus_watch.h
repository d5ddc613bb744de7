// The windows the test thread gave the keyboard focus to, while this object
// lives. Another test program on the same screen may take the focus away at
// any moment (and its return may restore another control), so what a dialog
// focused is read here, not from GetFocus.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

class FocusWatch {
 public:
  FocusWatch() : hook_(SetWindowsHookExA(WH_CBT, OnHook, nullptr, GetCurrentThreadId())) { last_ = nullptr; }
  ~FocusWatch() { UnhookWindowsHookEx(hook_); }
  static HWND Last() { return last_; }
  // Whether window got the focus since the last Forget.
  static bool Saw(HWND window) { return std::find(seen_.begin(), seen_.end(), window) != seen_.end(); }
  static void Forget() { seen_.clear(); }

 private:
  static LRESULT CALLBACK OnHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS && wParam != 0) seen_.push_back(last_ = reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
  static inline HWND last_ = nullptr;
  static inline std::vector<HWND> seen_;
};
