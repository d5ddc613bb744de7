// Loaders of the engine's constructor: user commissions, changed client
// codes, sub-brokers, the general multi-currency lists and the base assets.
#include "dl/engine/settings_engine.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

void TSettingsEngine::LoadUserCommissions() {
  const std::vector<std::string>& upperNames = ini->GetUpperSectionNames();
  for (const std::string& name : upperNames) {
    if (!StartsWith(name, "U")) continue;
    const int user = TextToInt(std::string_view(name).substr(1));
    if (userCommissions.count(user) != 0) continue;
    userCommissions[user] = TUserCommission{ini->ReadFloat(name, "COMMISSION", 0.0),
                                            ini->ReadFloat(name, "OBLCOMMISSION", 0.0)};
  }
}

void TSettingsEngine::LoadChangeFutClientCodes() {
  for (const std::string& name : ini->GetUpperSectionNames()) {
    if (!StartsWith(name, "CHANGEFUTCLIENTCODES")) continue;
    for (const auto& [key, value] : ini->ReadSection(name)) {
      if (key == "FIRM") continue;
      changedClientCodes.emplace(value, key);
      reverseClientCodes.emplace(key, value);
    }
  }
}

void TSettingsEngine::LoadSubBrokers() {
  for (const auto& [client, value] : ini->ReadSection("SubBrokers")) {
    subBrokers.emplace(client, value);
    for (const std::string& subClient : SplitCommaList(value)) {
      if (!extendedSubClient && subClient.find('/') != std::string::npos) continue;
      subBrokerClients.emplace(subClient, client);
    }
  }
}

void TSettingsEngine::ReadAddMultiCurrency() {
  const TIniSection section = ini->ReadSection(ToUpperCopy("AddMultiCurrency"));
  hasAddMultiCurrency = !section.empty();
  for (const auto& [key, value] : section) addMultiCurrency.emplace(key, SplitCommaList(value));
}

void TSettingsEngine::ReadBaseAssets() {
  const std::vector<std::string>& names = ini->GetSectionNames();
  const std::vector<std::string>& upperNames = ini->GetUpperSectionNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const std::string& upperName = upperNames[i];
    const bool isTemplate = StartsWith(upperName, "BASEASSETS_TEMPLATE_");
    if (!isTemplate && !StartsWith(upperName, "BASEASSETS")) continue;
    const std::vector<std::string> clients =
        isTemplate ? SplitCommaList(ini->ReadString(name, "CLIENTS", ""))
                   : std::vector<std::string>();
    if (isTemplate && clients.empty()) continue;

    TBaseAssetTable table;
    for (const auto& [key, value] : ini->ReadSection(name)) {
      if (ToUpperCopy(key) == "CLIENTS") continue;
      const std::vector<std::string> items = SplitCommaList(value);
      for (std::size_t i = 0; i < items.size(); i += 2) {
        const double coefficient = i + 1 < items.size() ? TextToDouble(items[i + 1]) : 1.0;
        // Names are matched in upper case, so the lookup need not guess how
        // the broker wrote them.
        table.emplace(ToUpperCopy(items[i]), TBaseAssetEntry{items[i], key, coefficient});
      }
    }
    if (isTemplate) {
      for (const std::string& client : clients) baseAssets.emplace(client, table);
    } else {
      baseAssets.emplace("DEFAULT", std::move(table));
    }
  }
}

}  // namespace DL
