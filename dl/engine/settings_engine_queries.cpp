// The engine's queries over its own lists and maps.
#include <algorithm>

#include "dl/engine/settings_engine.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

bool Contains(const std::vector<std::string>& list, const char* code) {
  if (code == nullptr) return false;
  return std::find(list.begin(), list.end(), code) != list.end();
}

// "," + list + "," holds "," + item + ",".
bool IsInCommaList(const char* item, const std::string& list) {
  if (item == nullptr) return false;
  const std::string wrappedList = "," + list + ",";
  const std::string wrappedItem = std::string(",") + item + ",";
  return wrappedList.find(wrappedItem) != std::string::npos;
}

template <class Map>
const typename Map::mapped_type* Find(const Map& map, const char* key) {
  if (key == nullptr) return nullptr;
  auto found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

const char* TextOrNull(const std::string* text) { return text ? text->c_str() : nullptr; }

}  // namespace

bool TSettingsEngine::IsMainMarginClass(const char* code) const {
  return IsInCommaList(code, mainMarginClasses);
}

bool TSettingsEngine::IsReservePerevorotGoCode(const char* code) const {
  return Contains(reservePerevorotGo, code);
}

bool TSettingsEngine::IsSpotClass(const char* code) const { return Contains(spotClasses, code); }

bool TSettingsEngine::IsMinTsCommClass(const char* code) const {
  return DL::IsMinTsCommClass(code, minTsCommClasses, ignoreMinTsCommForClasses);
}

bool TSettingsEngine::IsBuySellRepoTsCommClass(const char* code) const {
  return IsInCommaList(code, buySellRepoTsCommClasses);
}

bool TSettingsEngine::IsClassWithoutLimitKinds(const char* code) const {
  return Contains(classesWithoutLimitKinds, code);
}

bool TSettingsEngine::UseTsCommForTrade(const char* code) const {
  if (Contains(ignoreTsCommForTrade, code)) return false;
  return useTsCommForTrade;
}

bool TSettingsEngine::IsQuantityNotInLotsClass(const char* code) const {
  return Contains(quantityNotInLotsClasses, code);
}

bool TSettingsEngine::IsItemInCommaList(const char* item, const char* list) const {
  if (list == nullptr) return false;
  std::string text(list);
  RemoveSpaces(text);
  return !text.empty() && IsInCommaList(item, text);
}

int TSettingsEngine::GetClientLag(const char* client) const {
  const std::string code = client ? client : "";
  auto own = clientLags.find(code);
  if (own != clientLags.end()) return own->second;
  for (const auto& [prefix, lag] : clientLagMasks) {
    if (code.compare(0, prefix.size(), prefix) != 0) continue;
    if (lag > 0) return lag;
    break;
  }
  auto fallback = clientLags.find("DEFAULT");
  return fallback == clientLags.end() ? 1 : fallback->second;
}

const TMarginalZadolgEntry* TSettingsEngine::FindAddMarketMarginalZadolg(const char* key) const {
  return Find(addMarketMarginalZadolg, key);
}

int TSettingsEngine::GetClassLimitKind(const char* code) const {
  const int* kind = Find(classToLimitKind, code);
  return kind ? *kind : 0;
}

const char* TSettingsEngine::FindSecToBoard(const char* security) const {
  if (security == nullptr) return nullptr;
  for (const auto& [board, securities] : secToBoard) {
    if (Contains(securities, security)) return board.c_str();
  }
  return nullptr;
}

bool TSettingsEngine::CheckAllowedSecurity(std::uint32_t, double, const char* key,
                                           const char* security, std::uint32_t) const {
  const TRestrictionList* list = Find(allowedSecurities, key);
  if (list == nullptr) return false;
  return list->All || Contains(list->Items, security);
}

const TBaseAssetEntry* TSettingsEngine::FindBaseAsset(const char* name, const char* client) const {
  if (name == nullptr) return nullptr;
  auto table = baseAssets.find(client ? client : "DEFAULT");
  if (table == baseAssets.end()) table = baseAssets.find("DEFAULT");
  if (table == baseAssets.end()) return nullptr;
  return Find(table->second, ToUpperCopy(name).c_str());
}

const char* TSettingsEngine::GetBaseAssetGroup(const char* name, const char* client) const {
  const TBaseAssetEntry* entry = FindBaseAsset(name, client);
  return entry ? entry->GroupKey.c_str() : nullptr;
}

double TSettingsEngine::GetBaseAssetCoefficient(const char* name, const char* client) const {
  const TBaseAssetEntry* entry = FindBaseAsset(name, client);
  return entry ? entry->Coefficient : 1.0;
}

const TCommonTrdAccMember* TSettingsEngine::FindCommonTrdAccMember(const char* first,
                                                                   const char* second) const {
  if (first == nullptr) return nullptr;
  for (const TCommonTrdAccMember* member : commonSecTrdAccIndex) {
    if (member->FirstPart != first) continue;
    if (second != nullptr && member->SecondPart != second) continue;
    return member;
  }
  return nullptr;
}

const char* TSettingsEngine::GetCommonTrdAccGroupName(const char* first, const char* second) const {
  if (noAddCommonSecTrdAcc) return nullptr;
  const TCommonTrdAccMember* member = FindCommonTrdAccMember(first, second);
  return member && member->Group ? member->Group->Name.c_str() : nullptr;
}

bool TSettingsEngine::IsSameCommonTrdAccGroup(const char* first1, const char* second1,
                                              const char* first2, const char* second2) const {
  if (noAddCommonSecTrdAcc || first1 == nullptr || first2 == nullptr || second2 == nullptr)
    return false;
  auto groupNamed = [this](const char* name) -> const TCommonTrdAccGroup* {
    for (const TCommonTrdAccGroup& group : commonSecTrdAccGroups)
      if (group.Name == name) return &group;
    return nullptr;
  };
  const TCommonTrdAccGroup* group = groupNamed(first1);
  const TCommonTrdAccMember* excluded = nullptr;
  bool firstMode = group != nullptr;
  if (!group) group = groupNamed(first2);
  if (!group) {
    excluded = FindCommonTrdAccMember(first1, second1);
    if (!excluded || !excluded->Group) return false;
    group = excluded->Group;
  }
  const char* wantedFirst = firstMode ? first2 : first1;
  for (const TCommonTrdAccMember* member : group->Members) {
    if (member == excluded) continue;
    if (member->FirstPart == wantedFirst && member->SecondPart == second2) return true;
  }
  return false;
}

void TSettingsEngine::GetClientTemplateLists(TClientTemplateList& list) const {
  clientTemplateLists.AppendTo(list);
}

const std::vector<std::string>* TSettingsEngine::FindAddNonMarginalBoard(const char* key) {
  return &addNonMarginalBoards[key ? key : ""];
}

bool TSettingsEngine::IsInKeyedSet(const std::string& key, const std::string& item) const {
  auto list = addRepoBoards.find(key);
  if (list == addRepoBoards.end()) return false;
  return std::binary_search(list->second.begin(), list->second.end(), item);
}

const std::vector<std::string>* TSettingsEngine::GetKeyedList(const std::string& key) const {
  static const std::vector<std::string> kEmpty;
  auto list = addRepoBoards.find(key);
  return list == addRepoBoards.end() ? &kEmpty : &list->second;
}

bool TSettingsEngine::IsMultiCurrencyClient(const char* client) const {
  return supportMultiCurrency && !Contains(clientsNoMultiCurrency, client ? client : "");
}

const char* TSettingsEngine::GetChangedClientCode(const char* code) const {
  return TextOrNull(Find(changedClientCodes, code));
}

const char* TSettingsEngine::GetClientCodeFromChanged(const char* code) const {
  return TextOrNull(Find(reverseClientCodes, code));
}

const char* TSettingsEngine::ResolveSubClient(const std::string& code) const {
  auto subClient = subBrokerClients.find(code);
  if (subClient != subBrokerClients.end()) return subClient->second.c_str();
  if (!subBrokerGenerateClient) return nullptr;
  const std::size_t delimiter = code.find_last_of(extendedSubClient ? "_/" : "_");
  if (delimiter != std::string::npos && delimiter > 0) {
    auto broker = subBrokers.find(code.substr(0, delimiter));
    if (broker != subBrokers.end()) return broker->first.c_str();
  }
  if (addSubClientDelimiter != '\0') {
    const std::size_t own = code.rfind(addSubClientDelimiter);
    if (own != std::string::npos && own > 0) {
      auto broker = subBrokers.find(code.substr(0, own));
      return broker == subBrokers.end() ? nullptr : broker->first.c_str();
    }
  }
  return nullptr;
}

TUserCommission TSettingsEngine::GetUserCommissions(int user) const {
  auto found = userCommissions.find(user);
  return found == userCommissions.end() ? TUserCommission{} : found->second;
}

const ABoardTariff* TSettingsEngine::GetBoardTariff(const char* board) const {
  return boardTariffs.GetBoardTariff(board);
}

TPortfolioRiskConfig TSettingsEngine::GetPortfolioRiskConfig(const char* config,
                                                             const char* item) const {
  return *portfolioRiskConfigs.GetPortfolioRiskConfig(config, item);
}

}  // namespace DL
