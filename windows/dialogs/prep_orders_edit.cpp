// The price and quantity of a line not sent yet, edited in place in the
// list: the value is checked as it is typed and taken when the editor loses
// the focus; a quantity the position cannot close is refused.
#include "windows/dialogs/prep_orders_dlg.h"

#include "module/vantrel_module.h"
#include "sdk/modal_loops.h"
#include "windows/dialogs/prep_orders_cells.h"

#include <commctrl.h>

#include <cstdio>

using namespace prep_orders;

void CVantrelPrepOrdersDlg::BeginEdit(int row, int column) {
  const TOrderLine* line = GetOrderLineByRow(row);
  // An order the host has taken is not the window's to change.
  if (line == nullptr || !line->Sendable() || m_edit != nullptr) return;
  HWND list = List();
  RECT cell = {};
  cell.top = column;
  cell.left = LVIR_LABEL;
  SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  m_editRow = row, m_editColumn = column;
  SetCell(list, row, column, "");
  m_edit = CreateWindowExA(0, "EDIT", CellValue(*line, column).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, cell.left, cell.top - 1,
                           cell.right - cell.left, cell.bottom - cell.top + 4, list, nullptr, nullptr, nullptr);
  SendMessageA(m_edit, WM_SETFONT, SendMessageA(list, WM_GETFONT, 0, 0), 0);
  SetFocus(m_edit);
  const int length = GetWindowTextLengthA(m_edit);
  SendMessageA(m_edit, EM_SETSEL, static_cast<WPARAM>(length), length);
}

void CVantrelPrepOrdersDlg::FinishEdit() {
  HWND edit = m_edit;
  const int row = m_editRow, column = m_editColumn;
  m_edit = nullptr, m_editRow = -1, m_editColumn = -1;
  TOrderLine* line = GetOrderLineByRow(row);
  char text[1024] = {};
  GetWindowTextA(edit, text, sizeof text);
  std::string refusal;
  if (line != nullptr && line->Sendable() && text[0] != 0)
    refusal = TakeEditedValue(*line, column, g_pModule->ParseNumber(text));
  if (line != nullptr) SetCell(List(), row, column, CellValue(*line, column));
  DestroyWindow(edit);
  UpdateLevelFields();
  if (!refusal.empty()) ShowMessageBox(GetDialogWindow(), refusal.c_str(), "Внимание", MB_OK | MB_ICONEXCLAMATION);
}

std::string CVantrelPrepOrdersDlg::TakeEditedValue(TOrderLine& line, int column, double value) {
  if (column == kPriceColumn) {
    line.Price = value;
    return std::string();
  }
  // No order goes for nothing or for a negative number of lots.
  if (value < 1) return "Количество должно быть не меньше 1.\nКоличество не изменено.";
  const int most = LotsLeftToClose(line);
  if (value <= most) {
    // The manager decides the quantity now: orders sent before no longer cut it.
    if (value != line.Quantity) line.SendsSeen = g_pModule->ClosingOrders().Sends();
    line.Quantity = value;
    return std::string();
  }
  char text[512];
  std::snprintf(text, sizeof text,
                "Количество не может быть больше %d: столько лотов позиции по %s не закрывается другими "
                "заявками.\nКоличество не изменено.",
                most, line.SecCode);
  return text;
}

int CVantrelPrepOrdersDlg::LotsLeftToClose(const TOrderLine& line) const {
  // Without the client's positions the line may keep its lots or take fewer.
  const TClientRiskRecord* client = g_pModule->Clients().Find(line.Firm, line.Account);
  if (client == nullptr) return static_cast<int>(line.Quantity);
  return Formation(m_store).LotsLeftToClose(*client, line);
}

LRESULT CALLBACK CVantrelPrepOrdersDlg::OrderListEditProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CVantrelPrepOrdersDlg*>(GetWindowLongPtrA(list, GWLP_USERDATA));
  const WNDPROC old = self->m_oldListProc;
  // The refusal's box may outlast the window.
  CWindowUse use(self);
  if (message == WM_COMMAND && self->m_edit != nullptr && reinterpret_cast<HWND>(lParam) == self->m_edit) {
    const TOrderLine* line = self->GetOrderLineByRow(self->m_editRow);
    if (HIWORD(wParam) == EN_UPDATE && line != nullptr)
      g_pModule->ValidateDecimalEdit(self->m_edit, EN_UPDATE,
                                     self->m_editColumn == kPriceColumn ? PriceDecimals(*line) : 0, 10, 0, 0);
    if (HIWORD(wParam) == EN_KILLFOCUS) self->FinishEdit();
  }
  return CallWindowProcA(old, list, message, wParam, lParam);
}
