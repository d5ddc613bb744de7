// The kinds of margin call, one per risk parameter; the settings keys, the
// schedules, the tables and the dialogs name the parameters by them.
#pragma once

// Margin-call kinds (risk parameter type numbers).
enum MarginCallKind : int {
  kLowFundsKind = 1,
  kSfrKind = 2,
  kClgoKind = 3,
  kEclgoKind = 4,
  kMarginLevelKind = 5,
  kUpKind = 6,
  kMl2Kind = 7,
  kSfrOpenPositionsKind = 9,
  // The second templates of kinds 2, 9 and 7.
  kSfrSecondTemplateKind = 102,
  kSfrOpenPositionsSecondTemplateKind = 109,
  kMl2SecondTemplateKind = 107,
};
