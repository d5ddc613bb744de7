#pragma once

#include <map>
#include <string>
#include <vector>

#include "dl/engine/portfolio_risk_config.h"
#include "dl/store/ini_file.h"

namespace DL {

// A base asset that answers from an item of another configuration.
struct TBaseAssetAlias {
  std::string BaseAsset;
  std::string ItemName;
  std::string ConfigName;
};

struct TPortfolioSpreadOrderEntry {
  std::string FirstName;
  std::string SecondName;
  int Order;
};

// The portfolio risk configurations of a settings text: sections
// PORTFOLIORISKCONFIG (the configuration DEFAULT) and PORTFOLIORISKCONFIG_
// plus a name, each with its DEFAULT item and the items named by its keys
// ("Fut_KGO" makes the item Fut), the base-asset aliases of ADDBASEASSETS and
// the section PORTFOLIOSPREADORDER. Built once, then only read.
class TPortfolioRiskConfigs {
 public:
  // configuration name (byte order) -> item name -> record
  using TItems = std::map<std::string, TPortfolioRiskConfig>;
  using TConfigs = std::map<std::string, TItems>;

  TPortfolioRiskConfigs();

  // Reads every configuration of the text, replacing what was read before.
  void LoadPortfolioRiskConfigs(const TIniFile& ini);

  // The item of the configuration; a null or empty name stands for DEFAULT,
  // an alias leads to its configuration, and a configuration or item that is
  // not there falls back to DEFAULT. Never null: without any DEFAULT the
  // answer is the built-in default record. Valid while this object lives
  // and is not loaded again.
  const TPortfolioRiskConfig* GetPortfolioRiskConfig(const char* config, const char* item) const;

  const TConfigs& Configs() const { return configs_; }
  const std::vector<TBaseAssetAlias>& Aliases() const { return aliases_; }
  const std::vector<TPortfolioSpreadOrderEntry>& SpreadOrder() const { return spreadOrder_; }

 private:
  // Where a configuration is read from: the section its name composes and
  // that section's keys, and the names of its items in the order the keys of
  // the section as written name them.
  struct TConfigSource {
    std::string Section;
    TIniSection Keys;
    std::vector<std::string> Items;
  };
  using TSources = std::map<std::string, TConfigSource>;

  void EnumPortfolioRiskConfigs(const TIniFile& ini, TSources& sources);
  void ReadDefaultPortfolioRiskConfig(const TIniFile& ini, const TSources& sources);
  void ReadPortfolioRiskConfig(const TIniFile& ini, const TSources& sources);
  void LoadPortfolioSpreadOrder(const TIniFile& ini);

  TConfigs configs_;
  std::vector<TBaseAssetAlias> aliases_;
  std::vector<TPortfolioSpreadOrderEntry> spreadOrder_;
  TPortfolioRiskConfig builtInDefault_;
};

}  // namespace DL
