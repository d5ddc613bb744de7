// Reading a scenario INI file: texts, numbers (decimal or 0x hexadecimal,
// possibly negative), reals, the keys of a section and numbered sections.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

class ScenarioFile {
 public:
  explicit ScenarioFile(std::string path) : m_path(std::move(path)) {}
  bool HasSection(const std::string& section) const {
    char names[64] = {};
    return GetPrivateProfileSectionA(section.c_str(), names, sizeof names, m_path.c_str()) > 0;
  }
  std::string Text(const std::string& section, const char* key, const char* fallback = "") const {
    char value[4096] = {};
    GetPrivateProfileStringA(section.c_str(), key, fallback, value, sizeof value, m_path.c_str());
    return value;
  }
  uint32_t Number(const std::string& section, const char* key, uint32_t fallback = 0) const {
    const std::string text = Text(section, key);
    if (text.empty()) return fallback;
    if (text[0] == '-') return static_cast<uint32_t>(std::strtol(text.c_str(), nullptr, 0));
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
  }
  bool Real(const std::string& section, const char* key, double* value) const {
    const std::string text = Text(section, key);
    if (text.empty()) return false;
    *value = std::strtod(text.c_str(), nullptr);
    return true;
  }
  double Real(const std::string& section, const char* key) const {
    double value = 0.0;
    Real(section, key, &value);
    return value;
  }
  // The section's key names in file order.
  std::vector<std::string> Keys(const std::string& section) const {
    std::vector<char> names(32768, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(),
                                                  static_cast<DWORD>(names.size()), m_path.c_str());
    std::vector<std::string> keys;
    for (DWORD at = 0; at < length && names[at] != '\0'; at += static_cast<DWORD>(keys.back().size()) + 1)
      keys.emplace_back(names.data() + at);
    return keys;
  }
  // A file named relative to the scenario's folder.
  std::string Neighbour(const std::string& name) const {
    const size_t slash = m_path.find_last_of("\\/");
    return slash == std::string::npos ? name : m_path.substr(0, slash + 1) + name;
  }

 private:
  std::string m_path;
};

// Numbered sections are read from 1 until the first missing number.
template <typename Each>
void ForEachNumbered(const ScenarioFile& file, const char* prefix, Each each) {
  for (int n = 1;; ++n) {
    const std::string section = prefix + std::to_string(n);
    if (!file.HasSection(section)) return;
    each(section, n);
  }
}

// Splits a list on the separator, trimming blanks; empty items are dropped.
inline std::vector<std::string> SplitList(const std::string& text, char separator) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    size_t first = start, last = end;
    while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
    if (last > first) items.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return items;
}
