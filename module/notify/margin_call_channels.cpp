#include "module/notify/margin_call_channels.h"

#include "module/log/mail_error_text.h"
#include "module/log/naming_lines.h"
#include "module/log/vantrel_log.h"
#include "module/notify/email_messages.h"
#include "module/notify/message_file.h"
#include "module/notify/message_parts.h"
#include "module/notify/sms_text.h"
#include "module/notify/stored_password.h"
#include "module/settings/transport_settings.h"
#include "sdk/plugin_module.h"

namespace {

// The host class whose transaction forms include the SMS form.
constexpr uint32_t kSmsClassMask = 0x4000000;
constexpr int kTransactionFormSize = 172;
constexpr int kTransactionErrorSize = 1024;

}  // namespace

CMarginCallChannels::CMarginCallChannels(const TTransportSettings& transport,
                                         const TAddressMap& addresses, CMailLibrary& mail,
                                         ZMailErrorHandler onMailError, CZenkPluginModule& host,
                                         CVantrelLog& log, IErrorReporter& reporter)
    : m_transport(transport),
      m_addresses(addresses),
      m_mail(mail),
      m_onMailError(onMailError),
      m_host(host),
      m_log(log),
      m_reporter(reporter) {}

bool CMarginCallChannels::Deliver(const std::string& clientCode, const std::string& firm,
                                  const std::string& body, const std::string& subject,
                                  CDeliveryGate& gate) {
  // The address lists are walked as copies: while a channel's box is open
  // the address files may be read again, emptying the lists.
  bool taken = false;
  if (m_transport.NotifyByEmail) {
    if (const TAddressRecord* record = ChooseEmailRecord(m_addresses, clientCode, firm))
      SendEmails(StringList(record->Emails), subject, body, gate);
    taken = true;
  }
  const TAddressRecord* uidRecord = ChooseUidRecord(m_addresses, clientCode, firm);
  const std::vector<int> uids = uidRecord != nullptr ? uidRecord->Uids : std::vector<int>();
  if (m_transport.NotifyByTraderMsg) {
    for (int uid : uids) SendTraderMessages(uid, body, gate);
    taken = true;
  }
  if (m_transport.NotifyBySMS) {
    for (int uid : uids) SendSms(uid, body, gate);
    taken = true;
  }
  if (m_transport.NotifyByMC2Z && !m_transport.MC2ZDirectories.empty() &&
      WriteMessageFilesFor(clientCode, firm, body, gate))
    taken = true;
  return taken;
}

bool CMarginCallChannels::StartMail() {
  if (m_mail.Started()) return true;
  if (m_mail.RunPendingStop()) m_log.MailLog(1, "ZMLStop called.");
  char error[ZMAIL_ERROR_BUFFER_SIZE] = {};
  const bool withLogin = m_transport.IsAuthorisationUsed && !m_transport.MailLogin.empty();
  std::string password;
  if (withLogin) password = DecodeStoredPassword(kMailPasswordLabel, m_transport.MailPass);
  const bool started =
      m_mail.Start(m_onMailError, m_transport.SMTPServer, m_transport.GetPort(),
                   withLogin ? &m_transport.MailLogin : nullptr, password,
                   m_transport.SenderAddress, error);
  SecureZeroMemory(&password[0], password.size());
  m_log.MailLog(1, withLogin ? "ZMLStart_Ex called." : "ZMLStart called.");
  if (started) return true;
  m_reporter.ShowError(error, "Error");
  m_log.TraceLog(1, "ERROR: error in zmail (\"%s\").", error);
  return false;
}

// Every address gets its messages before the user hears of the ones that
// failed, all of them in one message box.
void CMarginCallChannels::SendEmails(const StringList& addresses, const std::string& subject,
                                     const std::string& body, CDeliveryGate& gate) {
  if (addresses.empty() || !StartMail()) return;
  std::vector<TFailedRecipient> failures;
  for (const std::string& address : addresses) {
    if (!gate.Pass("e-mail to " + address)) continue;
    const auto failed = SendEmailMessages(
        PlanEmailMessages({address}, m_transport),
        [&](const TEmailMessage& message, std::string* errorText) {
          char error[ZMAIL_ERROR_BUFFER_SIZE] = {};
          const bool queued = m_mail.AddMessage(message.To, message.Copies, message.BlindCopies,
                                                subject, body, error);
          m_log.MailLog(1, "ZMLAddMsgEx called.");
          m_log.MailLog(2, "%s", RecipientLogText(message).c_str());
          *errorText = error;
          return queued;
        });
    for (const TFailedRecipient& failure : failed)
      m_log.TraceLog(2, "ERROR: can not send e-mail (\"%s\").", failure.Error.c_str());
    if (failed.empty() && !address.empty()) m_log.TraceLog(2, "Margin call sent by e-mail.");
    failures.insert(failures.end(), failed.begin(), failed.end());
  }
  if (!failures.empty()) m_reporter.ShowError(FailedRecipientsText(failures), "Error sending e-mail");
}

void CMarginCallChannels::SendTraderMessages(int uid, const std::string& body, CDeliveryGate& gate) {
  const std::string step = "trader message to UID " + std::to_string(uid);
  for (const std::string& part : TraderMessageParts(body)) {
    if (!gate.Pass(step)) return;
    m_host.CallHost<156>(uid, 0, 1, part.c_str());
  }
  m_log.TraceLog(2, "Margin call sent by trader message to UID=%d.", uid);
}

void CMarginCallChannels::SendSms(int uid, const std::string& body, CDeliveryGate& gate) {
  const std::string step = "SMS to UID " + std::to_string(uid);
  for (const std::string& part : SmsParts(body)) {
    if (!gate.Pass(step)) return;
    SendSmsTransaction(uid, part);
  }
  m_log.TraceLog(2, "Margin call sent by sms.");
}

// A host without an SMS form sends nothing.
void CMarginCallChannels::SendSmsTransaction(int uid, const std::string& part) {
  const int classIndex = m_host.FindHostRecordIndex(kSmsClassMask);
  const int forms = m_host.CallHost<35>(classIndex);
  for (int form = 0; form < forms; ++form) {
    const auto* record =
        static_cast<const uint8_t*>(m_host.CallHost<36>(classIndex, kTransactionFormSize, form));
    if (record == nullptr || !IsSmsTransactionForm(record)) continue;
    char error[kTransactionErrorSize] = {};
    m_host.CallHost<48>(classIndex, form, SmsTransactionText(uid, part).c_str(), 0, error, nullptr);
    return;
  }
}

bool CMarginCallChannels::WriteMessageFilesFor(const std::string& clientCode,
                                               const std::string& firm, const std::string& body,
                                               CDeliveryGate& gate) {
  const TAddressRecord* record = ChooseUidRecord(m_addresses, clientCode, firm);
  if (record == nullptr || record->Uids.empty() || !gate.Pass("message files")) return false;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const TMessageFileOutcome outcome = WriteMessageFiles(
      m_transport.MC2ZDirectories, now, clientCode, MessageFileContent(record->Uids, body));
  const std::string uidLine = MessageFileUidLine(record->Uids);
  // A call no directory took reached nobody: that is a failure whatever the
  // trace level, though the switch still makes the channel's result. Its
  // line names each directory and why, so that the one to mend is known.
  if (outcome.Written.empty()) {
    const std::string head =
        "ERROR: margin call to client " + clientCode + " not written into any MC2Z directory (" + uidLine + "): ";
    const std::vector<std::string> failed =
        outcome.Failed.empty() ? std::vector<std::string>{"the setting names none"} : outcome.Failed;
    for (const std::string& line : LinesNaming(head, failed, ".")) m_log.TraceLog(0, "%s", line.c_str());
    return true;
  }
  for (const std::string& directory : outcome.Failed)
    m_log.TraceLog(2, "ERROR: can not write a MC2Z file into %s.", directory.c_str());
  std::string folders;
  for (const std::string& path : outcome.Written)
    folders += (folders.empty() ? "\"" : ", \"") + path.substr(0, path.rfind('\\') + 1) + "\"";
  m_log.TraceLog(2, "Margin call sent by MC2Z to %s. Written into %s.", uidLine.c_str(), folders.c_str());
  return true;
}

void CMarginCallChannels::OnMailError(const char* errorText) {
  // The library's own code is under this call: the box below must not let
  // it be freed.
  const CMailLibrary::CInUse callback(m_mail);
  const std::string userText = MailErrorUserText(errorText);
  if (!userText.empty()) m_reporter.ShowError(userText, "Ошибка");
  m_log.MailLog(1, "ZMail error: %s", errorText);
  m_mail.StopAfterCallback();
}
