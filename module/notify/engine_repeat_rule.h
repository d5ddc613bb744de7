// Whether a client whose level stays broken gets a further margin call of a
// kind: the first call goes out at once; a further one only after MinTime
// seconds and only when the value has become worse than the last sent one by
// more than MinParamChange.
#pragma once

#include <cstdint>

struct TRepeatLimits {
  int minTime = 0;  // seconds; taken as unsigned, so a negative one waits "for ever"
  double minChange = 0.0;
};

struct TRepeatCase {
  int64_t now = 0;
  int64_t lastTime = 0;  // 0: nothing sent yet
  double value = 0.0;
  double lastValue = 0.0;
  bool rearmed = true;  // nothing sent since the level was last safe: lastValue means nothing
  bool higherIsWorse = false;  // the level is broken from below (cash leverage)
  bool needsMinChange = true;
};

bool IsRepeatDue(const TRepeatLimits& limits, const TRepeatCase& c);
