// The host's events, the recalculation timer and the periodic tick.
#include "module/vantrel_module.h"

#include "module/host_data/firm_settings_text.h"
#include "module/recalc/risk_recalculation.h"
#include "module/security_params.h"
#include "sdk/host_record_fields.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string_view>

namespace {
constexpr int kFirmObjectKind = 14, kFirmObjectSize = 96;
constexpr int kFirmObjectText = 4, kFirmObjectName = 8, kFirmObjectReady = 88;
constexpr size_t kFirmNameCapacity = kFirmObjectReady - kFirmObjectName;
// The host's start event hands over a buffer that the plug-in never reads.
constexpr int kStartBufferSize = 1024;
// The scheduled margin calls run on every 30th tick of the host.
constexpr int kScheduleTicks = 30;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }
}  // namespace

int CVantrelModule::OnHostEvent(uint32_t event, const char* name, uint32_t p3, uint32_t p4) {
  switch (event) {
    case 1: {
      m_startTime = Now();
      char buffer[kStartBufferSize] = {};
      CallHost<146>("VanTrel.dll", kStartBufferSize, buffer, kStartBufferSize);
      ForgetRules();
      m_closingOrders.OnNewHostSession();
      break;
    }
    case 2:
      m_startTime = 0;
      ++m_hostStops;
      break;
    case 4:
      OnFirmSettings(name);
      break;
    default:
      break;
  }
  return CZenkPluginModule::OnHostEvent(event, name, p3, p4);
}

void CVantrelModule::ForgetRules() {
  m_rules.Clear();
  m_firms.clear();
  ResetClientRuleIndexes();
}

void CVantrelModule::ResetClientRuleIndexes() {
  for (auto& client : m_clients.Clients()) client.second->ExclusionMark = kRuleUndecided;
}

// A firm's settings text is available: a new firm's rules are added; a firm
// already read (or none named) makes every firm's text be read again.
void CVantrelModule::OnFirmSettings(const char* firmName) {
  bool recalculate = true;
  // A firm's name is read no further than the host's firm objects hold one:
  // a name the host forgot to end must not be read past its buffer.
  const std::string firm =
      firmName != nullptr ? std::string(firmName, strnlen(firmName, kFirmNameCapacity)) : "";
  const bool known =
      firmName == nullptr || std::find(m_firms.begin(), m_firms.end(), firm) != m_firms.end();
  if (!known) {
    m_firms.push_back(firm);
    if (m_firmText.Fetch(firm.c_str()) && m_rules.ParseClientCodeChangeRules(firm, m_firmText.Text()))
      ResetClientRuleIndexes();
  } else {
    ForgetRules();
    ReadAllFirmSettings(&recalculate);
  }
  m_hasFirmSettings = true;
  if (recalculate) {
    RecalcRiskParams(true);
    UpdateRiskTables();
  }
  RestartRecalcTimer();
}

// Every firm settings object of the host; one that is not ready yet holds
// the recalculation back while the others' rules are still read.
void CVantrelModule::ReadAllFirmSettings(bool* recalculate) {
  const int count = CallHost<32>(kFirmObjectKind);
  for (int index = 0; index < count; ++index) {
    uint8_t object[kFirmObjectSize] = {};
    if (CallHost<34>(kFirmObjectKind, kFirmObjectSize, index, object) == 0) continue;
    if (host::record::Read<int32_t>(object, kFirmObjectReady) == 0) {
      *recalculate = false;
      continue;
    }
    const char* nameField = reinterpret_cast<const char*>(object + kFirmObjectName);
    const std::string name(nameField, strnlen(nameField, kFirmNameCapacity));
    m_firms.push_back(name);
    auto text = reinterpret_cast<const char*>(host::record::Read<uintptr_t>(object, kFirmObjectText));
    if (text == nullptr) continue;
    const std::string_view bounded(text, strnlen(text, CFirmSettingsText::kCapacity));
    if (m_rules.ParseClientCodeChangeRules(name, bounded)) ResetClientRuleIndexes();
  }
}

void CVantrelModule::RestartRecalcTimer() {
  m_recalcTimer.Restart(static_cast<UINT>(std::max(m_settings.RecalcRiskParamsInterval, 0)));
}

void CVantrelModule::OnRecalcTimer() {
  if (HasClassInBlockedState()) return;
  RecalcRiskParams(false);
  UpdateRiskTables();
}

void CVantrelModule::RecalcRiskParams(bool fullRun) {
  CReentryGuard::Scope run(m_recalcRun);
  if (!run.Entered()) return;
  const CClientBook::CUse use(m_clients);
  const int64_t now = Now();
  // Margin calls are checked on timer runs only, while notifications are on
  // and the host is connected; the host is asked once per run.
  const bool checkMarginCalls = !fullRun && m_settings.NotificationsOn && CallHost<49>() != 0;
  CRiskRecalculation(m_clients, m_rules, m_settings, m_calc, m_clientsFilter, m_firmText,
                     m_defaultConfigs)
      .Run(fullRun, now, [this, now, checkMarginCalls](TClientRiskRecord& record) {
        if (checkMarginCalls) m_marginCalls.CheckClient(record, now);
        // A margin call's box or transaction runs the host's loop: the host
        // may have stopped the plug-in (forgetting the clients) or be done.
        return !IsDone() && !record.forgotten;
      });
}

void CVantrelModule::OnTimerTick(uint32_t, uint32_t) {
  ++m_tickCounter;
  TEngineClock now;
  if (m_tickCounter % 5 == 0 && EngineClockAt(Now(), &now)) AutoCloseStep(now);
  if (m_tickCounter % kScheduleTicks == 0) m_marginCalls.SendBySchedule(RiskRecords(), m_startTime);
}
