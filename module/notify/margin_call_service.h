// Everything the module needs to send margin calls: the address lists, the
// mail library, the channels, the database and the sender over them. The
// module drives it from the recalculation, the tick, the host's stop and
// unload calls and the settings.
#pragma once

#include "module/notify/address_record.h"
#include "module/notify/engine_clock.h"
#include "module/notify/mail_library.h"
#include "module/notify/margin_call_channels.h"
#include "module/notify/margin_call_database.h"
#include "module/notify/module_margin_call_sender.h"

#include <cstdint>
#include <string>
#include <vector>

class CVantrelModule;

class CMarginCallService : public IErrorReporter, public IMarginCallDatabaseOwner {
 public:
  explicit CMarginCallService(CVantrelModule& module);

  // The automatic check of one client after a timer run recalculated it,
  // while the host reports a connection to the trading server; now: the
  // run's time (seconds since 1970).
  void CheckClient(TClientRiskRecord& record, int64_t now);
  // The scheduled calls; start: when the host started the plug-in (0: not yet).
  void SendBySchedule(const std::vector<TClientRiskRecord*>& records, int64_t start);
  // One call that the user sends from a risk table, with a body text of the
  // user's own (composeBody false) or the kind's body template; the kind's
  // sending time is stamped when a channel took it. The repeat rules and the
  // last sent value play no part. A run of such calls ends when the host
  // stopped the plug-in or was done with it during the call (EndsRun).
  EMarginCallOutcome SendManually(int kind, TClientRiskRecord& record, double level,
                                  const std::string& bodyText, bool composeBody);
  // A template filled for the client as a margin call would carry it.
  std::string ComposeText(const std::string& pattern, double value, const std::string& firm,
                          const std::string& clientCode) const {
    return m_sender.ComposeText(pattern, value, firm, clientCode);
  }

  void ConnectDatabaseIfNeeded() { m_database.ConnectIfNeeded(); }
  // The host stops the plug-in: the database is let go.
  void OnStop();
  // The plug-in is unloaded: the mail library stops.
  void OnUnload();

  // The transport settings are about to become edited: a changed database is
  // let go (its writes allowed again) and a changed mail server stops a
  // started mail library. True when the database changed: once the edits are
  // in force, ConnectChangedDatabase connects it again.
  bool PrepareTransportChange(const TTransportSettings& edited);
  void ConnectChangedDatabase();

  // Both address files of the transport settings afresh; a path that is
  // empty leaves its lists empty. A file named that cannot be opened is an
  // error in the log; the result is what to tell the manager of such files,
  // empty when every file named was read.
  std::string ReloadAddressFiles();
  // The stored passwords of the channels in use; false after telling the
  // user that one of them cannot be turned back, and when the user then
  // asks for it, the transport settings dialog is opened.
  bool CheckStoredPasswords();

  // A failure the mail library reports after it took a message.
  void OnMailError(const char* errorText) { m_channels.OnMailError(errorText); }

  const TAddressMap& Addresses() const { return m_addresses; }
  CMarginCallDatabase& Database() { return m_database; }
  CMailLibrary& Mail() { return m_mail; }

  void ShowError(const std::string& text, const char* caption) override;
  std::string DecodeDatabasePassword(const std::string& storedPassword) override;
  void ShowDatabaseError(const char* text, const char* caption) override;

 private:
  CVantrelModule& m_module;
  TAddressMap m_addresses;
  CMailLibrary m_mail;
  CMarginCallDatabase m_database;
  CMarginCallChannels m_channels;
  CModuleMarginCallSender m_sender;
};
