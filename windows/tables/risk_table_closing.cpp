// The risk table's closing commands: "Закрыть позиции" for the selected
// client and "Закрыть позиции по всем клиентам".
#include "windows/tables/risk_params_table.h"

#include "module/host_data/chosen_client.h"
#include "module/vantrel_module.h"
#include "sdk/confirmation.h"

#include <cstdio>

int CVantrelFutRiskParamsTable::CountActiveClosingOrders(const TClientRiskRecord* record) {
  int count = 0;
  for (TClientRiskRecord* client : g_pModule->ActiveClosingOrderClients())
    if (record == nullptr ? AcceptsRecord(client) : client == record && AcceptsRecord(client)) ++count;
  return count;
}

// The client is looked up again after each question: the host may stop the
// plug-in, and free its record, while a box is open. A table the host
// closed meanwhile closes nothing.
void CVantrelFutRiskParamsTable::CloseClientPositions(bool allClients, TClientRiskRecord* record) {
  const CChosenClient chosen(g_pModule->Clients(), record);
  const int active = CountActiveClosingOrders(record);
  if (active > 0) {
    char text[256];
    if (record != nullptr)
      std::snprintf(text, sizeof text,
                    "Имеется %d активных заявок для закрытия позиций по клиенту %s. Продолжить операцию закрытия?",
                    active, record->clientCode);
    else
      std::snprintf(text, sizeof text, "Имеется %d активных заявок для закрытия позиций. Продолжить операцию закрытия?",
                    active);
    if (!UserConfirms(GetHwnd(), text, "Внимание", MB_OKCANCEL | MB_ICONQUESTION) || chosen.Gone() ||
        WindowGone())
      return;
  }
  TClosingSettings& closing = g_pModule->Closing();
  auto exists = [&](int index) {
    return index >= 0 && index < static_cast<int>(closing.Patterns.size()) && closing.Patterns[index] != nullptr;
  };
  if (!exists(GetPatternIndex())) {
    if (!exists(closing.DefaultPattern)) {
      MessageBox("Не найдено описание шаблона для закрытия позиций.", "Ошибка", MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    if (!UserConfirms(GetHwnd(), "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?",
                      "Ошибка", MB_OKCANCEL | MB_ICONEXCLAMATION) ||
        !exists(closing.DefaultPattern) || WindowGone())
      return;
    SetPatternIndex(closing.DefaultPattern);
  }
  const TClosingPattern pattern = *closing.Patterns[GetPatternIndex()];
  if (allClients)
    g_pModule->OpenClosingOrdersWindow(pattern, this, false, nullptr);
  else if (TClientRiskRecord* client = chosen.Record())
    g_pModule->OpenPrepOrdersDlg(client, pattern);
}
