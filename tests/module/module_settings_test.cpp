#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const char kSection[] = "Vantrel";

// Every field of a record with values that no default has.
TModuleSettings DistinctSettings() {
  TModuleSettings s;
  s.RecalcRiskParamsInterval = 2500;
  s.ClientsType2 = 5;
  s.LowFundsTopic = "LF topic %CLIENT%";
  s.LowFundsBody = "LF body\n";
  s.LowFundsFile = "lf.txt";
  s.SendLowFundsMsg = false;
  s.SFRTopic = "SFR topic";
  s.SFRBody = "SFR body line 1\nline 2\n";
  s.SFRFile = "sfr.txt";
  s.UseSFRTemplate2 = true;
  s.SFRTopic2 = "SFR2 topic";
  s.SFRBody2 = "SFR2 body\n";
  s.SFRFile2 = "sfr2.txt";
  s.SFRWarningLevel = 1.25;
  s.SendSFRWarningMsg = false;
  s.SFRCriticalLevel = 0.75;
  s.SendSFRCriticalMsg = false;
  s.DontSendSFRifCLGO = true;
  s.ValCLGOforSFR = 1.5;
  s.SFRTopic_fp = "FP topic";
  s.SFRBody_fp = "FP body\n";
  s.SFRFile_fp = "fp.txt";
  s.UseSFRTemplate2_fp = true;
  s.SFRTopic2_fp = "FP2 topic";
  s.SFRBody2_fp = "FP2 body\n";
  s.SFRFile2_fp = "fp2.txt";
  s.SFRWarningLevel_fp = 1.125;
  s.SendSFRWarningMsg_fp = false;
  s.SFRCriticalLevel_fp = 0.375;
  s.SendSFRCriticalMsg_fp = false;
  s.DontSendSFRifCLGO_fp = true;
  s.ValCLGOforSFR_fp = 2.5;
  s.CLGOTopic = "Тема КЛГО";
  s.CLGOBody = "Текст КЛГО\n";
  s.CLGOFile = "clgo.txt";
  s.SendCLGOMsg = false;
  s.CLGOLevel = 0.9;
  s.CLGOLimitType = 3;
  s.CLGOUseVMAI = true;
  s.ECLGOTopic = "ECLGO topic";
  s.ECLGOBody = "ECLGO body\n";
  s.ECLGOFile = "eclgo.txt";
  s.SendECLGOMsg = false;
  s.ECLGOLevel = 0.8;
  s.MLTopic = "ML topic";
  s.MLBody = "ML body\n";
  s.MLFile = "ml.txt";
  s.SendMLMsg = false;
  s.MLLevel = 0.7;
  s.UPParam = 9;
  s.UPTopic = "UP topic";
  s.UPBody = "UP body\n";
  s.UPFile = "up.txt";
  s.UPLevel = 0.6;
  s.OnlyUnitedPos = true;
  s.SendUPMsg = false;
  s.ML2Topic = "ML2 topic";
  s.ML2Body = "ML2 body\n";
  s.ML2File = "ml2.txt";
  s.UseML2Template2 = true;
  s.ML2Topic2 = "ML2 second topic";
  s.ML2Body2 = "ML2 second body\n";
  s.ML2File2 = "ml22.txt";
  s.SendML2Msg = false;
  s.ML2Level = 0.55;
  s.ML2LevelQual = 0.45;
  s.ConsiderQualClient = true;
  s.ML2Param = 23;
  EXPECT_TRUE(s.ParseScheduleTextAt(2, "09:00, 12:30", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(9, "09:01", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(1, "09:02", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(3, "09:03", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(4, "09:04", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(5, "09:05", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(6, "09:06", 0));
  EXPECT_TRUE(s.ParseScheduleTextAt(7, "09:07, 24:00", 0));
  s.UseSFRWarnSchedule = true;
  s.UseSFRCritSchedule = true;
  s.UseSFRWarnSchedule_fp = true;
  s.UseSFRCritSchedule_fp = true;
  s.UseLFSchedule = true;
  s.UseCLGOSchedule = true;
  s.UseECLGOSchedule = true;
  s.UseMLSchedule = true;
  s.UseUPSchedule = true;
  s.UseML2Schedule = true;
  s.NormalColor = 0x00abcdef;
  s.WarningColor = 0x00123456;
  s.CriticalColor = 0x00fedcba;
  s.UseTotalAssets = true;
  s.UseVarMargin = 3;
  s.NeedReadFilterFromFile = true;
  s.FilterFileName = "C:\\filters\\clients.ini";
  s.TraceLogLevel = 3;
  s.MailLogLevel = 2;
  s.LogFileName = "other.log";
  s.ConsiderFilters = false;
  s.AlwaysAllowManualSending = true;
  return s;
}

// Everything that info.ini and the body files hold (NotificationsOn is not stored).
void ExpectSameStoredSettings(const TModuleSettings& a, const TModuleSettings& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
#define SAME_LEVEL(field) EXPECT_NEAR(a.field, b.field, 1e-6) << #field
  SAME(RecalcRiskParamsInterval);
  SAME(ClientsType2);
  SAME(LowFundsTopic);
  SAME(LowFundsBody);
  SAME(LowFundsFile);
  SAME(SendLowFundsMsg);
  SAME(SFRTopic);
  SAME(SFRBody);
  SAME(SFRFile);
  SAME(UseSFRTemplate2);
  SAME(SFRTopic2);
  SAME(SFRBody2);
  SAME(SFRFile2);
  SAME_LEVEL(SFRWarningLevel);
  SAME(SendSFRWarningMsg);
  SAME_LEVEL(SFRCriticalLevel);
  SAME(SendSFRCriticalMsg);
  SAME(DontSendSFRifCLGO);
  SAME_LEVEL(ValCLGOforSFR);
  SAME(SFRTopic_fp);
  SAME(SFRBody_fp);
  SAME(SFRFile_fp);
  SAME(UseSFRTemplate2_fp);
  SAME(SFRTopic2_fp);
  SAME(SFRBody2_fp);
  SAME(SFRFile2_fp);
  SAME_LEVEL(SFRWarningLevel_fp);
  SAME(SendSFRWarningMsg_fp);
  SAME_LEVEL(SFRCriticalLevel_fp);
  SAME(SendSFRCriticalMsg_fp);
  SAME(DontSendSFRifCLGO_fp);
  SAME_LEVEL(ValCLGOforSFR_fp);
  SAME(CLGOTopic);
  SAME(CLGOBody);
  SAME(CLGOFile);
  SAME(SendCLGOMsg);
  SAME_LEVEL(CLGOLevel);
  SAME(CLGOLimitType);
  SAME(CLGOUseVMAI);
  SAME(ECLGOTopic);
  SAME(ECLGOBody);
  SAME(ECLGOFile);
  SAME(SendECLGOMsg);
  SAME_LEVEL(ECLGOLevel);
  SAME(MLTopic);
  SAME(MLBody);
  SAME(MLFile);
  SAME(SendMLMsg);
  SAME_LEVEL(MLLevel);
  SAME(UPParam);
  SAME(UPTopic);
  SAME(UPBody);
  SAME(UPFile);
  SAME_LEVEL(UPLevel);
  SAME(OnlyUnitedPos);
  SAME(SendUPMsg);
  SAME(ML2Topic);
  SAME(ML2Body);
  SAME(ML2File);
  SAME(UseML2Template2);
  SAME(ML2Topic2);
  SAME(ML2Body2);
  SAME(ML2File2);
  SAME(SendML2Msg);
  SAME_LEVEL(ML2Level);
  SAME_LEVEL(ML2LevelQual);
  SAME(ConsiderQualClient);
  SAME(ML2Param);
  const int kinds[] = {1, 2, 3, 4, 5, 6, 7, 9};
  for (int kind : kinds)
    EXPECT_EQ(a.FormatNotifSchedule(kind), b.FormatNotifSchedule(kind)) << "schedule " << kind;
  SAME(UseSFRWarnSchedule);
  SAME(UseSFRCritSchedule);
  SAME(UseSFRWarnSchedule_fp);
  SAME(UseSFRCritSchedule_fp);
  SAME(UseLFSchedule);
  SAME(UseCLGOSchedule);
  SAME(UseECLGOSchedule);
  SAME(UseMLSchedule);
  SAME(UseUPSchedule);
  SAME(UseML2Schedule);
  SAME(NormalColor);
  SAME(WarningColor);
  SAME(CriticalColor);
  SAME(UseTotalAssets);
  SAME(UseVarMargin);
  SAME(NeedReadFilterFromFile);
  SAME(FilterFileName);
  SAME(TraceLogLevel);
  SAME(MailLogLevel);
  SAME(LogFileName);
  SAME(ConsiderFilters);
  SAME(AlwaysAllowManualSending);
#undef SAME
#undef SAME_LEVEL
}

class GeneralSettingsFileTest : public testing::Test {
 protected:
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
};

TEST(ModuleSettingsTest, ConstructionDefaults) {
  TModuleSettings s;
  EXPECT_EQ(s.RecalcRiskParamsInterval, 10000);
  EXPECT_EQ(s.ClientsType2, 7);
  // Nothing is sent until the file or a dialog turns a kind on.
  EXPECT_TRUE(s.SendLowFundsMsg);
  EXPECT_TRUE(s.SendSFRWarningMsg);
  EXPECT_TRUE(s.SendSFRCriticalMsg);
  EXPECT_TRUE(s.SendSFRWarningMsg_fp);
  EXPECT_TRUE(s.SendSFRCriticalMsg_fp);
  EXPECT_TRUE(s.SendCLGOMsg);
  EXPECT_TRUE(s.SendECLGOMsg);
  EXPECT_TRUE(s.SendMLMsg);
  EXPECT_TRUE(s.SendUPMsg);
  EXPECT_TRUE(s.SendML2Msg);
  EXPECT_FALSE(s.UseSFRTemplate2);
  EXPECT_FALSE(s.UseSFRTemplate2_fp);
  EXPECT_FALSE(s.UseML2Template2);
  EXPECT_DOUBLE_EQ(s.SFRWarningLevel, 1.0);
  EXPECT_DOUBLE_EQ(s.SFRCriticalLevel, 0.5);
  EXPECT_DOUBLE_EQ(s.SFRWarningLevel_fp, 1.0);
  EXPECT_DOUBLE_EQ(s.SFRCriticalLevel_fp, 0.5);
  EXPECT_DOUBLE_EQ(s.ValCLGOforSFR, 1.0);
  EXPECT_DOUBLE_EQ(s.ValCLGOforSFR_fp, 1.0);
  EXPECT_DOUBLE_EQ(s.CLGOLevel, 1.0);
  EXPECT_EQ(s.CLGOLimitType, 1);
  EXPECT_DOUBLE_EQ(s.ECLGOLevel, 1.0);
  EXPECT_DOUBLE_EQ(s.MLLevel, 1.0);
  EXPECT_EQ(s.UPParam, -1);
  EXPECT_DOUBLE_EQ(s.UPLevel, 1.0);
  EXPECT_DOUBLE_EQ(s.ML2Level, 1.0);
  EXPECT_DOUBLE_EQ(s.ML2LevelQual, 0.5);
  EXPECT_EQ(s.ML2Param, -1);
  EXPECT_TRUE(s.SFRSchedule.empty());
  EXPECT_FALSE(s.UseML2Schedule);
  EXPECT_EQ(s.NormalColor, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(s.WarningColor, 65280u);
  EXPECT_EQ(s.CriticalColor, 255u);
  EXPECT_EQ(s.UseVarMargin, 2);
  EXPECT_TRUE(s.NotificationsOn);
  EXPECT_EQ(s.TraceLogLevel, 0);
  EXPECT_EQ(s.MailLogLevel, 0);
  EXPECT_EQ(s.LogFileName, "VantrelFM.log");
  EXPECT_TRUE(s.ConsiderFilters);
  EXPECT_FALSE(s.AlwaysAllowManualSending);
  EXPECT_TRUE(s.LowFundsTopic.empty());
}

TEST(ModuleSettingsTest, CopyFromCopiesEveryFieldAndSharesNothing) {
  TModuleSettings source = DistinctSettings();
  source.NotificationsOn = false;
  TModuleSettings copy;
  EXPECT_EQ(&copy.CopyFrom(source), &copy);
  ExpectSameStoredSettings(copy, source);
  EXPECT_FALSE(copy.NotificationsOn);
  copy.SFRSchedule.clear();
  copy.SFRTopic = "changed";
  EXPECT_EQ(source.SFRSchedule.size(), 2u);
  EXPECT_EQ(source.SFRTopic, "SFR topic");
}

TEST_F(GeneralSettingsFileTest, EmptyFileGivesTheFileDefaultsAndMarksTheOldKeys) {
  TModuleSettings s;
  s.NormalColor = 0x00010203;  // a missing colour keeps the constructed one
  EXPECT_TRUE(s.ReadGeneralSettings(ini));
  EXPECT_EQ(s.RecalcRiskParamsInterval, 10000);
  EXPECT_EQ(s.ClientsType2, 7);
  EXPECT_EQ(s.UseVarMargin, 1);
  // Send keys absent: nothing is sent.
  EXPECT_TRUE(s.SendLowFundsMsg);
  EXPECT_TRUE(s.SendSFRWarningMsg);
  EXPECT_TRUE(s.SendSFRCriticalMsg);
  EXPECT_TRUE(s.SendSFRWarningMsg_fp);
  EXPECT_TRUE(s.SendSFRCriticalMsg_fp);
  EXPECT_TRUE(s.SendCLGOMsg);
  EXPECT_TRUE(s.SendECLGOMsg);
  EXPECT_TRUE(s.SendMLMsg);
  EXPECT_TRUE(s.SendUPMsg);
  EXPECT_TRUE(s.SendML2Msg);
  // A missing UseSFRTemplate2 key turns the second templates on.
  EXPECT_TRUE(s.UseSFRTemplate2);
  EXPECT_TRUE(s.UseSFRTemplate2_fp);
  EXPECT_FALSE(s.UseML2Template2);
  EXPECT_DOUBLE_EQ(s.SFRWarningLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.SFRCriticalLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.SFRWarningLevel_fp, 0.0);
  EXPECT_DOUBLE_EQ(s.SFRCriticalLevel_fp, 0.0);
  EXPECT_DOUBLE_EQ(s.CLGOLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.ECLGOLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.MLLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.UPLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.ML2Level, 1.0);
  EXPECT_DOUBLE_EQ(s.ML2LevelQual, 0.5);
  EXPECT_DOUBLE_EQ(s.ValCLGOforSFR, 1.0);
  EXPECT_DOUBLE_EQ(s.ValCLGOforSFR_fp, 1.0);
  EXPECT_EQ(s.UPParam, 0);
  EXPECT_EQ(s.ML2Param, -1);
  EXPECT_EQ(s.CLGOLimitType, 1);
  EXPECT_EQ(s.NormalColor, 0x00010203u);
  EXPECT_EQ(s.WarningColor, 65280u);
  EXPECT_EQ(s.CriticalColor, 255u);
  EXPECT_EQ(s.TraceLogLevel, 0);
  EXPECT_EQ(s.LogFileName, "VantrelFM.log");
  EXPECT_TRUE(s.ConsiderFilters);
  EXPECT_TRUE(s.LowFundsBody.empty());
  EXPECT_TRUE(s.ML2Body2.empty());
  EXPECT_TRUE(s.SFRSchedule.empty());
  // The conversions of the old keys are marked as done.
  EXPECT_EQ(ReadIniValue(ini, kSection, "ClientsType"), "0");
  EXPECT_EQ(ReadIniValue(ini, kSection, "UsePositiveVarMargin"), "2");
}

TEST_F(GeneralSettingsFileTest, EveryKeySurvivesASaveAndALoad) {
  TModuleSettings saved = DistinctSettings();
  EXPECT_TRUE(saved.WriteGeneralSettings(ini));
  TModuleSettings loaded;
  EXPECT_TRUE(loaded.ReadGeneralSettings(ini));
  ExpectSameStoredSettings(loaded, saved);
}

TEST_F(GeneralSettingsFileTest, ConstructionDefaultsSurviveASaveAndALoad) {
  TModuleSettings saved;
  saved.WriteGeneralSettings(ini);
  TModuleSettings loaded = DistinctSettings();
  loaded.ReadGeneralSettings(ini);
  ExpectSameStoredSettings(loaded, saved);
}

TEST_F(GeneralSettingsFileTest, FileDefaultsSurviveASaveAndALoad) {
  TModuleSettings first;
  first.ReadGeneralSettings(ini);
  first.WriteGeneralSettings(ini);
  TModuleSettings second = DistinctSettings();
  second.ReadGeneralSettings(ini);
  ExpectSameStoredSettings(second, first);
}

TEST_F(GeneralSettingsFileTest, SendFlagsAreStoredInTheirOwnSense) {
  WriteIniValue(ini, kSection, "SendSFRWarningMsg", "1");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_FALSE(s.SendSFRWarningMsg);  // held inverted: sending is on
  EXPECT_TRUE(s.SendMLMsg);           // absent key: sending off
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SendSFRWarningMsg"), "1");
  s.SendSFRWarningMsg = true;
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SendSFRWarningMsg"), "0");
}

TEST_F(GeneralSettingsFileTest, SecondSfrTemplateFlagsAreStoredInTheOppositeSense) {
  TModuleSettings s;
  s.UseSFRTemplate2 = true;
  s.UseSFRTemplate2_fp = false;
  s.UseML2Template2 = true;
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "UseSFRTemplate2"), "0");
  EXPECT_EQ(ReadIniValue(ini, kSection, "UseSFRTemplate2_fp"), "1");
  EXPECT_EQ(ReadIniValue(ini, kSection, "UseML2Template2"), "1");
}

struct ClientsTypeCase {
  const char* OldValue;  // nullptr: key absent
  const char* NewValue;  // nullptr: key absent
  int Expected;
};

class ClientsTypeMigrationTest : public testing::TestWithParam<ClientsTypeCase> {};

TEST_P(ClientsTypeMigrationTest, ConvertsOnceAndMarksTheOldKey) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  const ClientsTypeCase& c = GetParam();
  WriteIniValue(ini, kSection, "RecalcRiskParamsInterval", "1000");
  if (c.OldValue) WriteIniValue(ini, kSection, "ClientsType", c.OldValue);
  if (c.NewValue) WriteIniValue(ini, kSection, "ClientsType2", c.NewValue);
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.ClientsType2, c.Expected);
  EXPECT_EQ(ReadIniValue(ini, kSection, "ClientsType"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    OldKeys, ClientsTypeMigrationTest,
    testing::Values(ClientsTypeCase{nullptr, nullptr, 7}, ClientsTypeCase{"1", "2", 7},
                    ClientsTypeCase{"3", nullptr, 6}, ClientsTypeCase{"2", nullptr, 1},
                    ClientsTypeCase{"-5", nullptr, 1}, ClientsTypeCase{"0", "4", 4},
                    ClientsTypeCase{"0", nullptr, 7}));

struct VarMarginCase {
  const char* OldValue;
  const char* NewValue;
  int Expected;
};

class VarMarginMigrationTest : public testing::TestWithParam<VarMarginCase> {};

TEST_P(VarMarginMigrationTest, ConvertsOnceAndMarksTheOldKey) {
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
  const VarMarginCase& c = GetParam();
  WriteIniValue(ini, kSection, "RecalcRiskParamsInterval", "1000");
  if (c.OldValue) WriteIniValue(ini, kSection, "UsePositiveVarMargin", c.OldValue);
  if (c.NewValue) WriteIniValue(ini, kSection, "UseVarMargin", c.NewValue);
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.UseVarMargin, c.Expected);
  std::string marker = ReadIniValue(ini, kSection, "UsePositiveVarMargin");
  EXPECT_EQ(marker, c.OldValue && std::atoi(c.OldValue) > 1 ? c.OldValue : "2");
}

INSTANTIATE_TEST_SUITE_P(OldKeys, VarMarginMigrationTest,
                         testing::Values(VarMarginCase{nullptr, "3", 1}, VarMarginCase{"0", "3", 2},
                                         VarMarginCase{"1", "3", 1},
                                         VarMarginCase{"-1", nullptr, 2},
                                         VarMarginCase{"2", "3", 3}, VarMarginCase{"2", nullptr, 2},
                                         VarMarginCase{"5", "1", 1}));

TEST_F(GeneralSettingsFileTest, MarginLevelWatchedAsArbitraryParameterMovesToMl2) {
  WriteIniValue(ini, kSection, "UPParam", "22");
  WriteIniValue(ini, kSection, "SendUPMsg", "1");
  WriteIniValue(ini, kSection, "UPLevel", "0.8");
  WriteIniValue(ini, kSection, "UseUPSchedule", "1");
  WriteIniValue(ini, kSection, "UPSchedule", "10:00, 15:30");
  WriteIniValue(ini, kSection, "SendML2Msg", "0");
  WriteIniValue(ini, kSection, "ML2Level", "0.3");
  WriteIniValue(ini, kSection, "ML2Param", "5");
  WriteIniValue(ini, kSection, "ConsiderQualClient", "1");
  WriteIniValue(ini, kSection, "ML2Schedule", "08:00");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.ML2Param, 22);
  EXPECT_FALSE(s.SendML2Msg);  // sending on
  EXPECT_DOUBLE_EQ(s.ML2Level, 0.8);
  EXPECT_FALSE(s.ConsiderQualClient);
  EXPECT_TRUE(s.UseML2Schedule);
  EXPECT_EQ(s.FormatNotifSchedule(7), "10:00, 15:30");
  EXPECT_EQ(s.UPParam, -1);
  EXPECT_TRUE(s.SendUPMsg);  // sending off
  // Nothing is written until the next save.
  EXPECT_EQ(ReadIniValue(ini, kSection, "UPParam"), "22");
}

TEST_F(GeneralSettingsFileTest, OtherArbitraryParametersStayWhereTheyAre) {
  WriteIniValue(ini, kSection, "UPParam", "21");
  WriteIniValue(ini, kSection, "SendUPMsg", "1");
  WriteIniValue(ini, kSection, "ML2Param", "5");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.UPParam, 21);
  EXPECT_FALSE(s.SendUPMsg);
  EXPECT_EQ(s.ML2Param, 5);
}

TEST_F(GeneralSettingsFileTest, ColourKeys) {
  WriteIniValue(ini, kSection, "WarningColor", "abc");
  WriteIniValue(ini, kSection, "CriticalColor", "16711680");
  TModuleSettings s;
  s.NormalColor = 77;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.NormalColor, 77u);
  EXPECT_EQ(s.WarningColor, 0u);
  EXPECT_EQ(s.CriticalColor, 16711680u);
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "NormalColor"), "77");
}

TEST_F(GeneralSettingsFileTest, NonNumbersReadAsZero) {
  WriteIniValue(ini, kSection, "RecalcRiskParamsInterval", "soon");
  WriteIniValue(ini, kSection, "MLLevel", "high");
  WriteIniValue(ini, kSection, "SFRWarningLevel", "1.5abc");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.RecalcRiskParamsInterval, 0);
  EXPECT_DOUBLE_EQ(s.MLLevel, 0.0);
  EXPECT_DOUBLE_EQ(s.SFRWarningLevel, 1.5);
}

TEST_F(GeneralSettingsFileTest, DoublesAreWrittenWithSixDecimals) {
  TModuleSettings s;
  s.SFRWarningLevel = 1.25;
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SFRWarningLevel"), "1.250000");
}

TEST_F(GeneralSettingsFileTest, LongTopicIsCutTo511Characters) {
  std::string topic(600, 'x');
  topic[510] = 'y';
  WriteIniValue(ini, kSection, "SFRTopic", topic);
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_EQ(s.SFRTopic, topic.substr(0, 511));
}

TEST_F(GeneralSettingsFileTest, LongScheduleIsReadWhole) {
  // 150 times of day need about a thousand characters, more than any
  // ordinary value buffer holds.
  TModuleSettings saved;
  std::string text;
  for (int i = 0; i < 150; ++i) {
    if (i > 0) text += ", ";
    text += FormatHourMinute(i * 9);
  }
  ASSERT_TRUE(saved.ParseScheduleTextAt(2, text, 0));
  saved.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "SFRSchedule"), text);
  TModuleSettings loaded;
  loaded.ReadGeneralSettings(ini);
  ASSERT_EQ(loaded.SFRSchedule.size(), 150u);
  EXPECT_EQ(loaded.SFRSchedule.back().Minutes, 149 * 9);
  EXPECT_EQ(loaded.FormatNotifSchedule(2), text);
}

TEST_F(GeneralSettingsFileTest, BadScheduleKeyLeavesTheScheduleEmpty) {
  WriteIniValue(ini, kSection, "MLSchedule", "09:30, 25:00");
  WriteIniValue(ini, kSection, "CLGOSchedule", "9:30, 24:00");
  TModuleSettings s;
  s.ReadGeneralSettings(ini);
  EXPECT_TRUE(s.MLSchedule.empty());
  EXPECT_EQ(s.FormatNotifSchedule(3), "09:30, 24:00");
}

TEST_F(GeneralSettingsFileTest, ClearedScheduleIsWrittenEmpty) {
  TModuleSettings s;
  ASSERT_TRUE(s.ParseScheduleTextAt(5, "09:30", 0));
  s.WriteGeneralSettings(ini);
  ASSERT_TRUE(s.ParseScheduleTextAt(5, "", 0));
  s.WriteGeneralSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "MLSchedule"), "");
  TModuleSettings loaded;
  loaded.ReadGeneralSettings(ini);
  EXPECT_TRUE(loaded.MLSchedule.empty());
}

}  // namespace
