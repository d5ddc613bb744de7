#include "module/settings/comma_lists.h"

void SplitCommaList(const std::string& text, StringList& list) {
  list.clear();
  std::string item;
  for (char c : text) {
    if (c == ' ') continue;
    if (c == ',') {
      if (!item.empty()) list.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) list.push_back(item);
}

std::string JoinWithComma(const StringList& list) {
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) text += ", ";
    text += list[i];
  }
  return text;
}
