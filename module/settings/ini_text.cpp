#include "module/settings/ini_text.h"

#include <cctype>

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The name of a section header line ("[name]"), or false for another line.
bool HeaderName(const std::string& line, std::string* name) {
  const std::string trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed[0] != '[') return false;
  const std::size_t close = trimmed.find(']');
  *name = Trimmed(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// The key of a line: the text before "=" (the whole line without one); a
// comment or a blank line has none.
std::string KeyOf(const std::string& line) {
  const std::string trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed[0] == ';') return std::string();
  return Trimmed(trimmed.substr(0, trimmed.find('=')));
}

}  // namespace

CIniText::CIniText(const std::string& text) {
  if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos)
    m_newline = "\n";
  m_sections.emplace_back();
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    std::string name;
    if (HeaderName(line, &name)) {
      m_sections.emplace_back();
      m_sections.back().header = line;
      m_sectionIndex.emplace(Lower(name), m_sections.size() - 1);
      continue;
    }
    Section& section = m_sections.back();
    if (Trimmed(line).empty()) {
      ++section.trailingBlanks;
      continue;
    }
    // Blank lines between keys belong to the section's body.
    section.lines.insert(section.lines.end(), section.trailingBlanks, std::string());
    section.trailingBlanks = 0;
    section.lines.push_back(line);
    IndexKey(section, section.lines.size() - 1);
  }
}

void CIniText::IndexKey(Section& section, std::size_t line) {
  const std::string key = KeyOf(section.lines[line]);
  if (!key.empty()) section.keys.emplace(Lower(key), line);
}

CIniText::Section& CIniText::SectionNamed(const std::string& name) {
  const auto found = m_sectionIndex.find(Lower(name));
  if (found != m_sectionIndex.end()) return m_sections[found->second];
  Section& last = m_sections.back();
  // A new section is set apart from what the file held before it.
  if ((!last.header.empty() || !last.lines.empty()) && last.trailingBlanks == 0)
    last.trailingBlanks = 1;
  m_sections.emplace_back();
  m_sections.back().header = "[" + name + "]";
  m_sectionIndex.emplace(Lower(name), m_sections.size() - 1);
  return m_sections.back();
}

void CIniText::Write(const std::string& sectionName, const std::string& key,
                     const std::string& value) {
  Section& section = SectionNamed(sectionName);
  const auto found = section.keys.find(Lower(key));
  if (found != section.keys.end()) {
    std::string& line = section.lines[found->second];
    line = KeyOf(line) + "=" + value;
    return;
  }
  section.lines.push_back(key + "=" + value);
  IndexKey(section, section.lines.size() - 1);
}

std::string CIniText::Text() const {
  std::string text;
  for (const Section& section : m_sections) {
    if (!section.header.empty()) text += section.header + m_newline;
    for (const std::string& line : section.lines) text += line + m_newline;
    for (std::size_t blank = 0; blank < section.trailingBlanks; ++blank) text += m_newline;
  }
  return text;
}
