#include "module/notify/engine_client_check.h"

#include "module/log/vantrel_log.h"
#include "module/notify/engine_kind_checks.h"
#include "module/notify/engine_sent_marks.h"
#include "module/risk/margin_call_kinds.h"
#include "sdk/numeric.h"

namespace {

const int kCheckOrder[] = {kSfrKind, kSfrOpenPositionsKind, kLowFundsKind, kClgoKind,
                           kEclgoKind, kMarginLevelKind, kUpKind, kMl2Kind};

void CheckKind(int kind, TClientRiskRecord& record, const TModuleSettings& settings,
               const TRepeatLimits& limits, int64_t now, IMarginCallSender& sender,
               CVantrelLog* log) {
  const TKindCheck check = CheckOfKind(kind, record, settings);
  double& lastValue = *LastSentValueOf(record, kind);
  if (check.action == KindAction::Rearm) lastValue = kValueNotSet;
  if (check.action != KindAction::Test) return;
  if (log != nullptr)
    log->TraceLog(3, "Checking last sent value for %s (last value: %f, current value: %f)",
                  check.name, lastValue / check.logScale, check.value / check.logScale);
  TRepeatCase repeat;
  repeat.now = now;
  repeat.lastTime = *LastSentTimeOf(record, kind);
  repeat.value = check.value;
  repeat.lastValue = lastValue;
  repeat.higherIsWorse = check.higherIsWorse;
  repeat.needsMinChange = check.needsMinChange;
  if (!IsRepeatDue(limits, repeat)) return;
  if (SendAndStamp(sender, kind, record, check.level, now)) lastValue = check.value;
}

}  // namespace

void CheckClientRiskParams(TClientRiskRecord& record, const TModuleSettings& settings,
                           const TRepeatLimits& limits, int64_t now, IMarginCallSender& sender,
                           CVantrelLog* log) {
  if (!settings.NotificationsOn) return;
  for (int kind : kCheckOrder) CheckKind(kind, record, settings, limits, now, sender, log);
}
