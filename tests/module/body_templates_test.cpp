#include "module/settings/body_templates.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const char kSection[] = "Vantrel";

struct BodyFileCase { const char* Bytes; const char* Body; };

class BodyFileTest : public testing::TestWithParam<BodyFileCase> {};

TEST_P(BodyFileTest, LinesEndAtCarriageReturnsAndEmptyLinesAreSkipped) {
  CTempFolder folder;
  if (GetParam().Bytes) WriteFileBytes(folder.File("body"), GetParam().Bytes);
  EXPECT_EQ(ReadBodyTemplateFile(folder.File("body")), GetParam().Body);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BodyFileTest,
    testing::Values(BodyFileCase{"line1\r\n\r\nline2\r\n", "line1\nline2\n"},
                    BodyFileCase{"a\nb", "ab\n"}, BodyFileCase{"a\rb\r", "a\nb\n"},
                    BodyFileCase{"", ""}, BodyFileCase{"\r\n\r\n", ""},
                    BodyFileCase{nullptr, ""},
                    BodyFileCase{"Уважаемый клиент %CLIENT%\r\nуровень %VALUE%",
                                 "Уважаемый клиент %CLIENT%\nуровень %VALUE%\n"}));

TEST(BodyTemplateFileTest, TheOpenPositionKindsNameAKeyOtherThanTheirFile) {
  EXPECT_STREQ(BodyTemplateKey(9), "SFRBody_fp");
  EXPECT_STREQ(BodyTemplateKey(109), "SFRBody2_fp");
  EXPECT_STREQ(BodyTemplateKey(1), "LowFundsBody");
  EXPECT_EQ(BodyTemplateKey(8), nullptr);
  EXPECT_EQ(BodyTemplateFileName(108), nullptr);
}

TEST(BodyTemplateFileTest, BodyNamedByHandIsReadThenSavedUnderTheFixedName) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  WriteIniValue(ini, kSection, "SFRBody_fp", "Other");
  WriteFileBytes(folder.File("Other"), "from other\r\n");
  WriteFileBytes(folder.File("SFRBodyFP"), "from fixed\r\n");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.SFRBody_fp, "from other\n");
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SFRBody_fp"), "SFRBodyFP");
  EXPECT_EQ(ReadFileBytes(folder.File("SFRBodyFP")), "from other\r\n");
  EXPECT_EQ(ReadFileBytes(folder.File("Other")), "from other\r\n");
}

TEST(BodyTemplateFileTest, BodyFileThatCannotBeCreatedIsReportedAndTheKeyStillWritten) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  // A folder in the way of the body file.
  ASSERT_TRUE(CreateDirectoryA(folder.File("MLBody").c_str(), NULL));
  TModuleSettings s;
  s.MLBody = "text\n";
  EXPECT_FALSE(s.WriteBodyTemplate(5, ini));
  EXPECT_EQ(ReadIniValue(ini, kSection, "MLBody"), "MLBody");
  EXPECT_TRUE(s.WriteBodyTemplate(4, ini));
  EXPECT_FALSE(s.WriteBodyTemplate(8, ini));
}

}  // namespace
