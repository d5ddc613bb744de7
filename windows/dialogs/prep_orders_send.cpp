// Sending the window's lines. The same lots may stand in several windows (a
// client's own window and one of all clients, two schedule entries at one
// time, a united client's accounts), and a line may have been formed before
// other orders went out: each line is sent as prepared, less what orders
// sent since it was formed close of its position, and never beyond what its
// position still has open. A price move never cuts it.
#include "windows/dialogs/prep_orders_dlg.h"

#include "module/vantrel_module.h"
#include "sdk/modal_loops.h"
#include "windows/dialogs/prep_orders_cells.h"

#include <algorithm>
#include <cstdio>

using namespace prep_orders;

namespace {
constexpr char kNoPositions[] = "нет данных о позициях клиента";
// However many lines a send tells of, the box shows this many; the log has
// every one.
constexpr size_t kNotesShown = 10;

// Why a line sends less than it asks, for the manager and for the log: the
// orders sent since it was formed close the rest, or the position holds no
// more that no order closes (some of it perhaps held by orders the host has
// not reported).
struct TCutCauses {
  std::string shown, logged;
};

TCutCauses CutCauses(const TSendAllowance& allowance) {
  TCutCauses causes;
  auto add = [&causes](const std::string& shown, const std::string& logged) {
    causes.shown += (causes.shown.empty() ? "" : "; ") + shown;
    causes.logged += (causes.logged.empty() ? "" : "; ") + logged;
  };
  if (allowance.closedSince > 0)
    add("позиция уже закрывается другими заявками",
        "orders sent since it was formed close " + std::to_string(allowance.closedSince) + " lots of the position");
  if (allowance.free >= allowance.asked - allowance.closedSince) return causes;
  const std::string free = std::to_string(std::max(allowance.free, 0));
  if (allowance.unreported.empty()) {
    add("в позиции осталось " + free + " лот., не закрываемых заявками",
        "the position has " + free + " lots that no order closes");
    return causes;
  }
  std::string shown, logged;
  for (const TUnreportedOrder& order : allowance.unreported) {
    const std::string lots = std::to_string(static_cast<long long>(order.lots));
    shown += (shown.empty() ? "" : ", ") + std::to_string(order.id) + ": " + lots + " лот.";
    logged += (logged.empty() ? "" : ", ") + std::to_string(order.id) + " (" + lots + " lots)";
  }
  add("в позиции осталось " + free + " лот., не закрываемых заявками; лоты удерживают заявки, о которых терминал ещё "
      "не сообщил (транзакции " + shown + ")",
      "the position has " + free + " lots that no order closes; transactions the host has not reported hold lots: " +
          logged);
  return causes;
}

std::string NotesText(const std::vector<std::string>& notes) {
  std::string text;
  for (size_t n = 0; n < notes.size() && n < kNotesShown; ++n) text += (n == 0 ? "" : "\n") + notes[n];
  if (notes.size() > kNotesShown)
    text += "\n...и ещё " + std::to_string(notes.size() - kNotesShown) + " (все записаны в журнал модуля).";
  return text;
}
}  // namespace

bool CVantrelPrepOrdersDlg::TellHeldLots() {
  std::vector<THeldNote> held;
  held.swap(m_heldNotes);
  if (m_store.Count(ClientKey(), [](const TOrderLine& line) { return line.Sendable(); }) > 0) return true;
  std::vector<std::string> notes;
  for (const THeldNote& note : held)
    if (m_store.Count(ClientKey(), [&note](const TOrderLine& line) {
          return line.TransId == static_cast<int32_t>(note.transaction);
        }) == 0)
      notes.push_back(note.text);
  if (notes.empty()) return true;
  ShowMessageBox(GetDialogWindow(), NotesText(notes).c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
  return !Abandoned();
}

// The host may take its time over a transaction and run its message loop
// meanwhile: it may be done with the plug-in, stop its work or close this
// window before the next line goes.
bool CVantrelPrepOrdersDlg::SendInterrupted(uint32_t hostStops) const {
  return Abandoned() || g_pModule->HostStops() != hostStops;
}

bool CVantrelPrepOrdersDlg::Abandoned() const { return WindowGone() || g_pModule->IsDone(); }

bool CVantrelPrepOrdersDlg::SendLines(const std::vector<TOrderLine*>& lines) {
  std::vector<std::string> notes;
  m_sending = true;
  const uint32_t hostStops = g_pModule->HostStops();
  size_t next = 0;
  for (; next < lines.size() && !SendInterrupted(hostStops); ++next) {
    std::string note = SendHeld(*lines[next]);
    if (!note.empty()) notes.push_back(std::move(note));
  }
  // Closed or done with: nothing of the window is shown any more.
  if (Abandoned()) return false;
  const auto left = std::count_if(lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end(),
                                  [](const TOrderLine* line) { return line->Sendable(); });
  if (left > 0) {
    g_pModule->TraceLog(0, "ERROR: the host stopped the plug-in's work while closing orders were sent: %d not sent.",
                        static_cast<int>(left));
    notes.push_back("Подача заявок прервана: терминал остановил работу модуля. Не подано заявок: " +
                    std::to_string(left) + ".");
  }
  // The list shows what was sent and what was not while the box tells why.
  RefreshOrderList();
  if (!notes.empty()) {
    ShowMessageBox(GetDialogWindow(), NotesText(notes).c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
    if (Abandoned()) return false;
  }
  m_sending = false;
  return true;
}

std::string CVantrelPrepOrdersDlg::SendHeld(TOrderLine& line) {
  if (!line.Sendable()) return std::string();
  const TClientRiskRecord* client = g_pModule->Clients().Find(line.Firm, line.Account);
  char text[1024];
  if (client == nullptr) {
    line.Refused = true;
    line.RefusalReason = kNoPositions;
    g_pModule->TraceLog(0, "ERROR: closing order of client %s (%s, %s) in %s not sent: the host no longer reports the "
                        "client's positions.", line.ClientCode, line.Account, line.Firm, line.SecCode);
    std::snprintf(text, sizeof text, "Клиент %s (%s, %s), %s: заявка не подана: %s.", line.ClientCode, line.Account,
                  line.Firm, line.SecCode, kNoPositions);
    return text;
  }
  const TSendAllowance allowance = Formation(m_store).LotsToSend(*client, line);
  const int lots = allowance.Lots();
  if (lots == allowance.asked) {
    g_pModule->SendClosingOrders(line);
    return std::string();
  }
  const TCutCauses causes = CutCauses(allowance);
  if (lots == 0) {
    line.Refused = true;
    line.RefusalReason = causes.shown;
    g_pModule->TraceLog(0, "Closing order of client %s (%s, %s) in %s not sent: %s.", line.ClientCode, line.Account,
                        line.Firm, line.SecCode, causes.logged.c_str());
    std::snprintf(text, sizeof text, "Клиент %s (%s, %s), %s: осталось закрыть 0 лотов, заявка не подана: %s.",
                  line.ClientCode, line.Account, line.Firm, line.SecCode, causes.shown.c_str());
    return text;
  }
  g_pModule->TraceLog(0, "Closing order of client %s (%s, %s) in %s cut from %d to %d lots: %s.", line.ClientCode,
                      line.Account, line.Firm, line.SecCode, allowance.asked, lots, causes.logged.c_str());
  std::snprintf(text, sizeof text, "Клиент %s (%s, %s), %s: осталось закрыть %d лот. из %d, заявка подана на %d: %s.",
                line.ClientCode, line.Account, line.Firm, line.SecCode, lots, allowance.asked, lots,
                causes.shown.c_str());
  line.Quantity = lots;
  g_pModule->SendClosingOrders(line);
  return text;
}
