#include "dl/engine/portfolio_risk_config_reader.h"

#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const char* const kFixedSpreadLegs[][2] = {
    {"T1", "T1"}, {"T1", "T2"}, {"T1", "T3"},  {"T2", "T2"},  {"T2", "T3"},
    {"T3", "T3"}, {"SPT", "FUT"}, {"SPT", "OPT"}, {"FUT", "OPT"},
};

const char* const kSlopeNames[] = {"LONG_CALL", "SHORT_CALL", "LONG_PUT", "SHORT_PUT"};

void ResetTiers(TSpreadTiers& tiers) {
  tiers.clear();
  tiers.emplace("T1", 90);
  tiers.emplace("T2", 180);
  tiers.emplace("T3", 1000);
}

// SPREADTIERS: pairs of tier name and days; false for an odd list.
bool ReadSpreadTiers(const TIniFile& ini, const std::string& section, TSpreadTiers& tiers) {
  ResetTiers(tiers);
  std::string text = ini.ReadString(section, "SPREADTIERS", "");
  if (text.empty()) return true;
  std::vector<std::string> items = SplitCommaList(text);
  if (items.size() % 2 != 0) return false;
  tiers.clear();
  for (std::size_t i = 0; i < items.size(); i += 2) tiers.emplace(items[i], TextToInt(items[i + 1]));
  return true;
}

int TruncateToInt(double x) {
  double truncated = TruncateTowardZero(x);
  if (!(truncated > INT_MIN)) return INT_MIN;  // NaN included
  if (truncated >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(truncated);
}

void ReadText(const TIniFile& ini, const std::string& section, const std::string& key,
              char (&field)[kConfigTextSize]) {
  CopyConfigText(field, ini.ReadString(section, key, field));
}

}  // namespace

TSpreadSetting MakeSpreadSetting(const TIniFile& ini, const std::string& section,
                                 const std::string& prefix, const std::string& firstName,
                                 const std::string& secondName, const std::string& firstLeg,
                                 const std::string& secondLeg) {
  TSpreadSetting setting;
  setting.FirstName = firstName;
  setting.SecondName = secondName;
  setting.FirstLeg = firstLeg;
  setting.SecondLeg = secondLeg;
  setting.Value = ini.ReadFloat(section, prefix + "SPREAD_" + firstLeg + "_" + secondLeg, 100.0);
  setting.SecondValue = setting.Value;
  setting.Number = -1;
  return setting;
}

bool SplitSpreadKey(const std::string& key, const std::string& value, const std::string& prefix,
                    const std::string& configName, TSpreadSetting& setting) {
  std::string upperKey = ToUpperCopy(key);
  std::string head = ToUpperCopy(prefix) + "SPREAD_";
  if (upperKey.compare(0, head.size(), head) != 0) return false;

  std::vector<std::string> parts;
  std::size_t from = head.size();  // the "_" after SPREAD is at from - 1
  std::size_t start = 0, end = 0;
  while (ParseKeySuffix(upperKey, from, start, end)) {
    parts.push_back(upperKey.substr(start, end + 1 - start));
    from = end + 2;
  }
  std::string upperConfig = ToUpperCopy(configName);
  if (parts.size() == 3) {
    setting.SecondName = parts[0];
    setting.FirstLeg = parts[1];
    setting.SecondLeg = parts[2];
  } else if (parts.size() == 2) {
    setting.SecondName = upperConfig;
    setting.FirstLeg = parts[0];
    setting.SecondLeg = parts[1];
  } else {
    return false;
  }
  setting.FirstName = upperConfig;

  std::vector<double> numbers = SplitToDoubles(value);
  if (numbers.empty() || numbers.size() > 3) return false;
  setting.Value = numbers[0];
  setting.SecondValue = numbers.size() >= 2 ? numbers[1] : numbers[0];
  setting.Number = numbers.size() == 3 ? TruncateToInt(numbers[2]) : -1;
  return true;
}

void ReadSpreadSettings(const TIniSection& keys, const std::string& prefix,
                        const std::string& configName, std::vector<TSpreadSetting>& settings) {
  using TNames = std::tuple<std::string, std::string, std::string, std::string>;
  std::map<TNames, std::size_t> positions;
  for (std::size_t i = 0; i < settings.size(); ++i) {
    const TSpreadSetting& s = settings[i];
    positions.emplace(TNames(s.FirstName, s.SecondName, s.FirstLeg, s.SecondLeg), i);
  }
  // Keys that begin with the head in any case are neighbours in key order.
  const std::string head = prefix + "SPREAD_";
  for (auto it = keys.lower_bound(head); it != keys.end(); ++it) {
    const std::string& key = it->first;
    if (key.size() < head.size() ||
        TIniFile::CompareNoCase(std::string_view(key).substr(0, head.size()), head) != 0) {
      break;
    }
    TSpreadSetting parsed;
    if (!SplitSpreadKey(key, it->second, prefix, configName, parsed)) continue;
    TNames names(parsed.FirstName, parsed.SecondName, parsed.FirstLeg, parsed.SecondLeg);
    auto known = positions.find(names);
    if (known == positions.end()) {
      positions.emplace(std::move(names), settings.size());
      settings.push_back(std::move(parsed));
    } else {
      TSpreadSetting& same = settings[known->second];
      same.Value = parsed.Value;
      same.SecondValue = parsed.SecondValue;
      same.Number = parsed.Number;
    }
  }
}

void ReadVolatilitySlope(const TIniFile& ini, const std::string& section,
                         const std::string& prefix, TPortfolioRiskConfig& record, int kind) {
  if (kind < kLongCall || kind > kShortPut) return;
  std::string text = ini.ReadString(section, prefix + "VOLATILITYSLOPE_" + kSlopeNames[kind], "");
  TSlopePoints points;
  std::vector<std::string> items = SplitCommaList(text);
  if (items.size() % 2 == 0) {
    for (std::size_t i = 0; i < items.size(); i += 2) {
      points.emplace_back(TextToDouble(items[i]), TextToDouble(items[i + 1]));
    }
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  record.VOLATILITYSLOPES.emplace(kind, std::move(points));
}

bool ReadPortfolioRiskItem(const TIniFile& ini, const std::string& section,
                           const TIniSection& keys, const std::string& prefix, const std::string& configName,
                           const TPortfolioRiskConfig& base, TPortfolioRiskConfig& record) {
  record = TPortfolioRiskConfig();
  auto key = [&prefix](const char* name) { return prefix + name; };

  record.PRICESCANRANGETYPE = ini.ReadInteger(section, key("PRICESCANRANGETYPE"), base.PRICESCANRANGETYPE);
  if (record.PRICESCANRANGETYPE != 0) {
    record.PRICESCANRANGE_OTHER = ini.ReadFloat(section, key("PRICESCANRANGE"), base.PRICESCANRANGE_OTHER);
    record.PRICESCANRANGE_TYPE0 = -1.0;
  } else {
    record.PRICESCANRANGE_TYPE0 = ini.ReadFloat(section, key("PRICESCANRANGE"), base.PRICESCANRANGE_TYPE0);
    record.PRICESCANRANGE_OTHER = -1.0;
  }
  record.VOLATILITYTYPE = ini.ReadInteger(section, key("VOLATILITYTYPE"), base.VOLATILITYTYPE);
  record.ORDERLIMITATIONMODE = ini.ReadInteger(section, key("ORDERLIMITATIONMODE"), base.ORDERLIMITATIONMODE);
  record.IGNORENEARESTCONTRACTS =
      ini.ReadInteger(section, key("IGNORENEARESTCONTRACTS"), base.IGNORENEARESTCONTRACTS);
  record.VOLATILITY = ini.ReadFloat(section, key("VOLATILITY"), base.VOLATILITY);
  record.VOLATILITYCHANGE = ini.ReadFloat(section, key("VOLATILITYCHANGE"), base.VOLATILITYCHANGE);
  record.RISKFREERATE = ini.ReadFloat(section, key("RISKFREERATE"), base.RISKFREERATE);
  record.OPTIONDELTATYPE = ini.ReadInteger(section, key("OPTIONDELTATYPE"), base.OPTIONDELTATYPE);
  record.RESTRICTOPTIONORDERMARGIN =
      ini.ReadBool(section, key("RESTRICTOPTIONORDERMARGIN"), base.RESTRICTOPTIONORDERMARGIN);
  record.BOUNDARYIMPLIEDRISK = ini.ReadFloat(section, key("BOUNDARYIMPLIEDRISK"), base.BOUNDARYIMPLIEDRISK);
  record.MINSHORTOPTIONSIM = ini.ReadFloat(section, key("MINSHORTOPTIONSIM"), base.MINSHORTOPTIONSIM);
  record.FUTURESLIQUIDITYFACTOR =
      ini.ReadFloat(section, key("FUTURESLIQUIDITYFACTOR"), base.FUTURESLIQUIDITYFACTOR);
  record.KGO = ini.ReadFloat(section, key("KGO"), base.KGO);
  record.ORDERKGO = ini.ReadFloat(section, key("ORDERKGO"), record.KGO);
  record.RESTRICTMAXVOLATILITY =
      ini.ReadFloat(section, key("RESTRICTMAXVOLATILITY"), base.RESTRICTMAXVOLATILITY);
  record.USESPOTNETTING = ini.ReadBool(section, key("USESPOTNETTING"), base.USESPOTNETTING);
  record.SPOTVARMARGINPOS = ini.ReadFloat(section, key("SPOTVARMARGINPOS"), base.SPOTVARMARGINPOS);
  record.SPOTVARMARGINNEG = ini.ReadFloat(section, key("SPOTVARMARGINNEG"), base.SPOTVARMARGINNEG);
  record.EXPIRATIONMATDATETERM =
      ini.ReadFloat(section, key("EXPIRATIONMATDATETERM"), base.EXPIRATIONMATDATETERM);

  for (const auto& legs : kFixedSpreadLegs) {
    record.SPREADS.push_back(
        MakeSpreadSetting(ini, section, "", configName, configName, legs[0], legs[1]));
  }
  ReadSpreadSettings(keys, prefix, configName, record.SPREADS);
  if (!ReadSpreadTiers(ini, section, record.SPREADTIERS)) return false;

  std::copy(std::begin(base.BOARDTAG), std::end(base.BOARDTAG), std::begin(record.BOARDTAG));
  std::copy(std::begin(base.CURRENCY), std::end(base.CURRENCY), std::begin(record.CURRENCY));
  std::copy(std::begin(base.MAINBASEASSET), std::end(base.MAINBASEASSET),
            std::begin(record.MAINBASEASSET));
  ReadText(ini, section, key("BOARDTAG"), record.BOARDTAG);
  ReadText(ini, section, key("CURRENCY"), record.CURRENCY);
  ReadText(ini, section, key("MAINBASEASSET"), record.MAINBASEASSET);
  record.LIMITKIND = ini.ReadInteger(section, key("LIMITKIND"), base.LIMITKIND);
  CopyConfigText(record.CONFIGNAME, configName);

  for (int kind = kLongCall; kind <= kShortPut; ++kind) {
    ReadVolatilitySlope(ini, section, prefix, record, kind);
  }
  return true;
}

}  // namespace DL
