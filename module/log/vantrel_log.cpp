#include "module/log/vantrel_log.h"
#include "module/settings/module_settings.h"
#include "module/settings/settings_paths.h"

#include <share.h>

#include <cstdarg>

namespace {

// Formats a message into a buffer that cuts it to the longest message.
void WriteFormatted(CVantrelLog& log, const char* format, va_list arguments) {
  char message[kLogMessageLength + 1];
  std::vsnprintf(message, sizeof(message), format, arguments);
  log.WriteLogLine(message);
}

}  // namespace

std::string FormatLogStamp(const SYSTEMTIME& time) {
  char stamp[64];
  std::snprintf(stamp, sizeof(stamp), "%02u/%02u/%02u %02u:%02u:%02u.%03u",
                static_cast<unsigned>(time.wMonth), static_cast<unsigned>(time.wDay),
                static_cast<unsigned>(time.wYear % 100), static_cast<unsigned>(time.wHour),
                static_cast<unsigned>(time.wMinute), static_cast<unsigned>(time.wSecond),
                static_cast<unsigned>(time.wMilliseconds));
  return stamp;
}

CVantrelLog::CVantrelLog(const std::string& folder, const TModuleSettings& settings)
    : m_path(folder.empty() ? std::string() : JoinPath(folder, "VantrelFM.log")),
      m_settings(settings),
      m_file(nullptr) {}

CVantrelLog::~CVantrelLog() {
  if (m_file != nullptr) std::fclose(m_file);
}

void CVantrelLog::TraceLog(int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  TraceLogV(level, format, arguments);
  va_end(arguments);
}

void CVantrelLog::MailLog(int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  MailLogV(level, format, arguments);
  va_end(arguments);
}

void CVantrelLog::TraceLogV(int level, const char* format, va_list arguments) {
  if (m_settings.TraceLogLevel >= level) WriteFormatted(*this, format, arguments);
}

void CVantrelLog::MailLogV(int level, const char* format, va_list arguments) {
  if (m_settings.MailLogLevel >= level) WriteFormatted(*this, format, arguments);
}

void CVantrelLog::WriteLogLine(const char* text) {
  if (m_file == nullptr) {
    if (m_path.empty()) return;
    // Append in text mode and let other readers and writers share the file.
    m_file = _fsopen(m_path.c_str(), "a", _SH_DENYNO);
    if (m_file == nullptr) return;
  }
  // One reading of the clock, so the stamp's parts always agree.
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string message(text);
  if (message.size() > kLogMessageLength) message.resize(kLogMessageLength);
  std::fprintf(m_file, "%s %s\n", FormatLogStamp(now).c_str(), message.c_str());
  std::fflush(m_file);
}
