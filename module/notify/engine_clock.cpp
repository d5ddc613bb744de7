#include "module/notify/engine_clock.h"

#include <ctime>

namespace {

// Days from 1970-01-01 to a date of the Gregorian calendar from 1970 on.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2;  // the year counted from March, so that a leap day comes last
  const int64_t era = year / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

bool EngineClockAt(int64_t seconds, TEngineClock* clock) {
  __time64_t time = seconds;
  const std::tm* local = _localtime64(&time);
  if (local == nullptr) return false;
  clock->seconds = seconds;
  clock->localSeconds =
      DaysFromCivil(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday) * 86400 +
      local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
  return true;
}
