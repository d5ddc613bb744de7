// What the host feeds the plug-in as a scenario plays: the records pushed at
// the start, the firms whose settings texts it announces (host event 4), and
// timed steps that move prices, drop or restore the connection, push records
// and send host events.
#pragma once

#include "host/standin/host_records.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ParameterChange {
  std::string security;  // a security code
  std::string name;      // a parameter the host quotes (host function 43)
  double value = 0.0;
};

// A host event sent through callback entry 25; an empty name goes as null.
struct HostEventSpec {
  uint32_t number = 0;
  std::string name;
};

struct HostStep {
  int atMilliseconds = 0;  // after the start
  std::vector<ParameterChange> parameters;
  int connected = -1;      // -1 leaves the connection as it is
  std::vector<PushedRecord> records;
  std::vector<HostEventSpec> events;
  // Menu items clicked, by caption, as a user would.
  std::vector<std::string> menuCommands;
  // For host.exe, which drives the plug-in's windows as a user would: the
  // first table line with a cell showing the text is selected and its window
  // brought to the front, then the window in front gets the n-th command id
  // the plug-in was given (from 1). A context menu is asked for by a right
  // click on the first cell showing its text.
  std::vector<std::string> selections;
  std::vector<std::string> contextMenus;
  std::vector<int> windowCommands;
  // In the dialog shown, the n-th item (from 1) of its page tree is
  // selected, then the dialog is closed with Cancel; then the plug-in's menu
  // items are clicked, found by the plug-in's own command ids.
  int dialogPage = 0;
  bool closeDialog = false;
  std::vector<int> pluginMenuCommands;
  // The exchange: the n-th order taken (from 1) fills this many lots, or is
  // withdrawn; refuse 1 or 0 starts or ends refusing transactions.
  std::vector<std::pair<int, int64_t>> fills;
  std::vector<int> withdrawals;
  int refuse = -1;
};

struct HostFeed {
  std::vector<PushedRecord> startRecords;
  std::vector<std::string> firms;
  std::vector<HostStep> steps;  // in the order they play
  // Scenario entries that were left out, each with the reason.
  std::vector<std::string> problems;

  void Clear() {
    startRecords.clear();
    firms.clear();
    steps.clear();
    problems.clear();
  }
};
