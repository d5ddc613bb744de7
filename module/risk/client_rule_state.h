// A client's standing under the client-code change rules, decided once and
// kept in the record until the rules change.
#pragma once

#include "module/risk/client_code_rules.h"
#include "module/risk/client_risk_record.h"

// Decides an undecided client (rule state -1) by the rules; a client decided
// before keeps its state. True when the client is included.
//
// The rules grow with every firm's text: whenever parsing one returns true,
// or the rules are cleared, every client's rule state must be set back to
// kRuleUndecided, or clients decided before would never see the new rules.
bool DecideClientRuleState(TClientRiskRecord& record, const CClientCodeRules& rules);
