#include "module/settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsFileTest, LivesInTheGivenFolder) {
  CTempFolder folder;
  EXPECT_EQ(CSettingsFile(folder.Path()).Path(), folder.File("info.ini"));
}

TEST(SettingsFileTest, UnknownFolderReadsAndWritesNothing) {
  CSettingsFile file("");
  TModuleSettings general;
  general.RecalcRiskParamsInterval = 1234;
  TTransportSettings transport;
  TCalcSettings calc;
  TClosingSettings closing;
  EXPECT_FALSE(file.Load(general, transport, calc, closing));
  EXPECT_EQ(general.RecalcRiskParamsInterval, 1234);
  EXPECT_EQ(transport.Port, "25");
  EXPECT_FALSE(file.Save(general, transport, calc, closing));
}

TEST(SettingsFileTest, FreshFolderLoadsFileDefaultsAndAFirstSaveWritesEverySection) {
  CTempFolder folder;
  CSettingsFile file(folder.Path());
  TModuleSettings general;
  TTransportSettings transport;
  TCalcSettings calc;
  calc.OptValueParam = 5;
  TClosingSettings closing;
  ASSERT_TRUE(file.Load(general, transport, calc, closing));
  EXPECT_EQ(general.ClientsType2, 7);
  EXPECT_EQ(transport.Port, "");
  EXPECT_EQ(calc.OptValueParam, 1);
  EXPECT_TRUE(closing.UseAutoClose);
  EXPECT_TRUE(general.NotificationsOn);

  ASSERT_TRUE(file.Save(general, transport, calc, closing));
  std::string ini = file.Path();
  EXPECT_EQ(ReadIniValue(ini, "Vantrel", "RecalcRiskParamsInterval"), "10000");
  EXPECT_EQ(ReadIniValue(ini, "Vantrel", "CopyEmails"), "");
  EXPECT_EQ(ReadIniValue(ini, "Vantrel", "OptValueParam"), "1");
  EXPECT_EQ(ReadIniValue(ini, "Vantrel", "NumPatterns"), "0");
  EXPECT_EQ(ReadIniValue(ini, "Vantrel-AutoClose", "NumElementsInSchedule"), "0");
  EXPECT_TRUE(FileExists(folder.File("ML2Body2")));
}

TEST(SettingsFileTest, AllFourRecordsSurviveARestart) {
  CTempFolder folder;
  {
    CSettingsFile file(folder.Path());
    TModuleSettings general;
    TTransportSettings transport;
    TCalcSettings calc;
    TClosingSettings closing;
    file.Load(general, transport, calc, closing);
    general.SFRTopic = "topic";
    general.SFRBody = "body\n";
    ASSERT_TRUE(general.ParseScheduleTextAt(9, "11:11", 0));
    transport.SMTPServer = "mail.example.ru";
    calc.OptValueParam = 3;
    closing.Patterns.push_back(std::make_unique<TClosingPattern>());
    closing.AddAutoCloseEntry(61, 0, 1);
    file.Save(general, transport, calc, closing);
  }
  CSettingsFile file(folder.Path());
  TModuleSettings general;
  TTransportSettings transport;
  TCalcSettings calc;
  TClosingSettings closing;
  file.Load(general, transport, calc, closing);
  EXPECT_EQ(general.SFRTopic, "topic");
  EXPECT_EQ(general.SFRBody, "body\n");
  EXPECT_EQ(general.FormatNotifSchedule(9), "11:11");
  EXPECT_EQ(transport.SMTPServer, "mail.example.ru");
  EXPECT_EQ(calc.OptValueParam, 3);
  ASSERT_EQ(closing.Patterns.size(), 1u);
  EXPECT_EQ(closing.DefaultPattern, 0);
  ASSERT_EQ(closing.AutoCloseSchedule.size(), 1u);
  EXPECT_EQ(closing.AutoCloseSchedule[0].Minutes, 61);
  EXPECT_EQ(closing.AutoCloseSchedule[0].AllClients, 1);
}

TEST(SettingsFileTest, NotificationsStartOffWhenNotEnabledAtStart) {
  CTempFolder folder;
  CSettingsFile file(folder.Path());
  WriteIniValue(file.Path(), "Vantrel", "NotifEnabledAtStart", "0");
  TModuleSettings general;
  TTransportSettings transport;
  TCalcSettings calc;
  TClosingSettings closing;
  file.Load(general, transport, calc, closing);
  EXPECT_FALSE(transport.NotifEnabledAtStart);
  EXPECT_FALSE(general.NotificationsOn);
}

}  // namespace
