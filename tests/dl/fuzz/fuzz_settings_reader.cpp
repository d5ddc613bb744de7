// Arbitrary texts for the settings reader and the portfolio risk
// configurations: the reader must agree with the reference reader, and no
// read or lookup may fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dl/engine/portfolio_risk_configs.h"
#include "dl/store/ini_file.h"
#include "dl/support/ini_dump.h"
#include "dl/support/reference_ini.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The first byte picks the comment character, the rest is the text.
char CommentChar(std::uint8_t selector) { return selector % 4 == 0 ? '#' : ';'; }

void CheckLookup(const DL::TPortfolioRiskConfigs& configs, const std::string& config,
                 const std::string& item) {
  const DL::TPortfolioRiskConfig* record = configs.GetPortfolioRiskConfig(config.c_str(), item.c_str());
  Check(record != nullptr);
  Check(std::memchr(record->BOARDTAG, '\0', sizeof record->BOARDTAG) != nullptr);
  Check(std::memchr(record->CURRENCY, '\0', sizeof record->CURRENCY) != nullptr);
  Check(std::memchr(record->CONFIGNAME, '\0', sizeof record->CONFIGNAME) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char comment = CommentChar(data[0]);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, comment, 1);
  Check(DL::Testing::DumpIni(ini) == DL::Testing::ReferenceIniDump(text, comment));

  char buffer[32];
  for (std::size_t capacity : {0, 1, 2, 7, 32}) {
    Check(ini.ReadSectionNames(buffer, capacity) <= capacity);
    if (!ini.GetSectionNames().empty()) {
      const std::string& name = ini.GetSectionNames().front();
      Check(ini.ReadSectionText(name.c_str(), buffer, capacity) <= capacity);
      Check(ini.ReadStringToBuffer(name.c_str(), "k", buffer, capacity, "default") <= capacity);
    }
  }
  for (const std::string& name : ini.GetSectionNames()) {
    Check(ini.SectionExists(name));
    Check(!ini.FindSection(name, "").empty());
    for (const auto& entry : ini.ReadSection(name)) {
      Check(ini.ReadString(name, entry.first, "\x01") == entry.second);
      ini.ReadInteger(name, entry.first, 0);
      ini.ReadFloat(name, entry.first, 0.0);
      ini.IsInCachedList(name.c_str(), entry.second.c_str(), entry.first.c_str());
    }
  }
  ini.AllLimitKinds();

  DL::TPortfolioRiskConfigs configs;
  configs.LoadPortfolioRiskConfigs(ini);
  CheckLookup(configs, "", "");
  for (const auto& config : configs.Configs()) {
    for (const auto& item : config.second) CheckLookup(configs, config.first, item.first);
  }
  for (const DL::TBaseAssetAlias& alias : configs.Aliases()) {
    CheckLookup(configs, alias.BaseAsset, alias.ItemName);
  }
  // Random lookups: the names are slices of the text itself.
  for (std::size_t i = 0; i + 1 < text.size() && i < 64; i += 8) {
    CheckLookup(configs, text.substr(i, data[1 + i] % 13), text.substr(i + 1, data[1 + i] % 7));
  }
  return 0;
}
