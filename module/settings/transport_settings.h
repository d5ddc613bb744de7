#pragma once

#include "module/settings/comma_lists.h"

#include <string>

// Mail, trader message, SMS, message-file and database channel settings
// (section "Vantrel" of info.ini). MailPass and DBPassword hold the stored
// (encoded) form of the passwords, never the passwords themselves.
class TTransportSettings {
 public:
  TTransportSettings();

  // Copies every field of source; an empty DBTable arrives as "MCalls".
  void AssignTransportSettings(const TTransportSettings& source);

  // The database table; "MCalls" when none is set.
  std::string GetDBTable() const;
  StringList GetCopyEmails() const;
  // Replaces the copy list with the text cut at every ",", each piece
  // stripped of blanks and line breaks; empty pieces are kept.
  void SetCopyEmails(const std::string& text);
  // The mail server's port: the decimal number of Port, 25 (the SMTP port)
  // when Port is empty.
  int GetPort() const;

  // info.ini path in. The reader does not check the stored passwords: the
  // module does that right after reading.
  void ReadTransportSettings(const std::string& iniPath);
  void WriteTransportSettings(const std::string& iniPath) const;

  bool NotifyByEmail;
  std::string SMTPServer;
  std::string Port;
  bool IsAuthorisationUsed;
  std::string MailLogin;
  std::string MailPass;
  std::string SenderAddress;
  std::string ZenkEmailsVsClientCodesFile;
  bool NotifyByTraderMsg;
  bool NotifyByMC2Z;
  bool NotifyBySMS;
  std::string ZenkUIDsVsClientCodesFile;
  std::string MC2ZDirectories;
  bool NeedSaveToDB;
  std::string DSN;
  std::string DBTable;
  std::string DBLogin;
  std::string DBPassword;
  bool NotifEnabledAtStart;
  double MinParamChange;
  int MinTime;
  StringList CopyEmails;
  bool UseBlindCopy;
  bool SendSeparateEmails;
};
