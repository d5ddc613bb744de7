// Margin calls sent by hand from the risk table: to the selected client or to
// every client of the table, the text shown for editing first. While a
// dialog, a question or a channel's message box is open the timer may
// recalculate and the host may stop the plug-in, freeing every client
// record: clients are looked up again after each box and before each send,
// and a stop (or the host being done) during a call ends the run. A stop
// since the text was shown sends nothing more: the manager is told which
// clients got nothing.
#include "windows/tables/risk_params_table.h"

#include "module/host_data/chosen_client.h"
#include "module/risk/margin_call_kinds.h"
#include "module/vantrel_module.h"
#include "sdk/confirmation.h"
#include "sdk/table_view.h"
#include "windows/dialogs/send_mcall_dlg.h"
#include "windows/tables/risk_manual_calls.h"

#include <vector>

namespace {
constexpr int kSfrToAll = 40014, kSfrOpenPositionsToAll = 40086;

std::string Compose(const std::string& pattern, double value, const TClientRiskRecord& client) {
  return g_pModule->ComposeMarginCallText(pattern, value, client.firm, client.clientCode);
}

std::vector<std::string> ClientCodesOfRows(CZPluginTableView& view) {
  std::vector<std::string> codes;
  for (int row = 1; row < view.GetRowCount(); ++row)
    if (const auto* client = static_cast<TClientRiskRecord*>(view.GetRowObject(row)))
      codes.push_back(client->clientCode);
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
  const std::vector<std::string> shown = ClientCodesOfRows(*view);
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
  // A stop empties the table: the clients it showed when asked get nothing.
  if (g_pModule->HostStops() != hostStops) return g_pModule->TellManualCallsStopped(type, "", shown);
  // The rows as they stand now, each looked up again before its send; their
  // codes name those a cut keeps back.
  std::vector<CChosenClient> clients;
  std::vector<std::string> codes;
  for (int row = 1; row < view->GetRowCount(); ++row)
    if (const auto* client = static_cast<TClientRiskRecord*>(view->GetRowObject(row)))
      clients.emplace_back(g_pModule->Clients(), client), codes.push_back(client->clientCode);
  for (size_t n = 0; n < clients.size(); ++n) {
    TClientRiskRecord* client = clients[n].Record();
    if (client == nullptr) continue;
    const TManualCall call = ManualCallOf(type, *client, settings, true);
    if (!call.qualifies) continue;
    const bool ownText = perClient || (type == kSfrKind && settings.UseSFRTemplate2) ||
                         (type == kSfrOpenPositionsKind && settings.UseSFRTemplate2_fp);
    const EMarginCallOutcome outcome = g_pModule->SendMarginCall(
        type, client, call.level, ownText ? Compose(*call.body, call.value, *client) : common, false);
    if (EndsRun(outcome))
      return g_pModule->TellManualCallsStopped(type, outcome == EMarginCallOutcome::kCut ? codes[n] : "",
                                               {codes.begin() + n + 1, codes.end()});
  }
}
