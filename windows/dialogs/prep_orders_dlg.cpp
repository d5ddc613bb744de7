#include "windows/dialogs/prep_orders_dlg.h"

#include "module/closing/closing_formation.h"
#include "module/market_records.h"
#include "module/risk/closing_targets.h"
#include "module/vantrel_module.h"
#include "sdk/confirmation.h"
#include "sdk/host_record_fields.h"
#include "sdk/numeric.h"
#include "sdk/packed_dates.h"
#include "windows/dialogs/prep_orders_cells.h"
#include "windows/tables/risk_params_table.h"

#include <commctrl.h>

#include <cstdio>

using namespace prep_orders;

namespace {
enum Control : int {
  kOrderList = 1106,
  kTrackedParameter = 1122,
  kDesiredLevel = 1123,
  kCalculatedLevel = 1124,
  kShortfallNote = 1125,
  kFurtherParameter = 1193,
  kFurtherValue = 1194,
  kClientFilter = 1195,
  kClearFilter = 1196,
};
enum Command : int {
  kSend = 40075,
  kSendAll = 40076,
  kDelete = 40077,
  kDeleteAll = 40078,
  kWithdraw = 40084,
  kRecalculate = 40079,
};

constexpr UINT kTemplate = 114;
constexpr UINT kCloseQuery = 4125, kRemoveClipChildren = 4081;
constexpr int kEndWithoutAsking = 3;
constexpr int kIconClear = 123;
constexpr char kDefaultCaption[] = "Заявки на закрытие позиций по клиенту ";

struct ListColumn {
  const char* title;
  int width;
};
constexpr ListColumn kColumns[] = {
    {"Фирма", 75},       {"Код клиента", 75}, {"Торговый счет", 75}, {"Код класса", 75},
    {"Код бумаги", 75},  {"Направление", 75}, {"Цена", 75},          {"Количество", 100},
    {"Статус", 100},     {"Номер заявки", 100}, {"Время выставления", 75}};
constexpr int kFurtherColumns[] = {8, 6, 7, 17, 18, 19, 20, 21, 23};

std::string Caption(const TClientRiskRecord* client) {
  return std::string(kDefaultCaption) + (client != nullptr ? client->clientCode : "");
}

// A line whose last send took nothing says so, with the reason, until it is
// sent again.
std::string StatusText(const TOrderLine& line) {
  if (line.State == kLinePrepared && line.Refused)
    return line.RefusalReason.empty() ? "Отклонена" : "Отклонена: " + line.RefusalReason;
  switch (line.State) {
    case kLinePrepared: return "Подготовлена";
    case kLineActive: return "Активна";
    case kLineExecuted: return "Исполнена";
    case kLineWithdrawn: return "Снята";
    default: return "Неизвестный";
  }
}

// A level with 2 decimals, scaled for display; a value that is not set
// shows empty, as the risk table shows it.
std::string LevelText(double value, double scale) {
  if (DoubleEquals(value, kValueNotSet)) return std::string();
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value * scale);
  return text;
}

}  // namespace

CVantrelPrepOrdersDlg::CVantrelPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern)
    : CVantrelPrepOrdersDlg(client, pattern, Caption(client).c_str()) {}

CVantrelPrepOrdersDlg::CVantrelPrepOrdersDlg(const TClientRiskRecord* client, const TClosingPattern& pattern,
                                             const char* caption)
    : CZPluginDialog(caption, kTemplate, kPrepOrdersKind), m_pattern(pattern) {
  if (client != nullptr) m_client = ClosingClientOf(*client);
}

TClientRiskRecord* CVantrelPrepOrdersDlg::Client() const {
  return ServesAllClients() ? nullptr : g_pModule->Clients().Find(m_client.firm, m_client.account);
}

COrderStore::Key CVantrelPrepOrdersDlg::ClientKey() const {
  return ServesAllClients() ? COrderStore::kEveryClient
                            : COrderStore::KeyOf(m_client.account.c_str(), m_client.firm.c_str());
}

// Firms may give their clients the same codes and accounts, and a client
// code may be another client's trading account: a window serves only a
// client of its own firm, its own account or, when both are united, its own
// client code.
bool CVantrelPrepOrdersDlg::ServesClient(const TClientRiskRecord* client) const {
  return ServesAllClients() || client == nullptr || m_client.Includes(ClosingClientOf(*client));
}

int CVantrelPrepOrdersDlg::PrepareClosingOrders(const TClientRiskRecord& client, const TClosingPattern& pattern) {
  return Formation(m_store, &m_heldNotes).PrepareClosingOrders(client, pattern);
}

int CVantrelPrepOrdersDlg::PrepareClosingOrdersForTables(const TClosingPattern& pattern, CTablePlugin* table,
                                                         bool scan, bool anyPattern, int patternIndex) {
  CClosingFormation formation = Formation(m_store, &m_heldNotes);
  auto* riskTable = dynamic_cast<CVantrelFutRiskParamsTable*>(table);
  auto takesPart = [&](TClientRiskRecord* client) {
    if (riskTable != nullptr) return riskTable->AcceptsRecord(client) || riskTable->ContainsRecord(client);
    if (table != nullptr) return false;
    if (!scan) return true;
    for (CTablePlugin* open : g_pModule->Tables()) {
      auto* risk = dynamic_cast<CVantrelFutRiskParamsTable*>(open);
      if (risk != nullptr && risk->AcceptsRecord(client) && risk->ContainsRecord(client) &&
          (anyPattern || risk->GetPatternIndex() == patternIndex))
        return true;
    }
    return false;
  };
  int formed = 0;
  for (auto& entry : g_pModule->Clients().Clients())
    if (takesPart(entry.second.get())) formed += formation.PrepareWhenMissed(*entry.second, pattern);
  return formed;
}

void CVantrelPrepOrdersDlg::RecalculateAll(const TClosingPattern& pattern) {
  CClosingFormation formation = Formation(m_store, &m_heldNotes);
  std::vector<std::pair<std::string, std::string>> clients;
  for (const auto& entry : m_store.All())
    if (!entry.second.empty()) clients.emplace_back(entry.second.front()->Firm, entry.second.front()->Account);
  for (const auto& client : clients) {
    TClientRiskRecord* record = g_pModule->Clients().Find(client.first, client.second);
    if (record != nullptr) formation.PrepareWhenMissed(*record, pattern);
  }
}

double CVantrelPrepOrdersDlg::CalcLevelAfterOrders(const TClientRiskRecord& client, int parameter, int mode,
                                                  bool united) const {
  return Formation(m_store).CalcLevelAfterOrders(client, parameter, mode, united);
}

HWND CVantrelPrepOrdersDlg::List() const { return GetDlgItem(GetDialogWindow(), kOrderList); }

bool CVantrelPrepOrdersDlg::MatchesClientFilter(const TOrderLine& line) const {
  if (m_filter.empty()) return true;
  const std::string byAccount = std::string(line.Account) + " (" + line.Firm + ")";
  const std::string byClient = std::string(line.ClientCode) + " (" + line.Firm + ")";
  return byAccount.find(m_filter) != std::string::npos || byClient.find(m_filter) != std::string::npos;
}

void CVantrelPrepOrdersDlg::AddOrderRows(const COrderStore::Lines& lines) {
  HWND list = List();
  for (size_t index = 0; index < lines.size(); ++index) {
    const TOrderLine& line = *lines[index];
    if (!MatchesClientFilter(line)) continue;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(index);
    item.pszText = const_cast<char*>(line.Firm);
    item.lParam = static_cast<LPARAM>(index);
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetCell(list, row, 1, line.ClientCode);
    SetCell(list, row, 2, line.Account);
    SetCell(list, row, 3, line.ClassCode);
    SetCell(list, row, 4, line.SecCode);
    SetCell(list, row, 5, line.IsBuy ? "Покупка" : "Продажа");
    SetCell(list, row, kPriceColumn, CellValue(line, kPriceColumn));
    SetCell(list, row, kQuantityColumn, CellValue(line, kQuantityColumn));
    SetCell(list, row, 8, StatusText(line));
    if (line.State >= kLineActive && line.State <= kLineWithdrawn) {
      SetCell(list, row, 9, Number(line.OrderNum, 0, false));
      char time[32] = {};
      FormatFileTime(time, sizeof time, line.OrderTime, false);
      SetCell(list, row, 10, time);
    }
  }
}

void CVantrelPrepOrdersDlg::RefreshOrderList() {
  HWND list = List();
  if (list == nullptr) return;
  // The list is drawn once, when it is full again.
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  if (ServesAllClients()) {
    for (const auto& entry : m_store.All()) AddOrderRows(entry.second);
  } else if (const COrderStore::Lines* lines = m_store.Find(ClientKey())) {
    AddOrderRows(*lines);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateLevelFields();
}

void CVantrelPrepOrdersDlg::UpdateLevelFields() {
  HWND dialog = GetDialogWindow();
  const TClientRiskRecord* client = Client();
  if (client == nullptr) {
    ::ShowWindow(GetDlgItem(dialog, kShortfallNote), SW_HIDE);
    return;
  }
  const TClosingGoal goal(*client, m_pattern);
  const double scale = goal.united ? 100.0 : 1.0;
  SetDlgItemTextA(dialog, kTrackedParameter,
                  RiskColumnTitle(goal.united ? kModifiedMarginLevelId : goal.parameter).c_str());
  SetDlgItemTextA(dialog, kDesiredLevel, LevelText(goal.target, scale).c_str());
  const double level = CalcLevelAfterOrders(*client, goal.parameter, m_pattern.UseVarMargin, goal.united);
  SetDlgItemTextA(dialog, kCalculatedLevel, LevelText(level, scale).c_str());
  const LRESULT chosen = SendDlgItemMessageA(dialog, kFurtherParameter, CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR) {
    SetDlgItemTextA(dialog, kFurtherValue, "");
  } else {
    const int id = static_cast<int>(SendDlgItemMessageA(dialog, kFurtherParameter, CB_GETITEMDATA, chosen, 0));
    const bool united = IsUnitedParamApplicableByIdx(*client, m_pattern, id);
    const double value = CalcLevelAfterOrders(*client, id, m_pattern.UseVarMargin, united);
    SetDlgItemTextA(dialog, kFurtherValue, LevelText(value, united ? 100.0 : 1.0).c_str());
  }
  const bool reached = IsLevelReachedForParam(level, goal.target, goal.united, goal.parameter,
                                              m_pattern.NotMoreThanPlanned, client->plannedNetPosition);
  ::ShowWindow(GetDlgItem(dialog, kShortfallNote), reached ? SW_HIDE : SW_SHOW);
}

COrderStore::Key CVantrelPrepOrdersDlg::RowKey(int row) const {
  if (!ServesAllClients()) return ClientKey();
  return COrderStore::KeyOf(CellText(List(), row, kAccountColumn).c_str(),
                            CellText(List(), row, kFirmColumn).c_str());
}

TOrderLine* CVantrelPrepOrdersDlg::GetOrderLineByRow(int row) const {
  if (row < 0) return nullptr;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return m_store.LineAt(RowKey(row), static_cast<size_t>(item.lParam));
}

int CVantrelPrepOrdersDlg::SelectedRow() const {
  return static_cast<int>(SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0));
}

int CVantrelPrepOrdersDlg::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  CZPluginDialog::OnInitDialog(wParam, lParam);
  HWND dialog = GetDialogWindow(), list = List();
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_oldListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OrderListEditProc)));
  for (int index = 0; index < static_cast<int>(std::size(kColumns)); ++index) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kColumns[index].title);
    column.cx = kColumns[index].width;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  }
  if (!ServesAllClients()) {
    EnableWindow(GetDlgItem(dialog, kClientFilter), FALSE);
    EnableWindow(GetDlgItem(dialog, kClearFilter), FALSE);
  } else {
    for (const auto& item : g_pModule->ClientsFilter().Items())
      SendDlgItemMessageA(dialog, kClientFilter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.first.c_str()));
    EnableWindow(GetDlgItem(dialog, kFurtherParameter), FALSE);
  }
  for (int id : kFurtherColumns) {
    const LRESULT item = SendDlgItemMessageA(dialog, kFurtherParameter, CB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(RiskColumnTitle(id).c_str()));
    SendDlgItemMessageA(dialog, kFurtherParameter, CB_SETITEMDATA, static_cast<WPARAM>(item), id);
  }
  auto icon = static_cast<HICON>(LoadImageA(g_pModule->GetInstance(), MAKEINTRESOURCEA(kIconClear), IMAGE_ICON,
                                            16, 16, LR_SHARED));
  SendDlgItemMessageA(dialog, kClearFilter, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  RefreshOrderList();
  return 1;
}

int CVantrelPrepOrdersDlg::OnCommandId(int id, int code, int third) {
  HWND dialog = GetDialogWindow();
  // The popup's commands come back with the host's ids.
  const int command = g_pModule->FindCommandId(id);
  if (code == 0 && command != -1) return OnMenuCommand(command, code, third);
  if (id == kClientFilter && code == CBN_SELCHANGE) {
    char text[256] = {};
    const LRESULT chosen = SendDlgItemMessageA(dialog, kClientFilter, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR && SendDlgItemMessageA(dialog, kClientFilter, CB_GETLBTEXTLEN, chosen, 0) < 256)
      SendDlgItemMessageA(dialog, kClientFilter, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text));
    m_filter = text;
    RefreshOrderList();
  } else if (id == kFurtherParameter && code == CBN_SELCHANGE) {
    UpdateLevelFields();
  } else if (id == kClearFilter && code == BN_CLICKED) {
    m_filter.clear();
    SendDlgItemMessageA(dialog, kClientFilter, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    RefreshOrderList();
  }
  return CZPluginDialog::OnCommandId(id, code, third);
}

void CVantrelPrepOrdersDlg::OnContextMenu(HMENU menu, int, int) {
  const int row = SelectedRow();
  const TOrderLine* selected = GetOrderLineByRow(row);
  const bool keyHasLines = (row >= 0 || !ServesAllClients()) &&
                           m_store.Count(RowKey(row), [](const TOrderLine&) { return true; }) > 0;
  auto add = [&](const char* text, int command, bool enabled) {
    const int hostId = g_pModule->FindHostCommandId(command);
    AppendMenuA(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(hostId), text);
  };
  add("Подать", kSend, selected != nullptr && selected->Sendable());
  add("Подать все", kSendAll, keyHasLines);
  add("Удалить", kDelete, selected != nullptr && selected->NotTaken());
  add("Удалить все", kDeleteAll, keyHasLines);
  add("Снять", kWithdraw, selected != nullptr && selected->State == kLineActive && selected->OrderNum != 0);
  add("Пересчитать", kRecalculate, true);
}

int CVantrelPrepOrdersDlg::OnMenuCommand(int id, int code, int third) {
  const int row = SelectedRow();
  TOrderLine* selected = GetOrderLineByRow(row);
  switch (id) {
    case kSend:
    case kSendAll: {
      std::vector<TOrderLine*> lines;
      if (id == kSendAll) m_store.ForEach(ClientKey(), [&](TOrderLine& line) { lines.push_back(&line); });
      else if (selected != nullptr) lines.push_back(selected);
      // The window may close while the manager reads what was cut.
      if (!SendLines(lines) || CloseIfNoPendingOrders() != 0) return 0;
      break;
    }
    case kDelete:
      if (selected != nullptr) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        m_store.RemoveLine(RowKey(row), static_cast<size_t>(item.lParam));
      }
      RefreshOrderList();
      break;
    case kDeleteAll:
      if (ServesAllClients()) {
        for (const auto& entry : m_store.All()) m_store.RemoveUnsent(entry.first);
      } else {
        m_store.RemoveUnsent(ClientKey());
      }
      RefreshOrderList();
      break;
    case kWithdraw:
      WithdrawSelectedOrder(-1);
      break;
    case kRecalculate:
      if (TClientRiskRecord* client = Client()) PrepareClosingOrders(*client, m_pattern);
      else if (ServesAllClients()) RecalculateAll(m_pattern);
      RefreshOrderList();
      if (!TellHeldLots()) return 0;
      break;
    default:
      break;
  }
  return CZPluginDialog::OnMenuCommand(id, code, third);
}

void CVantrelPrepOrdersDlg::WithdrawSelectedOrder(int row) {
  const TOrderLine* line = GetOrderLineByRow(row == -1 ? SelectedRow() : row);
  if (line == nullptr || line->State != kLineActive || line->OrderNum == 0) return;
  const uint8_t* security = LineSecurity(*line);
  if (security != nullptr) g_pModule->SendOrderNumTransaction(security, line->OrderNum);
}

void CVantrelPrepOrdersDlg::OnNotify(WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr || header->idFrom != kOrderList) return;
  if (header->code == NM_DBLCLK) {
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
    if (click->iSubItem == kPriceColumn || click->iSubItem == kQuantityColumn) BeginEdit(click->iItem, click->iSubItem);
  } else if (header->code == NM_RDBLCLK) {
    // A click beside the rows reaches no order, whatever is selected.
    const int row = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
    if (row >= 0) WithdrawSelectedOrder(row);
  } else if (header->code == LVN_KEYDOWN) {
    const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(lParam);
    if (key->wVKey == 'D' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) WithdrawSelectedOrder(-1);
  }
}

bool CVantrelPrepOrdersDlg::WarnUnsubmittedOrders() {
  const int count = m_store.Count(ClientKey(), [](const TOrderLine& line) { return line.NotTaken(); });
  if (count == 0) return true;
  char text[512];
  if (ServesAllClients())
    std::snprintf(text, sizeof text,
                  "В таблице имеются неподанные заявки (%d). Вы уверены, что хотите закрыть окно?", count);
  else
    std::snprintf(text, sizeof text,
                  "В таблице имеются неподанные заявки (%d) по закрытию позиций клиента %s. Вы уверены, что "
                  "хотите закрыть окно?",
                  count, m_client.clientCode.c_str());
  // A window the host closed meanwhile has nothing left to end.
  return UserConfirms(GetDialogWindow(), text, "Внимание", MB_OKCANCEL | MB_ICONEXCLAMATION) && !WindowGone();
}

void CVantrelPrepOrdersDlg::EndDialog(INT_PTR code) {
  if (code != kEndWithoutAsking && !WarnUnsubmittedOrders()) return;
  CZPluginDialog::EndDialog(code);
}

int CVantrelPrepOrdersDlg::CloseIfNoPendingOrders() {
  // The window's own command finishes first, and then asks again.
  if (m_sending) return 0;
  const int pending = m_store.Count(ClientKey(), [](const TOrderLine& line) {
    return line.State != kLineExecuted && line.State != kLineWithdrawn;
  });
  if (pending != 0) return 0;
  EndDialog(1);
  return 1;
}

BOOL CVantrelPrepOrdersDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == kCloseQuery && lParam != 0) {
    if (!WarnUnsubmittedOrders()) {
      *reinterpret_cast<LRESULT*>(lParam) = 1;
      return TRUE;
    }
    return FALSE;
  }
  if (message == kRemoveClipChildren)
    SetWindowLongA(GetHwnd(), GWL_STYLE, GetWindowLongA(GetHwnd(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  return CZPluginDialog::OnMessage(message, wParam, lParam, result);
}

INT_PTR CVantrelPrepOrdersDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kShortfallNote) {
    auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
  }
  return CZPluginDialog::DialogProc(message, wParam, lParam);
}
