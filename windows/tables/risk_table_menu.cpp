// The risk table's context menu. Items carry the ids the host gave the
// plug-in's commands; the host's own table commands carry their numbers.
#include "windows/tables/risk_params_table.h"

#include "module/risk/closing_targets.h"
#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "sdk/table_view.h"
#include "windows/tables/risk_manual_calls.h"
#include "windows/tables/risk_table_commands.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kModifiedMarginLevelColumn = 23;

UINT HostId(int ownCommand) { return static_cast<UINT>(g_pModule->FindHostCommandId(ownCommand)); }

UINT Greyed(bool enabled) { return enabled ? MF_ENABLED : MF_GRAYED; }

// Two or more kinds: a submenu; one: an item of its own; none: a greyed entry.
void AppendMarginCalls(HMENU menu, const char* title, const std::vector<const TManualCallKind*>& kinds,
                       bool allClients, bool submenuEnabled) {
  const auto command = [allClients](const TManualCallKind* kind) {
    return HostId(allClients ? kind->allClientsCommand : kind->oneClientCommand);
  };
  if (kinds.empty()) {
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, title);
  } else if (kinds.size() == 1) {
    AppendMenuA(menu, MF_STRING, command(kinds.front()), title);
  } else {
    HMENU submenu = CreatePopupMenu();
    for (const TManualCallKind* kind : kinds) AppendMenuA(submenu, MF_STRING, command(kind), kind->title);
    AppendMenuA(menu, MF_POPUP | Greyed(submenuEnabled), reinterpret_cast<UINT_PTR>(submenu), title);
  }
}

// With a closing pattern the client must be reachable and not yet at the
// pattern's target.
bool CanCloseClient(int patternIndex, const TClientRiskRecord* client) {
  if (patternIndex == -1) return true;
  const auto& patterns = g_pModule->Closing().Patterns;
  if (HostCall<49>() == 0 || client == nullptr || patternIndex < 0 ||
      patternIndex >= static_cast<int>(patterns.size()) || patterns[patternIndex] == nullptr)
    return false;
  const TClosingPattern& pattern = *patterns[patternIndex];
  const bool united = IsUnitedParamApplicable(*client, pattern);
  const double target = GetPatternTargetLevel(pattern, *client);
  int parameter = pattern.ParamIdx;
  if (client->united && pattern.ParamIdx2 != kModifiedMarginLevelColumn) parameter = pattern.ParamIdx2;
  const double value = united ? client->modifiedMarginLevel : client->GetValueByColumn(parameter);
  return !IsLevelReachedForParam(value, target, united, parameter, pattern.NotMoreThanPlanned,
                                 client->plannedNetPosition);
}

}  // namespace

void CVantrelFutRiskParamsTable::OnContextMenu(HMENU menu, int column, int) {
  CZPluginTableView* view = GetView();
  if (g_pModule == nullptr || view == nullptr) return;
  const TModuleSettings& settings = g_pModule->Settings();
  const auto* client = static_cast<const TClientRiskRecord*>(view->GetSelectedRow());

  std::vector<const TManualCallKind*> forClient, forAll;
  for (const TManualCallKind& kind : kManualCallKinds) {
    if (IsOfferedForClient(kind.type, client, settings)) forClient.push_back(&kind);
    if (IsOfferedForAllClients(kind.type, settings)) forAll.push_back(&kind);
  }
  AppendMarginCalls(menu, "Отправить маржин-колл", forClient, false, client != nullptr);
  AppendMarginCalls(menu, "Отправить маржин-колл всем", forAll, true, true);
  AppendMenuA(menu, MF_STRING, HostId(kCommandRefreshNow), "Обновить сейчас");
  AppendMenuA(menu, MF_STRING | Greyed(CanCloseClient(GetPatternIndex(), client)), HostId(kCommandCloseClient),
              "Закрыть позиции");
  AppendMenuA(menu, MF_STRING | Greyed(HostCall<49>() != 0), HostId(kCommandCloseAllClients),
              "Закрыть позиции по всем клиентам");

  const std::vector<ZListSortField>& fields = view->SortFieldsCopy();
  const bool sortable = column > 0 && column < view->GetColumnCount() && SortCommandOf(column) <= kCommandLastSort;
  const int position = sortable ? column : 0;
  const bool sorted = !fields.empty();
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  if (position == 0) {
    AppendMenuA(menu, MF_STRING | Greyed(sorted) | (sorted ? MF_UNCHECKED : MF_CHECKED), HostId(kCommandCancelSort),
                "Отменить сортировку");
  } else {
    const TableColumnInfo* info = view->ColumnInfoAt(position);
    char text[512];
    std::snprintf(text, sizeof text, "Сортировать по [%s]", info != nullptr ? info->title.c_str() : "");
    // Checked when choosing it sorts with direction flag 1.
    bool flagOne = view->IsTextColumnAt(position);
    for (const ZListSortField& field : fields)
      if (field.column == position) flagOne = field.ascending == 0;
    const UINT sortId = HostId(SortCommandOf(position));
    AppendMenuA(menu, MF_STRING | (flagOne ? MF_CHECKED : MF_UNCHECKED), sortId, text);
    SetMenuItemBitmaps(menu, sortId, MF_BYCOMMAND, g_pModule->ContextBitmap(1), g_pModule->ContextBitmap(0));
    AppendMenuA(menu, MF_STRING | Greyed(sorted), HostId(kCommandCancelSort), "Отменить сортировку");
  }
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kCommandEditTable, "Редактировать таблицу");
  AppendMenuA(menu, MF_STRING, kCommandListDialog, "Копировать в буфер обмена");
  AppendMenuA(menu, MF_STRING, kCommandListService, "Вывод через DDE сервер");
}
