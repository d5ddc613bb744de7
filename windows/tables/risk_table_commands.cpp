// The risk table's commands: margin calls, refresh, closing and sorting come
// from its context menu; the rest go on to the table window's own handling.
#include "windows/tables/risk_params_table.h"

#include "module/vantrel_module.h"
#include "sdk/table_view.h"
#include "windows/tables/risk_manual_calls.h"
#include "windows/tables/risk_table_commands.h"

int CVantrelFutRiskParamsTable::OnMenuCommand(int id, int code, int control) {
  if (id == kCommandEditTable) return EditWithFilters();
  bool allClients = false;
  if (const TManualCallKind* kind = FindManualCallKind(id, &allClients)) {
    if (allClients)
      SendMarginCallToAllClients(kind->type, id);
    else
      SendMarginCallToClient(kind->type);
    return 1;
  }
  if (id >= kCommandFirstSort && id <= kCommandLastSort) {
    SortByColumn(id - SortCommandOf(0));
    return 1;
  }
  if (id == kCommandCancelSort) {
    SortByColumn(-1);
    return 1;
  }
  // The host may be done with the plug-in, and this table deleted, while a
  // closing command's question is open: nothing of the table is touched after.
  if (id == kCommandCloseClient) {
    CloseClientPositions(false, GetView() != nullptr ? static_cast<TClientRiskRecord*>(GetView()->GetSelectedRow())
                                                     : nullptr);
    return 0;
  }
  if (id == kCommandCloseAllClients) {
    CloseClientPositions(true, nullptr);
    return 0;
  }
  if (id == kCommandRefreshNow && g_pModule != nullptr) g_pModule->OnRecalcTimer();
  return CTablePlugin::OnMenuCommand(id, code, control);
}

void CVantrelFutRiskParamsTable::SortByColumn(int position) {
  CZPluginTableView* view = GetView();
  if (view == nullptr || view->GetList() == nullptr) return;
  if (position < 0) {
    ListSetSortFields(view->GetList(), 0, nullptr);
    return;
  }
  ZListSortField field = {position, view->DefaultSortDirection(position)};
  for (const ZListSortField& held : view->SortFieldsCopy())
    if (held.column == position) field.ascending = held.ascending == 0 ? 1 : 0;
  ListSetSortFields(view->GetList(), 1, &field);
  view->RefreshSortFieldsCopy();
}
