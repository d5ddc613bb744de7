#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One time of day in a notification or auto-close schedule.
struct TScheduleEntry {
  // Minutes after local midnight: hour * 60 + minute (hours up to 24 are accepted).
  int Minutes = 0;
  // The time had already passed when the schedule was parsed, or the entry has fired.
  bool Passed = false;
  // Time of the last firing; 0 = never.
  std::int64_t LastFiring = 0;
  // Auto-close entries only: the closing pattern to apply and whether it
  // applies to all clients; 0 elsewhere.
  int PatternIndex = 0;
  int AllClients = 0;
};

typedef std::vector<TScheduleEntry> ScheduleList;

// Whether an entry has fired, and when, belongs to the running plug-in, not
// to its settings. A settings dialog edits a copy taken when it opened (the
// notification dialog even parses its schedules into new entries), so the
// copy's marks are blank or stale when OK puts it in force: an entry that
// went out today would go out again, one that fired while the dialog was
// open would be rolled back. Each edited entry takes Passed and LastFiring
// from the live entry at the same time of day, equal times matched one to
// one in their order; one left without (its time changed, or added) is new
// to the run and has never fired, its Passed as the dialog made it.
void KeepFiringMarks(ScheduleList& edited, const ScheduleList& live);

// Parses a notification schedule text such as "09:30, 14:00". Entries whose
// time of day lies before nowMinutes are marked passed. Returns false, leaving
// out untouched, when an item is not "hour:minute" with hour 0..24 and minute
// 0..59.
bool ParseScheduleList(const std::string& text, int nowMinutes, ScheduleList& out);

// The schedule as "HH:MM, HH:MM"; empty for an empty schedule.
std::string FormatScheduleList(const ScheduleList& schedule);

// Scans "hour:minute" (blanks allowed before each number) at the start of text.
// Returns false when the text does not begin with two such numbers; end,
// when given, takes where the minute ends.
bool ScanHourMinute(const char* text, int* hour, int* minute, const char** end = nullptr);

// "HH:MM" of a time of day in minutes.
std::string FormatHourMinute(int minutes);

// The current local time of day as hour * 60 + minute.
int LocalMinutesNow();
