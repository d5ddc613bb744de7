// The targets of closing a client's positions: which level a closing pattern
// closes down to, and whether a client's value has reached it.
#pragma once

#include "module/risk/client_risk_record.h"
#include "module/settings/closing_pattern.h"

// Whether the value has reached the target level in the direction of the
// parameter id: the current net positions (ids 6, 7) from above, everything
// else, and any parameter of a united client, from below. A planned net
// position of 0 or more also counts as reached when the pattern closes no
// more than is planned.
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
