// The search panel: the edit box the user types into, its icons and counter,
// and the refiltering of the list box on every change of the text.
#include <algorithm>
#include <cstdio>

#include "sdk/entry_guard.h"
#include "sdk/host_call.h"
#include "sdk/search_list_box.h"
#include "sdk/window_helpers.h"

LRESULT CALLBACK SearchPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SearchListBox* box = SearchListBox::FromWindow(window);
  if (box == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return GuardBoundary("search panel", LRESULT(0), [&] { return box->PanelProc(message, wParam, lParam); });
}

LRESULT CALLBACK SearchEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SearchListBox* box = SearchListBox::FromWindow(GetParent(window));
  if (box == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return GuardBoundary("search edit", LRESULT(0), [&] { return box->EditProc(message, wParam, lParam); });
}

LRESULT SearchListBox::PanelProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) {
    OnSearchTextChanged();
    SendMessageA(GetParent(panel_), message, wParam, lParam);
    SendMessageA(list_, message, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(panel_, message, wParam, lParam);
}

LRESULT SearchListBox::EditProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND edit = edit_;
  const WNDPROC ownEdit = ownEditProc_;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED && reinterpret_cast<HWND>(lParam) == clearIcon_) {
        ClearSearchText();
        SetFocus(edit_);
        return 0;
      }
      if (HIWORD(wParam) == STN_CLICKED && reinterpret_cast<HWND>(lParam) == searchIcon_)
        return SendMessageA(list_, message, wParam, lParam);
      break;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      SetBkColor(reinterpret_cast<HDC>(wParam), backgroundColour_);
      return reinterpret_cast<LRESULT>(backgroundBrush_);
    default:
      break;
  }
  // The object may go while the edit handles its own destruction.
  return CallWindowProcA(ownEdit, edit, message, wParam, lParam);
}

bool SearchListBox::ClearSearchText() {
  if (items_.SearchText().empty()) return false;
  SetWindowTextA(edit_, "");  // EN_CHANGE refilters
  if (!items_.SearchText().empty()) OnSearchTextChanged();
  return true;
}

void SearchListBox::OnSearchTextChanged() {
  const int length = GetWindowTextLengthA(edit_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(edit_, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  RememberSelection();
  items_.SetSearchText(text);
  UpdateCounter();
  RefillList();
  FitHorizontalExtent();
  UpdateIcons();
}

bool SearchListBox::Multiple() const {
  return (GetWindowLongA(list_, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void SearchListBox::RememberSelection() {
  for (int index = 0; index < items_.FullCount(); ++index) items_.Full(index)->selected = false;
  if (Multiple()) {
    for (int index = 0; index < items_.ShownCount(); ++index)
      if (OwnList(LB_GETSEL, index, 0) > 0) items_.Shown(index)->selected = true;
    return;
  }
  if (SearchListItem* current = items_.Shown(static_cast<int>(OwnList(LB_GETCURSEL, 0, 0))))
    current->selected = true;
}

void SearchListBox::RefillList() {
  OwnList(WM_SETREDRAW, FALSE, 0);
  OwnList(LB_RESETCONTENT, 0, 0);
  int firstSelected = -1;
  for (int index = 0; index < items_.ShownCount(); ++index) {
    const SearchListItem* item = items_.Shown(index);
    // Inserting at the end keeps the shown order whatever the list's own sorting.
    const LRESULT at = OwnList(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item->text.c_str()));
    OwnList(LB_SETITEMDATA, at, item->data);
    if (!item->selected) continue;
    if (firstSelected < 0) firstSelected = index;
    if (Multiple()) OwnList(LB_SETSEL, TRUE, index);
  }
  if (!Multiple() && firstSelected >= 0) {
    OwnList(LB_SETCURSEL, firstSelected, 0);
    SendMessageA(GetParent(list_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list_), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list_));
  }
  OwnList(WM_SETREDRAW, redraw_, 0);
  InvalidateRect(list_, nullptr, TRUE);
  if (firstSelected >= 0) OwnList(LB_SETTOPINDEX, firstSelected, 0);
}

void SearchListBox::FitHorizontalExtent() {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0));
  int widest = 0;
  for (int index = 0; index < items_.ShownCount(); ++index)
    widest = std::max(widest, TextWidth(font, items_.Shown(index)->text.c_str()));
  const int extent = widest + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
  OwnList(LB_SETHORIZONTALEXTENT, std::min(extent, GetSystemMetrics(SM_CXSCREEN) * 2 / 3), 0);
}

// The counter sits at the right end of the edit, left of the clear icon,
// and the typed text stops short of it.
void SearchListBox::UpdateCounter() {
  if (counter_ == nullptr) return;
  if (items_.SearchText().empty()) {
    ShowWindow(counter_, SW_HIDE);
    SendMessageA(edit_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, kEditRightMargin));
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", items_.ShownCount(), items_.FullCount());
  int width = 0, height = 0;
  MeasureText(reinterpret_cast<HFONT>(SendMessageA(counter_, WM_GETFONT, 0, 0)), text, &width, &height);
  RECT client = {};
  GetClientRect(edit_, &client);
  SetWindowTextA(counter_, text);
  SetWindowPos(counter_, nullptr, client.right - kEditRightMargin - width, (client.bottom - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(edit_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width + kEditRightMargin));
  ShowWindow(counter_, SW_SHOWNA);
  InvalidateRect(counter_, nullptr, TRUE);
}

void SearchListBox::UpdateIcons() {
  const bool searching = !items_.SearchText().empty();
  auto resources = static_cast<HINSTANCE>(HostCall<25>(host::kResourceModule));
  auto icon = [&](int id) {
    return resources ? LoadImageA(resources, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_SHARED) : nullptr;
  };
  SendMessageA(searchIcon_, STM_SETICON, reinterpret_cast<WPARAM>(icon(searching ? kSearchActiveIcon : kSearchIdleIcon)), 0);
  if (SendMessageA(clearIcon_, STM_GETICON, 0, 0) == 0)
    SendMessageA(clearIcon_, STM_SETICON, reinterpret_cast<WPARAM>(icon(kSearchClearIcon)), 0);
  ShowWindow(clearIcon_, searching ? SW_SHOWNA : SW_HIDE);
}

void SearchListBox::ScrollSelectionToTop() {
  int first = -1;
  if (Multiple()) {
    OwnList(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first));
  } else {
    first = static_cast<int>(OwnList(LB_GETCURSEL, 0, 0));
  }
  if (first >= 0) OwnList(LB_SETTOPINDEX, first, 0);
}

void SearchListBox::TogglePanel() {
  if (panelShown_)
    HidePanel();
  else
    ShowPanel();
}

void SearchListBox::ShowPanel() {
  GetWindowRect(list_, &listRect_);
  MapWindowPoints(nullptr, GetParent(list_), reinterpret_cast<POINT*>(&listRect_), 2);
  const int down = panelHeight_ - overlap_;
  SetWindowPos(list_, nullptr, listRect_.left, listRect_.top + down, listRect_.right - listRect_.left,
               listRect_.bottom - listRect_.top - down, SWP_NOZORDER | SWP_NOACTIVATE);
  panelShown_ = true;
  ShowWindow(panel_, SW_SHOWNA);
  ShowWindow(edit_, SW_SHOWNA);
  SetFocus(edit_);
  ScrollSelectionToTop();
}

void SearchListBox::HidePanel() {
  panelShown_ = false;
  ShowWindow(edit_, SW_HIDE);
  ShowWindow(panel_, SW_HIDE);
  SetWindowPos(list_, nullptr, listRect_.left, listRect_.top, listRect_.right - listRect_.left,
               listRect_.bottom - listRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetFocus(list_);
}
