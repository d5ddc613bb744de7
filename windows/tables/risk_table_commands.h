// The plug-in's own command ids of the risk table's context menu (the
// margin-call kinds carry theirs in risk_manual_calls.h).
#pragma once

enum RiskTableCommand : int {
  kCommandRefreshNow = 40070,
  kCommandCloseClient = 40072,
  kCommandCloseAllClients = 40083,
  // "Сортировать по": the column at position id - 40018, from 1 to 30.
  kCommandFirstSort = 40019,
  kCommandLastSort = 40048,
  kCommandCancelSort = 40049,
};

// The sort command of a column position.
constexpr int SortCommandOf(int position) { return kCommandFirstSort - 1 + position; }
