// Margin calls sent by hand from the risk table: to the selected client or to
// every client of the table, the text shown for editing first. While a
// dialog, a question or a channel's message box is open the timer may
// recalculate, the host may close the table and it may stop the plug-in,
// freeing every client record: the clients are taken from the table before
// the dialog, kept by firm and account, and looked up again in the module's
// client book after it. A stop (or the host being done) during a call ends
// the run. Whatever a stop kept back from the clients due a call is told:
// the log names them and a box tells the manager.
#include "windows/tables/risk_params_table.h"

#include "module/host_data/chosen_client.h"
#include "module/risk/margin_call_kinds.h"
#include "module/vantrel_module.h"
#include "sdk/confirmation.h"
#include "sdk/table_view.h"
#include "windows/dialogs/send_mcall_dlg.h"
#include "windows/tables/risk_manual_calls.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int kSfrToAll = 40014, kSfrOpenPositionsToAll = 40086;

std::string Compose(const std::string& pattern, double value, const TClientRiskRecord& client) {
  return g_pModule->ComposeMarginCallText(pattern, value, client.firm, client.clientCode);
}

// A client the table showed when the manager was asked.
struct TShownClient {
  CChosenClient chosen;
  std::string code;
  bool due;  // due a call of the kind then
};

std::vector<TShownClient> ShownClients(CZPluginTableView& view, int type, const TModuleSettings& settings) {
  std::vector<TShownClient> shown;
  for (int row = 1; row < view.GetRowCount(); ++row)
    if (const auto* client = static_cast<TClientRiskRecord*>(view.GetRowObject(row)))
      shown.push_back({CChosenClient(g_pModule->Clients(), client), client->clientCode,
                       ManualCallOf(type, *client, settings, true).qualifies});
  return shown;
}

std::vector<std::string> DueWhenAsked(const std::vector<TShownClient>& shown) {
  std::vector<std::string> codes;
  for (const TShownClient& client : shown)
    if (client.due) codes.push_back(client.code);
  return codes;
}

// The clients from first on that are due a call of the kind, by the test
// that decides whether they get one.
std::vector<std::string> DueFrom(size_t first, const std::vector<TClientRiskRecord*>& clients, int type,
                                 const TModuleSettings& settings) {
  std::vector<std::string> codes;
  for (size_t n = first; n < clients.size(); ++n)
    if (ManualCallOf(type, *clients[n], settings, true).qualifies) codes.push_back(clients[n]->clientCode);
  return codes;
}
}  // namespace

void CVantrelFutRiskParamsTable::SendMarginCallToClient(int type) {
  CZPluginTableView* view = GetView();
  const auto* selected = view != nullptr ? static_cast<TClientRiskRecord*>(view->GetSelectedRow()) : nullptr;
  if (selected == nullptr || g_pModule == nullptr) return;
  const TModuleSettings& settings = g_pModule->Settings();
  const TManualCall call = ManualCallOf(type, *selected, settings, false);
  if (!call.qualifies) return;
  const CChosenClient chosen(g_pModule->Clients(), selected);
  const std::string clientCode = selected->clientCode;
  const uint32_t hostStops = g_pModule->HostStops();
  CVantrelSendMCallDlg dialog(selected->clientCode, Compose(*call.body, call.value, *selected));
  if (dialog.DoModal(GetHwnd()) != IDOK) return;
  TClientRiskRecord* client = chosen.Record();
  if (client == nullptr || g_pModule->HostStops() != hostStops)
    return g_pModule->TellManualCallsStopped(type, "", {clientCode});
  if (g_pModule->SendMarginCall(type, client, call.level, dialog.GetText(), false) == EMarginCallOutcome::kCut)
    g_pModule->TellManualCallsStopped(type, clientCode, {});
}

void CVantrelFutRiskParamsTable::SendMarginCallToAllClients(int type, int command) {
  CZPluginTableView* view = GetView();
  if (view == nullptr || g_pModule == nullptr || view->GetRowCount() <= 1) return;
  const auto* first = static_cast<TClientRiskRecord*>(view->GetRowObject(1));
  if (first == nullptr) return;
  const TModuleSettings& settings = g_pModule->Settings();
  const std::string& main = MainBodyOf(type, settings);
  const std::string sample = Compose(main, ManualCallOf(type, *first, settings, true).value, *first);
  const uint32_t hostStops = g_pModule->HostStops();
  // The host may close the table under the dialog: its rows are gone then.
  const std::vector<TShownClient> shown = ShownClients(*view, type, settings);
  const bool perClient = sample != main;
  const bool secondTemplate = (command == kSfrToAll && settings.UseSFRTemplate2) ||
                              (command == kSfrOpenPositionsToAll && settings.UseSFRTemplate2_fp);
  std::string common;
  if (perClient || secondTemplate) {
    if (!UserConfirms(GetHwnd(), "Отправить маржин-колл всем клиентам из таблицы?", "Подтверждение",
                      MB_OKCANCEL | MB_ICONQUESTION))
      return;
  } else {
    CVantrelSendMCallDlg dialog("", sample);
    dialog.SetTitle("Отправка маржин-колла клиентам из таблицы");
    if (dialog.DoModal(GetHwnd()) != IDOK) return;
    common = dialog.GetText();
  }
  // Only a stop forgets the clients: then none can be found again, and
  // those that were due a call get none.
  std::vector<TClientRiskRecord*> clients;
  for (const TShownClient& client : shown) clients.push_back(client.chosen.Record());
  const bool gone = std::find(clients.begin(), clients.end(), nullptr) != clients.end();
  if (gone || g_pModule->HostStops() != hostStops)
    return g_pModule->TellManualCallsStopped(type, "", DueWhenAsked(shown));
  // The records outlive a stop during a call, so the clients it keeps back
  // are still told by their calls.
  const CClientBook::CUse use(g_pModule->Clients());
  const bool ownText = perClient || (type == kSfrKind && settings.UseSFRTemplate2) ||
                       (type == kSfrOpenPositionsKind && settings.UseSFRTemplate2_fp);
  for (size_t n = 0; n < clients.size(); ++n) {
    TClientRiskRecord* client = clients[n];
    const TManualCall call = ManualCallOf(type, *client, settings, true);
    if (!call.qualifies) continue;
    const EMarginCallOutcome outcome = g_pModule->SendMarginCall(
        type, client, call.level, ownText ? Compose(*call.body, call.value, *client) : common, false);
    if (EndsRun(outcome))
      return g_pModule->TellManualCallsStopped(type, outcome == EMarginCallOutcome::kCut ? client->clientCode : "",
                                               DueFrom(n + 1, clients, type, settings));
  }
}
