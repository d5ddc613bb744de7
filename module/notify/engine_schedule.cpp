#include "module/notify/engine_schedule.h"

#include "module/notify/engine_kind_checks.h"
#include "module/notify/engine_sent_marks.h"
#include "module/notify/schedule_gate.h"
#include "module/risk/level_tests.h"
#include "module/risk/margin_call_kinds.h"

namespace {

struct TDueKinds {
  bool lowFunds, sfr, sfrFp, clgo, eclgo, ml, up, ml2;
};

class CScheduleRun {
 public:
  CScheduleRun(const TModuleSettings& settings, IMarginCallSender& sender, int64_t now)
      : m_s(settings), m_sender(sender), m_now(now) {}

  bool Cut() const { return m_cut; }
  const std::vector<std::string>& NotReached() const { return m_notReached; }

  void SendTo(TClientRiskRecord& r, const TDueKinds& due) {
    const TModuleSettings& s = m_s;
    // With both SFR schedules on only the critical calls go out.
    if (due.sfr && s.UseSFRWarnSchedule && !s.UseSFRCritSchedule &&
        IsSfrWarningLevelReached(r, s, kSfrKind))
      Send(kSfrKind, r, s.SFRWarningLevel);
    if (due.sfrFp && s.UseSFRWarnSchedule_fp && !s.UseSFRCritSchedule_fp &&
        IsSfrWarningLevelReached(r, s, kSfrOpenPositionsKind))
      Send(kSfrOpenPositionsKind, r, s.SFRWarningLevel_fp);
    if (due.sfr && s.UseSFRCritSchedule && IsSfrCriticalLevelReached(r, s, kSfrKind))
      Send(kSfrKind, r, s.SFRCriticalLevel);
    if (due.sfrFp && s.UseSFRCritSchedule_fp &&
        IsSfrCriticalLevelReached(r, s, kSfrOpenPositionsKind))
      Send(kSfrOpenPositionsKind, r, s.SFRCriticalLevel_fp);
    if (due.lowFunds && r.plannedNetPosition < 0) Send(kLowFundsKind, r, 0.0);
    if (due.clgo && IsClgoBroken(r, s)) Send(kClgoKind, r, r.clgo < s.CLGOLevel ? 0.0 : 1.0);
    if (due.eclgo && r.eclgo < s.ECLGOLevel) Send(kEclgoKind, r, s.ECLGOLevel);
    if (due.ml && IsMlBroken(r, s)) Send(kMarginLevelKind, r, r.united ? s.MLLevel : 0.0);
    if (due.up && IsUpLevelReached(r, s)) Send(kUpKind, r, s.UPLevel);
    double ml2Level = 0.0;
    if (due.ml2 && IsMl2LevelReached(r, s, &ml2Level)) Send(kMl2Kind, r, ml2Level);
  }

 private:
  // Once the host stopped the plug-in or was done with it during a call
  // nothing more is sent; the calls still due are only named. The records
  // outlive the stop for as long as the run holds them.
  void Send(int kind, TClientRiskRecord& record, double level) {
    if (m_ended) {
      m_notReached.push_back(std::string(record.clientCode) + " (type: " + std::to_string(kind) + ")");
      return;
    }
    const EMarginCallOutcome outcome = SendAndStamp(m_sender, kind, record, level, m_now);
    m_ended = EndsRun(outcome);
    m_cut = outcome == EMarginCallOutcome::kCut;
  }

  const TModuleSettings& m_s;
  IMarginCallSender& m_sender;
  int64_t m_now;
  bool m_ended = false;
  bool m_cut = false;
  std::vector<std::string> m_notReached;
};

}  // namespace

TScheduleSend SendMarginCallsBySchedule(TModuleSettings& s,
                                        const std::vector<TClientRiskRecord*>& records,
                                        const TEngineClock& start, const TEngineClock& now,
                                        IMarginCallSender& sender) {
  TScheduleSend result;
  if (start.seconds == 0) return result;
  int dueCount = 0;
  auto fires = [&](bool used, ScheduleList& schedule) {
    const bool due = used && FireNextDueEntry(schedule, start.localSeconds, now.localSeconds) >= 0;
    dueCount += due;
    return due;
  };
  TDueKinds due;
  due.lowFunds = fires(s.UseLFSchedule, s.LFSchedule);
  due.sfr = fires(s.UseSFRWarnSchedule || s.UseSFRCritSchedule, s.SFRSchedule);
  due.sfrFp = fires(s.UseSFRWarnSchedule_fp || s.UseSFRCritSchedule_fp, s.SFRSchedule_fp);
  due.clgo = fires(s.UseCLGOSchedule, s.CLGOSchedule);
  due.eclgo = fires(s.UseECLGOSchedule, s.ECLGOSchedule);
  due.ml = fires(s.UseMLSchedule, s.MLSchedule);
  due.up = fires(s.UseUPSchedule, s.UPSchedule);
  due.ml2 = fires(s.UseML2Schedule, s.ML2Schedule);
  if (dueCount == 0) return result;
  result.due = true;
  CScheduleRun run(s, sender, now.seconds);
  for (TClientRiskRecord* record : records)
    if (record->ExclusionMark != kRuleExcluded) run.SendTo(*record, due);
  result.cut = run.Cut();
  result.notReached = run.NotReached();
  return result;
}
