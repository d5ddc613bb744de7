#include "module/notify/module_margin_call_sender.h"

#include "module/log/vantrel_log.h"
#include "module/risk/level_tests.h"
#include "module/risk/margin_call_kinds.h"
#include "module/settings/module_settings.h"
#include "module/settings/transport_settings.h"
#include "sdk/numeric.h"
#include "sdk/plugin_module.h"

namespace {

struct TKindTexts {
  double value = 0.0;
  const std::string* subject = nullptr;
  const std::string* body = nullptr;
};

TKindTexts Texts(double value, const std::string& subject, const std::string& body) {
  return {value, &subject, &body};
}

// The value a call of the kind carries and its subject and body templates;
// no templates for a kind that is never sent.
TKindTexts TextsOfKind(int kind, const TClientRiskRecord& r, const TModuleSettings& s,
                       double level) {
  switch (kind) {
    case kLowFundsKind:
      return Texts(r.GetValueByColumn(kPlannedNetPositionId), s.LowFundsTopic, s.LowFundsBody);
    case kSfrKind:
      if (s.UseSFRTemplate2 && DoubleEquals(level, s.SFRCriticalLevel))
        return Texts(r.GetValueByColumn(kSfrId), s.SFRTopic2, s.SFRBody2);
      return Texts(r.GetValueByColumn(kSfrId), s.SFRTopic, s.SFRBody);
    case kSfrOpenPositionsKind:
      if (s.UseSFRTemplate2_fp && DoubleEquals(level, s.SFRCriticalLevel_fp))
        return Texts(r.GetValueByColumn(kSfrOpenPositionsId), s.SFRTopic2_fp, s.SFRBody2_fp);
      return Texts(r.GetValueByColumn(kSfrOpenPositionsId), s.SFRTopic_fp, s.SFRBody_fp);
    case kClgoKind:
      return Texts(r.GetValueByColumn(kClgoId), s.CLGOTopic, s.CLGOBody);
    case kEclgoKind:
      return Texts(r.GetValueByColumn(kEclgoId), s.ECLGOTopic, s.ECLGOBody);
    case kMarginLevelKind:
      return Texts(r.GetValueByColumn(r.united ? kMarginLevelId : kPlannedNetPositionId),
                   s.MLTopic, s.MLBody);
    case kUpKind:
      return Texts(r.GetValueByColumn(s.UPParam), s.UPTopic, s.UPBody);
    case kMl2Kind:
      if (UsesMl2SecondTemplate(r, s))
        return Texts(r.GetValueByColumn(s.ML2Param), s.ML2Topic2, s.ML2Body2);
      return Texts(r.GetValueByColumn(s.ML2Param), s.ML2Topic, s.ML2Body);
    default:
      return {};
  }
}

// A body whose file could not be read when the settings were read goes out
// empty; the call still goes.
void LogUnreadableBodyFile(const TModuleSettings& s, const std::string& body, CVantrelLog& log) {
  for (const auto& file : s.UnreadableBodyFiles)
    if (s.BodyOfKind(file.first) == &body && body.empty())
      log.TraceLog(2, "ERROR: can not read the body template file \"%s\", the body is empty.",
                   file.second.c_str());
}

}  // namespace

CModuleMarginCallSender::CModuleMarginCallSender(
    const TModuleSettings& settings, const TTransportSettings& transport,
    const TAddressMap& addresses, CMarginCallChannels& channels, CMarginCallDatabase& database,
    CZenkPluginModule& host, CVantrelLog& log,
    std::function<bool(const TClientRiskRecord&)> isShown)
    : m_settings(settings),
      m_transport(transport),
      m_addresses(addresses),
      m_channels(channels),
      m_database(database),
      m_host(host),
      m_log(log),
      m_isShown(std::move(isShown)) {}

EMarginCallOutcome CModuleMarginCallSender::SendMarginCall(int kind, TClientRiskRecord& record,
                                                           double level, const std::string& bodyText,
                                                           bool composeBody) {
  m_log.TraceLog(2, "Trying to send margin call (type: %d, clientcode: %s, level: %f)...", kind,
                 record.clientCode, level);
  // A run over many clients may outlast the host's use of the plug-in.
  if (const char* reason = CutReason(record)) {
    m_log.TraceLog(0, "ERROR: margin call to client %s not sent: %s.", record.clientCode, reason);
    return EMarginCallOutcome::kCut;
  }
  if (m_settings.ConsiderFilters && !m_isShown(record)) {
    m_log.TraceLog(2, "Client is not shown in any table, skipping.");
    return EMarginCallOutcome::kNotSent;
  }
  const TKindTexts texts = TextsOfKind(kind, record, m_settings, level);
  if (texts.body == nullptr) return EMarginCallOutcome::kNotSent;
  if (composeBody) LogUnreadableBodyFile(m_settings, *texts.body, m_log);
  // One date and time for both texts and the row.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const TMarginCallTextInputs inputs = TextInputs(texts.value, record.firm, record.clientCode, now);
  const std::string body = composeBody ? ComposeMarginCallText(*texts.body, inputs) : bodyText;
  const std::string subject = ComposeMarginCallText(*texts.subject, inputs);
  m_log.TraceLog(2, "Param value for client: %f", texts.value);
  // A box or a transaction of a channel runs the host's loop: the host may
  // stop the plug-in or be done with it there.
  CDeliveryGate gate([this, &record] { return CutReason(record) != nullptr; });
  const bool delivered = m_channels.Deliver(record.clientCode, record.firm, body, subject, gate);
  if (m_transport.NeedSaveToDB && gate.Pass("database row")) {
    TMarginCallRow row;
    row.kind = kind;
    row.hostDate = inputs.HostDate;
    row.localTime = now;
    row.level = level;
    row.value = texts.value;
    row.clientCode = record.clientCode;
    row.body = body;
    row.subject = m_transport.NotifyByEmail ? subject : std::string();
    row.firm = record.firm;
    if (const TAddressRecord* emails = ChooseEmailRecord(m_addresses, record.clientCode, record.firm))
      row.emails = emails->Emails;
    m_database.Save(row);
  }
  // A stop seen only once every step went keeps nothing back: the call is
  // not cut, though its run ends.
  if (gate.LeftSomethingOut()) {
    m_log.TraceLog(0, "ERROR: margin call (type: %d) to client %s cut, %s: not sent: %s.", kind,
                   record.clientCode, CutReason(record), gate.NotSent().c_str());
    return EMarginCallOutcome::kCut;
  }
  if (CutReason(record) != nullptr) return EMarginCallOutcome::kWholeAtStop;
  return delivered ? EMarginCallOutcome::kSent : EMarginCallOutcome::kNotSent;
}

const char* CModuleMarginCallSender::CutReason(const TClientRiskRecord& record) const {
  if (m_host.IsDone()) return "the host is done with the plug-in";
  if (record.forgotten) return "the host stopped the plug-in's work";
  return nullptr;
}

std::string CModuleMarginCallSender::ComposeText(const std::string& pattern, double value,
                                                 const std::string& firm,
                                                 const std::string& clientCode) const {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ComposeMarginCallText(pattern, TextInputs(value, firm, clientCode, now));
}

TMarginCallTextInputs CModuleMarginCallSender::TextInputs(double value, const std::string& firm,
                                                          const std::string& clientCode,
                                                          const SYSTEMTIME& now) const {
  TMarginCallTextInputs inputs;
  inputs.Value = value;
  inputs.Firm = firm;
  inputs.ClientCode = clientCode;
  inputs.HostDate = m_host.CallHost<44>();
  inputs.Hour = now.wHour;
  inputs.Minute = now.wMinute;
  inputs.Second = now.wSecond;
  inputs.DecimalSeparator = m_host.DecimalSeparator();
  inputs.Addresses = &m_addresses;
  return inputs;
}
