#include "support/dialog_driver.h"

#include <algorithm>

DialogDriver* DialogDriver::armed_ = nullptr;

DialogDriver::DialogDriver(Action action, bool everyDialog) : action_(std::move(action)), every_(everyDialog) {
  armed_ = this;
  timer_ = SetTimer(nullptr, 0, 30, OnTimer);
}

DialogDriver::~DialogDriver() {
  if (timer_) KillTimer(nullptr, timer_);
  if (armed_ == this) armed_ = nullptr;
}

void DialogDriver::Press(HWND dialog, int buttonId) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

void DialogDriver::Quit(HWND) { PostQuitMessage(0); }

bool DialogDriver::TakeQuit() {
  MSG quit;
  return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

DialogDriver::Action DialogDriver::EditThenQuit(Action edit, int button, bool* asked) {
  return [edit, button, asked](HWND dialog) {
    edit(dialog);
    if (button == 0) return Quit(dialog);
    DialogDriver question(Quit);
    Press(dialog, button);
    if (asked != nullptr) *asked = question.Ran();
  };
}

BOOL CALLBACK DialogDriver::FindDialog(HWND window, LPARAM search) {
  auto* found = reinterpret_cast<Search*>(search);
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
      !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
      std::find(found->handled.begin(), found->handled.end(), window) == found->handled.end()) {
    found->dialog = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  DialogDriver* self = armed_;
  if (!self || (self->ran_ && !self->every_)) return;
  Search search{nullptr, self->handled_};
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
  HWND dialog = search.dialog;
  if (!dialog) return;
  if (!self->every_) {
    KillTimer(nullptr, id);
    self->timer_ = 0;
  }
  self->ran_ = true;
  self->handled_.push_back(dialog);
  char text[512] = {};
  GetWindowTextA(dialog, text, sizeof text);
  self->caption_ = text;
  HWND label = FindWindowExA(dialog, nullptr, "Static", nullptr);
  while (label && GetWindowTextLengthA(label) == 0) label = FindWindowExA(dialog, label, "Static", nullptr);
  if (label) {
    // A box may tell of many lines: read all of it.
    std::string whole(static_cast<size_t>(GetWindowTextLengthA(label)) + 1, '\0');
    whole.resize(static_cast<size_t>(GetWindowTextA(label, &whole[0], static_cast<int>(whole.size()))));
    self->text_ = whole;
  }
  self->texts_.push_back(self->text_);
  self->action_(dialog);
}
