#include "host/standin/scenario_player.h"

#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <cstdio>

namespace {
constexpr uint32_t kStartEvent = 1;
constexpr uint32_t kFirmSettingsEvent = 4;
}  // namespace

int ScenarioPlayer::Start() {
  const HostFeed& feed = m_host.Feed();
  SendEvent({kStartEvent, ""});
  int accepted = 0;
  for (const PushedRecord& record : feed.startRecords) accepted += PushRecord(m_plugin, record);
  for (const std::string& firm : feed.firms) SendEvent({kFirmSettingsEvent, firm});
  return accepted;
}

std::vector<const HostStep*> ScenarioPlayer::PlayDue(int elapsedMilliseconds) {
  std::vector<const HostStep*> played;
  const std::vector<HostStep>& steps = m_host.Feed().steps;
  while (m_next < steps.size() && steps[m_next].atMilliseconds <= elapsedMilliseconds) {
    const HostStep& step = steps[m_next++];
    Play(step);
    played.push_back(&step);
  }
  m_host.Exchange().Deliver(m_plugin);
  return played;
}

bool ScenarioPlayer::Finished() const { return m_next >= m_host.Feed().steps.size(); }

// Prices first, so records and events of the same step already see them.
void ScenarioPlayer::Play(const HostStep& step) {
  for (const ParameterChange& change : step.parameters) {
    const int index = m_host.Records().FindSecurityByCode(change.security);
    if (index >= 0) m_host.Market().SetParameter(index, change.name, change.value);
  }
  if (step.connected >= 0) m_host.Clients().SetConnected(step.connected != 0);
  for (const PushedRecord& record : step.records) PushRecord(m_plugin, record);
  for (const HostEventSpec& event : step.events) SendEvent(event);
  for (const std::string& caption : step.menuCommands) m_host.ClickMenuItem(caption);
  if (step.refuse >= 0) m_host.Exchange().SetRefusing(step.refuse != 0);
  for (const auto& fill : step.fills) m_host.Exchange().Fill(fill.first, fill.second);
  for (int order : step.withdrawals) m_host.Exchange().Withdraw(order);
}

void ScenarioPlayer::SendEvent(const HostEventSpec& event) {
  m_plugin.Callback<25>(event.number, event.name.empty() ? nullptr : event.name.c_str(), 0u, 0u);
}

std::string ScenarioPlayer::Describe(const HostStep& step) {
  std::string text = "at " + std::to_string(step.atMilliseconds) + " ms:";
  for (const ParameterChange& change : step.parameters) {
    char value[64];
    std::snprintf(value, sizeof value, "%g", change.value);
    text += " " + change.security + " " + change.name + "=" + value + ";";
  }
  if (step.connected >= 0) text += step.connected ? " connected;" : " disconnected;";
  if (!step.records.empty()) text += " " + std::to_string(step.records.size()) + " record(s) pushed;";
  for (const HostEventSpec& event : step.events)
    text += " event " + std::to_string(event.number) + (event.name.empty() ? "" : " " + event.name) + ";";
  for (const std::string& caption : step.menuCommands) text += " menu \"" + caption + "\";";
  for (const std::string& line : step.selections) text += " select \"" + line + "\";";
  for (const std::string& line : step.contextMenus) text += " context menu \"" + line + "\";";
  for (int command : step.windowCommands) text += " command " + std::to_string(command) + ";";
  if (step.dialogPage > 0) text += " dialog page " + std::to_string(step.dialogPage) + ";";
  if (step.closeDialog) text += " close the dialog;";
  for (int command : step.pluginMenuCommands) text += " menu command " + std::to_string(command) + ";";
  for (const auto& fill : step.fills)
    text += " order " + std::to_string(fill.first) + " fills " + std::to_string(fill.second) + ";";
  for (int order : step.withdrawals) text += " order " + std::to_string(order) + " withdrawn;";
  if (step.refuse >= 0) text += step.refuse ? " exchange refuses;" : " exchange accepts;";
  return text;
}
