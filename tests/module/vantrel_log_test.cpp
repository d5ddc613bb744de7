#include "module/log/mail_error_text.h"
#include "module/log/vantrel_log.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <regex>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
  return lines;
}

// The message of a log line, after the stamp "MM/DD/YY HH:MM:SS.mmm ".
std::string MessageOf(const std::string& line) {
  static const std::regex stamp(R"(^\d\d/\d\d/\d\d \d\d:\d\d:\d\d\.\d\d\d )");
  EXPECT_TRUE(std::regex_search(line, stamp)) << line;
  return line.size() >= 22 ? line.substr(22) : std::string();
}

class LogTest : public testing::Test {
 protected:
  std::string LogFile() const { return folder.File("VantrelFM.log"); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const std::string& line : LinesOf(ReadFileBytes(LogFile())))
      messages.push_back(MessageOf(line));
    return messages;
  }

  CTempFolder folder;
  TModuleSettings settings;
};

TEST(LogStampTest, IsMonthDayYearAndTimeWithMilliseconds) {
  SYSTEMTIME time = {};
  time.wYear = 2025;
  time.wMonth = 3;
  time.wDay = 14;
  time.wHour = 10;
  time.wMinute = 7;
  time.wSecond = 42;
  time.wMilliseconds = 51;
  EXPECT_EQ(FormatLogStamp(time), "03/14/25 10:07:42.051");
  time.wYear = 2100;
  time.wMonth = 12;
  time.wDay = 31;
  time.wHour = 23;
  time.wMinute = 59;
  time.wSecond = 59;
  time.wMilliseconds = 999;
  EXPECT_EQ(FormatLogStamp(time), "12/31/00 23:59:59.999");
}

TEST_F(LogTest, LivesInTheGivenFolder) {
  CVantrelLog log(folder.Path(), settings);
  EXPECT_EQ(log.Path(), LogFile());
}

TEST_F(LogTest, LevelZeroWritesNothingAndCreatesNoFile) {
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(1, "Module initialized. Reading settings finished.");
  log.MailLog(1, "ZMLStart called.");
  EXPECT_FALSE(FileExists(LogFile()));
}

struct LevelCase {
  int TraceLevel;
  int MailLevel;
  std::vector<std::string> Expected;
};

class LogLevelTest : public testing::TestWithParam<LevelCase> {};

TEST_P(LogLevelTest, LineIsWrittenWhenTheSettingReachesItsLevel) {
  CTempFolder folder;
  TModuleSettings settings;
  settings.TraceLogLevel = GetParam().TraceLevel;
  settings.MailLogLevel = GetParam().MailLevel;
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(1, "trace %d", 1);
  log.TraceLog(2, "trace %d", 2);
  log.TraceLog(3, "trace %d", 3);
  log.MailLog(1, "mail %d", 1);
  log.MailLog(2, "mail %d", 2);
  std::vector<std::string> messages;
  for (const std::string& line : LinesOf(ReadFileBytes(folder.File("VantrelFM.log"))))
    messages.push_back(MessageOf(line));
  EXPECT_EQ(messages, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, LogLevelTest,
    testing::Values(LevelCase{1, 0, {"trace 1"}}, LevelCase{2, 0, {"trace 1", "trace 2"}},
                    LevelCase{3, 2, {"trace 1", "trace 2", "trace 3", "mail 1", "mail 2"}},
                    LevelCase{0, 1, {"mail 1"}}, LevelCase{-1, -1, {}},
                    LevelCase{9, 9, {"trace 1", "trace 2", "trace 3", "mail 1", "mail 2"}}));

TEST_F(LogTest, LevelChangesApplyToTheNextLine) {
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(1, "before");
  settings.TraceLogLevel = 1;
  log.TraceLog(1, "after");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"after"}));
}

TEST_F(LogTest, LinesAreFlushedAtOnceAndAppendedAcrossRestarts) {
  settings.TraceLogLevel = 1;
  WriteFileBytes(LogFile(), "older line\r\n");
  {
    CVantrelLog log(folder.Path(), settings);
    log.TraceLog(1, "first run");
    // Another reader sees the line while the log is still open.
    std::string bytes = ReadFileBytes(LogFile());
    EXPECT_NE(bytes.find("first run\r\n"), std::string::npos);
  }
  {
    CVantrelLog log(folder.Path(), settings);
    log.TraceLog(1, "second run");
  }
  std::vector<std::string> lines = LinesOf(ReadFileBytes(LogFile()));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "older line");
  EXPECT_EQ(MessageOf(lines[1]), "first run");
  EXPECT_EQ(MessageOf(lines[2]), "second run");
}

TEST_F(LogTest, StampIsTheCurrentLocalTime) {
  settings.TraceLogLevel = 1;
  CVantrelLog log(folder.Path(), settings);
  SYSTEMTIME before;
  GetLocalTime(&before);
  log.TraceLog(1, "now");
  std::vector<std::string> lines = LinesOf(ReadFileBytes(LogFile()));
  ASSERT_EQ(lines.size(), 1u);
  // Date and hour:minute agree with the clock (a minute may have turned).
  std::string expected = FormatLogStamp(before).substr(0, 14);
  SYSTEMTIME after;
  GetLocalTime(&after);
  std::string expectedAfter = FormatLogStamp(after).substr(0, 14);
  std::string actual = lines[0].substr(0, 14);
  EXPECT_TRUE(actual == expected || actual == expectedAfter) << lines[0];
}

TEST_F(LogTest, FormattedPercentSignsAreWrittenUnchanged) {
  settings.TraceLogLevel = 2;
  settings.MailLogLevel = 2;
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(2, "Checking risk params for %s", "C%d%s%n");
  log.MailLog(2, "Recipient's address: %s, cc: %s", "a%x@x.ru", "b@y.ru");
  log.WriteLogLine("100% done %s");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Checking risk params for C%d%s%n",
                                                  "Recipient's address: a%x@x.ru, cc: b@y.ru",
                                                  "100% done %s"}));
}

TEST_F(LogTest, LongMessageIsCutTo1000Characters) {
  settings.TraceLogLevel = 1;
  CVantrelLog log(folder.Path(), settings);
  std::string text(5000, 'm');
  log.TraceLog(1, "ERROR: %s", text.c_str());
  log.WriteLogLine(text.c_str());
  std::vector<std::string> messages = Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "ERROR: " + std::string(993, 'm'));
  EXPECT_EQ(messages[1], std::string(1000, 'm'));
}

TEST_F(LogTest, RussianTextIsWrittenInCodePage1251) {
  settings.TraceLogLevel = 1;
  CVantrelLog log(folder.Path(), settings);
  log.TraceLog(1, "%s", "Ошибка");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"\xCE\xF8\xE8\xE1\xEA\xE0"}));
}

TEST_F(LogTest, UnknownFolderOrUnwritableFileLosesTheLineQuietly) {
  settings.TraceLogLevel = 1;
  CVantrelLog nowhere("", settings);
  EXPECT_EQ(nowhere.Path(), "");
  nowhere.TraceLog(1, "lost");

  CVantrelLog missing(folder.File("no such folder"), settings);
  missing.TraceLog(1, "lost too");

  // Once the folder exists the next line gets through.
  ASSERT_TRUE(CreateDirectoryA(folder.File("no such folder").c_str(), NULL));
  missing.TraceLog(1, "arrived");
  std::vector<std::string> lines =
      LinesOf(ReadFileBytes(folder.File("no such folder\\VantrelFM.log")));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(MessageOf(lines[0]), "arrived");
}

// How the module's own variadic log operations pass their arguments on.
void ModuleTraceLog(CVantrelLog& log, int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  log.TraceLogV(level, format, arguments);
  va_end(arguments);
}

void ModuleMailLog(CVantrelLog& log, int level, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  log.MailLogV(level, format, arguments);
  va_end(arguments);
}

TEST_F(LogTest, ArgumentsPassedOnByTheModuleAreFormattedAndFiltered) {
  settings.TraceLogLevel = 2;
  settings.MailLogLevel = 1;
  CVantrelLog log(folder.Path(), settings);
  ModuleTraceLog(log, 2, "Margin call %d for %s: %.2f", 2, "C001", 0.456);
  ModuleTraceLog(log, 3, "Checking risk params for %s", "C001");
  ModuleMailLog(log, 1, "ZMail error: %s", "timeout");
  ModuleMailLog(log, 2, "Recipient's address: %s", "a@x.ru");
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Margin call 2 for C001: 0.46", "ZMail error: timeout"}));
}

TEST(MailErrorTextTest, HintDependsOnTheError) {
  const std::string intro = "При попытке отправить уведомление по e-mail, произошла ошибка:\n\n";
  EXPECT_EQ(MailErrorUserText("535 AUTH LOGIN failed"),
            intro + "535 AUTH LOGIN failed\n\nНеверные параметры авторизации на сервере");
  EXPECT_EQ(
      MailErrorUserText("AUTH required"),
      intro + "AUTH required\n\nОбратитесь к системному администратору, сообщив ему код ошибки.");
  EXPECT_EQ(MailErrorUserText("Socket: Not connected"), "");
  EXPECT_EQ(
      MailErrorUserText("auth login"),
      intro + "auth login\n\nОбратитесь к системному администратору, сообщив ему код ошибки.");
}

}  // namespace
