#include "dl/store/client_comm_settings.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool SplitPair(const std::string& value, std::pair<double, double>& numbers, double secondScale) {
  const std::vector<std::string> items = SplitCommaList(value);
  if (items.size() != 2) return false;
  numbers = {TextToDouble(items[0]) * 100, TextToDouble(items[1]) * secondScale};
  return true;
}

template <class TValue>
void StoreFirst(std::map<std::string, TValue>& byBoard, const std::string& board,
                const TValue& value, TClientCommSettings& record) {
  byBoard.emplace(board, value);
  record.HasBoardCommissions = true;
}

void ReadBoardSuffixes(const std::string& key, const std::string& value,
                       TClientCommSettings& record) {
  const double number = TextToDouble(value);
  auto boardOf = [&key](const char* suffix) {
    return key.substr(0, key.size() - std::char_traits<char>::length(suffix));
  };
  if (EndsWith(key, "_FIXED")) StoreFirst(record.FixedByBoard, boardOf("_FIXED"), number, record);
  if (EndsWith(key, "_TRADE"))
    StoreFirst(record.TradeByBoard, boardOf("_TRADE"), number * 100, record);
  std::pair<double, double> pair;
  if (EndsWith(key, "_TRADE_MAX") && SplitPair(value, pair, 1.0))
    StoreFirst(record.TradeMaxByBoard, boardOf("_TRADE_MAX"), pair, record);
  if (EndsWith(key, "_1SEC"))
    StoreFirst(record.OneSecByBoard, boardOf("_1SEC"), number * 100, record);
  if (EndsWith(key, "_TRADELOT"))
    StoreFirst(record.TradeLotByBoard, boardOf("_TRADELOT"), number * 100, record);
  if (EndsWith(key, "_TRADE_MAX_1SEC") && SplitPair(value, pair, 100.0))
    StoreFirst(record.TradeMaxOneSecByBoard, boardOf("_TRADE_MAX_1SEC"), pair, record);
}

// The plain commission keys of a client section give the client's "DEFAULT"
// board entry; true when the key was one of them.
bool ReadPlainCommission(const std::string& key, double number, TClientCommSettings& record) {
  if (key == "BROKERCOMMISSION")
    record.FixedByBoard.emplace("DEFAULT", number);
  else if (key == "TRADECOMMISSION")
    record.TradeByBoard.emplace("DEFAULT", number * 100);
  else if (key == "1SECCOMMISSION")
    record.OneSecByBoard.emplace("DEFAULT", number * 100);
  else if (key == "TRADELOTCOMMISSION")
    record.TradeLotByBoard.emplace("DEFAULT", number * 100);
  else
    return false;
  return true;
}

const char kRepoTermPrefix[] = "REPOBROKER_";

}  // namespace

void ReadCommissionKeys(const TIniFile& ini, const std::string& section, bool clientSection,
                        TClientCommSettings& record) {
  for (const auto& entry : ini.ReadSection(section)) {
    const std::string& key = entry.first;
    const std::string& value = entry.second;
    ReadBoardSuffixes(key, value, record);
    if (clientSection && ReadPlainCommission(key, TextToDouble(value), record)) continue;
    if (key.compare(0, sizeof kRepoTermPrefix - 1, kRepoTermPrefix) == 0) {
      const std::string term = key.substr(sizeof kRepoTermPrefix - 1);
      record.RepoBrokerByTerm.emplace_back(TextToInt(term), TextToDouble(value));
    }
  }
  std::stable_sort(record.RepoBrokerByTerm.begin(), record.RepoBrokerByTerm.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::unique_ptr<TClientCommSettings> ReadCommSettingsDefaults(const TIniFile& ini) {
  auto record = std::make_unique<TClientCommSettings>();
  if (ini.ReadInteger("GENERAL", "USECOMMISSIONSCALE", 0) == 1) {
    record->CommissionType = 2;
    record->BrokerCommission = 0.0;
  } else {
    record->CommissionType = 1;
    record->BrokerCommission = ini.ReadFloat("COMMISSION", "BROKER", 0.5);
  }
  record->RepoBrokerCommission = ini.ReadFloat("COMMISSION", "REPOBROKER", 0.0);
  record->RoundScaleCommissionOnDayValue =
      ini.ReadBool("GENERAL", "ROUNDSCALECOMMISSIONONDAYVALUE", false);
  record->CommissionScaleJump = ini.ReadBool("GENERAL", "COMMISSIONSCALEJUMP", false);
  ReadCommissionKeys(ini, "COMMISSION", false, *record);
  return record;
}

TCacheOfClientSettings::TCacheOfClientSettings(TIniFile* ini)
    : AIniSettingCacheMaster(ini), Resolver(ini) {
  DefaultRecord = ReadCommSettingsDefaults(*ini);
}

TCacheOfClientSettings::TRecordPtr TCacheOfClientSettings::Load(const TIniCacheItemID& id) {
  const std::string& client = id.GetClient();
  std::string section = Resolver.FindExplicitSection(client, "CL", "");
  if (section.empty()) section = Resolver.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
  if (section.empty()) section = Resolver.FindMaskSection(client, "CL", "", 1);
  if (section.empty()) return DefaultRecord;
  TRecordPtr& record = SectionRecords[ToUpperCopy(section)];
  if (!record) record = ReadClientSection(section);
  return record;
}

TCacheOfClientSettings::TRecordPtr TCacheOfClientSettings::ReadClientSection(
    const std::string& section) const {
  auto record = std::make_shared<TClientCommSettings>();
  ReadCommissionKeys(*Ini, section, true, *record);
  record->CommissionType = Ini->ReadInteger(section, "COMMISSIONTYPE", 0);
  if (record->CommissionType == 0) record->CommissionType = DefaultRecord->CommissionType;
  record->TpName = Ini->ReadString(section, "TPNAME", "");
  record->BrokerCommission = Ini->ReadFloat(section, "BROKERCOMMISSION", 0.0);
  record->RepoBrokerCommission = Ini->ReadFloat(section, "REPOBROKER", 0.0);
  record->TradeCommission = Ini->ReadFloat(section, "TRADECOMMISSION", 0.0) * 100;
  record->OneSecCommission = Ini->ReadFloat(section, "1SECCOMMISSION", 0.0) * 100;
  record->TradeLotCommission = Ini->ReadFloat(section, "TRADELOTCOMMISSION", 0.0) * 100;
  record->IgnoreUserCommission = Ini->ReadBool(section, "IGNOREUSERCOMMISSION", false);
  record->RoundScaleCommissionOnDayValue =
      Ini->ReadBool(section, "ROUNDSCALECOMMISSIONONDAYVALUE", false);
  const int scaleJump = Ini->ReadInteger(section, "COMMISSIONSCALEJUMP", -1);
  record->CommissionScaleJump =
      scaleJump == -1 ? DefaultRecord->CommissionScaleJump : scaleJump == 1;
  return record;
}

}  // namespace DL
