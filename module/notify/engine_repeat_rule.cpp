#include "module/notify/engine_repeat_rule.h"

#include <cmath>

namespace {

bool WaitedLongEnough(const TRepeatLimits& limits, const TRepeatCase& c) {
  if (c.lastTime == 0) return true;
  // A clock set back makes the time since the last call negative: no call.
  const int64_t elapsed = c.now - c.lastTime;
  return elapsed > static_cast<int64_t>(static_cast<uint32_t>(limits.minTime));
}

bool BecameWorse(const TRepeatLimits& limits, const TRepeatCase& c) {
  if (c.rearmed) return true;
  if (c.higherIsWorse) return c.value - c.lastValue > limits.minChange;
  if (!(c.value < c.lastValue)) return false;
  return !c.needsMinChange || std::fabs(c.value - c.lastValue) > limits.minChange;
}

}  // namespace

bool IsRepeatDue(const TRepeatLimits& limits, const TRepeatCase& c) {
  return WaitedLongEnough(limits, c) && BecameWorse(limits, c);
}
