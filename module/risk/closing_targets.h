// The targets of closing a client's positions: which level a closing pattern
// closes down to, and whether a client's value has reached it.
#pragma once

#include "module/risk/client_risk_record.h"
#include "module/settings/closing_pattern.h"

// Whether the value has reached the target level: the current net positions
// (ids 6 and 7) reach it by falling below it, every other parameter, and
// any parameter of a united client, by rising above it. Short of that, a
// pattern that closes no more than is planned counts as done while the
// planned net position is 0 or more (except for united clients and id 8).
bool IsLevelReachedForParam(double value, double level, bool united, int id,
                            bool notMoreThanPlanned, double plannedNetPosition);

// A united client is closed by its modified unified margin level (id 23)
// when the pattern acts without a spot position or the host reports client
// value 6 or 5 for the client. The first takes the id from the pattern's
// ParamIdx2.
bool IsUnitedParamApplicable(const TClientRiskRecord& record, const TClosingPattern& pattern);
bool IsUnitedParamApplicableByIdx(const TClientRiskRecord& record,
                                  const TClosingPattern& pattern, int id);

// The level the pattern closes the client down to.
double GetPatternTargetLevel(const TClosingPattern& pattern, const TClientRiskRecord& record);
