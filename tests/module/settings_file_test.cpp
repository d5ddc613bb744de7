#include "module/settings/body_templates.h"
#include "module/settings/settings_file.h"
#include "case_table.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

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

// Every stored field holds a value of its own, so a key swapped with another
// or misspelt shows in the saved file.
Records DistinctRecords() {
  Records r;
  TModuleSettings& s = r.general;
  s.RecalcRiskParamsInterval = 2500; s.ClientsType2 = 5;
  s.LowFundsTopic = "LF topic"; s.LowFundsFile = "lf.txt"; s.SendLowFundsMsg = false;
  s.SFRTopic = "SFR topic"; s.SFRTopic_fp = "SFR fp topic";
  s.SFRFile = "sfr.txt"; s.SFRFile_fp = "sfr_fp.txt";
  s.SendSFRWarningMsg = false; s.SendSFRWarningMsg_fp = true;
  s.SFRWarningLevel = 1.25; s.SFRWarningLevel_fp = 1.125;
  s.SendSFRCriticalMsg = true; s.SendSFRCriticalMsg_fp = false;
  s.SFRCriticalLevel = 0.75; s.SFRCriticalLevel_fp = 0.375;
  s.SFRTopic2 = "SFR2 topic"; s.SFRTopic2_fp = "SFR2 fp topic";
  s.SFRFile2 = "sfr2.txt"; s.SFRFile2_fp = "sfr2_fp.txt";
  s.UseSFRTemplate2 = true; s.UseSFRTemplate2_fp = false;
  s.NormalColor = 0xabcdef; s.WarningColor = 0x123456; s.CriticalColor = 0xfedcba;
  s.CLGOTopic = "CLGO topic"; s.CLGOFile = "clgo.txt"; s.CLGOLevel = 0.9;
  s.SendCLGOMsg = false; s.CLGOLimitType = 3; s.CLGOUseVMAI = true;
  s.ECLGOTopic = "ECLGO topic"; s.ECLGOFile = "eclgo.txt"; s.ECLGOLevel = 0.8;
  s.SendECLGOMsg = true;
  s.MLTopic = "ML topic"; s.MLFile = "ml.txt"; s.MLLevel = 0.7; s.SendMLMsg = false;
  s.UPParam = 9; s.UPTopic = "UP topic"; s.UPFile = "up.txt"; s.UPLevel = 0.6;
  s.SendUPMsg = true; s.OnlyUnitedPos = true;
  s.ML2Topic = "ML2 topic"; s.ML2File = "ml2.txt"; s.ML2Level = 0.55; s.ML2LevelQual = 0.45;
  s.SendML2Msg = true; s.ConsiderQualClient = true; s.ML2Param = 23;
  s.ML2Topic2 = "ML2 second topic"; s.ML2File2 = "ml2_2.txt"; s.UseML2Template2 = true;
  s.UseTotalAssets = true; s.UseVarMargin = 3;
  s.UseSFRWarnSchedule = s.UseSFRCritSchedule = s.UseLFSchedule = true;
  s.UseECLGOSchedule = s.UseUPSchedule = true;
  const std::pair<int, const char*> schedules[] = {
      {2, "09:00, 12:30"}, {9, "09:01"}, {1, "09:02"}, {3, "09:03"},
      {4, "09:04"},        {5, "09:05"}, {6, "09:06"}, {7, "09:07, 24:00"}};
  for (auto& schedule : schedules)
    EXPECT_TRUE(s.ParseScheduleTextAt(schedule.first, schedule.second, 0));
  s.NeedReadFilterFromFile = true; s.FilterFileName = "C:\\filters\\clients.ini";
  s.TraceLogLevel = 3; s.MailLogLevel = 2; s.LogFileName = "other.log";
  s.ConsiderFilters = false; s.DontSendSFRifCLGO = true;
  s.ValCLGOforSFR = 1.5; s.ValCLGOforSFR_fp = 2.5; s.AlwaysAllowManualSending = true;
  for (auto& body : kBodyFiles) *s.BodyOfKind(body.first) = BodyText(body.second, "\n");

  TTransportSettings& t = r.transport;
  t.NotifyByEmail = false; t.SMTPServer = "smtp.example.ru"; t.Port = "587";
  t.IsAuthorisationUsed = true; t.MailLogin = "risk"; t.MailPass = "A1B2C3D4";
  t.SenderAddress = "risk@example.ru"; t.ZenkEmailsVsClientCodesFile = "C:\\maps\\emails.txt";
  t.NotifyByTraderMsg = t.NotifyBySMS = true;
  t.ZenkUIDsVsClientCodesFile = "C:\\maps\\uids.txt"; t.MC2ZDirectories = "C:\\out1;C:\\out2";
  t.NeedSaveToDB = true; t.DSN = "RiskDB"; t.DBLogin = "dbuser"; t.DBTable = "Calls";
  t.DBPassword = "99FF00"; t.NotifEnabledAtStart = false; t.MinTime = 300;
  t.MinParamChange = 0.05; t.UseBlindCopy = true;
  t.CopyEmails = {"boss@example.ru", "desk@example.ru"};

  r.calc.OptValueParam = 2;

  TClosingSettings& c = r.closing;
  c.BaseActiveForClosing = {"Si", "RTS", "BR"}; c.SecsForClosing = {"SBER", "GAZP"};
  c.Spread = 0.126; c.FilterOrdersByComment = true; c.Comment = "auto close";
  c.DefaultPattern = 1; c.UseBaseActive = true; c.ShowSecNamesInDlg = false;
  c.UseAutoClose = true;
  for (int n = 1; n <= 2; ++n) {
    c.Patterns.push_back(std::make_unique<TClosingPattern>());
    TClosingPattern& p = *c.Patterns.back();
    bool first = n == 1;
    p.PatternName = first ? "Close one" : "Close two";
    p.ParamIdx = 10 + n; p.ParamIdx2 = 20 + n; p.BoundaryValue = first ? 0.25 : -1.5;
    p.NotMoreThanPlanned = p.ConsiderQualClient = first; p.ActWithoutSpotPos = !first;
    p.MinMarginLvl = first ? 0.75 : 0.6; p.MinMarginForQualClients = first ? 0.125 : 0.3;
    p.UseVarMargin = first ? 1 : 3;
  }
  c.AddAutoCloseEntry(9 * 60 + 5, 1, 0);
  c.AddAutoCloseEntry(18 * 60 + 45, 0, 1);
  return r;
}

class SettingsFileTest : public testing::Test {
 protected:
  CTempFolder folder;
  CSettingsFile file{folder.Path()};
};

TEST_F(SettingsFileTest, EveryKeyIsSavedInItsFormatAndReadIntoItsOwnField) {
  ASSERT_TRUE(DistinctRecords().Save(file));
  EXPECT_EQ(Lines(Golden("info_saved.ini")), Lines(ReadFileBytes(file.Path())));
  for (auto& body : kBodyFiles) {  // written in text mode
    EXPECT_EQ(ReadFileBytes(folder.File(body.second)), BodyText(body.second, "\r\n"));
    EXPECT_STREQ(BodyTemplateFileName(body.first), body.second);
  }
  WriteFileBytes(file.Path(), Golden("info_saved.ini"));
  Records loaded;
  ASSERT_TRUE(loaded.Load(file));
  EXPECT_FALSE(loaded.general.NotificationsOn);  // NotifEnabledAtStart=0
  for (auto& body : kBodyFiles)
    EXPECT_EQ(*loaded.general.BodyOfKind(body.first), BodyText(body.second, "\n"));
  CTempFolder other;
  loaded.Save(CSettingsFile(other.Path()));
  EXPECT_EQ(Lines(Golden("info_saved.ini")), Lines(ReadFileBytes(other.File("info.ini"))));
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
  // Every field reaches the saved file below; here the converted ones.
  const TModuleSettings& s = r.general;
  for (auto& body : kBodyFiles) EXPECT_EQ(*s.BodyOfKind(body.first), "") << body.second;
  EXPECT_EQ(s.ClientsType2, 6);  // ClientsType 3
  EXPECT_EQ(s.UseVarMargin, 2);  // UsePositiveVarMargin 0, UseVarMargin ignored
  EXPECT_TRUE(s.UseSFRTemplate2);  // key absent: second template on
  EXPECT_FALSE(s.UseSFRTemplate2_fp);
  // UP watching a margin level moves to ML2, whatever the ML2 keys said.
  EXPECT_TRUE(s.UPParam == -1 && s.SendUPMsg);
  EXPECT_TRUE(s.ML2Param == 22 && !s.SendML2Msg && s.ML2Level == 0.8 && !s.ConsiderQualClient);
  EXPECT_TRUE(s.UseML2Schedule);
  EXPECT_EQ(s.FormatNotifSchedule(7), "10:00, 15:30");
  EXPECT_TRUE(s.NotificationsOn);
  EXPECT_EQ(r.transport.CopyEmails, (StringList{"a@x.ru", "b@y.ru"}));
  const TClosingSettings& c = r.closing;
  ASSERT_EQ(c.Patterns.size(), 2u);  // ClPattern3 is beyond NumPatterns
  EXPECT_EQ(c.Patterns[0]->UseVarMargin, 2);  // ConsiderVarMargin 1, ConsiderPosVarMargin 0
  EXPECT_EQ(c.Patterns[1]->UseVarMargin, 4);  // neither old key
  EXPECT_EQ(c.DefaultPattern, 0);
  ASSERT_EQ(c.AutoCloseSchedule.size(), 2u);
  EXPECT_EQ(c.AutoCloseSchedule[0].Minutes, 545);
  EXPECT_EQ(c.AutoCloseSchedule[1].Minutes, 1570);  // 25:70, not range-checked
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
