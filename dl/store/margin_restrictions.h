#pragma once

#include <map>
#include <string>
#include <vector>

namespace DL {

// One entry of a security-list map.
struct TRestrictionList {
  std::vector<std::string> Items;
  bool All = false;  // the value was exactly "<ALL>"
};

struct TCorrelationEntry {
  std::string Name;
  std::string Code1;    // item 1
  std::string Code2;    // item 3
  double Value2 = 0.0;  // item 4
  double Value1 = 0.0;  // item 2
  int Flag = 0;         // item 5 not 0
};

struct TSecurityWeight {
  double W1 = 1.0;
  double W2 = 1.0;
  double W3 = -1.0;
  double W4 = -1.0;
  double W5 = -1.0;
};

// D5 is stored before D4, as the broker's records keep them.
struct TSecurityDiscount {
  double D1 = -1.0;
  double D2 = -1.0;
  double D3 = -1.0;
  double D5 = -1.0;
  double D4 = -1.0;
  double D6 = -1.0;
  double MinLong = 0.0;
  double MinShort = 0.0;
};

using TRestrictionLists = std::map<std::string, TRestrictionList>;

// Source markers of a record's collections: which record a query reads.
enum TCollectionSource { kBrokerGeneral = 0, kClientGeneral = 1, kOwnCollection = 2 };

// The margin restrictions of one limit kind (kind 0: the client's general record).
struct TMarginRestrictionRecord {
  bool IgnoreLimitSecurity = false;
  bool IgnoreAssetSecurity = false;
  bool IgnoreRestShortSecurity = false;
  TRestrictionLists LimitAllowedLists;
  TRestrictionLists LimitAllowedSecurityLists;
  TRestrictionLists AssetLists;
  TRestrictionLists AssetSecurityLists;
  TRestrictionLists RestShortLists;
  TRestrictionLists RestShortSecurityLists;
  std::map<std::string, std::vector<std::string>> CommonTrdAccLists;
  bool UseCommonTrdAcc = false;
  std::vector<TCorrelationEntry> Correlations;
  bool UseCorrelation = false;
  bool ShortMoneyToBuyLong = false;
  bool LongMoneyToSellShort = false;
  int NegativeMoneyToShortKind = 0;
  std::vector<std::string> NegativeMoneyToShortList;
  bool RstrNmBuy = false;
  bool RstrTransfer = false;
  bool UseOnlyMoneyLimitForOldMargin = false;
  std::map<std::string, TSecurityWeight> SecurityWeights;
  std::map<std::string, TSecurityDiscount> SecurityDiscounts;
  double IncludeClientsWithLeverage = -1.0;
  int UseDiscountsType = 0;
  bool UseSecurityDiscounts = false;
  bool UseChSecurityDiscounts = false;
  double MinDiscRateLong = 0.0;
  double MinDiscRateShort = 0.0;
  int SecurityWeightsSource = kBrokerGeneral;
  int CorrelationsSource = kBrokerGeneral;
  int AssetListsSource = kBrokerGeneral;
  int AssetSecurityListsSource = kBrokerGeneral;
  int LimitAllowedListsSource = kBrokerGeneral;
  int LimitAllowedSecurityListsSource = kBrokerGeneral;
  int RestShortListsSource = kBrokerGeneral;
  int RestShortSecurityListsSource = kBrokerGeneral;
  int SecurityDiscountsSource = kBrokerGeneral;
  std::vector<int> LimitKinds;
};

// One client's margin restrictions, per limit kind.
struct TClientMarginRestrictions {
  std::map<int, TMarginRestrictionRecord> Records;
  double Leverage = -1.0;  // the leverage of the load that built the item
  std::vector<int> LimitKinds;
};

}  // namespace DL
