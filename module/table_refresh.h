// The host's filter-refresh message to a table (message 4042): the host says
// through two words whether the table's filter selections are to be taken
// afresh from the entries it accepts, or dropped where they restrict anything.
#pragma once

#include "sdk/host_api.h"

constexpr int kRiskTableType = 210606;
constexpr int kOrdersTableType = 210607;

// The two filter selections of a table window.
struct TTableFilterSelections {
  host::FilterSelection first = {};
  host::FilterSelection second = {};
};

// The module's first two filter handles (clients, trading accounts).
struct TFilterHandles {
  const host::ItemList* first = nullptr;
  const host::ItemList* second = nullptr;
};

// Releases the selection's array through the host and empties the selection.
void ClearFilterSelection(host::FilterSelection& selection);

// `selections` are those of the window when it is a table of the class of
// `tableType`, else null. True when the selections changed and the table's
// rows are to be filled again.
bool HandleTableRefreshMessage(int tableType, TTableFilterSelections* selections,
                               const TFilterHandles& handles);
