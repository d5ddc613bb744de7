// The module's side of a margin call: the kind's value and templates, the
// texts, the channels and the database row, with the log lines of each step.
#pragma once

#include "module/notify/address_record.h"
#include "module/notify/margin_call_channels.h"
#include "module/notify/margin_call_database.h"
#include "module/notify/margin_call_sender.h"
#include "module/notify/margin_call_text.h"

#include <windows.h>

#include <functional>
#include <string>

class CVantrelLog;
class CZenkPluginModule;
class TModuleSettings;
class TTransportSettings;

class CModuleMarginCallSender : public IMarginCallSender {
 public:
  // isShown: whether an open risk table shows the client (with
  // ConsiderFilters on, a client no table shows gets nothing).
  CModuleMarginCallSender(const TModuleSettings& settings, const TTransportSettings& transport,
                          const TAddressMap& addresses, CMarginCallChannels& channels,
                          CMarginCallDatabase& database, CZenkPluginModule& host,
                          CVantrelLog& log,
                          std::function<bool(const TClientRiskRecord&)> isShown);

  // Sent when a channel carried the call; the row is stored whether or not.
  // Once the host is done with the plug-in or has forgotten the client
  // nothing more of the call goes (no channel, no file, no row): the call is
  // cut when a step was left out, and an error line names what; whole at
  // the stop when none was.
  EMarginCallOutcome SendMarginCall(int kind, TClientRiskRecord& record, double level,
                                    const std::string& bodyText, bool composeBody) override;

  // A template filled for the client with value, at the host's date and the
  // local time of now.
  std::string ComposeText(const std::string& pattern, double value, const std::string& firm,
                          const std::string& clientCode) const;

 private:
  // Why a margin call to the client must go no further; null while it may.
  const char* CutReason(const TClientRiskRecord& record) const;
  TMarginCallTextInputs TextInputs(double value, const std::string& firm,
                                   const std::string& clientCode, const SYSTEMTIME& now) const;

  const TModuleSettings& m_settings;
  const TTransportSettings& m_transport;
  const TAddressMap& m_addresses;
  CMarginCallChannels& m_channels;
  CMarginCallDatabase& m_database;
  CZenkPluginModule& m_host;
  CVantrelLog& m_log;
  std::function<bool(const TClientRiskRecord&)> m_isShown;
};
