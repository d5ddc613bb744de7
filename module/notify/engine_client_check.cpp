#include "module/notify/engine_client_check.h"

#include "module/log/vantrel_log.h"
#include "module/notify/engine_kind_checks.h"
#include "module/notify/engine_sent_marks.h"
#include "module/risk/margin_call_kinds.h"

namespace {

const int kCheckOrder[] = {kSfrKind, kSfrOpenPositionsKind, kLowFundsKind, kClgoKind,
                           kEclgoKind, kMarginLevelKind, kUpKind, kMl2Kind};

// False when the host stopped the plug-in or was done with it during the
// kind's call: no further kind is looked at.
bool CheckKind(int kind, TClientRiskRecord& record, const TModuleSettings& settings,
               const TRepeatLimits& limits, int64_t now, IMarginCallSender& sender,
               CVantrelLog* log) {
  const TKindCheck check = CheckOfKind(kind, record, settings);
  if (check.action == KindAction::Rearm) Rearm(record, kind);
  if (check.action != KindAction::Test) return true;
  const double lastValue = *LastSentValueOf(record, kind);
  if (log != nullptr)
    log->TraceLog(3, "Checking last sent value for %s (last value: %f, current value: %f)",
                  check.name, lastValue / check.logScale, check.value / check.logScale);
  TRepeatCase repeat;
  repeat.now = now;
  repeat.lastTime = *LastSentTimeOf(record, kind);
  repeat.value = check.value;
  repeat.lastValue = lastValue;
  repeat.rearmed = *RearmedOf(record, kind);
  repeat.higherIsWorse = check.higherIsWorse;
  repeat.needsMinChange = check.needsMinChange;
  if (!IsRepeatDue(limits, repeat)) return true;
  // Stamped whatever becomes of the call: a client no channel reaches, or one
  // the tables hide, waits for MinTime and a further worsening like any
  // other instead of being tried (and journaled) on every run.
  RememberSentValue(record, kind, check.value);
  const EMarginCallOutcome outcome = sender.SendMarginCall(kind, record, check.level, std::string(), true);
  *LastSentTimeOf(record, kind) = now;
  return !EndsRun(outcome);
}

}  // namespace

void CheckClientRiskParams(TClientRiskRecord& record, const TModuleSettings& settings,
                           const TRepeatLimits& limits, int64_t now, IMarginCallSender& sender,
                           CVantrelLog* log) {
  if (!settings.NotificationsOn) return;
  for (int kind : kCheckOrder)
    if (!CheckKind(kind, record, settings, limits, now, sender, log)) return;
}
