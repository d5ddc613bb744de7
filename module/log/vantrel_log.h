#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

#include <windows.h>

class TModuleSettings;

// The longest message a line keeps, a longer one cut: with the stamp and the
// line end a line stays within 1024 bytes.
constexpr std::size_t kLogMessageLength = 1000;

// "MM/DD/YY HH:MM:SS.mmm" of a local time.
std::string FormatLogStamp(const SYSTEMTIME& time);

// The module's log file, "VantrelFM.log" in a given folder (the host
// program's folder in the product). Lines are "<stamp> <message>", appended
// and flushed one by one. The trace log writes a line when the settings'
// TraceLogLevel is at least the line's level, the mail log when MailLogLevel
// is; level 0 settings write nothing. Logging never fails its caller: a line
// that cannot be written is lost.
class CVantrelLog {
 public:
  // The levels are read from settings at every call, so a change applies to
  // the next line.
  CVantrelLog(const std::string& folder, const TModuleSettings& settings);
  ~CVantrelLog();
  CVantrelLog(const CVantrelLog&) = delete;
  CVantrelLog& operator=(const CVantrelLog&) = delete;

  void TraceLog(int level, const char* format, ...)
      __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));
  void MailLog(int level, const char* format, ...)
      __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));
  // The same with the arguments already collected, for the module's own
  // variadic TraceLog and MailLog to pass on.
  void TraceLogV(int level, const char* format, va_list arguments);
  void MailLogV(int level, const char* format, va_list arguments);

  // Appends one line with the message as it stands ("%" is not expanded).
  void WriteLogLine(const char* text);

  // Empty when the folder is unknown.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  const TModuleSettings& m_settings;
  FILE* m_file;
};
