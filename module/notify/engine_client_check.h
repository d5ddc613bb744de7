// The automatic margin-call check of one client, run after the client's
// values have been recalculated.
#pragma once

#include "module/notify/engine_repeat_rule.h"
#include "module/notify/margin_call_sender.h"
#include "module/risk/client_risk_record.h"
#include "module/settings/module_settings.h"

#include <cstdint>

class CVantrelLog;

// Examines the kinds in the order 2, 9, 1, 3, 4, 5, 6, 7; each call goes out
// through the sender before the next kind is looked at. now: seconds since
// 1970. Nothing happens while NotificationsOn is off. With a log, each
// comparison with the last sent value is written at level 3. A call that is
// cut (the host stopped the plug-in or is done) ends the check there.
void CheckClientRiskParams(TClientRiskRecord& record, const TModuleSettings& settings,
                           const TRepeatLimits& limits, int64_t now, IMarginCallSender& sender,
                           CVantrelLog* log = nullptr);
