#include "module/notify/margin_call_service.h"

#include "module/log/naming_lines.h"
#include "module/notify/address_file.h"
#include "module/notify/engine_client_check.h"
#include "module/notify/engine_schedule.h"
#include "module/notify/engine_sent_marks.h"
#include "module/notify/stored_password.h"
#include "module/vantrel_module.h"
#include "resources/resource_ids.h"
#include "sdk/confirmation.h"
#include "sdk/entry_guard.h"
#include "sdk/modal_loops.h"

#include <ctime>

namespace {

constexpr char kBadPasswordAdvice[] = "Необходимо изменить пароль.\n\n";

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

bool DatabaseDiffers(const TTransportSettings& a, const TTransportSettings& b) {
  return a.NeedSaveToDB != b.NeedSaveToDB || a.DSN != b.DSN || a.DBLogin != b.DBLogin ||
         a.DBTable != b.DBTable || a.DBPassword != b.DBPassword;
}

// The mail library calls back with a value of its own, not the one it was
// given, so the channels are reached through the module.
void __stdcall OnZMailError(const char* errorText, void*) {
  GuardBoundary("mail error", [errorText] {
    if (g_pModule != nullptr)
      g_pModule->MarginCalls().OnMailError(errorText != nullptr ? errorText : "");
  });
}

bool MailDiffers(const TTransportSettings& a, const TTransportSettings& b) {
  return a.NotifyByEmail != b.NotifyByEmail || a.SMTPServer != b.SMTPServer || a.Port != b.Port ||
         a.SenderAddress != b.SenderAddress || a.IsAuthorisationUsed != b.IsAuthorisationUsed ||
         a.MailLogin != b.MailLogin || a.MailPass != b.MailPass;
}

}  // namespace

CMarginCallService::CMarginCallService(CVantrelModule& module)
    : m_module(module),
      m_database(module.Transport(), module.Log(), *this),
      m_channels(module.Transport(), m_addresses, m_mail, OnZMailError, module, module.Log(),
                 *this),
      m_sender(module.Settings(), module.Transport(), m_addresses, m_channels, m_database, module,
               module.Log(), [&module](const TClientRiskRecord& record) {
                 return module.IsClientInAnyTable(&record);
               }) {}

void CMarginCallService::CheckClient(TClientRiskRecord& record, int64_t now) {
  const TModuleSettings& settings = m_module.Settings();
  if (!settings.NotificationsOn) return;
  m_module.TraceLog(3, "Checking risk params for %s", record.clientCode);
  const TTransportSettings& transport = m_module.Transport();
  const TRepeatLimits limits{transport.MinTime, transport.MinParamChange};
  CheckClientRiskParams(record, settings, limits, now, m_sender, &m_module.Log());
}

void CMarginCallService::SendBySchedule(const std::vector<TClientRiskRecord*>& records,
                                        int64_t start) {
  TEngineClock startClock, nowClock;
  if (start == 0 || !EngineClockAt(start, &startClock) || !EngineClockAt(Now(), &nowClock)) return;
  const CClientBook::CUse use(m_module.Clients());
  const TScheduleSend send =
      SendMarginCallsBySchedule(m_module.Settings(), records, startClock, nowClock, m_sender);
  if (!send.due) return;
  // A stop during the last call, once all of it went, kept nothing back.
  if (!send.cut && send.notReached.empty()) {
    m_module.TraceLog(1, "Sending margin calls by schedule: done.");
    return;
  }
  // The entries have fired for today: a client the cut kept back gets no
  // scheduled call before tomorrow, so each is named.
  if (send.notReached.empty())
    m_module.TraceLog(0, "ERROR: margin calls by schedule cut: no other call was due.");
  for (const std::string& line :
       LinesNaming("ERROR: margin calls by schedule cut: not sent to ", send.notReached, "."))
    m_module.TraceLog(0, "%s", line.c_str());
}

EMarginCallOutcome CMarginCallService::SendManually(int kind, TClientRiskRecord& record,
                                                    double level, const std::string& bodyText,
                                                    bool composeBody) {
  const CClientBook::CUse use(m_module.Clients());
  return SendAndStamp(m_sender, kind, record, level, Now(), bodyText, composeBody);
}

void CMarginCallService::OnStop() {
  if (m_database.WritesOn() && m_module.Transport().NeedSaveToDB) m_database.Disconnect();
}

void CMarginCallService::OnUnload() {
  m_mail.Stop();
  m_module.MailLog(1, "ZMLStop called.");
  m_mail.Release();
}

bool CMarginCallService::PrepareTransportChange(const TTransportSettings& edited) {
  const TTransportSettings& current = m_module.Transport();
  const bool databaseChanged = DatabaseDiffers(current, edited);
  if (databaseChanged) {
    m_database.EnableWrites();
    if (m_database.Connected()) m_database.Disconnect();
  }
  if (MailDiffers(current, edited) && m_mail.Started()) {
    m_mail.Stop();
    m_module.MailLog(1, "ZMLStop called.");
    m_mail.MarkStopped();
  }
  return databaseChanged;
}

void CMarginCallService::ConnectChangedDatabase() {
  if (m_module.Transport().NeedSaveToDB) m_database.Connect();
}

// A file named but not opened leaves its lists empty, so every margin call
// of its channels goes nowhere: that is an error, never a quiet empty list.
std::string CMarginCallService::ReloadAddressFiles() {
  const TTransportSettings& transport = m_module.Transport();
  std::vector<std::string> errors;
  std::string unread;
  const struct {
    const std::string& path;
    EAddressFileKind kind;
    const char* lost;  // what no client has without the file
    const char* named;
    const char* stopped;
  } files[] = {
      {transport.ZenkUIDsVsClientCodesFile, EAddressFileKind::kUids, "a UID",
       "Не открывается файл с соответствиями кодов клиентов и UID:\n",
       "Сообщения трейдера, MC2Z и SMS клиентам не отправляются.\n"},
      {transport.ZenkEmailsVsClientCodesFile, EAddressFileKind::kEmails, "an e-mail address",
       "Не открывается файл с соответствиями кодов клиентов и e-mail:\n", "Письма клиентам не отправляются.\n"},
  };
  for (const auto& file : files) {
    const bool opened = ReloadAddressFile(file.path, file.kind, m_addresses,
                                          file.kind == EAddressFileKind::kUids ? &errors : nullptr);
    if (opened || file.path.empty()) continue;
    m_module.TraceLog(0, "ERROR: the address file \"%s\" can not be opened: no client has %s.", file.path.c_str(),
                      file.lost);
    unread += file.named + file.path + "\n\n" + file.stopped;
  }
  for (const std::string& error : errors) m_module.TraceLog(1, "%s", error.c_str());
  return unread;
}

bool CMarginCallService::CheckStoredPasswords() {
  const TTransportSettings& t = m_module.Transport();
  const bool mailBad = t.NotifyByEmail && t.IsAuthorisationUsed && !t.MailPass.empty() &&
                       DecodeStoredPassword(kMailPasswordLabel, t.MailPass).empty();
  const bool databaseBad = t.NeedSaveToDB && !t.DBPassword.empty() &&
                           DecodeStoredPassword(kDatabasePasswordLabel, t.DBPassword).empty();
  if (!mailBad && !databaseBad) return true;
  std::string text;
  if (mailBad) text += std::string("Почтовый пароль не может быть расшифрован!\n") + kBadPasswordAdvice;
  if (databaseBad) text += std::string("Пароль БД не может быть расшифрован!\n") + kBadPasswordAdvice;
  text += "Желаете сделать это прямо сейчас?\n";
  HWND frame = static_cast<HWND>(m_module.CallHost<25>(host::kMainFrame));
  if (UserConfirms(frame, text.c_str(), "Vantrel FM", MB_YESNO | MB_ICONERROR))
    m_module.OnMenuCommand(frame, ID_TRANSPORT_SETTINGS, false);
  return false;
}

void CMarginCallService::ShowError(const std::string& text, const char* caption) {
  ShowMessageBox(m_module.GetMainWindow(), text.c_str(), caption, MB_OK | MB_ICONERROR);
}

std::string CMarginCallService::DecodeDatabasePassword(const std::string& storedPassword) {
  return DecodeStoredPassword(kDatabasePasswordLabel, storedPassword);
}

void CMarginCallService::ShowDatabaseError(const char* text, const char* caption) {
  ShowError(text, caption);
}
