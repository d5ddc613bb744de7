#include "module/notify/message_file.h"
#include "module/temp_folder.h"

#include <gtest/gtest.h>

namespace {

const SYSTEMTIME kTime = {2026, 12, 0, 6, 9, 5, 3, 0};  // 06.12.2026 09:05:03

TEST(MessageFileTest, NamesAndDirectories) {
  EXPECT_EQ(MessageFileName(kTime, 1, "C1"), "Msg202612060905030001-C1.txt");
  EXPECT_EQ(MessageFileName(kTime, 9999999, "C1"), "Msg202612060905039999999-C1.txt");
  const std::pair<std::string, std::string> codes[] = {
      {"..\\..\\evil", "______evil"}, {"a/b:c*?\"<>|d", "a_b_c______d"}, {"C.1\t", "C.1_"}};
  for (const auto& c : codes) EXPECT_EQ(FileNameSafeCode(c.first), c.second) << c.first;
  EXPECT_EQ(MessageFileDirectories("C:\\a;;D:\\b\\;"),
            (std::vector<std::string>{"C:\\a\\", "D:\\b\\"}));
  EXPECT_EQ(MessageFileContent({5, -6}, "line1\nline2\n"), "UID=5, -6\r\nline1\r\nline2\r\n\r\n");
  EXPECT_EQ(MessageFileContent({}, ""), "UID=\r\n\r\n");
  EXPECT_EQ(MessageFileContent({5}, "by hand\r\nline2\nline3\r\n"), "UID=5\r\nby hand\r\nline2\r\nline3\r\n\r\n")
      << "a line end of a text edited by hand is not widened again";
}

// Two calls of one second into a directory whose first name is taken by an
// old file and one whose first name is held open by a reader; the setting
// also names a directory that is missing.
TEST(MessageFileTest, EachCallGetsANewFileInEveryDirectory) {
  CTempFolder folder;
  const std::string one = folder.File("one") + "\\", two = folder.File("two") + "\\";
  ASSERT_TRUE(CreateDirectoryA(one.c_str(), nullptr) && CreateDirectoryA(two.c_str(), nullptr));
  const std::string first = "Msg202612060905030000-___C1.txt";
  WriteFileBytes(one + first, "old");
  HANDLE held = CreateFileA((two + first).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string setting = folder.File("one") + ";;" + two + ";" + folder.File("missing");
  const std::string missing = "\"" + folder.File("missing") + "\\\" (does not exist)";
  for (int call = 1; call <= 2; ++call) {
    const std::string content = "UID=" + std::to_string(call) + "\r\n";
    const TMessageFileOutcome outcome = WriteMessageFiles(setting, kTime, "..\\C1", content);
    const std::string name = "Msg20261206090503000" + std::to_string(call) + "-___C1.txt";
    EXPECT_EQ(outcome.Written, (std::vector<std::string>{one + name, two + name}));
    EXPECT_EQ(outcome.Failed, std::vector<std::string>{missing});
    EXPECT_EQ(ReadFileBytes(one + name), content);
    EXPECT_EQ(ReadFileBytes(two + name), content);
  }
  const TMessageFileOutcome tooLong = WriteMessageFiles(one, kTime, std::string(300, 'C'), "x");
  EXPECT_TRUE(tooLong.Written.empty());
  EXPECT_EQ(tooLong.Failed.at(0).rfind("\"" + one + "\" (system error ", 0), 0u);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(one + first), "old");
  EXPECT_EQ(ReadFileBytes(two + first), "");
}

}  // namespace
