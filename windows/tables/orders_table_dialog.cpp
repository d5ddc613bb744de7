// The create/edit dialog of the closing-orders table (template 116).
#include "windows/tables/orders_table.h"

#include "sdk/host_call.h"
#include "windows/tables/host_filter_choice.h"
#include "windows/tables/orders_table_source.h"

namespace {
enum : int {
  kShowActiveBox = 1133, kShowExecutedBox, kShowWithdrawnBox, kShowBuyBox, kShowSellBox,
  kClientFilterBox = 1138, kAccountFilterBox, kFirmFilterBox,
  kClientFilterButton = 1141, kAccountFilterButton, kFirmFilterButton,
};

// One of the three filters the dialog offers: its box, its button, the
// title of the host's filter dialog and the module's item list behind it.
struct FilterControl {
  int box;
  host::FilterSelection* filter;
  host::ItemList* items;
  const char* title;
};

// An edit works on the copies the edit command made; a new table on its own filters.
void FilterControls(CVantrelOrdersTable* table, FilterControl controls[3]) {
  IOrdersTableSource* source = GetOrdersTableSource();
  const TOrdersFilterLists lists = source != nullptr ? source->OrdersFilterLists() : TOrdersFilterLists{};
  const bool editing = table->GetView() != nullptr && table->GetView()->GetList() != nullptr;
  controls[0] = {kClientFilterBox, editing ? &g_editFilters.client : table->GetClientFilter(), lists.clients,
                 "Фильтр клиентов"};
  controls[1] = {kAccountFilterBox, editing ? &g_editFilters.account : table->GetAccountFilter(), lists.accounts,
                 "Фильтр торговых счетов"};
  controls[2] = {kFirmFilterBox, editing ? &g_editFilters.firm : table->GetFirmFilter(), lists.firms,
                 "Фильтр фирм"};
}

void Tick(HWND dialog, int box, bool ticked) { CheckDlgButton(dialog, box, ticked ? BST_CHECKED : BST_UNCHECKED); }
bool Ticked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED; }

void OnFilterCommand(HWND dialog, const FilterControl& control, bool fromBox) {
  ChooseHostFilter(dialog, control.box, control.title, control.items, control.filter, fromBox);
}
}  // namespace

INT_PTR CALLBACK OrdersTableDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* table = dynamic_cast<CVantrelOrdersTable*>(g_pTableBeingCreated);
  if (table != nullptr) {
    FilterControl controls[3];
    FilterControls(table, controls);
    bool* flags[] = {&table->showActive, &table->showExecuted, &table->showWithdrawn, &table->showBuy,
                     &table->showSell};
    if (message == WM_INITDIALOG) {
      for (const FilterControl& control : controls) Tick(dialog, control.box, HostCall<53>(control.filter) != 0);
      for (int n = 0; n < 5; ++n) Tick(dialog, kShowActiveBox + n, *flags[n]);
    } else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      const int id = LOWORD(wParam);
      for (int n = 0; n < 3; ++n)
        if (id == kClientFilterBox + n || id == kClientFilterButton + n)
          OnFilterCommand(dialog, controls[n], id == kClientFilterBox + n);
      if (id == IDOK)
        for (int n = 0; n < 5; ++n) *flags[n] = Ticked(dialog, kShowActiveBox + n);
    }
  }
  return TableSettingsDlgProc(dialog, message, wParam, lParam);
}
