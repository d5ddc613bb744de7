#include "controls_dialog.h"

#include "sdk/window_helpers.h"

ControlsDialog::ControlsDialog(TableEnvironment& env, int templateId) {
  dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), env.Host().Frame(), Proc,
                               reinterpret_cast<LPARAM>(this));
  SetFontRecursive(dialog_, reinterpret_cast<HFONT>(static_cast<uintptr_t>(env.Host().UiInfo()[5])));
}

ControlsDialog::~ControlsDialog() {
  if (IsWindow(dialog_)) DestroyWindow(dialog_);
}

INT_PTR CALLBACK ControlsDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
  auto* self = reinterpret_cast<ControlsDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_COMMAND) {
    self->commands.push_back({LOWORD(wParam), HIWORD(wParam)});
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    self->notifies.push_back(*header);
    if (self->onNotify) SetWindowLongPtrA(window, DWLP_MSGRESULT, self->onNotify(header));
    return TRUE;
  }
  return FALSE;
}

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

void TypeText(HWND window, const std::string& text) {
  for (char letter : text) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(letter), 1);
}

std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}
