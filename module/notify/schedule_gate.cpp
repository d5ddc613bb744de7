#include "module/notify/schedule_gate.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t DayOf(int64_t localSeconds) { return localSeconds / kSecondsPerDay; }

int MinutesOf(int64_t localSeconds) {
  return static_cast<int>(localSeconds % kSecondsPerDay / 60);
}

bool FiredOn(const TScheduleEntry& entry, int64_t day) {
  return entry.LastFiring != 0 && DayOf(entry.LastFiring) == day;
}

}  // namespace

int FireNextDueEntry(ScheduleList& entries, int64_t startLocal, int64_t nowLocal) {
  const int64_t today = DayOf(nowLocal);
  const int64_t startDay = DayOf(startLocal);
  if (today < startDay) return -1;
  const int nowMinutes = MinutesOf(nowLocal);
  // Times earlier than the start are skipped on the start's own date only.
  const int earliest = today == startDay ? MinutesOf(startLocal) : 0;
  for (TScheduleEntry& entry : entries) {
    if (entry.Minutes < earliest || entry.Minutes > nowMinutes || FiredOn(entry, today)) continue;
    entry.Passed = true;
    entry.LastFiring = nowLocal;
    return static_cast<int>(&entry - entries.data());
  }
  return -1;
}
