// The risk table's commands: margin calls, refresh, closing and sorting come
// from its context menu; the rest go on to the table window's own handling.
#include "windows/tables/risk_params_table.h"

#include "module/vantrel_module.h"
#include "sdk/table_view.h"
#include "windows/tables/risk_manual_calls.h"

namespace {
constexpr int kRefreshNow = 40070, kCloseClient = 40072, kCloseAllClients = 40083;
constexpr int kFirstSortCommand = 40019, kLastSortCommand = 40048, kCancelSort = 40049;
}  // namespace

int CVantrelFutRiskParamsTable::OnMenuCommand(int id, int code, int control) {
  bool allClients = false;
  if (const TManualCallKind* kind = FindManualCallKind(id, &allClients)) {
    if (allClients)
      SendMarginCallToAllClients(kind->type, id);
    else
      SendMarginCallToClient(kind->type);
    return 1;
  }
  if (id >= kFirstSortCommand && id <= kLastSortCommand) {
    SortByColumn(id - kFirstSortCommand + 1);
    return 1;
  }
  if (id == kCancelSort) {
    SortByColumn(-1);
    return 1;
  }
  if (id == kRefreshNow && g_pModule != nullptr)
    g_pModule->OnRecalcTimer();
  else if (id == kCloseClient)
    CloseClientPositions(false, GetView() != nullptr ? static_cast<TClientRiskRecord*>(GetView()->GetSelectedRow())
                                                     : nullptr);
  else if (id == kCloseAllClients)
    CloseClientPositions(true, nullptr);
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
