#include "module/settings/transport_settings.h"
#include "module/settings/profile_section.h"

#include <cstdlib>

namespace {

const char kSection[] = "Vantrel";

// A copy address without blanks and line breaks.
std::string WithoutBlanks(const std::string& piece) {
  std::string clean;
  for (char c : piece)
    if (c != ' ' && c != '\r' && c != '\n') clean += c;
  return clean;
}

}  // namespace

TTransportSettings::TTransportSettings()
    : NotifyByEmail(true),
      Port("25"),
      IsAuthorisationUsed(false),
      NotifyByTraderMsg(false),
      NotifyByMC2Z(false),
      NotifyBySMS(false),
      NeedSaveToDB(false),
      NotifEnabledAtStart(true),
      MinParamChange(0.0),
      MinTime(-1),
      UseBlindCopy(false),
      SendSeparateEmails(false) {}

void TTransportSettings::AssignTransportSettings(const TTransportSettings& source) {
  *this = source;
  DBTable = source.GetDBTable();
}

std::string TTransportSettings::GetDBTable() const {
  return DBTable.empty() ? std::string("MCalls") : DBTable;
}

int TTransportSettings::GetPort() const {
  return Port.empty() ? 25 : std::atoi(Port.c_str());
}

StringList TTransportSettings::GetCopyEmails() const { return CopyEmails; }

void TTransportSettings::SetCopyEmails(const std::string& text) {
  CopyEmails.clear();
  if (text.empty()) return;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type comma = text.find(',', start);
    CopyEmails.push_back(WithoutBlanks(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

void TTransportSettings::ReadTransportSettings(const std::string& iniPath) {
  CProfileSection ini(iniPath, kSection);
  NotifyByEmail = ini.ReadBool("NotifyByEmail", false);
  SMTPServer = ini.ReadString("SMTPServer", "");
  Port = ini.ReadString("Port", "");
  IsAuthorisationUsed = ini.ReadBool("IsAuthorisationUsed", false);
  MailLogin = ini.ReadString("MailLogin", "");
  MailPass = ini.ReadString("MailPass", "");
  SenderAddress = ini.ReadString("SenderAddress", "");
  ZenkEmailsVsClientCodesFile = ini.ReadString("ZenkEmailsVsClientCodesFile", "");
  NotifyByTraderMsg = ini.ReadBool("NotifyByTraderMsg", false);
  NotifyByMC2Z = ini.ReadBool("NotifyByMC2Z", false);
  NotifyBySMS = ini.ReadBool("NotifyBySMS", false);
  ZenkUIDsVsClientCodesFile = ini.ReadString("ZenkUIDsVsClientCodesFile", "");
  MC2ZDirectories = ini.ReadString("MC2ZDirectories", "");
  NeedSaveToDB = ini.ReadBool("NeedSaveToDB", false);
  DSN = ini.ReadString("DSN", "");
  DBLogin = ini.ReadString("DBLogin", "");
  DBTable = ini.ReadString("DBTable", "");
  DBPassword = ini.ReadString("DBPassword", "");
  NotifEnabledAtStart = ini.ReadBool("NotifEnabledAtStart", true);
  MinTime = ini.ReadInt("MinTime", 0);
  MinParamChange = ini.ReadDouble("MinParamChange", "0");
  UseBlindCopy = ini.ReadBool("UseBlindCopy", false);
  SendSeparateEmails = ini.ReadBool("SendSeparateEmails", false);
  SetCopyEmails(ini.ReadString("CopyEmails", ""));
}

void TTransportSettings::WriteTransportSettings(const std::string& iniPath) const {
  CProfileSection ini(iniPath, kSection);
  ini.WriteBool("NotifyByEmail", NotifyByEmail);
  ini.WriteString("SMTPServer", SMTPServer);
  ini.WriteString("Port", Port);
  ini.WriteBool("IsAuthorisationUsed", IsAuthorisationUsed);
  ini.WriteString("MailLogin", MailLogin);
  ini.WriteString("MailPass", MailPass);
  ini.WriteString("SenderAddress", SenderAddress);
  ini.WriteString("ZenkEmailsVsClientCodesFile", ZenkEmailsVsClientCodesFile);
  ini.WriteBool("NotifyByTraderMsg", NotifyByTraderMsg);
  ini.WriteBool("NotifyByMC2Z", NotifyByMC2Z);
  ini.WriteBool("NotifyBySMS", NotifyBySMS);
  ini.WriteString("ZenkUIDsVsClientCodesFile", ZenkUIDsVsClientCodesFile);
  ini.WriteString("MC2ZDirectories", MC2ZDirectories);
  ini.WriteBool("NeedSaveToDB", NeedSaveToDB);
  ini.WriteString("DSN", DSN);
  ini.WriteString("DBLogin", DBLogin);
  ini.WriteString("DBTable", GetDBTable());
  ini.WriteString("DBPassword", DBPassword);
  ini.WriteBool("NotifEnabledAtStart", NotifEnabledAtStart);
  ini.WriteInt("MinTime", MinTime);
  ini.WriteDouble("MinParamChange", MinParamChange);
  ini.WriteBool("UseBlindCopy", UseBlindCopy);
  ini.WriteBool("SendSeparateEmails", SendSeparateEmails);
  ini.WriteString("CopyEmails", JoinWithComma(CopyEmails));
}
