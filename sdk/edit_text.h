// Reading an edit control's text with a bound.
#pragma once

#include <windows.h>

#include <string>

namespace edit_text {
inline std::string Read(HWND edit, int maxCharacters) {
  std::string text(static_cast<size_t>(maxCharacters) + 1, '\0');
  const int length = GetWindowTextA(edit, &text[0], maxCharacters + 1);
  text.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return text;
}
}  // namespace edit_text
