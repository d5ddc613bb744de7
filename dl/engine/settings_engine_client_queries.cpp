// The engine's per-client settings queries. They answer from the cached
// records without writing into them: a record may be shared by many clients.
#include <algorithm>
#include <optional>

#include "dl/engine/settings_engine.h"
#include "dl/store/cache_item_id.h"
#include "dl/store/numbers.h"

namespace DL {
namespace {

// Commission kinds, each set by one of the per-board maps.
enum TCommissionKind {
  kFixed = 1,
  kScale = 2,
  kTrade = 3,
  kTradeMax = 4,
  kOneSec = 5,
  kTradeLot = 6,
  kTradeMaxOneSec = 7,
};

// Copies the board's entry of the first map that holds it; the kind of that
// map, or 0 when none does. With a required kind, only a map of that kind
// may answer (the first map holding the board decides).
int CopyBoardCommission(TClientCommSettings& record, const std::string& board,
                        std::optional<int> requiredKind) {
  auto matches = [&](int kind, const auto& map) {
    return map.count(board) != 0 && (!requiredKind || *requiredKind == kind);
  };
  auto decides = [&](const auto& map) { return map.count(board) != 0; };
  if (decides(record.FixedByBoard)) {
    if (!matches(kFixed, record.FixedByBoard)) return 0;
    record.BrokerCommission = record.FixedByBoard.at(board);
    return kFixed;
  }
  if (decides(record.TradeByBoard)) {
    if (!matches(kTrade, record.TradeByBoard)) return 0;
    record.TradeCommission = record.TradeByBoard.at(board);
    return kTrade;
  }
  if (decides(record.TradeMaxByBoard)) {
    if (!matches(kTradeMax, record.TradeMaxByBoard)) return 0;
    record.TradeCommission = record.TradeMaxByBoard.at(board).first;
    record.BrokerCommission = record.TradeMaxByBoard.at(board).second;
    return kTradeMax;
  }
  if (decides(record.OneSecByBoard)) {
    if (!matches(kOneSec, record.OneSecByBoard)) return 0;
    record.OneSecCommission = record.OneSecByBoard.at(board);
    return kOneSec;
  }
  if (decides(record.TradeLotByBoard)) {
    if (!matches(kTradeLot, record.TradeLotByBoard)) return 0;
    record.TradeLotCommission = record.TradeLotByBoard.at(board);
    return kTradeLot;
  }
  if (decides(record.TradeMaxOneSecByBoard)) {
    if (!matches(kTradeMaxOneSec, record.TradeMaxOneSecByBoard)) return 0;
    record.TradeCommission = record.TradeMaxOneSecByBoard.at(board).first;
    record.OneSecCommission = record.TradeMaxOneSecByBoard.at(board).second;
    return kTradeMaxOneSec;
  }
  return 0;
}

bool HoldsSorted(const std::vector<std::string>& sorted, const std::string& code) {
  return std::binary_search(sorted.begin(), sorted.end(), code);
}

}  // namespace

TClientCommSettings TSettingsEngine::GetClientCommissionSettings(const char* client,
                                                                 const char* board) {
  TClientCommSettings record = *clientSettingsCache->Get(TIniCacheItemID(client, "", ""));
  const std::string code = board ? board : "";
  const bool hasBoard = record.FixedByBoard.count(code) || record.TradeByBoard.count(code) ||
                        record.TradeMaxByBoard.count(code) || record.OneSecByBoard.count(code) ||
                        record.TradeLotByBoard.count(code) ||
                        record.TradeMaxOneSecByBoard.count(code);
  if (hasBoard) {
    record.CommissionType = CopyBoardCommission(record, code, std::nullopt);
  } else {
    // The board's own entry is missing: the DEFAULT entry answers only when
    // it is of the kind the client already has.
    CopyBoardCommission(record, "DEFAULT", record.CommissionType);
  }
  const TCommScale* scale =
      commScaleCache->Get(TIniCacheItemID(client, code.c_str(), record.TpName.c_str()));
  record.ScaleMinVolume = scale->MinVolume;
  record.ScaleMinValue = scale->MinValue;
  record.ScaleMaxValue = scale->MaxValue;
  record.ScaleTradeCommission = scale->TradeCommission;
  record.ScaleRates = scale->Rates;
  return record;
}

const TBoardGroup& TSettingsEngine::GetClientBoardList(const char* board, const char* client) {
  const TClientCommSettings record = GetClientCommissionSettings(client, board);
  if (record.CommissionType == kScale) {
    GetBoardGroup(*boardGroupTables, TIniCacheItemID("", board, record.TpName.c_str()),
                  boardListReply);
  } else {
    boardListReply.GroupKind = 0;
    boardListReply.Boards.clear();
    boardListReply.OtherBoards.clear();
  }
  boardListReply.GroupFlag = !IsZero(record.RepoBrokerCommission);
  for (const auto& entry : userCommissions) boardListReply.OtherBoards.push_back(entry.first);
  return boardListReply;
}

const TClientSecurityRestrictions* TSettingsEngine::SecurityRestrictions(const char* client) {
  return securityRestrictionCache->Get(TIniCacheItemID(client, "", ""));
}

double TSettingsEngine::GetCurrencyCoefficient(const char* client, const char* currency) {
  if (currency == nullptr || !IsMultiCurrencyClient(client)) return 0.0;
  const TClientSecurityRestrictions* record = SecurityRestrictions(client);
  if (record->HasCurrencyRates) {
    auto rate = record->CurrencyRates.find(currency);
    if (currency != record->MainCurrency && rate != record->CurrencyRates.end())
      return rate->second;
    if (currency == record->MainCurrency2) return 1.0;
    auto rate2 = record->Currency2Rates.find(currency);
    return rate2 == record->Currency2Rates.end() ? 1.0 : rate2->second;
  }
  if (currency == mainCurrency || currency == mainCurrency2) return 1.0;
  auto rate = currencyRates.find(currency);
  if (rate != currencyRates.end()) return rate->second;
  auto rate2 = currencyRates2.find(currency);
  return rate2 == currencyRates2.end() ? 1.0 : rate2->second;
}

const char* TSettingsEngine::FindClientCurrencyEntry(const char* client, const char* currency) {
  if (currency == nullptr || !IsMultiCurrencyClient(client)) return nullptr;
  const TClientSecurityRestrictions* record = SecurityRestrictions(client);
  const bool own = record->HasCurrencyRates;
  const std::string* mains[] = {own ? &record->MainCurrency : &mainCurrency,
                                own ? &record->MainCurrency2 : &mainCurrency2};
  const std::map<std::string, double>* rates[] = {
      own ? &record->CurrencyRates : &currencyRates,
      own ? &record->Currency2Rates : &currencyRates2};
  for (int i = 0; i < 2; ++i) {
    if (mains[i]->empty()) continue;
    if (*mains[i] == currency || rates[i]->count(currency) != 0) return mains[i]->c_str();
  }
  return nullptr;
}

bool TSettingsEngine::GetClientSecurityFlag(const char* client) {
  if (client == nullptr || *client == '\0') return hasAddMultiCurrency;
  return SecurityRestrictions(client)->HasMultiCurrency;
}

const std::vector<std::string>* TSettingsEngine::GetClientSecurityRecordTail(const char* client) {
  return &SecurityRestrictions(client)->IgnoreCheckLimits;
}

bool TSettingsEngine::IsClientBoardAllowed(const std::string& client, const std::string& board) {
  const TClientSecurityRestrictions* record = SecurityRestrictions(client.c_str());
  if (HoldsSorted(record->CurrBoards, board)) return true;
  return std::find(currBoards.begin(), currBoards.end(), board) != currBoards.end();
}

const std::map<std::string, std::vector<std::string>>& TSettingsEngine::MultiCurrencyListsOf(
    const char* client) {
  const TClientSecurityRestrictions* record = SecurityRestrictions(client);
  return record->HasMultiCurrency ? record->MultiCurrencyLists : addMultiCurrency;
}

bool TSettingsEngine::CheckSecurityRestriction(const char* client, const char* key,
                                               const char* first, const char* second) {
  const TTextLists& lists = MultiCurrencyListsOf(client);
  if (key == nullptr || first == nullptr || second == nullptr) return false;
  auto list = lists.find(key);
  if (list == lists.end()) return false;
  const std::vector<std::string>& names = list->second;
  return std::find(names.begin(), names.end(), first) != names.end() &&
         std::find(names.begin(), names.end(), second) != names.end();
}

std::vector<std::string> TSettingsEngine::FindSecurityRestriction(const char* client,
                                                                  const char* key) {
  const TTextLists& lists = MultiCurrencyListsOf(client);
  if (key == nullptr) return {};
  auto list = lists.find(key);
  return list == lists.end() ? std::vector<std::string>() : list->second;
}

}  // namespace DL
