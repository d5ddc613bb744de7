// EN_UPDATE filters of edit controls: a keystroke that makes the text invalid
// is undone and the caret put back where it was.
#include "sdk/plugin_module.h"

#include "sdk/edit_filters.h"
#include "sdk/edit_text.h"

#include <string>

namespace {
// Character index of the caret behind the keystroke. The edit has moved its
// selection when it sends EN_UPDATE, but Wine's edit moves the caret itself
// only afterwards: read there, the caret would still stand before the
// keystroke.
int CaretIndex(HWND edit) {
  DWORD end = 0;
  SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end);
}

// An edit without the focus has no caret of its own (the thread's caret is
// another edit's), so its caret point stays at (0, 0).
int CaretIndexWhenFocused(HWND edit) {
  if (GetFocus() == edit) return CaretIndex(edit);
  return LOWORD(SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(0, 0)));
}

void UndoKeystroke(HWND edit, int caretIndex) {
  const int index = caretIndex - 1 < 0 ? 0 : caretIndex - 1;
  if (SendMessageA(edit, EM_CANUNDO, 0, 0)) SendMessageA(edit, EM_UNDO, 0, 0);
  SendMessageA(edit, EM_SETSEL, index, index);
}

void EmptyUndo(HWND edit) { SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0); }

bool IsLatin(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Scans the text; at the first character that breaks the rule the keystroke is undone.
template <typename Allowed>
void FilterCharacters(HWND edit, int code, Allowed allowed) {
  if (code != EN_UPDATE) return;
  const std::string text = edit_text::Read(edit, 1023);
  for (unsigned char c : text) {
    if (!allowed(c)) {
      UndoKeystroke(edit, CaretIndexWhenFocused(edit));
      break;
    }
  }
  EmptyUndo(edit);
}
}  // namespace

void CZenkPluginModule::ValidateIntegerEdit(HWND edit, int code, int maxDigits) {
  if (code != EN_UPDATE) return;
  const std::string text = edit_text::Read(edit, 1023);
  if (CallHost<42>(text.c_str(), 0, maxDigits, 0, 1, 0, 0) == 0) {
    CallHost<41>(16);
    UndoKeystroke(edit, CaretIndex(edit));
  }
  EmptyUndo(edit);
}

void CZenkPluginModule::ValidateIntegerDlgItem(HWND dialog, int controlId, int code, int maxDigits) {
  ValidateIntegerEdit(GetDlgItem(dialog, controlId), code, maxDigits);
}

void CZenkPluginModule::ValidateDecimalEdit(HWND edit, int code, int fractionDigits,
                                            int integerDigits, int flagA, int flagB) {
  if (code != EN_UPDATE) return;
  const std::string text = edit_text::Read(edit, 1023);
  std::string copy;
  for (char c : text) {
    if (c == m_thousandsSeparator[0]) c = ' ';
    if (c == ' ' || c == '\n') continue;
    if (c == m_decimalSeparator[0]) c = '.';
    copy += c;
  }
  const bool negative = !copy.empty() && copy[0] == '-';
  if (negative) copy.erase(0, 1);

  const int total = fractionDigits + integerDigits;
  auto accepted = [&](const std::string& candidate) {
    return CallHost<42>(candidate.c_str(), fractionDigits, total, 1, flagA, flagB, 0) != 0;
  };
  if (accepted(copy)) {
    EmptyUndo(edit);
    return;
  }
  int index = CaretIndexWhenFocused(edit);
  const int length = static_cast<int>(copy.size());
  if (index >= 1 && index <= length) {
    std::string shorter = copy;
    shorter.erase(index == length ? length - 1 : index, 1);
    if (accepted(shorter)) {
      if (index == length) --index;
      for (char& c : shorter)
        if (c == '.') c = m_decimalSeparator[0];
      if (negative) shorter.insert(0, 1, '-');
      SetWindowTextA(edit, shorter.c_str());
      SendMessageA(edit, EM_SETSEL, index, index);
      EmptyUndo(edit);
      return;
    }
  }
  UndoKeystroke(edit, index);
  EmptyUndo(edit);
}

void CZenkPluginModule::ValidateDecimalDlgItem(HWND dialog, int controlId, int code,
                                               int fractionDigits, int integerDigits, int flagA,
                                               int flagB) {
  ValidateDecimalEdit(GetDlgItem(dialog, controlId), code, fractionDigits, integerDigits, flagA,
                      flagB);
}

void ValidateLettersEdit(HWND edit, int code) {
  FilterCharacters(edit, code, [](unsigned char c) { return IsLatin(c) || c >= 192 || c == '-'; });
}

void ValidateLettersDlgItem(HWND dialog, int controlId, int code) {
  ValidateLettersEdit(GetDlgItem(dialog, controlId), code);
}

void ValidateNoLatinEdit(HWND edit, int code) {
  FilterCharacters(edit, code, [](unsigned char c) { return !IsLatin(c); });
}

void ValidateNoLatinDlgItem(HWND dialog, int controlId, int code) {
  ValidateNoLatinEdit(GetDlgItem(dialog, controlId), code);
}
