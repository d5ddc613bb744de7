// CVantrelPrepOrdersDlg: the window "Заявки на закрытие позиций" in which the
// risk manager reviews the closing orders formed for one client or for many,
// corrects price and quantity in place, sends, deletes and withdraws them.
// The window keeps the client's firm and trading account, never the client
// record: the host may free the records while the window is open. Every
// line is sent as prepared, less what orders sent since it was formed close
// of its position, and never beyond what its position has left: however
// many windows hold the same lines, no lots are closed twice.
#pragma once

#include "module/closing/closing_client.h"
#include "module/closing/closing_formation.h"
#include "module/closing/order_store.h"
#include "module/settings/closing_pattern.h"
#include "sdk/plugin_dialog.h"

#include <string>
#include <vector>

struct TClientRiskRecord;
class CTablePlugin;

// Window kind of the preparation window.
constexpr uint32_t kPrepOrdersKind = 210605;

class CVantrelPrepOrdersDlg : public CZPluginDialog {
 public:
  // One client (null: all clients) and the pattern the orders are formed
  // by; the window keeps a copy of the pattern.
  CVantrelPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern);
  CVantrelPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern,
                        const char* caption);

  int PrepareClosingOrders(const TClientRiskRecord& client, const TClosingPattern& pattern);
  // Every client of the module that takes part (accepted or listed by the
  // table; with no table every client, or with scan those of the open risk
  // tables, bound to patternIndex unless anyPattern) and misses the target.
  int PrepareClosingOrdersForTables(const TClosingPattern& pattern, CTablePlugin* table, bool scan,
                                    bool anyPattern, int patternIndex);
  // Forms again for every client that has lines and still misses the target.
  void RecalculateAll(const TClosingPattern& pattern);
  double CalcLevelAfterOrders(const TClientRiskRecord& client, int parameter, int mode, bool united) const;

  void RefreshOrderList();
  // A window left with nothing to send says which orders the host has not
  // reported hold the lots of its clients, those it does not list itself,
  // once per forming. False when the window was closed or the host done with
  // the plug-in meanwhile.
  bool TellHeldLots();
  // Ends the window once none of its lines waits to be sent or is active; 1 then.
  int CloseIfNoPendingOrders();
  // Whether the window is the one of the client (a window for all clients
  // serves every client).
  bool ServesClient(const TClientRiskRecord* client) const;
  bool ServesAllClients() const { return m_client.account.empty(); }
  COrderStore& Store() { return m_store; }

  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnContextMenu(HMENU menu, int x, int y) override;
  int OnMenuCommand(int id, int code, int third) override;
  void EndDialog(INT_PTR code) override;
  INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnCommandId(int id, int code, int third) override;
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  void OnNotify(WPARAM wParam, LPARAM lParam) override;
  using CZPluginDialog::OnNotify;

 private:
  static LRESULT CALLBACK OrderListEditProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  HWND List() const;
  TClientRiskRecord* Client() const;
  // The window's client, or every client.
  COrderStore::Key ClientKey() const;
  COrderStore::Key RowKey(int row) const;
  TOrderLine* GetOrderLineByRow(int row) const;
  int SelectedRow() const;
  bool MatchesClientFilter(const TOrderLine& line) const;
  void AddOrderRows(const COrderStore::Lines& lines);
  void UpdateLevelFields();
  // Sends the lines in order, each cut to the lots it may send, and shows
  // them; tells the manager of every line cut or not sent, and of those a
  // stop of the host left unsent. False when the window was closed or the
  // host done with the plug-in meanwhile: nothing more of it is shown then.
  bool SendLines(const std::vector<TOrderLine*>& lines);
  bool SendInterrupted(uint32_t hostStops) const;
  // Closed, or the host is done with the plug-in: nothing more is shown.
  bool Abandoned() const;
  // Sends one line as far as it may go; what the manager must know of it,
  // or nothing.
  std::string SendHeld(TOrderLine& line);
  void WithdrawSelectedOrder(int row);
  void BeginEdit(int row, int column);
  void FinishEdit();
  // Stores the value typed into the line's cell; a quantity beyond the lots
  // left to close is refused, the line kept as it was: the text saying why.
  std::string TakeEditedValue(TOrderLine& line, int column, double value);
  int LotsLeftToClose(const TOrderLine& line) const;
  bool WarnUnsubmittedOrders();

  TClosingClient m_client;  // none: all clients
  TClosingPattern m_pattern;
  mutable COrderStore m_store;
  int m_editRow = -1, m_editColumn = -1;
  HWND m_edit = nullptr;
  WNDPROC m_oldListProc = nullptr;
  std::string m_filter;
  bool m_sending = false;
  std::vector<THeldNote> m_heldNotes;  // of the last forming
};
