#include "sdk/confirmation.h"

#include "sdk/modal_loops.h"

namespace {
int AffirmativeAnswer(UINT type) {
  const UINT buttons = type & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

bool QuitPending() {
  MSG quit;
  return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}
}  // namespace

bool UserConfirms(HWND owner, const char* text, const char* caption, UINT type) {
  if (ShowMessageBox(owner, text, caption, type) != AffirmativeAnswer(type)) return false;
  return !QuitPending() && (owner == nullptr || IsWindow(owner));
}
