#include "controls_dialog.h"

#include "sdk/window_helpers.h"

ControlsDialog::ControlsDialog(TableEnvironment& env, int templateId) {
  dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), env.Host().Frame(), Proc,
                               reinterpret_cast<LPARAM>(this));
  SetFontRecursive(dialog_, reinterpret_cast<HFONT>(static_cast<uintptr_t>(env.Host().UiInfo()[5])));
}

INT_PTR CALLBACK ControlsDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
  auto* self = reinterpret_cast<ControlsDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self != nullptr && message == WM_COMMAND) {
    self->commands.push_back({LOWORD(wParam), HIWORD(wParam)});
    if (self->onCommand) self->onCommand(LOWORD(wParam), HIWORD(wParam));
  }
  if (self == nullptr || message != WM_NOTIFY || !self->onNotify) return message == WM_COMMAND;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, self->onNotify(reinterpret_cast<NMHDR*>(lParam)));
  return TRUE;
}

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  char text[256];
  for (int index = 0; SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text)) != LB_ERR; ++index)
    texts.push_back(text);
  return texts;
}

void TypeText(HWND window, const std::string& text) {
  for (char letter : text) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(letter), 1);
}
