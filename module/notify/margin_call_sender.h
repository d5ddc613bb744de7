// The seam between the margin-call engine's decisions and the channels that
// carry a margin call out (mail, trader messages, SMS, message files, the
// journal). The module implements it; tests record the calls.
#pragma once

#include "module/risk/client_risk_record.h"

class IMarginCallSender {
 public:
  virtual ~IMarginCallSender() = default;
  // One margin call of kind for the client, naming the level that was broken.
  // True when it went out on at least one channel: only then does the engine
  // remember the value and the time.
  virtual bool SendMarginCall(int kind, TClientRiskRecord& record, double level) = 0;
};
