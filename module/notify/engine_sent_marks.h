// What the client record remembers of the margin calls sent to it: the last
// value and the last time of each kind, and whether the kind is re-armed.
#pragma once

#include "module/notify/margin_call_sender.h"
#include "module/risk/client_risk_record.h"

#include <cstdint>
#include <string>

// Null for a kind without one.
double* LastSentValueOf(TClientRiskRecord& record, int kind);
bool* RearmedOf(TClientRiskRecord& record, int kind);
// The two funds-sufficiency kinds share one time.
int64_t* LastSentTimeOf(TClientRiskRecord& record, int kind);

// The kind's next breach is called at once (still after MinTime).
void Rearm(TClientRiskRecord& record, int kind);
// A call is going out with value: the next one must be worse than it.
void RememberSentValue(TClientRiskRecord& record, int kind, double value);

// Sends through the seam and stamps the kind's last sending time with now
// when the call went out; returns what the seam reported.
EMarginCallOutcome SendAndStamp(IMarginCallSender& sender, int kind, TClientRiskRecord& record,
                                double level, int64_t now,
                                const std::string& bodyText = std::string(),
                                bool composeBody = true);
