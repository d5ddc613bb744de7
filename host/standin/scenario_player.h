// Plays a scenario's feed into the plug-in: the start (host event 1, the
// start records through callback entry 22, host event 4 for each firm) and
// then the timed steps, each once and in order.
#pragma once

#include "host/standin/host_feed.h"

#include <string>
#include <vector>

class PluginLibrary;
class StandInHost;

class ScenarioPlayer {
 public:
  ScenarioPlayer(StandInHost& host, PluginLibrary& plugin) : m_host(host), m_plugin(plugin) {}

  // Returns the number of records the plug-in accepted.
  int Start();
  // Plays every step due by the given time since the start; returns them.
  std::vector<const HostStep*> PlayDue(int elapsedMilliseconds);
  bool Finished() const;
  // One line about a step, for host.exe's report.
  static std::string Describe(const HostStep& step);

 private:
  void Play(const HostStep& step);
  void SendEvent(const HostEventSpec& event);

  StandInHost& m_host;
  PluginLibrary& m_plugin;
  size_t m_next = 0;
};
