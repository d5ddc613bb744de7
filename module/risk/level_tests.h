// Whether a client has broken the warning, critical or chosen level of a
// risk parameter. The comparisons are strict; a value that is not set
// (1e30) breaks no "below" level.
#pragma once

#include "module/risk/client_risk_record.h"
#include "module/risk/margin_call_kinds.h"
#include "module/settings/module_settings.h"

// Funds sufficiency (and its twin for open positions) below the warning or
// critical level; with DontSendSFRifCLGO the collateral liquidity
// coefficient must also be at most ValCLGOforSFR.
bool IsSfrWarningReached(const TClientRiskRecord& record, const TModuleSettings& settings);
bool IsSfrFpWarningReached(const TClientRiskRecord& record, const TModuleSettings& settings);
bool IsSfrCriticalReached(const TClientRiskRecord& record, const TModuleSettings& settings);
bool IsSfrFpCriticalReached(const TClientRiskRecord& record, const TModuleSettings& settings);

// Kind 2 or 9; any other kind gives false.
bool IsSfrWarningLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                              int kind);
bool IsSfrCriticalLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                               int kind);

// The value of ML2Param below ML2Level, or below ML2LevelQual for a qualified
// client when ConsiderQualClient is set; only united clients, and only while
// ML2Param names a value. The level that applied goes to level when that is
// not null.
bool IsMl2LevelReached(const TClientRiskRecord& record, const TModuleSettings& settings,
                       double* level);

// The value of UPParam below UPLevel; for the cash leverage, above it;
// false while UPParam names no value.
bool IsUpLevelReached(const TClientRiskRecord& record, const TModuleSettings& settings);

// The margin-level call of a qualified united client takes the second
// subject and body when the settings consider qualification and ask for it.
bool UsesMl2SecondTemplate(const TClientRiskRecord& record, const TModuleSettings& settings);
