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
  // The system gives a box the top-level window of a child owner as its
  // owner: only that window going takes the box with it.
  const HWND boxOwner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (ShowMessageBox(owner, text, caption, type) != AffirmativeAnswer(type)) return false;
  return !QuitPending() && (boxOwner == nullptr || IsWindow(boxOwner));
}
