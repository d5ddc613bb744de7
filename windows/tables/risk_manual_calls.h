// The margin calls a risk manager sends by hand from a risk table: the kinds
// the context menu offers, with their commands, and whether and how a client
// qualifies for a kind's call.
#pragma once

#include "module/risk/client_risk_record.h"
#include "module/settings/module_settings.h"

#include <string>

struct TManualCallKind {
  int type;
  int oneClientCommand;
  int allClientsCommand;
  const char* title;
};

// In the order of the menus.
extern const TManualCallKind kManualCallKinds[8];

// The kind of a one-client or all-clients command (which, in allClients);
// null for any other command.
const TManualCallKind* FindManualCallKind(int command, bool* allClients);

// Whether the menu offers the kind for the selected client (null: none) or
// for every client of the table.
bool IsOfferedForClient(int type, const TClientRiskRecord* client, const TModuleSettings& settings);
bool IsOfferedForAllClients(int type, const TModuleSettings& settings);

// A client's call of one kind. The body is the template that the call fills
// for the client: for the margin level of one client the second one goes by
// the test that also picks the second subject.
struct TManualCall {
  bool qualifies = false;
  double value = 0.0;  // given to the template
  double level = 0.0;  // given to the sender
  const std::string* body = nullptr;
};
TManualCall ManualCallOf(int type, const TClientRiskRecord& client, const TModuleSettings& settings,
                         bool allClients);

// The kind's first body template, the one the all-clients command shows.
const std::string& MainBodyOf(int type, const TModuleSettings& settings);
