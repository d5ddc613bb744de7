// The board tag and currency of each firm's DEFAULT portfolio risk
// configuration, kept with the settings text they were read from. Every full
// run fetches each firm's text again, and the text rarely changes: building
// the settings facade over 500 KB costs milliseconds, comparing it far less.
#pragma once

#include <map>
#include <string>
#include <string_view>

struct TFirmDefaultConfig {
  std::string boardTag;
  std::string currency;
};

class CFirmDefaultConfigs {
 public:
  // The firm's configuration in this text, read afresh only when the text
  // is not byte for byte the one it was last read from.
  const TFirmDefaultConfig& Of(const std::string& firm, std::string_view text);

  // How many texts were read so far; a firm's text seen again is not.
  int TextsRead() const { return m_textsRead; }

 private:
  struct Entry {
    std::string text;
    TFirmDefaultConfig config;
  };
  std::map<std::string, Entry> m_firms;
  int m_textsRead = 0;
};
