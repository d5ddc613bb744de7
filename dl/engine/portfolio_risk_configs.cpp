#include "dl/engine/portfolio_risk_configs.h"

#include <algorithm>
#include <set>

#include "dl/engine/portfolio_risk_config_reader.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const char kDefaultName[] = "DEFAULT";
const char kConfigSectionPrefix[] = "PORTFOLIORISKCONFIG";
constexpr std::size_t kConfigSectionPrefixLength = sizeof kConfigSectionPrefix - 1;
constexpr std::size_t kConfigNameLength = kConfigTextSize - 1;

// The configuration a section describes, or false when it describes none.
// The character after PORTFOLIORISKCONFIG (normally "_") is skipped and the
// name is cut to 12 characters.
bool ConfigNameOfSection(const std::string& section, std::string& name) {
  if (ToUpperCopy(section).compare(0, kConfigSectionPrefixLength, kConfigSectionPrefix) != 0) {
    return false;
  }
  if (section.size() == kConfigSectionPrefixLength) {
    name = kDefaultName;
  } else {
    name = section.substr(kConfigSectionPrefixLength + 1, kConfigNameLength);
  }
  return true;
}

// The values of a configuration are read from the section its name
// composes, not from the section that named it: PORTFOLIORISKCONFIG_DEFAULT
// names DEFAULT, whose values are those of PORTFOLIORISKCONFIG, and a long
// name is read from the section of its first 12 characters.
std::string SectionOfConfig(const std::string& name) {
  if (name.empty() || name == kDefaultName) return kConfigSectionPrefix;
  return std::string(kConfigSectionPrefix) + "_" + name;
}

// The item a key belongs to when it ends with the key name: DEFAULT for the
// plain key, otherwise the text before the separator.
bool ItemOfKey(const std::string& upperKey, const std::string& key, const std::string& keyName,
               std::string& item) {
  if (upperKey.size() < keyName.size() ||
      upperKey.compare(upperKey.size() - keyName.size(), keyName.size(), keyName) != 0) {
    return false;
  }
  std::size_t itemLength = upperKey.size() - keyName.size();
  item = itemLength < 2 ? std::string(kDefaultName) : key.substr(0, itemLength - 1);
  return true;
}

}  // namespace

TPortfolioRiskConfigs::TPortfolioRiskConfigs() {
  // What an empty DEFAULT section gives.
  TIniFile empty;
  ReadPortfolioRiskItem(empty, kConfigSectionPrefix, TIniSection(), "", kDefaultName,
                        TPortfolioRiskConfig(), builtInDefault_);
}

void TPortfolioRiskConfigs::LoadPortfolioRiskConfigs(const TIniFile& ini) {
  configs_.clear();
  aliases_.clear();
  spreadOrder_.clear();
  TSources sources;
  EnumPortfolioRiskConfigs(ini, sources);
  ReadDefaultPortfolioRiskConfig(ini, sources);
  ReadPortfolioRiskConfig(ini, sources);
  LoadPortfolioSpreadOrder(ini);
}

void TPortfolioRiskConfigs::EnumPortfolioRiskConfigs(const TIniFile& ini, TSources& sources) {
  for (const std::string& section : ini.GetSectionNames()) {
    std::string configName;
    if (!ConfigNameOfSection(section, configName)) continue;
    const std::string valueSection = SectionOfConfig(configName);
    TConfigSource source{valueSection, ini.ReadSection(valueSection), {}};
    std::set<std::string> known;
    for (const auto& entry : ini.ReadSection(section)) {
      const std::string& key = entry.first;
      std::string upperKey = ToUpperCopy(key);
      for (int k = 0; k < kPortfolioRiskConfigKeyCount; ++k) {
        std::string item;
        if (!ItemOfKey(upperKey, key, PortfolioRiskConfigKeys[k], item)) continue;
        if (known.insert(item).second) source.Items.push_back(item);
        if (std::string(PortfolioRiskConfigKeys[k]) == "ADDBASEASSETS" &&
            configName != kDefaultName) {
          for (const std::string& asset : SplitCommaList(entry.second)) {
            aliases_.push_back(TBaseAssetAlias{asset, item, configName});
          }
        }
      }
    }
    sources.emplace(configName, std::move(source));
  }
}

void TPortfolioRiskConfigs::ReadDefaultPortfolioRiskConfig(const TIniFile& ini,
                                                           const TSources& sources) {
  for (const auto& [configName, source] : sources) {
    TPortfolioRiskConfig record;
    // An odd SPREADTIERS list spoils this configuration only: one broker's
    // typo in a configuration must not take DEFAULT and the others with it.
    if (!ReadPortfolioRiskItem(ini, source.Section, source.Keys, "", configName,
                               TPortfolioRiskConfig(), record)) {
      continue;
    }
    configs_[configName].emplace(kDefaultName, std::move(record));
  }
}

void TPortfolioRiskConfigs::ReadPortfolioRiskConfig(const TIniFile& ini, const TSources& sources) {
  for (const auto& [configName, source] : sources) {
    auto config = configs_.find(configName);
    if (config == configs_.end()) continue;
    auto defaultItem = config->second.find(kDefaultName);
    if (defaultItem == config->second.end()) continue;
    const TPortfolioRiskConfig base = defaultItem->second;
    for (const std::string& item : source.Items) {
      // The DEFAULT item keeps its first-pass record.
      if (item == kDefaultName) continue;
      TPortfolioRiskConfig record;
      if (!ReadPortfolioRiskItem(ini, source.Section, source.Keys, item + "_", configName, base,
                                 record)) {
        break;
      }
      config->second.emplace(item, std::move(record));
    }
  }
}

void TPortfolioRiskConfigs::LoadPortfolioSpreadOrder(const TIniFile& ini) {
  for (const auto& entry : ini.ReadSection("PORTFOLIOSPREADORDER")) {
    std::vector<std::string> names = SplitCommaList(entry.first);
    if (names.size() != 2) continue;
    spreadOrder_.push_back(TPortfolioSpreadOrderEntry{names[0], names[1], TextToInt(entry.second)});
  }
  std::stable_sort(spreadOrder_.begin(), spreadOrder_.end(),
                   [](const TPortfolioSpreadOrderEntry& a, const TPortfolioSpreadOrderEntry& b) {
                     return a.Order < b.Order;
                   });
}

const TPortfolioRiskConfig* TPortfolioRiskConfigs::GetPortfolioRiskConfig(const char* config,
                                                                          const char* item) const {
  std::string configName = config != nullptr && *config != '\0' ? config : kDefaultName;
  std::string itemName = item != nullptr && *item != '\0' ? item : kDefaultName;
  for (const TBaseAssetAlias& alias : aliases_) {
    if (alias.BaseAsset == configName) {
      configName = alias.ConfigName;
      break;
    }
  }
  auto found = configs_.find(configName);
  if (found == configs_.end()) found = configs_.find(kDefaultName);
  if (found == configs_.end()) return &builtInDefault_;
  const TItems& items = found->second;
  auto record = items.find(itemName);
  if (record == items.end()) record = items.find(kDefaultName);
  return record != items.end() ? &record->second : &builtInDefault_;
}

}  // namespace DL
