// What a risk-parameters table asks of a client before showing it, beyond
// the host's firm, client and trading-account filters: the client types,
// a funds-sufficiency level, and either a margin-call condition or the kind
// of positions the client holds. The dialog works on the pending copies of
// the two conditions; they come into force when the dialog is confirmed.
#pragma once

#include <cstdint>
#include <string>

struct TClientRiskRecord;
class TModuleSettings;

// Client types, as bits of ClientTypes and of the module setting ClientsType2.
enum RiskClientType : uint32_t {
  kClientsWithoutUnitedPosition = 1,
  kUnitedClientsWithoutStockValues = 2,
  kUnitedClientsWithStockValues = 4,
  kEveryClientType = 7,
};

// Which positions a client may hold to be shown; a united client is always shown.
enum RiskPositionType : int { kOnlyFutures = 1, kOnlyOptions = 2, kFuturesAndOptions = 3 };

struct TRiskTableFilter {
  bool UseSfrLevel = false;
  double SfrLevel = 0.0;
  bool PendingUseSfrLevel = false;
  double PendingSfrLevel = 0.0;
  bool UseMarginCallCondition = false;
  int NotificationType = 1;
  bool PendingUseMarginCallCondition = false;
  int PendingNotificationType = 1;
  uint32_t ClientTypes = kEveryClientType;
  int PositionType = kFuturesAndOptions;
  std::string FilterFilePath;

  void PendConditions();
  void TakePendingConditions();
};

// Every test of the filter except the host's three item filters and the
// exclusion mark, in the table's order: client type (by the module setting,
// then by the table's own types when the setting allows every type), the
// funds-sufficiency level, then the margin-call condition or, without it,
// the position type. Values are compared as the record stores them.
bool PassesRiskConditions(const TClientRiskRecord& record, const TRiskTableFilter& filter,
                          const TModuleSettings& settings);
