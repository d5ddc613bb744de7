#include "module/settings/schedule_entry.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// strtol that refuses a missing number and a value beyond int.
bool ScanInt(const char* text, const char** end, int* value) {
  char* stop = nullptr;
  errno = 0;
  long number = std::strtol(text, &stop, 10);
  if (stop == text) return false;
  if (errno == ERANGE || number < INT_MIN || number > INT_MAX)
    number = number < 0 ? INT_MIN : INT_MAX;
  *value = static_cast<int>(number);
  *end = stop;
  return true;
}

}  // namespace

bool ScanHourMinute(const char* text, int* hour, int* minute, const char** end) {
  const char* cursor = text;
  if (!ScanInt(cursor, &cursor, hour) || *cursor != ':') return false;
  if (!ScanInt(cursor + 1, &cursor, minute)) return false;
  if (end != nullptr) *end = cursor;
  return true;
}

bool ParseScheduleList(const std::string& text, int nowMinutes, ScheduleList& out) {
  ScheduleList parsed;
  if (!text.empty()) {
    const char* cursor = text.c_str();
    for (;;) {
      if (*cursor == ',') ++cursor;
      int hour = 0;
      int minute = 0;
      if (!ScanHourMinute(cursor, &hour, &minute)) return false;
      if (hour < 0 || hour > 24 || minute < 0 || minute > 59) return false;
      TScheduleEntry entry;
      entry.Minutes = hour * 60 + minute;
      entry.Passed = nowMinutes > entry.Minutes;
      parsed.push_back(entry);
      cursor = std::strchr(cursor, ',');
      if (cursor == nullptr) break;
    }
  }
  out.swap(parsed);
  return true;
}

void KeepFiringMarks(ScheduleList& edited, const ScheduleList& live) {
  std::vector<bool> matched(live.size(), false);
  for (TScheduleEntry& entry : edited) {
    entry.LastFiring = 0;
    for (std::size_t i = 0; i < live.size(); ++i) {
      if (matched[i] || live[i].Minutes != entry.Minutes) continue;
      matched[i] = true;
      entry.Passed = live[i].Passed;
      entry.LastFiring = live[i].LastFiring;
      break;
    }
  }
}

std::string FormatHourMinute(int minutes) {
  char text[32];
  std::snprintf(text, sizeof(text), "%02d:%02d", minutes / 60, minutes % 60);
  return text;
}

std::string FormatScheduleList(const ScheduleList& schedule) {
  std::string text;
  for (const TScheduleEntry& entry : schedule) {
    if (!text.empty()) text += ", ";
    text += FormatHourMinute(entry.Minutes);
  }
  return text;
}

int LocalMinutesNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour * 60 + now.wMinute;
}
