// The scheduled margin calls: on a schedule's times every client whose level
// of that kind is broken gets one call, whatever the sending switches, the
// last sent values and MinTime say.
#pragma once

#include "module/notify/engine_clock.h"
#include "module/notify/margin_call_sender.h"
#include "module/risk/client_risk_record.h"
#include "module/settings/module_settings.h"

#include <string>
#include <vector>

struct TScheduleSend {
  bool due = false;  // some kind was due, so the clients were walked
  // A call was cut: the host stopped the plug-in or was done with it while
  // it was on its way, and something of it was not sent.
  bool cut = false;
  // The calls a stop or Done during an earlier one kept back, "<client code>
  // (type: <kind>)" in the order they would have gone.
  std::vector<std::string> notReached;
};

// start: when the host started the plug-in (seconds 0: not yet, nothing is
// sent). The schedules' entries are marked as they fire. Clients excluded by
// the client-code rules are left out.
TScheduleSend SendMarginCallsBySchedule(TModuleSettings& settings,
                                        const std::vector<TClientRiskRecord*>& records,
                                        const TEngineClock& start, const TEngineClock& now,
                                        IMarginCallSender& sender);
