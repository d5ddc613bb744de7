// What the host's periodic tick runs: every 5th tick the auto-close step,
// every 30th the margin calls due by schedule, auto-close first when both fall
// on one tick.
#pragma once

struct TickSteps {
  bool autoClose = false;
  bool scheduledMarginCalls = false;
};

inline TickSteps DueSteps(int tickCounter) {
  TickSteps steps;
  steps.autoClose = tickCounter % 5 == 0;
  steps.scheduledMarginCalls = tickCounter % 30 == 0;
  return steps;
}
