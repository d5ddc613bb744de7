// The engine's queries over a client's margin restrictions.
#include <algorithm>
#include <cmath>

#include "dl/engine/settings_engine.h"
#include "dl/store/cache_item_id.h"
#include "dl/store/numbers.h"

namespace DL {
namespace {

constexpr double kNoLimit = 1e50;

bool IsSet(double discount) { return !(discount < -0.5); }

// A power whose base is never below zero, so the result is never NaN.
double PowerOfClamped(double base, double exponent) {
  return std::pow(std::max(base, 0.0), exponent);
}

bool Holds(const std::vector<std::string>& list, const char* text) {
  return text != nullptr && std::find(list.begin(), list.end(), text) != list.end();
}

const TMarginRestrictionRecord* GeneralRecordOf(const TClientMarginRestrictions* item) {
  if (item == nullptr) return nullptr;
  auto found = item->Records.find(0);
  return found == item->Records.end() ? nullptr : &found->second;
}

}  // namespace

const TClientMarginRestrictions* TSettingsEngine::MarginItem(const char* client,
                                                             double leverage) {
  return marginRestrictionCache->Get(TIniCacheItemID(client, leverage));
}

const TMarginRestrictionRecord* TSettingsEngine::MarginRecord(const char* client, double leverage,
                                                              int limitKind) {
  const TClientMarginRestrictions* item = MarginItem(client, leverage);
  auto found = item->Records.find(limitKind);
  if (found != item->Records.end()) return &found->second;
  return GeneralRecordOf(item);
}

const TMarginRestrictionRecord* TSettingsEngine::BrokerGeneralRecord() const {
  return GeneralRecordOf(marginRestrictionCache->GetDefault());
}

bool TSettingsEngine::GetRstrNmBuy(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->RstrNmBuy;
}

bool TSettingsEngine::GetRstrTransfer(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->RstrTransfer;
}

bool TSettingsEngine::GetShortMoneyToBuyLong(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->ShortMoneyToBuyLong;
}

bool TSettingsEngine::GetLongMoneyToSellShort(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->LongMoneyToSellShort;
}

bool TSettingsEngine::GetUseCorrelation(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->UseCorrelation;
}

bool TSettingsEngine::GetUseCommonTrdAcc(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->UseCommonTrdAcc;
}

bool TSettingsEngine::GetMarginUseOnlyMoneyLimitForOldMargin(const char* client, double leverage,
                                                             int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && record->UseOnlyMoneyLimitForOldMargin;
}

int TSettingsEngine::GetNegativeMoneyToShort(const char* client, double leverage, int limitKind,
                                             const char* code) {
  const TClientMarginRestrictions* item = MarginItem(client, leverage);
  const TMarginRestrictionRecord* general = GeneralRecordOf(item);
  auto own = item->Records.find(limitKind);
  const bool isOwn = own != item->Records.end();
  const TMarginRestrictionRecord* record = isOwn ? &own->second : general;
  if (record == nullptr) return 0;
  // The entries after the first name the codes the kind applies to.
  auto admits = [code](const std::vector<std::string>& list) {
    return std::find(list.begin() + 1, list.end(), code) != list.end();
  };
  if (code != nullptr) {
    const std::vector<std::string>& list = record->NegativeMoneyToShortList;
    if (list.size() >= 2) {
      if (!admits(list)) return 0;
    } else if (isOwn && limitKind >= 1 && general != nullptr &&
               general->NegativeMoneyToShortList.size() > 1) {
      if (!admits(general->NegativeMoneyToShortList)) return 0;
    }
  }
  return record->NegativeMoneyToShortKind;
}

bool TSettingsEngine::HasAssetLists(const char* client, double leverage, int limitKind) {
  const TClientMarginRestrictions* item = MarginItem(client, leverage);
  auto own = item->Records.find(limitKind);
  if (own == item->Records.end()) return false;
  return !own->second.AssetLists.empty() || !own->second.AssetSecurityLists.empty();
}

bool TSettingsEngine::HasLimitAllowedLists(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record &&
         (!record->LimitAllowedLists.empty() || !record->LimitAllowedSecurityLists.empty());
}

bool TSettingsEngine::HasRestShortLists(const char* client, double leverage, int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record && (!record->RestShortLists.empty() || !record->RestShortSecurityLists.empty());
}

bool TSettingsEngine::IsSecurityInLists(TSecurityListKind kind, const char* client,
                                        double leverage, const char* key, const char* security,
                                        int limitKind) {
  const TRestrictionLists* brokerKeys = kind == kAssetList ? &assetSecurities
                                        : kind == kLimitAllowedList ? &limitAllowedSecurities
                                                                    : &restShortSecurities;
  const TRestrictionLists* brokerSecurities = kind == kAssetList ? &assetSecuritiesBySecurity
                                              : kind == kLimitAllowedList
                                                  ? &limitAllowedSecuritiesBySecurity
                                                  : &restShortSecuritiesBySecurity;
  const TRestrictionLists* keyMap = brokerKeys;
  const TRestrictionLists* securityMap = brokerSecurities;

  const TClientMarginRestrictions* item = MarginItem(client, leverage);
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  if (record != nullptr) {
    switch (kind) {
      case kAssetList:
        if (record->IgnoreAssetSecurity) return true;
        break;
      case kLimitAllowedList:
        if (record->IgnoreLimitSecurity) return true;
        break;
      case kRestShortList:
        if (record->IgnoreRestShortSecurity) return false;
        break;
    }
    const TMarginRestrictionRecord* general = GeneralRecordOf(item);
    auto choose = [&](int source, const TRestrictionLists* current,
                      TRestrictionLists TMarginRestrictionRecord::*lists) {
      if (source == kOwnCollection) return &(record->*lists);
      if (source == kClientGeneral && general != nullptr) return &(general->*lists);
      return current;
    };
    switch (kind) {
      case kAssetList:
        keyMap = choose(record->AssetListsSource, keyMap, &TMarginRestrictionRecord::AssetLists);
        securityMap = choose(record->AssetSecurityListsSource, securityMap,
                             &TMarginRestrictionRecord::AssetSecurityLists);
        break;
      case kLimitAllowedList:
        keyMap = choose(record->LimitAllowedListsSource, keyMap,
                        &TMarginRestrictionRecord::LimitAllowedLists);
        securityMap = choose(record->LimitAllowedSecurityListsSource, securityMap,
                             &TMarginRestrictionRecord::LimitAllowedSecurityLists);
        break;
      case kRestShortList:
        keyMap = choose(record->RestShortListsSource, keyMap,
                        &TMarginRestrictionRecord::RestShortLists);
        securityMap = choose(record->RestShortSecurityListsSource, securityMap,
                             &TMarginRestrictionRecord::RestShortSecurityLists);
        break;
    }
  }
  if (kind == kAssetList && assetSecurities.empty() && assetSecuritiesBySecurity.empty() &&
      keyMap == brokerKeys && securityMap == brokerSecurities) {
    return IsSecurityInLists(kLimitAllowedList, client, leverage, key, security, limitKind);
  }
  if (key != nullptr) {
    auto byKey = keyMap->find(key);
    if (byKey != keyMap->end()) return byKey->second.All || Holds(byKey->second.Items, security);
  }
  if (security == nullptr) return false;
  auto bySecurity = securityMap->find(security);
  return bySecurity != securityMap->end() &&
         (bySecurity->second.All || Holds(bySecurity->second.Items, key));
}

bool TSettingsEngine::IsAssetSecurity(const char* client, double leverage, const char* key,
                                      const char* security, int limitKind) {
  return IsSecurityInLists(kAssetList, client, leverage, key, security, limitKind);
}

bool TSettingsEngine::IsLimitAllowedSecurity(const char* client, double leverage,
                                             const char* key, const char* security,
                                             int limitKind) {
  return IsSecurityInLists(kLimitAllowedList, client, leverage, key, security, limitKind);
}

bool TSettingsEngine::IsRestShortSecurity(const char* client, double leverage, const char* key,
                                          const char* security, int limitKind) {
  return IsSecurityInLists(kRestShortList, client, leverage, key, security, limitKind);
}

const TCorrelationEntry* TSettingsEngine::FindCorrelation(bool byName, const char* text,
                                                          const char* client, double leverage,
                                                          int limitKind) {
  if (text == nullptr) return nullptr;
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  if (record != nullptr && !record->UseCorrelation) return nullptr;
  const TMarginRestrictionRecord* source = BrokerGeneralRecord();
  if (record != nullptr && record->CorrelationsSource == kOwnCollection) {
    source = record;
  } else if (record != nullptr && record->CorrelationsSource == kClientGeneral) {
    const TMarginRestrictionRecord* general = GeneralRecordOf(MarginItem(client, leverage));
    if (general != nullptr) source = general;
  }
  if (source == nullptr) return nullptr;
  for (const TCorrelationEntry& entry : source->Correlations) {
    if ((byName ? entry.Name : entry.Code1) == text) return &entry;
  }
  return nullptr;
}

const TCorrelationEntry* TSettingsEngine::FindCorrelationByName(const char* name,
                                                                const char* client,
                                                                double leverage, int limitKind) {
  return FindCorrelation(true, name, client, leverage, limitKind);
}

const TCorrelationEntry* TSettingsEngine::FindCorrelationByCode(const char* code,
                                                                const char* client,
                                                                double leverage, int limitKind) {
  return FindCorrelation(false, code, client, leverage, limitKind);
}

const TSecurityWeight* TSettingsEngine::FindSecurityWeight(const char* client, double leverage,
                                                           const char* security, int limitKind) {
  if (security == nullptr) return nullptr;
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  const TMarginRestrictionRecord* source = BrokerGeneralRecord();
  if (record != nullptr && record->SecurityWeightsSource == kOwnCollection) {
    source = record;
  } else if (record != nullptr && record->SecurityWeightsSource == kClientGeneral) {
    const TMarginRestrictionRecord* general = GeneralRecordOf(MarginItem(client, leverage));
    if (general != nullptr) source = general;
  }
  if (source == nullptr) return nullptr;
  auto found = source->SecurityWeights.find(security);
  return found == source->SecurityWeights.end() ? nullptr : &found->second;
}

std::vector<int> TSettingsEngine::GetClientLimitKinds(const char* client, double leverage) {
  return MarginItem(client, leverage)->LimitKinds;
}

std::vector<int> TSettingsEngine::GetRecordLimitKinds(const char* client, double leverage,
                                                      int limitKind) {
  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  return record ? record->LimitKinds : std::vector<int>();
}

double TSettingsEngine::GetIncludeClientsWithLeverage(const char* client, int limitKind,
                                                      double value) {
  if (!IsLess(value, 0.0)) return value;
  const TMarginRestrictionRecord* record = MarginRecord(client, -1.0, limitKind);
  return record ? record->IncludeClientsWithLeverage : -1.0;
}

std::vector<std::string> TSettingsEngine::GetDiscountSecurities(const char* client,
                                                                int limitKind, double leverage) {
  std::vector<std::string> names;
  if (const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind)) {
    for (const auto& entry : record->SecurityDiscounts) names.push_back(entry.first);
  }
  if (const TMarginRestrictionRecord* broker = BrokerGeneralRecord()) {
    for (const auto& entry : broker->SecurityDiscounts) {
      if (std::find(names.begin(), names.end(), entry.first) == names.end())
        names.push_back(entry.first);
    }
  }
  return names;
}

TSecurityDiscountResult TSettingsEngine::GetSecurityDiscount(const char* client,
                                                             const char* security, int limitKind,
                                                             double leverage) {
  TSecurityDiscountResult result;
  bool found = false;
  auto fill = [&](const std::map<std::string, TSecurityDiscount>& discounts) {
    if (security == nullptr) return;
    auto entry = discounts.find(security);
    if (entry == discounts.end()) return;
    const TSecurityDiscount& d = entry->second;
    result.ClientCode = client ? client : "";
    result.SecurityCode = security;
    result.LimitKind = limitKind;
    result.D1 = d.D1;
    result.D2 = d.D2;
    result.D3 = d.D3;
    result.D4 = d.D4;
    result.D5 = d.D5;
    result.D6 = d.D6;
    result.MinLong = d.MinLong;
    result.MinShort = d.MinShort;
    found = true;
  };
  auto copyUse = [&](const TMarginRestrictionRecord& record, double recordLeverage) {
    result.UseDiscountsType = record.UseDiscountsType;
    result.UseSecurityDiscounts = record.UseSecurityDiscounts;
    result.UseChSecurityDiscounts = record.UseChSecurityDiscounts;
    result.Leverage = recordLeverage;
  };

  const TMarginRestrictionRecord* record = MarginRecord(client, leverage, limitKind);
  if (record != nullptr) {
    copyUse(*record, leverage);
    if (record->SecurityDiscountsSource == kOwnCollection) {
      fill(record->SecurityDiscounts);
    } else if (record->SecurityDiscountsSource == kClientGeneral) {
      if (const TMarginRestrictionRecord* general = GeneralRecordOf(MarginItem(client, leverage)))
        fill(general->SecurityDiscounts);
    }
  }
  if (record == nullptr || !found) {
    if (const TMarginRestrictionRecord* broker = BrokerGeneralRecord()) {
      fill(broker->SecurityDiscounts);
      if (record == nullptr) copyUse(*broker, marginRestrictionCache->GetDefault()->Leverage);
    }
  }
  return result;
}

int TSettingsEngine::GetUseDiscountsType(const char* client, const char* security, int limitKind,
                                         double leverage) {
  return GetSecurityDiscount(client, security, limitKind, leverage).UseDiscountsType;
}

bool TSettingsEngine::ComputeRestrictionCoefficient(const char* client, const char* security,
                                                    int limitKind, double leverage,
                                                    double percent, std::int64_t longOverride,
                                                    std::int64_t shortOverride,
                                                    double* coefficients) {
  TSecurityDiscountResult r = GetSecurityDiscount(client, security, limitKind, leverage);
  // A discount that is no number counts as not set, so no answer is NaN.
  for (double* value : {&r.D1, &r.D2, &r.D3, &r.D4, &r.D5, &r.D6})
    if (std::isnan(*value)) *value = -1.0;
  for (double* value : {&r.MinLong, &r.MinShort})
    if (std::isnan(*value)) *value = 0.0;
  const bool u = r.UseSecurityDiscounts;
  const bool c = r.UseChSecurityDiscounts;
  double x = percent * 0.01;
  if (x < 0.0 || x > 1.0 || std::isnan(x)) x = 1.0;

  double longCoefficient;
  double shortCoefficient;
  if (IsEqual(x, 1.0)) {
    longCoefficient = !IsSet(r.D3) ? 1.0 : u ? r.D3 : IsSet(r.D1) ? 1.0 : r.D3;
    shortCoefficient = !IsSet(r.D4) ? kNoLimit : u ? r.D4 : IsSet(r.D2) ? kNoLimit : r.D4;
  } else {
    if (!IsSet(r.D3)) {
      longCoefficient = c ? x : 1.0;
    } else {
      const double l = 1.0 - PowerOfClamped(1.0 - std::min(x, r.D3), r.D1);
      if (!u) longCoefficient = c ? x : (IsSet(r.D1) ? l : r.D3);
      else longCoefficient = c ? (IsSet(r.D1) ? l : x) : r.D3;
    }
    if (!IsSet(r.D4)) {
      shortCoefficient = c ? x : kNoLimit;
    } else {
      const double s = PowerOfClamped(1.0 + std::max(x, r.D4), r.D2) - 1.0;
      if (!u) shortCoefficient = c ? x : (IsSet(r.D2) ? s : r.D4);
      else shortCoefficient = c ? (IsSet(r.D2) ? s : x) : r.D4;
    }
  }

  if (!discountTrdAcc.empty()) {
    if (longOverride != 0)
      longCoefficient = longOverride == -1 ? 1.0 : static_cast<double>(longOverride) * 0.001;
    if (shortOverride != 0)
      shortCoefficient = shortOverride == -1 ? kNoLimit : static_cast<double>(shortOverride) * 0.001;
  }

  double longMinimum;
  if (!IsLess(longCoefficient, 1.0)) {
    longCoefficient = longMinimum = 1.0;
  } else {
    const double eased = 1.0 - PowerOfClamped(1.0 - longCoefficient, (1.0 + r.MinLong) * 0.5);
    longMinimum = std::min(longCoefficient, std::max(r.D5, eased));
  }
  double shortMinimum;
  if (shortCoefficient > 1e25) {
    shortCoefficient = shortMinimum = kNoLimit;
  } else {
    const double eased = PowerOfClamped(1.0 + shortCoefficient, (1.0 + r.MinShort) * 0.5) - 1.0;
    shortMinimum = std::min(shortCoefficient, std::max(r.D6, eased));
  }
  coefficients[kLongCoefficient] = longCoefficient;
  coefficients[kShortCoefficient] = shortCoefficient;
  coefficients[kLongMinimumCoefficient] = longMinimum;
  coefficients[kShortMinimumCoefficient] = shortMinimum;
  return true;
}

}  // namespace DL
