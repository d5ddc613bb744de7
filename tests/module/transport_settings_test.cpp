#include "module/settings/transport_settings.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace {

const char kSection[] = "Vantrel";

TTransportSettings DistinctTransport() {
  TTransportSettings t;
  t.NotifyByEmail = false;
  t.SMTPServer = "smtp.example.ru";
  t.Port = "587";
  t.IsAuthorisationUsed = true;
  t.MailLogin = "risk";
  t.MailPass = "A1B2C3D4";
  t.SenderAddress = "risk@example.ru";
  t.ZenkEmailsVsClientCodesFile = "C:\\maps\\emails.txt";
  t.NotifyByTraderMsg = true;
  t.NotifyByMC2Z = true;
  t.NotifyBySMS = true;
  t.ZenkUIDsVsClientCodesFile = "C:\\maps\\uids.txt";
  t.MC2ZDirectories = "C:\\out1;C:\\out2";
  t.NeedSaveToDB = true;
  t.DSN = "RiskDB";
  t.DBTable = "Calls";
  t.DBLogin = "dbuser";
  t.DBPassword = "99FF00";
  t.NotifEnabledAtStart = false;
  t.MinParamChange = 0.05;
  t.MinTime = 300;
  t.CopyEmails = {"boss@example.ru", "desk@example.ru"};
  t.UseBlindCopy = true;
  t.SendSeparateEmails = true;
  return t;
}

void ExpectSameTransport(const TTransportSettings& a, const TTransportSettings& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
  SAME(NotifyByEmail);
  SAME(SMTPServer);
  SAME(Port);
  SAME(IsAuthorisationUsed);
  SAME(MailLogin);
  SAME(MailPass);
  SAME(SenderAddress);
  SAME(ZenkEmailsVsClientCodesFile);
  SAME(NotifyByTraderMsg);
  SAME(NotifyByMC2Z);
  SAME(NotifyBySMS);
  SAME(ZenkUIDsVsClientCodesFile);
  SAME(MC2ZDirectories);
  SAME(NeedSaveToDB);
  SAME(DSN);
  SAME(DBTable);
  SAME(DBLogin);
  SAME(DBPassword);
  SAME(NotifEnabledAtStart);
  SAME(MinTime);
  SAME(CopyEmails);
  SAME(UseBlindCopy);
  SAME(SendSeparateEmails);
#undef SAME
  EXPECT_NEAR(a.MinParamChange, b.MinParamChange, 1e-6);
}

TEST(TransportSettingsTest, ConstructionDefaults) {
  TTransportSettings t;
  EXPECT_TRUE(t.NotifyByEmail);
  EXPECT_EQ(t.Port, "25");
  EXPECT_FALSE(t.IsAuthorisationUsed);
  EXPECT_FALSE(t.NotifyByTraderMsg);
  EXPECT_FALSE(t.NotifyByMC2Z);
  EXPECT_FALSE(t.NotifyBySMS);
  EXPECT_FALSE(t.NeedSaveToDB);
  EXPECT_TRUE(t.NotifEnabledAtStart);
  EXPECT_DOUBLE_EQ(t.MinParamChange, 0.0);
  EXPECT_EQ(t.MinTime, -1);
  EXPECT_TRUE(t.CopyEmails.empty());
  EXPECT_TRUE(t.DBTable.empty());
  EXPECT_EQ(t.GetDBTable(), "MCalls");
}

TEST(TransportSettingsTest, AssigningGivesEveryFieldAndANonEmptyTable) {
  TTransportSettings source = DistinctTransport();
  TTransportSettings target;
  target.AssignTransportSettings(source);
  ExpectSameTransport(target, source);

  source.DBTable.clear();
  target.AssignTransportSettings(source);
  EXPECT_EQ(target.DBTable, "MCalls");
}

struct CopyEmailsCase {
  const char* Text;
  StringList Expected;
};

class CopyEmailsTest : public testing::TestWithParam<CopyEmailsCase> {};

TEST_P(CopyEmailsTest, SplitsAtCommasAndDropsBlanks) {
  TTransportSettings t;
  t.CopyEmails = {"old@example.ru"};
  t.SetCopyEmails(GetParam().Text);
  EXPECT_EQ(t.GetCopyEmails(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(CopyLists, CopyEmailsTest,
                         testing::Values(CopyEmailsCase{"", {}},
                                         CopyEmailsCase{" a@x.ru , b@y.ru ", {"a@x.ru", "b@y.ru"}},
                                         CopyEmailsCase{"a@x.ru,,b@y.ru", {"a@x.ru", "", "b@y.ru"}},
                                         CopyEmailsCase{"a @x.ru\n", {"a@x.ru"}},
                                         CopyEmailsCase{"a@x.ru,", {"a@x.ru", ""}}));

class TransportFileTest : public testing::Test {
 protected:
  CTempFolder folder;
  std::string ini = folder.File("info.ini");
};

TEST_F(TransportFileTest, EmptyFileGivesTheFileDefaults) {
  TTransportSettings t = DistinctTransport();
  t.ReadTransportSettings(ini);
  EXPECT_FALSE(t.NotifyByEmail);
  EXPECT_EQ(t.Port, "");
  EXPECT_EQ(t.MinTime, 0);
  EXPECT_TRUE(t.NotifEnabledAtStart);
  EXPECT_DOUBLE_EQ(t.MinParamChange, 0.0);
  EXPECT_TRUE(t.CopyEmails.empty());
  EXPECT_EQ(t.DBTable, "");
  EXPECT_EQ(t.MailPass, "");
  EXPECT_FALSE(t.SendSeparateEmails);
}

TEST_F(TransportFileTest, EveryKeySurvivesASaveAndALoad) {
  TTransportSettings saved = DistinctTransport();
  saved.WriteTransportSettings(ini);
  TTransportSettings loaded;
  loaded.ReadTransportSettings(ini);
  ExpectSameTransport(loaded, saved);
  // Stored password forms go to the file unchanged.
  EXPECT_EQ(ReadIniValue(ini, kSection, "MailPass"), "A1B2C3D4");
  EXPECT_EQ(ReadIniValue(ini, kSection, "DBPassword"), "99FF00");
}

TEST_F(TransportFileTest, ConstructionDefaultsSurviveASaveAndALoad) {
  TTransportSettings saved;
  saved.DBTable = "MCalls";
  saved.WriteTransportSettings(ini);
  TTransportSettings loaded = DistinctTransport();
  loaded.ReadTransportSettings(ini);
  ExpectSameTransport(loaded, saved);
}

TEST_F(TransportFileTest, EmptyTableIsSavedAsMCalls) {
  TTransportSettings t;
  t.WriteTransportSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "DBTable"), "MCalls");
}

TEST_F(TransportFileTest, CopyListIsReadWithoutBlanksAndSavedJoined) {
  WriteIniValue(ini, kSection, "CopyEmails", "  a@x.ru ,   b@y.ru  ");
  TTransportSettings t;
  t.ReadTransportSettings(ini);
  EXPECT_EQ(t.CopyEmails, (StringList{"a@x.ru", "b@y.ru"}));
  t.WriteTransportSettings(ini);
  EXPECT_EQ(ReadIniValue(ini, kSection, "CopyEmails"), "a@x.ru, b@y.ru");
}

TEST_F(TransportFileTest, ClearedCopyListStaysCleared) {
  TTransportSettings t;
  t.CopyEmails = {"a@x.ru"};
  t.WriteTransportSettings(ini);
  t.CopyEmails.clear();
  t.WriteTransportSettings(ini);
  TTransportSettings loaded;
  loaded.ReadTransportSettings(ini);
  EXPECT_TRUE(loaded.CopyEmails.empty());
}

TEST_F(TransportFileTest, MissingOrEmptyPortIsTheSmtpPort) {
  WriteIniValue(ini, kSection, "Port", "");
  TTransportSettings t;
  t.ReadTransportSettings(ini);
  EXPECT_EQ(t.GetPort(), 25);
  t.Port = "587";
  EXPECT_EQ(t.GetPort(), 587);
}

}  // namespace
