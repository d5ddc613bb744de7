#include "module/notify/engine_sent_marks.h"

#include "module/risk/margin_call_kinds.h"
#include "sdk/numeric.h"

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

bool* RearmedOf(TClientRiskRecord& record, int kind) {
  switch (kind) {
    case kLowFundsKind: return &record.rearmedLowFunds;
    case kSfrKind: return &record.rearmedSfr;
    case kSfrOpenPositionsKind: return &record.rearmedSfrOpenPositions;
    case kClgoKind: return &record.rearmedClgo;
    case kEclgoKind: return &record.rearmedEclgo;
    case kMarginLevelKind: return &record.rearmedMarginLevel;
    case kUpKind: return &record.rearmedUp;
    case kMl2Kind: return &record.rearmedMl2;
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

void Rearm(TClientRiskRecord& record, int kind) {
  if (double* value = LastSentValueOf(record, kind)) *value = kValueNotSet;
  if (bool* rearmed = RearmedOf(record, kind)) *rearmed = true;
}

void RememberSentValue(TClientRiskRecord& record, int kind, double value) {
  if (double* lastValue = LastSentValueOf(record, kind)) *lastValue = value;
  if (bool* rearmed = RearmedOf(record, kind)) *rearmed = false;
}

EMarginCallOutcome SendAndStamp(IMarginCallSender& sender, int kind, TClientRiskRecord& record,
                                double level, int64_t now, const std::string& bodyText,
                                bool composeBody) {
  const EMarginCallOutcome outcome = sender.SendMarginCall(kind, record, level, bodyText, composeBody);
  int64_t* lastTime = LastSentTimeOf(record, kind);
  if (outcome == EMarginCallOutcome::kSent && lastTime != nullptr) *lastTime = now;
  return outcome;
}
