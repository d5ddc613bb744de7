#include "dl/store/security_restrictions.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

bool BeginsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool GeneralMoneyLimitFlag(const TIniFile& ini) {
  return ini.ReadInteger("GENERAL", "USEONLYMONEYLIMITFOROLDMARGIN", 0) != 0;
}

void ReadRate(const std::string& code, const std::string& value, std::string& mainCurrency,
              std::map<std::string, double>& rates) {
  if (code == "MAIN")
    mainCurrency = value;
  else if (!value.empty())
    rates[code] = TextToDouble(value);
}

}  // namespace

std::unique_ptr<TClientSecurityRestrictions> ReadSecurityRestrictionsDefaults(const TIniFile& ini) {
  auto record = std::make_unique<TClientSecurityRestrictions>();
  record->UseOnlyMoneyLimitForOldMargin = GeneralMoneyLimitFlag(ini);
  const std::string ignored = ini.ReadString("GENERAL", "IGNORECHECKLIMITS", "");
  if (!ignored.empty()) record->IgnoreCheckLimits = SplitCommaList(ignored);
  for (const auto& entry : ini.ReadSection(ToUpperCopy("AddMultiCurrency"))) {
    record->HasMultiCurrency = true;
    record->MultiCurrencyLists.emplace(entry.first, SplitCommaList(entry.second));
  }
  return record;
}

TCacheOfSecurityRestrictions::TCacheOfSecurityRestrictions(TIniFile* ini)
    : AIniSettingCacheMaster(ini), Resolver(ini) {
  DefaultRecord = ReadSecurityRestrictionsDefaults(*ini);
}

TCacheOfSecurityRestrictions::TRecordPtr TCacheOfSecurityRestrictions::Load(
    const TIniCacheItemID& id) {
  const std::string& client = id.GetClient();
  std::string section = Resolver.FindExplicitSection(client, "CL", "");
  if (section.empty()) section = Resolver.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
  if (section.empty()) section = Resolver.FindMaskSection(client, "CL", "", 1);
  if (section.empty()) return DefaultRecord;
  TRecordPtr& record = SectionRecords[ToUpperCopy(section)];
  if (!record) record = ReadClientSection(section);
  return record;
}

TCacheOfSecurityRestrictions::TRecordPtr TCacheOfSecurityRestrictions::ReadClientSection(
    const std::string& section) const {
  auto record = std::make_shared<TClientSecurityRestrictions>();
  const bool generalMoneyLimit = GeneralMoneyLimitFlag(*Ini);
  record->UseOnlyMoneyLimitForOldMargin = generalMoneyLimit;
  for (const auto& entry : Ini->ReadSection(section)) {
    const std::string key = ToUpperCopy(entry.first);
    const std::string& value = entry.second;
    if (key == "CURRBOARDS") {
      record->CurrBoards = SplitCommaList(value);
      std::sort(record->CurrBoards.begin(), record->CurrBoards.end());
    } else if (key == "USEONLYMONEYLIMITFOROLDMARGIN") {
      record->UseOnlyMoneyLimitForOldMargin =
          Ini->ReadInteger(section, "USEONLYMONEYLIMITFOROLDMARGIN", generalMoneyLimit ? 1 : 0) !=
          0;
    } else if (key == "IGNORECHECKLIMITS") {
      if (!value.empty()) record->IgnoreCheckLimits = SplitCommaList(value);
    } else if (BeginsWith(key, "ADDMULTICURRENCY_")) {
      record->HasMultiCurrency = true;
      record->MultiCurrencyLists[key.substr(17)] = SplitCommaList(value);
    } else if (BeginsWith(key, "CURRENCY_")) {
      record->HasCurrencyRates = true;
      ReadRate(key.substr(9), value, record->MainCurrency, record->CurrencyRates);
    } else if (BeginsWith(key, "CURRENCY2_")) {
      record->HasCurrencyRates = true;
      ReadRate(key.substr(10), value, record->MainCurrency2, record->Currency2Rates);
    }
  }
  return record;
}

}  // namespace DL
