#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dl/store/client_section_resolver.h"
#include "dl/store/setting_cache_master.h"

namespace DL {

class TIniFile;

// A client's currency and limit-check settings.
struct TClientSecurityRestrictions {
  bool HasMultiCurrency = false;
  std::map<std::string, std::vector<std::string>> MultiCurrencyLists;
  bool HasCurrencyRates = false;
  std::map<std::string, double> CurrencyRates;
  std::string MainCurrency;
  std::map<std::string, double> Currency2Rates;
  std::string MainCurrency2;
  bool UseOnlyMoneyLimitForOldMargin = false;
  std::vector<std::string> IgnoreCheckLimits;
  std::vector<std::string> CurrBoards;
};

std::unique_ptr<TClientSecurityRestrictions> ReadSecurityRestrictionsDefaults(const TIniFile& ini);

// Security restrictions per client: the client's own, template or mask
// section, else the general values of [GENERAL] and [AddMultiCurrency].
class TCacheOfSecurityRestrictions : public AIniSettingCacheMaster<TClientSecurityRestrictions> {
 public:
  explicit TCacheOfSecurityRestrictions(TIniFile* ini);

 protected:
  TRecordPtr Load(const TIniCacheItemID& id) override;

 private:
  TRecordPtr ReadClientSection(const std::string& section) const;

  TClientSectionResolver Resolver;
  // Upper-cased section name -> the record read from it: clients that share
  // a template or mask section share its (immutable) record.
  std::unordered_map<std::string, TRecordPtr> SectionRecords;
};

}  // namespace DL
