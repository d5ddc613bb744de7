// The moment the engine works with: real seconds for the waiting between
// calls, local wall-clock seconds for the schedules' days and times of day.
// The module takes it from the system clock; tests make their own.
#pragma once

#include <cstdint>

struct TEngineClock {
  int64_t seconds = 0;       // since 1970
  int64_t localSeconds = 0;  // the local date and time counted as if they were UTC
};

// False when the local time of seconds cannot be formed.
bool EngineClockAt(int64_t seconds, TEngineClock* clock);
