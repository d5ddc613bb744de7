#include "sdk/text_helpers.h"

#include <windows.h>

#include <cstring>

void TrimRightBlanks(char* text) {
  if (text == nullptr) return;
  size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = 0;
}

void TrimLeftBlanks(char* text) {
  if (text == nullptr) return;
  size_t skip = 0;
  while (text[skip] == ' ') ++skip;
  if (skip > 0) std::memmove(text, text + skip, std::strlen(text + skip) + 1);
}

void TrimBlanks(char* text) {
  TrimRightBlanks(text);
  TrimLeftBlanks(text);
}

void TrimRightBlanksDots(char* text) {
  if (text == nullptr) return;
  size_t length = std::strlen(text);
  while (length > 0 && std::strchr(" \r\n.", text[length - 1]) != nullptr) text[--length] = 0;
}

void RemoveBlanksAndNewlines(char* text) {
  if (text == nullptr) return;
  char* out = text;
  for (const char* c = text; *c; ++c)
    if (*c != ' ' && *c != '\n') *out++ = *c;
  *out = 0;
}

void ReplaceChar(char* text, char from, char to) {
  if (text == nullptr) return;
  for (char* c = text; *c; ++c)
    if (*c == from) *c = to;
}

bool ReplaceFirst(std::string& text, const char* what, const char* replacement) {
  if (what == nullptr || *what == 0) return false;
  const size_t at = text.find(what);
  if (at == std::string::npos) return false;
  text.replace(at, std::strlen(what), replacement ? replacement : "");
  return true;
}

bool IsInList(const char* item, char separator, const char* list) {
  if (item == nullptr || list == nullptr || *list == 0) return false;
  constexpr size_t kMaxElement = 511;
  const char* start = list;
  for (;;) {
    const char* end = std::strchr(start, separator);
    const size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
    char element[kMaxElement + 1];
    const size_t kept = length < kMaxElement ? length : kMaxElement;
    std::memcpy(element, start, kept);
    element[kept] = 0;
    RemoveBlanksAndNewlines(element);
    // Case folding follows the user's code page, so Cyrillic codes match too.
    if (lstrcmpiA(element, item) == 0) return true;
    if (end == nullptr) return false;
    start = end + 1;
  }
}
