#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace DL {

// One TRANOUTTAG pair: the entry's key, a tag and its currency.
struct TTranOutTag {
  std::string Key;
  std::string Tag;
  std::string Currency;
};

// The first three items of an ADDMARKETMARGINALZADOLG entry; missing items
// stay empty.
using TMarginalZadolgEntry = std::array<std::string, 3>;

struct TCommonTrdAccMember;

struct TCommonTrdAccGroup {
  std::string Name;
  std::vector<const TCommonTrdAccMember*> Members;
};

// One ADDCOMMONSECTRDACC entry: the two parts of its key and the group that
// its value names.
struct TCommonTrdAccMember {
  const TCommonTrdAccGroup* Group = nullptr;
  std::string FirstPart;
  std::string SecondPart;
  std::string GroupName;
};

struct TBaseAssetEntry {
  std::string Name;      // as written
  std::string GroupKey;  // the key whose value listed the asset
  double Coefficient = 1.0;
};

// Upper-cased base-asset name -> entry.
using TBaseAssetTable = std::map<std::string, TBaseAssetEntry>;

struct TUserCommission {
  double Commission = 0.0;
  double OblCommission = 0.0;
};

// The discounts that apply to one client's security.
struct TSecurityDiscountResult {
  std::string ClientCode;
  std::string SecurityCode;
  int LimitKind = 0;
  double Leverage = -1.0;
  double D1 = -1.0;
  double D2 = -1.0;
  double D3 = -1.0;
  double D4 = -1.0;
  double D5 = -1.0;
  double D6 = -1.0;
  double MinLong = 0.0;
  double MinShort = 0.0;
  int UseDiscountsType = 3;
  bool UseSecurityDiscounts = false;
  bool UseChSecurityDiscounts = false;
};

// The four results of ComputeRestrictionCoefficient, in this order.
enum TRestrictionCoefficient {
  kLongCoefficient = 0,
  kShortCoefficient = 1,
  kLongMinimumCoefficient = 2,
  kShortMinimumCoefficient = 3,
};

using TClientTemplateList = std::vector<std::pair<std::string, std::string>>;

}  // namespace DL
