#include "sdk/packed_dates.h"

#include <commctrl.h>

#include <cstdio>

namespace {
char g_packedDateText[64];
char g_packedTimeText[64];

// Days since 1970-01-01 of a civil date; months outside 1..12 carry into
// the year and days count on from the first of the month, as mktime does.
long long DaysFromCivil(long long year, long long month, long long day) {
  month -= 1;
  year += month >= 0 ? month / 12 : (month - 11) / 12;
  month = ((month % 12) + 12) % 12 + 1;
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

long long PackedFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const long long month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2);
  return year * 10000 + month * 100 + day;
}

long long DaysOfPacked(long date) { return DaysFromCivil(date / 10000, (date / 100) % 100, date % 100); }
}  // namespace

void FormatFileTime(char* buffer, size_t size, const FILETIME& fileTime, bool date) {
  if (buffer == nullptr || size == 0) return;
  SYSTEMTIME time;
  if (!FileTimeToSystemTime(&fileTime, &time)) {
    buffer[0] = 0;
    return;
  }
  if (date)
    std::snprintf(buffer, size, "%02ld.%02ld.%04ld", long(time.wDay), long(time.wMonth), long(time.wYear));
  else
    std::snprintf(buffer, size, "%02ld:%02ld:%02ld", long(time.wHour), long(time.wMinute), long(time.wSecond));
}

void FormatPackedDate(char* buffer, size_t size, long date) {
  if (buffer == nullptr || size == 0) return;
  std::snprintf(buffer, size, "%02ld.%02ld.%04ld", date % 100, (date / 100) % 100, date / 10000);
}

void FormatPackedTime(char* buffer, size_t size, long time) {
  if (buffer == nullptr || size == 0) return;
  std::snprintf(buffer, size, "%02ld:%02ld:%02ld", time / 10000, (time / 100) % 100, time % 100);
}

const char* FormatPackedDateText(long date) {
  FormatPackedDate(g_packedDateText, sizeof g_packedDateText, date);
  return g_packedDateText;
}

const char* FormatPackedTimeText(long time) {
  FormatPackedTime(g_packedTimeText, sizeof g_packedTimeText, time);
  return g_packedTimeText;
}

long TodayPacked() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return (long(now.wYear) * 100 + now.wMonth) * 100 + now.wDay;
}

long NowPacked() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return (long(now.wHour) * 100 + now.wMinute) * 100 + now.wSecond;
}

long DaysBetween(long date1, long date2) {
  return static_cast<long>(DaysOfPacked(date2) - DaysOfPacked(date1));
}

long AddDays(long date, long days) {
  const long long result = PackedFromDays(DaysOfPacked(date) + days);
  if (result < 19700101LL || result > 99991231LL) return date;
  return static_cast<long>(result);
}

void SetDlgItemDate(HWND dialog, int controlId, long date) {
  HWND picker = GetDlgItem(dialog, controlId);
  SYSTEMTIME time;
  GetSystemTime(&time);
  if (date == 0 && (GetWindowLongA(picker, GWL_STYLE) & DTS_SHOWNONE)) {
    // "None" needs no time, yet some pickers refuse it without one.
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
    return;
  }
  time.wYear = static_cast<WORD>(date / 10000);
  time.wMonth = static_cast<WORD>((date / 100) % 100);
  time.wDay = static_cast<WORD>(date % 100);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

long GetDlgItemDate(HWND dialog, int controlId) {
  SYSTEMTIME time = {};
  const LRESULT result =
      SendMessageA(GetDlgItem(dialog, controlId), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  if (result != GDT_VALID) return 0;
  return (long(time.wYear) * 100 + time.wMonth) * 100 + time.wDay;
}

FILETIME MakeFileTime(long date, long time) {
  SYSTEMTIME moment = {};
  GetSystemTime(&moment);
  if (date >= 1) {
    moment.wYear = static_cast<WORD>(date / 10000);
    moment.wMonth = static_cast<WORD>(date / 100 % 100);
    moment.wDay = static_cast<WORD>(date % 100);
  }
  moment.wHour = static_cast<WORD>(time / 10000);
  moment.wMinute = static_cast<WORD>(time / 100 % 100);
  moment.wSecond = static_cast<WORD>(time % 100);
  moment.wMilliseconds = 0;
  moment.wDayOfWeek = 0;
  FILETIME fileTime = {};
  if (!SystemTimeToFileTime(&moment, &fileTime)) fileTime = FILETIME{};
  return fileTime;
}
