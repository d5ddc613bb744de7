#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dl/store/client_section_resolver.h"
#include "dl/store/setting_cache_master.h"

namespace DL {

class TIniFile;

// One client's commission settings. Rates read as "times 100" are stored
// multiplied; the other numbers as written.
struct TClientCommSettings {
  int CommissionType = 0;
  bool HasBoardCommissions = false;
  std::string TpName;
  bool CommissionScaleJump = false;
  double ScaleMinVolume = 0.0;
  double ScaleMinValue = 0.0;
  double ScaleMaxValue = 0.0;
  double ScaleTradeCommission = 0.0;
  std::map<double, double> ScaleRates;
  bool IgnoreUserCommission = false;
  bool RoundScaleCommissionOnDayValue = false;
  double BrokerCommission = 0.0;
  double RepoBrokerCommission = 0.0;
  double TradeCommission = 0.0;
  double OneSecCommission = 0.0;
  double TradeLotCommission = 0.0;
  std::map<std::string, double> FixedByBoard;
  std::map<std::string, double> TradeByBoard;
  std::map<std::string, std::pair<double, double>> TradeMaxByBoard;
  std::map<std::string, double> OneSecByBoard;
  std::map<std::string, double> TradeLotByBoard;
  std::map<std::string, std::pair<double, double>> TradeMaxOneSecByBoard;
  std::vector<std::pair<int, double>> RepoBrokerByTerm;
};

// Reads the board-suffixed commission keys (and, in a client section, the
// plain commission keys as "DEFAULT" entries) of one section into a record.
void ReadCommissionKeys(const TIniFile& ini, const std::string& section, bool clientSection,
                        TClientCommSettings& record);

std::unique_ptr<TClientCommSettings> ReadCommSettingsDefaults(const TIniFile& ini);

// Commission settings per client: the client's own, template or mask section,
// else the general settings of [GENERAL] and [COMMISSION].
class TCacheOfClientSettings : public AIniSettingCacheMaster<TClientCommSettings> {
 public:
  explicit TCacheOfClientSettings(TIniFile* ini);

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
