#include "module/log/mail_error_text.h"
#include "module/log/naming_lines.h"
#include "module/log/vantrel_log.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <regex>
#include <vector>

namespace {

// The messages of a log file's lines, each "MM/DD/YY HH:MM:SS.mmm <message>" CR LF.
std::vector<std::string> Messages(const std::string& path) {
  static const std::regex line(R"((\d\d/\d\d/\d\d \d\d:\d\d:\d\d\.\d\d\d (.*)|older line)\r\n)");
  std::vector<std::string> messages;
  std::string bytes = ReadFileBytes(path);
  std::smatch found;
  while (std::regex_search(bytes, found, line, std::regex_constants::match_continuous)) {
    messages.push_back(found[2].matched ? found[2].str() : found[1].str());
    bytes = found.suffix();
  }
  EXPECT_EQ(bytes, "") << "not a log line";
  return messages;
}

// How the module's own variadic log operations pass their arguments on.
void ModuleLog(CVantrelLog& log, bool mail, int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  mail ? log.MailLogV(level, format, arguments) : log.TraceLogV(level, format, arguments);
  va_end(arguments);
}

TEST(LogStampTest, IsMonthDayYearAndTimeWithMilliseconds) {
  EXPECT_EQ(FormatLogStamp({2025, 3, 5, 14, 10, 7, 42, 51}), "03/14/25 10:07:42.051");
  EXPECT_EQ(FormatLogStamp({2100, 12, 5, 31, 23, 59, 59, 999}), "12/31/00 23:59:59.999");
}

TEST(LogTest, LineIsWrittenWhenTheSettingReachesItsLevel) {
  struct Case { int traceLevel, mailLevel; std::vector<std::string> expected; };
  const Case cases[] = {
      {0, 0, {}}, {-1, -1, {}}, {1, 0, {"trace 1"}}, {2, 0, {"trace 1", "trace 2", "module 0.46"}},
      {0, 1, {"mail 1"}},
      {3, 2, {"trace 1", "trace 2", "trace 3", "mail 1", "mail 2", "module 0.46"}}};
  for (const Case& c : cases) {
    CTempFolder folder;
    TModuleSettings settings;
    settings.TraceLogLevel = c.traceLevel, settings.MailLogLevel = c.mailLevel;
    CVantrelLog log(folder.Path(), settings);
    EXPECT_EQ(log.Path(), folder.File("VantrelFM.log"));
    for (int level = 1; level <= 3; ++level) log.TraceLog(level, "trace %d", level);
    ModuleLog(log, true, 1, "mail %d", 1);
    ModuleLog(log, true, 2, "mail %s", "2");
    ModuleLog(log, false, 2, "module %.2f", 0.456);
    EXPECT_EQ(Messages(log.Path()), c.expected) << c.traceLevel << " " << c.mailLevel;
    EXPECT_EQ(FileExists(log.Path()), !c.expected.empty());
  }
}

TEST(LogTest, LinesAreFlushedAtOnceAndAppendedAcrossRestarts) {
  CTempFolder folder;
  TModuleSettings settings;
  std::string path = folder.File("VantrelFM.log");
  WriteFileBytes(path, "older line\r\n");
  {
    CVantrelLog log(folder.Path(), settings);
    log.TraceLog(1, "not yet");
    settings.TraceLogLevel = 1;  // applies to the next line
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    log.TraceLog(1, "first run");
    GetLocalTime(&after);
    std::string bytes = ReadFileBytes(path);  // seen while the log is open
    EXPECT_NE(bytes.find("first run\r\n"), std::string::npos);
    // Date and hour:minute agree with the clock (a minute may have turned).
    std::string stamp = bytes.substr(12, 14);
    EXPECT_TRUE(stamp == FormatLogStamp(before).substr(0, 14) ||
                stamp == FormatLogStamp(after).substr(0, 14))
        << stamp;
  }
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(1, "%s", "second run, Ошибка");
  log.WriteLogLine("100% done %s");
  const std::string text(5000, 'm');  // messages are cut to 1000 characters
  log.TraceLog(1, "ERROR: %s", text.c_str());
  log.WriteLogLine(text.c_str());
  EXPECT_EQ(Messages(path),
            (std::vector<std::string>{"older line", "first run",
                                      "second run, \xCE\xF8\xE8\xE1\xEA\xE0",
                                      "100% done %s", "ERROR: " + text.substr(0, 993),
                                      text.substr(0, 1000)}));
}

TEST(LogTest, UnknownFolderOrUnwritableFileLosesTheLineQuietly) {
  CTempFolder folder;
  TModuleSettings settings;
  settings.TraceLogLevel = 1;
  CVantrelLog("", settings).TraceLog(1, "lost");
  CVantrelLog missing(folder.File("later"), settings);
  missing.TraceLog(1, "lost too");
  ASSERT_TRUE(CreateDirectoryA(folder.File("later").c_str(), NULL));
  missing.TraceLog(1, "arrived");
  EXPECT_EQ(Messages(missing.Path()), std::vector<std::string>{"arrived"});
}

// However many names a line must carry, the log keeps every one of them,
// in order: a list too long for one line goes on in the next.
TEST(LogNamesTest, EveryNameReachesTheFile) {
  TModuleSettings settings;
  const struct {
    int names;
    std::vector<std::string> lines;  // as written, for the short lists
    size_t lineCount;
  } rows[] = {{0, {}, 0}, {1, {"not sent to C1000."}, 1}, {2, {"not sent to C1000, C1001x."}, 1},
              {300, {}, 4}};
  for (const auto& row : rows) {
    std::vector<std::string> names;
    for (int n = 0; n < row.names; ++n) names.push_back("C" + std::to_string(1000 + n) + std::string(n % 7, 'x'));
    CTempFolder folder;
    CVantrelLog log(folder.Path(), settings);
    const std::vector<std::string> lines = LinesNaming("not sent to ", names, ".");
    for (const std::string& line : lines) log.TraceLog(0, "%s", line.c_str());
    const std::vector<std::string> written = lines.empty() ? std::vector<std::string>() : Messages(log.Path());
    EXPECT_EQ(written.size(), row.lineCount) << row.names;
    if (!row.lines.empty()) EXPECT_EQ(written, row.lines);
    std::string named;
    for (const std::string& line : written) {
      ASSERT_EQ(line.rfind("not sent to ", 0), 0u) << line;
      ASSERT_EQ(line.back(), '.') << line;
      named += (named.empty() ? "" : ", ") + line.substr(12, line.size() - 13);
    }
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : ", ") + name;
    EXPECT_EQ(named, all) << row.names;
  }
}

TEST(MailErrorTextTest, HintDependsOnTheError) {
  const std::string intro = "При попытке отправить уведомление по e-mail, произошла ошибка:\n\n";
  const std::string admin = "\n\nОбратитесь к системному администратору, сообщив ему код ошибки.";
  EXPECT_EQ(MailErrorUserText("535 AUTH LOGIN failed"),
            intro + "535 AUTH LOGIN failed\n\nНеверные параметры авторизации на сервере");
  EXPECT_EQ(MailErrorUserText("AUTH required"), intro + "AUTH required" + admin);
  EXPECT_EQ(MailErrorUserText("auth login"), intro + "auth login" + admin);
  EXPECT_EQ(MailErrorUserText("Socket: Not connected"), "");
}

}  // namespace
