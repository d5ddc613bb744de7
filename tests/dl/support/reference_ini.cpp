#include "dl/support/reference_ini.h"

#include <map>
#include <vector>

namespace DL::Testing {
namespace {

int Fold(char c) {
  int value = static_cast<signed char>(c);
  if (value >= 'a' && value <= 'z') value -= 32;
  return value;
}

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
      if (Fold(a[i]) != Fold(b[i])) return Fold(a[i]) < Fold(b[i]);
    }
    return a.size() < b.size();
  }
};

using Keys = std::map<std::string, std::string, NoCase>;
using Sections = std::map<std::string, Keys, NoCase>;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

void Store(Sections& sections, const std::string& name, const Keys& keys) {
  if (name.empty()) return;
  auto it = sections.find(name);
  if (it != sections.end()) {
    it->second = keys;  // the name keeps its first spelling
  } else {
    sections.emplace(name, keys);
  }
}

}  // namespace

std::string ReferenceIniDump(const std::string& wholeText, char commentChar) {
  std::string text = wholeText.substr(0, wholeText.find('\0'));
  Sections sections;
  std::string current;
  Keys pending;
  for (std::string line : SplitLines(text)) {
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    line = line.substr(first);
    std::size_t mark = 0;
    while (mark < line.size() && line[mark] != commentChar && line[mark] != '[' &&
           line[mark] != '=') {
      ++mark;
    }
    if (mark == line.size() || line[mark] == commentChar) continue;  // other line or comment
    if (line[mark] == '[') {
      Store(sections, current, pending);
      current.clear();
      if (mark != 0) continue;  // a stray bracket
      std::string name;
      bool good = false;
      for (std::size_t i = 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == commentChar || IsBlank(c)) break;
        if (c == ']') {
          good = true;
          break;
        }
        name += c;
      }
      if (good && !name.empty()) {
        current = name;
        pending.clear();
      }
      continue;
    }
    std::string key = line.substr(0, mark);
    while (!key.empty() && IsBlank(key.back())) key.pop_back();
    std::size_t valueStart = mark + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
    std::string value = line.substr(valueStart);
    value = value.substr(0, value.find(commentChar));
    if (key.empty()) continue;
    auto it = pending.find(key);
    if (it != pending.end()) {
      it->second = value;
    } else {
      pending.emplace(key, value);
    }
  }
  Store(sections, current, pending);

  std::string dump;
  for (const auto& section : sections) {
    dump += "[" + section.first + "]\n";
    for (const auto& entry : section.second) dump += entry.first + "=" + entry.second + "\n";
  }
  return dump;
}

}  // namespace DL::Testing
