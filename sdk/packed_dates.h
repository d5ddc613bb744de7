// Dates and times packed into integers: YYYYMMDD and HHMMSS.
#pragma once

#include <windows.h>

#include <cstddef>

void FormatFileTime(char* buffer, size_t size, const FILETIME& fileTime, bool date);
void FormatPackedDate(char* buffer, size_t size, long date);
void FormatPackedTime(char* buffer, size_t size, long time);
// Into static buffers that the next call overwrites.
const char* FormatPackedDateText(long date);
const char* FormatPackedTimeText(long time);

long TodayPacked();
long NowPacked();
// Calendar days from the first date to the second.
long DaysBetween(long date1, long date2);
// The date moved by whole calendar days; a result before 1970 or past 9999
// keeps the date unchanged.
long AddDays(long date, long days);

void SetDlgItemDate(HWND dialog, int controlId, long date);
long GetDlgItemDate(HWND dialog, int controlId);
