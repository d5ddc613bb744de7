// The seam between the margin-call engine's decisions and the channels that
// carry a margin call out (mail, trader messages, SMS, message files, the
// journal). The module implements it; tests record the calls.
#pragma once

#include "module/risk/client_risk_record.h"

#include <string>

// What became of one margin call.
enum class EMarginCallOutcome {
  kNotSent,  // no channel took it
  kSent,     // it went out on at least one channel
  // Every step of it went, but the host stopped the plug-in (forgetting the
  // clients) or was done with it while it was on its way: nothing of it is
  // kept back, and the run it belongs to ends. Its client's record is never
  // read again, so nothing is stamped.
  kWholeAtStop,
  // The host stopped the plug-in or was done with it before or while the
  // call was on its way, and something of it was not sent: the run ends.
  kCut,
};

// Whether the run the call belongs to goes on to its next call.
inline bool EndsRun(EMarginCallOutcome outcome) {
  return outcome == EMarginCallOutcome::kWholeAtStop || outcome == EMarginCallOutcome::kCut;
}

class IMarginCallSender {
 public:
  virtual ~IMarginCallSender() = default;
  // One margin call of kind for the client, naming the level that was broken.
  // The body is the kind's body template filled for the client when
  // composeBody is set, else bodyText as the user wrote it; the subject always
  // comes from the kind's template. The scheduled and the manual calls stamp
  // the time only when it was sent.
  virtual EMarginCallOutcome SendMarginCall(int kind, TClientRiskRecord& record, double level,
                                            const std::string& bodyText, bool composeBody) = 0;
};
