// The record test of a risk-parameters table.
#include "windows/tables/risk_table_filter.h"

#include "module/host_data/client_book.h"
#include "module/market_records.h"
#include "module/risk/client_risk_record.h"
#include "module/risk/level_tests.h"
#include "module/settings/module_settings.h"
#include "sdk/host_call.h"
#include "sdk/host_data_records.h"
#include "sdk/host_record_fields.h"
#include "windows/tables/risk_params_table.h"
#include "windows/tables/risk_table_source.h"

namespace {
constexpr uint32_t kDerivativesClass = 64, kOptionsClass = 2048;

enum NotificationKind : int {
  kLowFunds = 1, kSfr = 2, kClgo = 3, kEclgo = 4, kMarginLevel = 5, kArbitraryParam = 6, kMl2 = 7, kSfrOpen = 9,
};

uint32_t ClientTypeOf(const TClientRiskRecord& record) {
  if (!record.united) return kClientsWithoutUnitedPosition;
  const TClientMarketKey key = record.MarketKey();
  return HasUnitedPositionValues(&key) ? kUnitedClientsWithStockValues : kUnitedClientsWithoutStockValues;
}

bool PassesClientType(const TClientRiskRecord& record, const TRiskTableFilter& filter,
                      const TModuleSettings& settings) {
  const uint32_t type = ClientTypeOf(record);
  const auto allowed = static_cast<uint32_t>(settings.ClientsType2);
  if ((allowed & type) == 0) return false;
  // The table's own choice counts only where the settings leave every type open.
  return (allowed & kEveryClientType) != kEveryClientType || (filter.ClientTypes & type) != 0;
}

bool MeetsMarginCallCondition(const TClientRiskRecord& record, int type, const TModuleSettings& settings) {
  switch (type) {
    case kLowFunds: return record.plannedNetPosition < 0;
    case kSfr: return record.sfr < settings.SFRWarningLevel;
    case kSfrOpen: return record.sfrOpenPositions < settings.SFRWarningLevel_fp;
    case kClgo: {
      if (record.clgo < settings.CLGOLevel) return true;
      double base = settings.CLGOLimitType == 1 ? record.openPositionLimit : record.dayStartLimit;
      if (settings.CLGOUseVMAI) base += record.accruedIncome + record.realVariationMargin;
      return base < 0;
    }
    case kEclgo: return record.eclgo < settings.ECLGOLevel;
    case kMarginLevel:
      if (!(record.currentNetPosition > 0)) return false;
      return record.united ? record.marginLevel < settings.MLLevel : record.plannedNetPosition < 0;
    case kArbitraryParam:
      if (!record.united && settings.OnlyUnitedPos) return false;
      return IsUpLevelReached(record, settings);
    case kMl2: return IsMl2LevelReached(record, settings, nullptr);
    default: return false;
  }
}

// The kinds of the securities a client holds: a position that is not zero
// names a future, an option, or a security the classes do not know.
struct HeldKinds {
  bool future = false, option = false, unknown = false;
};

HeldKinds KindsHeld(const TClientRiskRecord& record) {
  HeldKinds kinds;
  for (const uint8_t* position : record.positions) {
    if (position == nullptr || host::record::Read<int32_t>(position, host_data::position::kQuantity) == 0) continue;
    const uint8_t* security = FindSecurityInClasses(RecordSecurityCode(position).c_str(), kDerivativesClass, 0, nullptr);
    const uint8_t* classRecord = security != nullptr ? GetClassInfoByIndex(SecurityClassIndexOf(security)) : nullptr;
    const uint32_t flags = classRecord != nullptr ? ClassFlagsOf(classRecord) : 0;
    if ((flags & kDerivativesClass) == 0) kinds.unknown = true;
    else if ((flags & kOptionsClass) != 0) kinds.option = true;
    else kinds.future = true;
  }
  return kinds;
}

bool PassesPositionType(const TClientRiskRecord& record, int positionType) {
  if (positionType == kFuturesAndOptions || record.united) return true;
  const HeldKinds kinds = KindsHeld(record);
  if (positionType == kOnlyFutures) return !kinds.option && !kinds.unknown;
  if (positionType == kOnlyOptions) return !kinds.future && !kinds.unknown;
  return true;
}
}  // namespace

void TRiskTableFilter::PendConditions() {
  PendingUseSfrLevel = UseSfrLevel;
  PendingSfrLevel = SfrLevel;
  PendingUseMarginCallCondition = UseMarginCallCondition;
  PendingNotificationType = NotificationType;
}

void TRiskTableFilter::TakePendingConditions() {
  UseSfrLevel = PendingUseSfrLevel;
  SfrLevel = PendingSfrLevel;
  UseMarginCallCondition = PendingUseMarginCallCondition;
  NotificationType = PendingNotificationType;
}

bool PassesRiskConditions(const TClientRiskRecord& record, const TRiskTableFilter& filter,
                          const TModuleSettings& settings) {
  if (!PassesClientType(record, filter, settings)) return false;
  // A level that is not set (1e30) lies above any level.
  if (filter.UseSfrLevel && (record.sfr > filter.SfrLevel || record.sfrOpenPositions > filter.SfrLevel)) return false;
  if (filter.UseMarginCallCondition) return MeetsMarginCallCondition(record, filter.NotificationType, settings);
  return PassesPositionType(record, filter.PositionType);
}

bool CVantrelFutRiskParamsTable::AcceptsRecord(void* row) {
  const auto* record = static_cast<const TClientRiskRecord*>(row);
  IRiskTableSource* source = GetRiskTableSource();
  if (record == nullptr || GetView() == nullptr || source == nullptr) return false;
  if (record->ExclusionMark == kRuleExcluded) return false;
  const TOrdersFilterLists lists = source->RiskItemLists();
  const std::string clientKey = std::string(record->clientCode) + " (" + record->firm + ")";
  if (HostCall<58>(record->firm, lists.firms, &firmFilter_) == 0 ||
      HostCall<58>(clientKey.c_str(), lists.clients, &filters_.first) == 0 ||
      HostCall<58>(record->account, lists.accounts, &filters_.second) == 0)
    return false;
  return PassesRiskConditions(*record, filter_, source->RiskFilterSettings());
}
