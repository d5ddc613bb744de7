#include "module/notify/engine_sent_marks.h"

#include "module/risk/margin_call_kinds.h"

double* LastSentValueOf(TClientRiskRecord& record, int kind) {
  switch (kind) {
    case kLowFundsKind: return &record.lastSentLowFunds;
    case kSfrKind: return &record.lastSentSfr;
    case kSfrOpenPositionsKind: return &record.lastSentSfrOpenPositions;
    case kClgoKind: return &record.lastSentClgo;
    case kEclgoKind: return &record.lastSentEclgo;
    case kMarginLevelKind: return &record.lastSentMarginLevel;
    case kUpKind: return &record.lastSentUp;
    case kMl2Kind: return &record.lastSentMl2;
    default: return nullptr;
  }
}

int64_t* LastSentTimeOf(TClientRiskRecord& record, int kind) {
  switch (kind) {
    case kLowFundsKind: return &record.lastSentTimeLowFunds;
    case kSfrKind:
    case kSfrOpenPositionsKind: return &record.lastSentTimeSfr;
    case kClgoKind: return &record.lastSentTimeClgo;
    case kEclgoKind: return &record.lastSentTimeEclgo;
    case kMarginLevelKind: return &record.lastSentTimeMarginLevel;
    case kUpKind: return &record.lastSentTimeUp;
    case kMl2Kind: return &record.lastSentTimeMl2;
    default: return nullptr;
  }
}

bool SendAndStamp(IMarginCallSender& sender, int kind, TClientRiskRecord& record, double level,
                  int64_t now) {
  if (!sender.SendMarginCall(kind, record, level)) return false;
  int64_t* lastTime = LastSentTimeOf(record, kind);
  if (lastTime != nullptr) *lastTime = now;
  return true;
}
