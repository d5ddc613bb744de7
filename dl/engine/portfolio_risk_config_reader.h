#pragma once

#include <string>

#include "dl/engine/portfolio_risk_config.h"
#include "dl/store/ini_file.h"

namespace DL {

// Reads one item of a portfolio risk configuration from its section (keys
// holds the same section's entries, read once per configuration): the keys of
// the item carry prefix (empty for the configuration's DEFAULT item,
// the item name and "_" otherwise), and every key the section lacks takes
// the value of base. Tiers and the nine fixed spread settings always come
// from the section's unprefixed keys. Returns false, and leaves record
// unspecified, when SPREADTIERS has an odd number of elements.
bool ReadPortfolioRiskItem(const TIniFile& ini, const std::string& section,
                           const TIniSection& keys, const std::string& prefix, const std::string& configName,
                           const TPortfolioRiskConfig& base, TPortfolioRiskConfig& record);

// One fixed spread setting read from SPREAD_<first leg>_<second leg>.
TSpreadSetting MakeSpreadSetting(const TIniFile& ini, const std::string& section,
                                 const std::string& prefix, const std::string& firstName,
                                 const std::string& secondName, const std::string& firstLeg,
                                 const std::string& secondLeg);

// Parses a spread key "<prefix>SPREAD_[<second name>_]<first leg>_<second leg>"
// (a part may be a bracketed group holding "_") and its value of one to
// three numbers. Names and legs come out upper-cased.
bool SplitSpreadKey(const std::string& key, const std::string& value, const std::string& prefix,
                    const std::string& configName, TSpreadSetting& setting);

// Every spread key of the section's keys with the given prefix, in key
// order, merged into settings: a setting with the same four names is
// overwritten. Costs a search plus the matching keys, so that reading many
// items stays linear in the size of the section.
void ReadSpreadSettings(const TIniSection& keys, const std::string& prefix,
                        const std::string& configName, std::vector<TSpreadSetting>& settings);

// The points of one slope kind, sorted by x; an odd list gives no points.
void ReadVolatilitySlope(const TIniFile& ini, const std::string& section,
                         const std::string& prefix, TPortfolioRiskConfig& record, int kind);

}  // namespace DL
