// Sending the window's lines. The same lots may stand in several windows (a
// client's own window and one of all clients, two schedule entries at one
// time, a united client's accounts), and a line may have been formed before
// other orders went out: each line is held at its send against what its
// position still has open and what the pattern still asks.
#include "windows/dialogs/prep_orders_dlg.h"

#include "module/vantrel_module.h"
#include "sdk/modal_loops.h"
#include "windows/dialogs/prep_orders_cells.h"

#include <algorithm>
#include <cstdio>

using namespace prep_orders;

namespace {
constexpr char kClosedElsewhere[] = "позиция уже закрывается другими заявками";
constexpr char kNoPositions[] = "нет данных о позициях клиента";
// However many lines a send tells of, the box shows this many; the log has
// every one.
constexpr size_t kNotesShown = 10;

std::string NotesText(const std::vector<std::string>& notes) {
  std::string text;
  for (size_t n = 0; n < notes.size() && n < kNotesShown; ++n) text += (n == 0 ? "" : "\n") + notes[n];
  if (notes.size() > kNotesShown)
    text += "\n...и ещё " + std::to_string(notes.size() - kNotesShown) + " (все записаны в журнал модуля).";
  return text;
}
}  // namespace

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
  const int lots = client == nullptr ? 0 : Formation(m_store).LotsToSend(*client, line, m_pattern);
  char text[512];
  if (lots <= 0) {
    line.Refused = true;
    line.RefusalReason = client == nullptr ? kNoPositions : kClosedElsewhere;
    g_pModule->TraceLog(0, "ERROR: closing order of client %s (%s, %s) in %s not sent: nothing left to close.",
                        line.ClientCode, line.Account, line.Firm, line.SecCode);
    std::snprintf(text, sizeof text, "Клиент %s (%s, %s), %s: осталось закрыть 0 лотов, заявка не подана: %s.",
                  line.ClientCode, line.Account, line.Firm, line.SecCode, line.RefusalReason.c_str());
    return text;
  }
  std::string note;
  if (lots < line.Quantity) {
    g_pModule->TraceLog(0, "Closing order of client %s (%s, %s) in %s cut from %.0f to %d lots: the rest is closed "
                        "by other orders.", line.ClientCode, line.Account, line.Firm, line.SecCode, line.Quantity, lots);
    std::snprintf(text, sizeof text, "Клиент %s (%s, %s), %s: осталось закрыть %d лот. из %.0f, заявка подана на %d: %s.",
                  line.ClientCode, line.Account, line.Firm, line.SecCode, lots, line.Quantity, lots, kClosedElsewhere);
    note = text;
    line.Quantity = lots;
  }
  g_pModule->SendClosingOrders(line);
  return note;
}
