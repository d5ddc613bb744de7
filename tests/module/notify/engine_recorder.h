// A sender that writes down each margin call as "kind@level" and can be told
// that the channels failed.
#pragma once

#include "module/notify/margin_call_sender.h"

#include <cstdio>
#include <string>

struct CRecordingSender : IMarginCallSender {
  bool SendMarginCall(int kind, TClientRiskRecord& record, double level) override {
    char call[64];
    std::snprintf(call, sizeof(call), "%s%s%d@%g", calls.empty() ? "" : " ", record.clientCode,
                  kind, level);
    calls += call;
    return delivers;
  }
  std::string calls;
  bool delivers = true;
};
