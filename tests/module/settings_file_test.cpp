#include "module/settings/body_templates.h"
#include "module/settings/settings_file.h"
#include "case_table.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

// The expected info.ini files under golden/ are written by hand from the key
// tables of the settings file: names, sections, formats and file defaults.
namespace {

std::string Golden(const char* name) {
  std::string bytes = ReadFileBytes(std::string(VANTREL_GOLDEN_DIR) + "/" + name);
  if (bytes.empty()) ADD_FAILURE() << "no golden file " << name;
  return bytes;
}

// The lines of an info.ini without CR (a checkout may hold LF where the
// profile functions write CR LF) and without the blank lines between sections,
// which are theirs to place. On a mismatch the test shows a line diff.
std::string Lines(const std::string& text) {
  std::string lines;
  for (std::size_t at = 0; at < text.size(); ++at)
    if (text[at] != '\r' && !(text[at] == '\n' && (lines.empty() || lines.back() == '\n')))
      lines += text[at];
  return lines;
}

struct Records {
  TModuleSettings general;
  TTransportSettings transport;
  TCalcSettings calc;
  TClosingSettings closing;

  bool Load(const CSettingsFile& file) { return file.Load(general, transport, calc, closing); }
  bool Save(const CSettingsFile& file) const {
    return file.Save(general, transport, calc, closing);
  }
};

// Each body template in its fixed file; the text is "<file> body" on two lines.
const std::pair<int, const char*> kBodyFiles[] = {
    {1, "LowFundsBody"}, {2, "SFRBody"}, {9, "SFRBodyFP"},   {3, "CLGOBody"},
    {4, "ECLGOBody"},    {5, "MLBody"},  {6, "UPBody"},      {7, "ML2Body"},
    {102, "SFRBody2"},   {109, "SFRBody2FP"}, {107, "ML2Body2"}};

std::string BodyText(const char* file, const char* lineEnd) {
  return std::string(file) + lineEnd + "body" + lineEnd;
}

class SettingsFileTest : public testing::Test {
 protected:
  CTempFolder folder;
  CSettingsFile file{folder.Path()};
};

// Every stored field of info_saved.ini holds a value of its own, so a key read
// into another field, misspelt or saved in another format shows.
TEST_F(SettingsFileTest, EveryKeyIsReadIntoItsOwnFieldAndSavedInItsFormat) {
  WriteFileBytes(file.Path(), Golden("info_saved.ini"));
  for (auto& body : kBodyFiles)
    WriteFileBytes(folder.File(body.second), BodyText(body.second, "\r\n"));
  Records loaded;
  ASSERT_TRUE(loaded.Load(file));
  EXPECT_FALSE(loaded.general.NotificationsOn);  // NotifEnabledAtStart=0
  for (auto& body : kBodyFiles)
    EXPECT_EQ(*loaded.general.BodyOfKind(body.first), BodyText(body.second, "\n"));
  CTempFolder other;
  ASSERT_TRUE(loaded.Save(CSettingsFile(other.Path())));
  EXPECT_EQ(Lines(Golden("info_saved.ini")), Lines(ReadFileBytes(other.File("info.ini"))));
  for (auto& body : kBodyFiles) {  // written in text mode
    EXPECT_EQ(ReadFileBytes(other.File(body.second)), BodyText(body.second, "\r\n"));
    EXPECT_STREQ(BodyTemplateFileName(body.first), body.second);
  }
}

// A file kept in UTF-16 (either byte order) stays so and takes the values.
TEST_F(SettingsFileTest, AWideFileStaysWide) {
  for (const std::string mark : {"\xFF\xFE", "\xFE\xFF"}) {
    std::string bytes = mark;
    for (char c : std::string("[Vantrel]\r\nRecalcRiskParamsInterval=2500\r\n"))
      bytes += mark[0] == '\xFF' ? std::string{c, '\0'} : std::string{'\0', c};
    WriteFileBytes(file.Path(), bytes);
    Records r;
    ASSERT_TRUE(r.Load(file));
    EXPECT_EQ(r.general.RecalcRiskParamsInterval, 2500);
    r.general.RecalcRiskParamsInterval = 3000;
    ASSERT_TRUE(r.Save(file));
    EXPECT_EQ(ReadFileBytes(file.Path()).substr(0, 2), mark);
    EXPECT_EQ(ReadIniValue(file.Path(), "Vantrel", "RecalcRiskParamsInterval"), "3000");
  }
}

TEST_F(SettingsFileTest, ConstructionDefaultsAreSavedAsTheyAre) {
  Records r;
  EXPECT_EQ(r.general.NormalColor, GetSysColor(COLOR_WINDOW));
  EXPECT_TRUE(r.general.NotificationsOn);
  r.general.NormalColor = 0xffffff;
  r.closing.Patterns.push_back(std::make_unique<TClosingPattern>());
  EXPECT_FALSE(r.closing.Patterns[0]->Deleted);
  ASSERT_TRUE(r.Save(file));
  EXPECT_EQ(Lines(Golden("info_constructed.ini")), Lines(ReadFileBytes(file.Path())));
  // The readers and writers of the parts report success whatever the file held.
  const std::string& ini = file.Path();
  EXPECT_TRUE(r.general.WriteGeneralSettings(ini) && r.general.ReadGeneralSettings(ini));
  EXPECT_TRUE(r.calc.WriteOptValueParam(ini) && r.calc.ReadOptValueParam(ini));
  EXPECT_TRUE(r.closing.WriteClosingSettings(ini) && r.closing.ReadClosingSettings(ini));
  EXPECT_TRUE(r.general.WriteNotifSchedule(7, ini) && r.general.ReadNotifSchedules(7, ini));
  EXPECT_FALSE(r.general.WriteNotifSchedule(8, ini) || r.general.ReadNotifSchedules(8, ini));
}

TEST_F(SettingsFileTest, OldFileIsConvertedOnLoadAndMissingKeysTakeTheirFileDefaults) {
  WriteFileBytes(file.Path(), Golden("info_old.ini"));
  Records r;
  for (auto& body : kBodyFiles) *r.general.BodyOfKind(body.first) = "stale";
  ASSERT_TRUE(r.Load(file));
  // Every converted field reaches the saved file below; the bodies do not.
  for (auto& body : kBodyFiles) EXPECT_EQ(*r.general.BodyOfKind(body.first), "") << body.second;
  EXPECT_TRUE(r.general.NotificationsOn);
  // The conversions are marked as done right away.
  EXPECT_EQ(ReadIniValue(file.Path(), "Vantrel", "ClientsType"), "0");
  EXPECT_EQ(ReadIniValue(file.Path(), "Vantrel", "UsePositiveVarMargin"), "2");
  EXPECT_EQ(ReadIniValue(file.Path(), "ClPattern2", "ConsiderPosVarMargin"), "2");

  ASSERT_TRUE(r.Save(file));
  EXPECT_EQ(Lines(Golden("info_old_saved.ini")), Lines(ReadFileBytes(file.Path())));
}

TEST_F(SettingsFileTest, MissingKeysTakeTheirFileDefaultsAndTheFirstSaveWritesThemAll) {
  Records r;
  r.general.NormalColor = 77;  // a missing colour keeps the record's
  ASSERT_TRUE(r.Load(file));
  ASSERT_TRUE(r.Save(file));
  EXPECT_EQ(Lines(Golden("info_empty_saved.ini")), Lines(ReadFileBytes(file.Path())));
}

TEST(SettingsFileUnknownFolderTest, ReadsAndWritesNothing) {
  CSettingsFile file("");
  Records r;
  r.general.RecalcRiskParamsInterval = 1234;
  EXPECT_FALSE(r.Load(file));
  EXPECT_EQ(r.general.RecalcRiskParamsInterval, 1234);
  EXPECT_FALSE(r.Save(file));
}

// One key written alone into info.ini, read into a fresh record and saved.
TEST(SingleKeyTest, LoadsIntoItsField) {
  RunCaseTable("settings_keys.txt", {{"Key", [](const CaseRow& c) {
    CTempFolder folder;
    CSettingsFile file(folder.Path());
    WriteIniValue(file.Path(), c.Text(0), c.Text(1), c.Text(2));
    if (std::string(c.Text(0)) == "ClPattern1") WriteIniValue(file.Path(), "Vantrel", "NumPatterns", "1");
    Records r;
    r.general.NormalColor = 77;
    r.Load(file);
    ASSERT_TRUE(r.Save(file));
    EXPECT_EQ(ReadIniValue(file.Path(), c.Text(3), c.Text(4)), c.Text(5));
  }}});
}

TEST(SingleKeyTest, LongTextsAreCutToTheirBuffers) {
  CTempFolder folder;
  CSettingsFile file(folder.Path());
  const std::string topic = std::string(510, 'x') + "yz" + std::string(88, 'x');
  const std::string comment(10300, 'c');
  WriteIniValue(file.Path(), "Vantrel", "SFRTopic", topic);
  WriteIniValue(file.Path(), "Vantrel", "Comment", comment);
  Records r;
  r.Load(file);
  EXPECT_EQ(r.general.SFRTopic, topic.substr(0, 511));
  EXPECT_EQ(r.closing.Comment, comment.substr(0, 10239));
}

}  // namespace
