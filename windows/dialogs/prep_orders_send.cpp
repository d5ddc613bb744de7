// Sending the window's lines. The same lots may stand in several windows (a
// client's own window and one of all clients, two schedule entries at one
// time, a united client's accounts), and a line may have been formed before
// other orders went out: each line is held at its send against what its
// position still has open and what the pattern still asks.
#include "windows/dialogs/prep_orders_dlg.h"

#include "module/vantrel_module.h"
#include "windows/dialogs/prep_orders_cells.h"

#include <cstdio>

using namespace prep_orders;

namespace {
constexpr char kClosedElsewhere[] = "позиция уже закрывается другими заявками";
constexpr char kNoPositions[] = "нет данных о позициях клиента";
}  // namespace

bool CVantrelPrepOrdersDlg::SendLines(const std::vector<TOrderLine*>& lines) {
  std::string told;
  m_sending = true;
  for (TOrderLine* line : lines) {
    const std::string note = SendHeld(*line);
    if (!note.empty()) told += (told.empty() ? "" : "\n") + note;
  }
  // The list shows what was sent and what was not while the box tells why.
  RefreshOrderList();
  if (!told.empty()) {
    HWND dialog = GetDialogWindow();
    ::MessageBoxA(dialog, told.c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
    // The host may have done with the plug-in while the box was open.
    if (!IsWindow(dialog)) return false;
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
