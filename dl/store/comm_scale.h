#pragma once

#include <map>
#include <memory>
#include <string>

#include "dl/store/section_index.h"
#include "dl/store/setting_cache_master.h"

namespace DL {

class TIniFile;

// One commission scale: four numbers and volume -> rate rows. The four
// numbers and the volumes are stored times 100, the rates as written.
struct TCommScale {
  double MinVolume = 0.0;
  double MinValue = 0.0;
  double MaxValue = 0.0;
  double TradeCommission = 0.0;
  std::map<double, double> Rates;
};

// Reads scale sections for one load; the section index spares the name walks
// of the template and mask steps (a reader without one serves the others).
class TCommScaleReader {
 public:
  TCommScaleReader(const TIniFile* ini, TSectionIndex* index);

  // Null when the section is absent or holds no key.
  std::unique_ptr<TCommScale> ReadCommScaleSection(const std::string& name) const;
  std::unique_ptr<TCommScale> FindExplicitCommScale(const std::string& client) const;
  std::unique_ptr<TCommScale> FindTemplateCommScale(const std::string& client) const;
  // Mode 1 tries the longest beginning of the code first, mode 2 the shortest.
  std::unique_ptr<TCommScale> FindMaskCommScale(const std::string& client, int mode) const;
  std::unique_ptr<TCommScale> ReadGeneralCommScale() const;

 private:
  const TIniFile* Ini;
  TSectionIndex* Index;
};

// The scale of one client on one board at one trading point: the client's own
// scale, a template listing it, a mask, the board's (at the trading point when
// there is one), else the general scale.
class TCacheOfCommScales : public AIniSettingCacheMaster<TCommScale> {
 public:
  explicit TCacheOfCommScales(TIniFile* ini);

 protected:
  TRecordPtr Load(const TIniCacheItemID& id) override;

 private:
  TSectionIndex Index;
};

std::unique_ptr<TCommScale> ReadCommScaleDefaults(const TIniFile& ini);

}  // namespace DL
