// The channels that carry one margin call out, each when the transport
// settings switch it on, in this order: e-mail through the host's mail
// library, trader messages and SMS through the host, message files.
#pragma once

#include "module/notify/address_record.h"
#include "module/notify/delivery_gate.h"
#include "module/notify/mail_library.h"

#include <string>
#include <vector>

class CVantrelLog;
class CZenkPluginModule;
class TTransportSettings;

// Tells the user about a failure (an error message box).
class IErrorReporter {
 public:
  virtual void ShowError(const std::string& text, const char* caption) = 0;

 protected:
  ~IErrorReporter() = default;
};

class CMarginCallChannels {
 public:
  // onMailError: the handler the mail library reports later failures to; it
  // must find these channels on its own (the library's context argument is
  // not the one registered) and pass the failure to OnMailError.
  CMarginCallChannels(const TTransportSettings& transport, const TAddressMap& addresses,
                      CMailLibrary& mail, ZMailErrorHandler onMailError, CZenkPluginModule& host,
                      CVantrelLog& log, IErrorReporter& reporter);

  // True when a channel was taken: e-mail, trader message or SMS switched on,
  // or message files switched on for a client with UIDs, whether or not a
  // directory took the file. Each e-mail, trader message, SMS and the
  // message files pass the gate first.
  bool Deliver(const std::string& clientCode, const std::string& firm, const std::string& body,
               const std::string& subject, CDeliveryGate& gate);

  // The mail library reports a failed delivery: the user is told and the
  // library is started afresh for the next e-mail.
  void OnMailError(const char* errorText);

 private:
  bool StartMail();
  void SendEmails(const StringList& addresses, const std::string& subject,
                  const std::string& body, CDeliveryGate& gate);
  void SendTraderMessages(int uid, const std::string& body, CDeliveryGate& gate);
  void SendSms(int uid, const std::string& body, CDeliveryGate& gate);
  void SendSmsTransaction(int uid, const std::string& part);
  bool WriteMessageFilesFor(const std::string& clientCode, const std::string& firm,
                            const std::string& body, CDeliveryGate& gate);

  const TTransportSettings& m_transport;
  const TAddressMap& m_addresses;
  CMailLibrary& m_mail;
  ZMailErrorHandler m_onMailError;
  CZenkPluginModule& m_host;
  CVantrelLog& m_log;
  IErrorReporter& m_reporter;
};
