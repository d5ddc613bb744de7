#include "module/settings/body_templates.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const char kSection[] = "Vantrel";

struct BodyKind {
  int Kind;
  const char* Key;
  const char* FileName;
};

const BodyKind kBodyKinds[] = {
    {1, "LowFundsBody", "LowFundsBody"},
    {2, "SFRBody", "SFRBody"},
    {9, "SFRBody_fp", "SFRBodyFP"},
    {3, "CLGOBody", "CLGOBody"},
    {4, "ECLGOBody", "ECLGOBody"},
    {5, "MLBody", "MLBody"},
    {6, "UPBody", "UPBody"},
    {7, "ML2Body", "ML2Body"},
    {102, "SFRBody2", "SFRBody2"},
    {109, "SFRBody2_fp", "SFRBody2FP"},
    {107, "ML2Body2", "ML2Body2"},
};

struct BodyFileCase {
  const char* Bytes;
  const char* Body;
};

class BodyFileTest : public testing::TestWithParam<BodyFileCase> {};

TEST_P(BodyFileTest, LinesEndAtCarriageReturnsAndEmptyLinesAreSkipped) {
  CTempFolder folder;
  WriteFileBytes(folder.File("body"), GetParam().Bytes);
  EXPECT_EQ(ReadBodyTemplateFile(folder.File("body")), GetParam().Body);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BodyFileTest,
    testing::Values(BodyFileCase{"line1\r\n\r\nline2\r\n", "line1\nline2\n"},
                    BodyFileCase{"a\nb", "ab\n"}, BodyFileCase{"a\rb\r", "a\nb\n"},
                    BodyFileCase{"", ""}, BodyFileCase{"\r\n\r\n", ""},
                    BodyFileCase{"Уважаемый клиент %CLIENT%\r\nуровень %VALUE%",
                                 "Уважаемый клиент %CLIENT%\nуровень %VALUE%\n"}));

TEST(BodyTemplateFileTest, MissingFileGivesAnEmptyBody) {
  CTempFolder folder;
  EXPECT_EQ(ReadBodyTemplateFile(folder.File("absent")), "");
}

TEST(BodyTemplateFileTest, VeryLongLineIsKeptWhole) {
  CTempFolder folder;
  std::string line(30000, 'z');
  WriteFileBytes(folder.File("body"), line + "\r\nend");
  EXPECT_EQ(ReadBodyTemplateFile(folder.File("body")), line + "\nend\n");
}

TEST(BodyTemplateFileTest, EveryKindHasItsKeyAndFixedFileName) {
  for (const BodyKind& kind : kBodyKinds) {
    EXPECT_STREQ(BodyTemplateKey(kind.Kind), kind.Key);
    EXPECT_STREQ(BodyTemplateFileName(kind.Kind), kind.FileName);
  }
  EXPECT_EQ(BodyTemplateKey(8), nullptr);
  EXPECT_EQ(BodyTemplateFileName(108), nullptr);
}

TEST(BodyTemplateFileTest, WithoutFilesEveryBodyLoadsEmptyAndASaveWritesElevenFiles) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  TModuleSettings s;
  for (const BodyKind& kind : kBodyKinds) *s.BodyOfKind(kind.Kind) = "stale";
  s.ReadGeneralSettings(ini);
  for (const BodyKind& kind : kBodyKinds) EXPECT_EQ(*s.BodyOfKind(kind.Kind), "") << kind.Key;

  for (const BodyKind& kind : kBodyKinds)
    *s.BodyOfKind(kind.Kind) = std::string("body of ") + kind.Key + "\nsecond line\n";
  s.WriteGeneralSettings(ini);
  for (const BodyKind& kind : kBodyKinds) {
    EXPECT_EQ(ReadIniValue(ini, kSection, kind.Key), kind.FileName);
    // Text mode: each line break is stored as CR LF.
    EXPECT_EQ(ReadFileBytes(folder.File(kind.FileName)),
              std::string("body of ") + kind.Key + "\r\nsecond line\r\n");
  }
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
