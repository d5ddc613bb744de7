// The text of an INI file held in memory and edited the way the profile
// functions edit the file itself: a key that is there keeps its place and
// spelling and takes the new value, a new key ends its section, a new
// section ends the file. Everything else (comments, blank lines, keys of
// others) stays as it was. Section and key names compare without regard to
// case, and the first of equal names is the one written.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class CIniText {
 public:
  explicit CIniText(const std::string& text);

  void Write(const std::string& section, const std::string& key, const std::string& value);
  std::string Text() const;

 private:
  struct Section {
    std::string header;  // empty for the lines before the first section
    std::vector<std::string> lines;
    std::size_t trailingBlanks = 0;  // blank lines that stay after the section's keys
    std::unordered_map<std::string, std::size_t> keys;  // lower-case name -> line
  };

  Section& SectionNamed(const std::string& name);
  static void IndexKey(Section& section, std::size_t line);

  std::vector<Section> m_sections;
  std::unordered_map<std::string, std::size_t> m_sectionIndex;  // lower-case name -> section
  std::string m_newline = "\r\n";
};
