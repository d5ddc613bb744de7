#include "dl/store/margin_section_parser.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

const char kSecurityPrefix[] = "SECURITY_";
constexpr std::size_t kSecurityPrefixLength = sizeof kSecurityPrefix - 1;

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The first occurrence of the suffix is at the end of the text.
bool EndsWithFirst(const std::string& text, const std::string& suffix) {
  const std::size_t at = text.find(suffix);
  return at != std::string::npos && at + suffix.size() == text.size();
}

// Keys of a client section that are scalars (read in the first pass) or that
// a client record does not keep.
bool IsScalarOrIgnoredKey(const std::string& key) {
  static const char* const kKeys[] = {"RSTRNMBUY",
                                      "SHORTMONEYTOBUYLONG",
                                      "LONGMONEYTOSELLSHORT",
                                      "NEGATIVEMONEYTOSHORT",
                                      "IGNOREACCRUEDINTINSELLTRADES",
                                      "PREVPRICEPERCENT",
                                      "CURRPRICEPERCENT",
                                      "LASTPRICEPERCENT",
                                      "CLIENTS",
                                      "USEONLYMONEYLIMITFOROLDMARGIN",
                                      "CURRENCYLIMIT",
                                      "RSTRTRANSFER",
                                      "GROSSLIMIT",
                                      "ADDLIMITKIND",
                                      "USECOMMONTRDACC",
                                      "USECORRELATION",
                                      "IGNORELIMITSECURITY",
                                      "IGNOREASSETSECURITY",
                                      "IGNORERESTSHORTSECURITY",
                                      "_TAG",
                                      "MINMARGIN",
                                      "INCLUDECLIENTSWITHLEVERAGE",
                                      "USEDISCOUNTSTYPE",
                                      "USESECURITYDISCOUNTS",
                                      "USECHSECURITYDISCOUNTS",
                                      "MINDISCRATELONG",
                                      "MINDISCRATESHORT"};
  return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
}

// A "name_SUFFIX" key of a security list: "SECURITY_name_SUFFIX" goes to the
// by-security map. A key too short to hold both ("SECURITY_ASSET") is a plain
// name.
void StoreSuffixedList(const std::string& key, const std::string& suffix, const std::string& value,
                       TRestrictionLists& plain, TRestrictionLists& bySecurity) {
  if (BeginsWith(key, kSecurityPrefix) && key.size() >= kSecurityPrefixLength + suffix.size())
    bySecurity[key.substr(kSecurityPrefixLength, key.size() - kSecurityPrefixLength -
                                                     suffix.size())] = ReadRestrictionList(value);
  else
    plain[key.substr(0, key.size() - suffix.size())] = ReadRestrictionList(value);
}

// The keys of a general list section: "SECURITY_name" goes to the
// by-security map, any other key keeps its name.
void ReadGeneralLists(const TIniFile& ini, const char* section, TRestrictionLists& plain,
                      TRestrictionLists& bySecurity) {
  for (const auto& entry : ini.ReadSection(section)) {
    if (BeginsWith(entry.first, kSecurityPrefix))
      bySecurity[entry.first.substr(kSecurityPrefixLength)] = ReadRestrictionList(entry.second);
    else
      plain[entry.first] = ReadRestrictionList(entry.second);
  }
}

int SourceOf(bool ownEmpty, bool baseEmpty, bool clientGeneral) {
  if (!ownEmpty) return kOwnCollection;
  return !clientGeneral && !baseEmpty ? kClientGeneral : kBrokerGeneral;
}

void AppendNewKinds(const std::vector<int>& kinds, std::vector<int>& into, bool onlyValidKinds) {
  for (int kind : kinds) {
    if (onlyValidKinds && kind < 0) continue;
    if (std::find(into.begin(), into.end(), kind) == into.end()) into.push_back(kind);
  }
}

}  // namespace

TRestrictionList ReadRestrictionList(const std::string& value) {
  TRestrictionList list;
  if (value == "<ALL>")
    list.All = true;
  else
    list.Items = SplitCommaList(value);
  return list;
}

bool ReadCorrelation(const std::string& name, const std::string& value, TCorrelationEntry& entry) {
  const std::vector<std::string> items = SplitCommaList(value);
  if (items.size() < 5) return false;
  entry.Name = name;
  entry.Code1 = items[0];
  entry.Value1 = TextToDouble(items[1]);
  entry.Code2 = items[2];
  entry.Value2 = TextToDouble(items[3]);
  entry.Flag = TextToInt(items[4]) != 0 ? 1 : 0;
  return true;
}

TSecurityWeight ReadSecurityWeight(const std::string& value) {
  const std::vector<double> numbers = ParseNumberList(value);
  TSecurityWeight weight;
  double* const fields[] = {&weight.W1, &weight.W2, &weight.W3, &weight.W4, &weight.W5};
  for (std::size_t i = 0; i < 5 && i < numbers.size(); ++i) *fields[i] = numbers[i];
  return weight;
}

TSecurityDiscount ReadSecurityDiscount(const std::string& value, double minLong, double minShort) {
  const std::vector<double> numbers = SplitToDoublesOrUnset(value);
  TSecurityDiscount discount;
  double* const fields[] = {&discount.D1, &discount.D2, &discount.D3,
                            &discount.D4, &discount.D5, &discount.D6};
  for (std::size_t i = 0; i < 6 && i < numbers.size(); ++i) *fields[i] = numbers[i];
  discount.MinLong = minLong;
  discount.MinShort = minShort;
  return discount;
}

std::unique_ptr<TClientMarginRestrictions> ReadMarginRestrictionsDefaults(const TIniFile& ini) {
  auto item = std::make_unique<TClientMarginRestrictions>();
  TMarginRestrictionRecord record;
  record.ShortMoneyToBuyLong = ini.ReadInteger("GENERAL", "SHORTMONEYTOBUYLONG", 0) != 0;
  record.LongMoneyToSellShort = ini.ReadInteger("GENERAL", "LONGMONEYTOSELLSHORT", 0) != 0;
  record.RstrNmBuy = ini.ReadInteger("GENERAL", "RSTRNMBUY", 0) != 0;
  record.RstrTransfer = ini.ReadInteger("GENERAL", "RSTRTRANSFER", 1) != 0;
  record.UseCommonTrdAcc = true;
  record.NegativeMoneyToShortKind =
      NormalizeLimitKind(ini.ReadInteger("GENERAL", "NEGATIVEMONEYTOSHORT", 0));
  record.NegativeMoneyToShortList =
      SplitCommaList(ini.ReadString("GENERAL", "NEGATIVEMONEYTOSHORT", ""));

  for (const auto& entry : ini.ReadSection("ADDCOMMONTRDACC"))
    record.CommonTrdAccLists[entry.first] = SplitCommaList(entry.second);

  record.UseCorrelation = ini.ReadInteger("GENERAL", "USECORRELATION", 1) != 0;
  if (record.UseCorrelation) {
    for (const auto& entry : ini.ReadSection("ADDCORRELATION")) {
      TCorrelationEntry correlation;
      if (ReadCorrelation(entry.first, entry.second, correlation))
        record.Correlations.push_back(correlation);
    }
  }
  for (const auto& entry : ini.ReadSection("SECURITYWEIGHT"))
    record.SecurityWeights.emplace(entry.first, ReadSecurityWeight(entry.second));

  ReadGeneralLists(ini, "ASSETSECURITIES", record.AssetLists, record.AssetSecurityLists);
  ReadGeneralLists(ini, "RESTSHORTSECURITIES", record.RestShortLists,
                   record.RestShortSecurityLists);
  ReadGeneralLists(ini, "LIMITALLOWEDSECURITY", record.LimitAllowedLists,
                   record.LimitAllowedSecurityLists);

  record.LimitKinds = SplitToInts(ini.ReadString("GENERAL", "LIMITKINDS", ""), 0);
  record.IncludeClientsWithLeverage = ini.ReadFloat("GENERAL", "INCLUDECLIENTSWITHLEVERAGE", -1.0);
  record.UseDiscountsType = ini.ReadInteger("GENERAL", "USEDISCOUNTSTYPE", 3);
  record.UseSecurityDiscounts = ini.ReadInteger("GENERAL", "USESECURITYDISCOUNTS", 0) != 0;
  record.UseChSecurityDiscounts = ini.ReadInteger("GENERAL", "USECHSECURITYDISCOUNTS", 0) != 0;
  record.MinDiscRateLong = ini.ReadFloat("SECURITYDISCOUNTS", "MINDISCRATELONG", 0.0);
  record.MinDiscRateShort = ini.ReadFloat("SECURITYDISCOUNTS", "MINDISCRATESHORT", 0.0);
  for (const auto& entry : ini.ReadSection("SECURITYDISCOUNTS")) {
    const std::string key = ToUpperCopy(entry.first);
    if (key == "MINDISCRATELONG" || key == "MINDISCRATESHORT") continue;
    record.SecurityDiscounts.emplace(
        entry.first,
        ReadSecurityDiscount(entry.second, record.MinDiscRateLong, record.MinDiscRateShort));
  }
  if (record.SecurityDiscounts.count("SUR") == 0) {
    TSecurityDiscount rouble;
    rouble.D3 = rouble.D4 = rouble.D5 = rouble.D6 = 0.0;
    rouble.MinLong = record.MinDiscRateLong;
    rouble.MinShort = record.MinDiscRateShort;
    record.SecurityDiscounts.emplace("SUR", rouble);
  }

  AppendNewKinds(record.LimitKinds, item->LimitKinds, true);
  item->Records.emplace(0, std::move(record));
  item->Leverage = -1.0;
  return item;
}

TMarginSectionParser::TMarginSectionParser(const TIniFile& ini,
                                           const TMarginRestrictionRecord& brokerGeneral)
    : Ini(ini), General(brokerGeneral) {}

void TMarginSectionParser::ReadScalars(const std::string& section, TMarginRestrictionRecord& target,
                                       const TMarginRestrictionRecord& base,
                                       bool clientGeneral) const {
  auto flag = [&](const char* key, bool baseValue, bool generalValue) {
    return ResolveInherited(Ini.ReadInteger(section, key, -2), baseValue ? 1 : 0,
                            generalValue ? 1 : 0, clientGeneral) != 0;
  };
  auto integer = [&](const char* key, int baseValue, int generalValue) {
    return ResolveInherited(Ini.ReadInteger(section, key, -2), baseValue, generalValue,
                            clientGeneral);
  };
  auto number = [&](const char* key, double baseValue, double generalValue) {
    return ResolveInherited(Ini.ReadFloat(section, key, -2.0), baseValue, generalValue,
                            clientGeneral);
  };
  // Every value is resolved before the target changes: target and base may
  // be one record.
  TMarginRestrictionRecord r = target;
  r.ShortMoneyToBuyLong =
      flag("SHORTMONEYTOBUYLONG", base.ShortMoneyToBuyLong, General.ShortMoneyToBuyLong);
  r.LongMoneyToSellShort =
      flag("LONGMONEYTOSELLSHORT", base.LongMoneyToSellShort, General.LongMoneyToSellShort);
  r.NegativeMoneyToShortKind = NormalizeLimitKind(integer(
      "NEGATIVEMONEYTOSHORT", base.NegativeMoneyToShortKind, General.NegativeMoneyToShortKind));
  r.NegativeMoneyToShortList = SplitCommaList(Ini.ReadString(section, "NEGATIVEMONEYTOSHORT", ""));
  if (r.NegativeMoneyToShortList.empty())
    r.NegativeMoneyToShortList = General.NegativeMoneyToShortList;
  r.UseCommonTrdAcc = flag("USECOMMONTRDACC", base.UseCommonTrdAcc, General.UseCommonTrdAcc);
  r.UseCorrelation = flag("USECORRELATION", base.UseCorrelation, General.UseCorrelation);
  r.RstrNmBuy = flag("RSTRNMBUY", base.RstrNmBuy, General.RstrNmBuy);
  r.RstrTransfer = flag("RSTRTRANSFER", base.RstrTransfer, General.RstrTransfer);
  r.UseOnlyMoneyLimitForOldMargin =
      flag("USEONLYMONEYLIMITFOROLDMARGIN", base.UseOnlyMoneyLimitForOldMargin,
           General.UseOnlyMoneyLimitForOldMargin);
  r.IgnoreLimitSecurity =
      flag("IGNORELIMITSECURITY", base.IgnoreLimitSecurity, General.IgnoreLimitSecurity);
  r.IgnoreAssetSecurity =
      flag("IGNOREASSETSECURITY", base.IgnoreAssetSecurity, General.IgnoreAssetSecurity);
  r.IgnoreRestShortSecurity = flag("IGNORERESTSHORTSECURITY", base.IgnoreRestShortSecurity,
                                   General.IgnoreRestShortSecurity);
  r.IncludeClientsWithLeverage =
      number("INCLUDECLIENTSWITHLEVERAGE", base.IncludeClientsWithLeverage,
             General.IncludeClientsWithLeverage);
  r.UseDiscountsType = integer("USEDISCOUNTSTYPE", base.UseDiscountsType, General.UseDiscountsType);
  r.UseSecurityDiscounts =
      flag("USESECURITYDISCOUNTS", base.UseSecurityDiscounts, General.UseSecurityDiscounts);
  r.UseChSecurityDiscounts =
      flag("USECHSECURITYDISCOUNTS", base.UseChSecurityDiscounts, General.UseChSecurityDiscounts);
  r.MinDiscRateLong = number("MINDISCRATELONG", base.MinDiscRateLong, General.MinDiscRateLong);
  r.MinDiscRateShort = number("MINDISCRATESHORT", base.MinDiscRateShort, General.MinDiscRateShort);
  target = std::move(r);
}

void TMarginSectionParser::ReadKey(std::string key, const std::string& value,
                                   TMarginRestrictionRecord& target) const {
  MakeUpper(key);
  if (IsScalarOrIgnoredKey(key)) return;
  if (key == "LIMITKINDS") {
    target.LimitKinds = SplitToInts(value, 0);
  } else if (BeginsWith(key, "ADDCOMMONTRDACC_") || BeginsWith(key, "SECTOBOARD_")) {
    return;
  } else if (EndsWithFirst(key, "_ASSET")) {
    StoreSuffixedList(key, "_ASSET", value, target.AssetLists, target.AssetSecurityLists);
  } else if (EndsWithFirst(key, "_RESTSHORT")) {
    StoreSuffixedList(key, "_RESTSHORT", value, target.RestShortLists,
                      target.RestShortSecurityLists);
  } else if (EndsWithFirst(key, "_CORRELATION")) {
    TCorrelationEntry correlation;
    if (ReadCorrelation(key.substr(0, key.size() - 12), value, correlation))
      target.Correlations.push_back(correlation);
  } else if (EndsWithFirst(key, "_COEF")) {
    target.SecurityWeights[key.substr(0, key.size() - 5)] = ReadSecurityWeight(value);
  } else if (EndsWithFirst(key, "_DISC")) {
    target.SecurityDiscounts[key.substr(0, key.size() - 5)] =
        ReadSecurityDiscount(value, target.MinDiscRateLong, target.MinDiscRateShort);
  } else if (BeginsWith(key, kSecurityPrefix)) {
    target.LimitAllowedSecurityLists[key.substr(kSecurityPrefixLength)] =
        ReadRestrictionList(value);
  } else {
    target.LimitAllowedLists[key] = ReadRestrictionList(value);
  }
}

void TMarginSectionParser::SetSources(TMarginRestrictionRecord& target,
                                      const TMarginRestrictionRecord& base,
                                      bool clientGeneral) const {
  target.SecurityWeightsSource =
      SourceOf(target.SecurityWeights.empty(), base.SecurityWeights.empty(), clientGeneral);
  target.CorrelationsSource =
      SourceOf(target.Correlations.empty(), base.Correlations.empty(), clientGeneral);
  target.AssetListsSource =
      SourceOf(target.AssetLists.empty(), base.AssetLists.empty(), clientGeneral);
  target.AssetSecurityListsSource =
      SourceOf(target.AssetSecurityLists.empty(), base.AssetSecurityLists.empty(), clientGeneral);
  target.LimitAllowedListsSource =
      SourceOf(target.LimitAllowedLists.empty(), base.LimitAllowedLists.empty(), clientGeneral);
  target.LimitAllowedSecurityListsSource =
      SourceOf(target.LimitAllowedSecurityLists.empty(), base.LimitAllowedSecurityLists.empty(),
               clientGeneral);
  target.RestShortListsSource =
      SourceOf(target.RestShortLists.empty(), base.RestShortLists.empty(), clientGeneral);
  target.RestShortSecurityListsSource = SourceOf(
      target.RestShortSecurityLists.empty(), base.RestShortSecurityLists.empty(), clientGeneral);
  target.SecurityDiscountsSource =
      SourceOf(target.SecurityDiscounts.empty(), base.SecurityDiscounts.empty(), clientGeneral);
}

void TMarginSectionParser::ParseMarginSection(const std::string& section,
                                              TMarginRestrictionRecord& target,
                                              const TMarginRestrictionRecord& base,
                                              bool clientGeneral) const {
  if (section.empty()) return;
  ReadScalars(section, target, base, clientGeneral);
  for (const auto& entry : Ini.ReadSection(section)) ReadKey(entry.first, entry.second, target);
  SetSources(target, base, clientGeneral);
  if (target.LimitKinds.empty())
    target.LimitKinds = !base.LimitKinds.empty() ? base.LimitKinds : General.LimitKinds;
  target.CommonTrdAccLists.clear();
}

}  // namespace DL
