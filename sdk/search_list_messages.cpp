// The list-box messages a search list answers itself: the dialog speaks of
// the full item set, the real list box shows the matching items.
#include "sdk/entry_guard.h"
#include "sdk/search_list_box.h"

LRESULT CALLBACK SearchListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SearchListBox* box = SearchListBox::FromWindow(window);
  if (box == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return GuardBoundary("search list", LRESULT(LB_ERR), [&] { return box->ListProc(message, wParam, lParam); });
}

LRESULT SearchListBox::ListProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(wParam);
  switch (message) {
    case LB_ADDSTRING:
      return InsertItem(reinterpret_cast<const char*>(lParam), -1);
    case LB_INSERTSTRING:
      return InsertItem(reinterpret_cast<const char*>(lParam), index);
    case LB_DELETESTRING:
      return DeleteShownItem(wParam);
    case LB_RESETCONTENT:
      ResetItems();
      break;
    case LB_GETITEMDATA: {
      const SearchListItem* item = items_.Shown(index);
      return item ? static_cast<LRESULT>(item->data) : LB_ERR;
    }
    case LB_SETITEMDATA: {
      SearchListItem* item = items_.Full(index);
      if (item == nullptr) return LB_ERR;
      item->data = static_cast<uint32_t>(lParam);
      return 0;
    }
    case SLB_GETFULLCOUNT:
      return items_.FullCount();
    case SLB_SETSORTED:
      items_.SetSorted(wParam != 0);
      return 0;
    case SLB_GETFULLITEMDATA: {
      const SearchListItem* item = items_.Full(index);
      return item ? static_cast<LRESULT>(item->data) : LB_ERR;
    }
    case SLB_DELETEFULLITEM:
      DeleteFullItem(index);
      return 0;
    case SLB_GETFULLTEXT: {
      const SearchListItem* item = items_.Full(index);
      if (item == nullptr) return LB_ERR;
      if (lParam != 0) lstrcpyA(reinterpret_cast<char*>(lParam), item->text.c_str());
      return static_cast<LRESULT>(item->text.size());
    }
    case SLB_GETFULLINDEX: {
      const SearchListItem* item = items_.Shown(index);
      return item ? item->fullIndex : LB_ERR;
    }
    case WM_SETREDRAW:
      redraw_ = wParam != 0;
      break;
    case WM_SHOWWINDOW:
    case WM_ENABLE:
      // The panel follows the list.
      if ((wParam != 0) != panelShown_) TogglePanel();
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && reinterpret_cast<HWND>(lParam) == searchIcon_ && searchIcon_ != nullptr) {
        TogglePanel();
        return 0;
      }
      break;
    case WM_DESTROY: {
      const LRESULT result = OwnList(message, wParam, lParam);
      DestroySearchListBox(list_);
      return result;
    }
    default:
      break;
  }
  return OwnList(message, wParam, lParam);
}

LRESULT SearchListBox::InsertItem(const char* text, int at) {
  const SearchListItems::Placed placed = items_.Insert(text ? text : "", 0, at);
  if (placed.shownIndex >= 0) {
    if (redraw_) OwnList(WM_SETREDRAW, FALSE, 0);
    OwnList(LB_INSERTSTRING, placed.shownIndex, reinterpret_cast<LPARAM>(items_.Shown(placed.shownIndex)->text.c_str()));
    if (redraw_) {
      OwnList(WM_SETREDRAW, TRUE, 0);
      InvalidateRect(list_, nullptr, TRUE);
    }
  }
  UpdateCounter();
  return placed.fullIndex;
}

LRESULT SearchListBox::DeleteShownItem(WPARAM shownIndex) {
  items_.EraseShown(static_cast<int>(shownIndex));
  const LRESULT result = OwnList(LB_DELETESTRING, shownIndex, 0);
  UpdateCounter();
  return result;
}

// An item deleted by its full index leaves the real list too, when it is
// shown: the shown list must never keep an item that is gone.
void SearchListBox::DeleteFullItem(int fullIndex) {
  int shownIndex = -1;
  if (!items_.EraseFull(fullIndex, &shownIndex)) return;
  if (shownIndex >= 0) OwnList(LB_DELETESTRING, shownIndex, 0);
  UpdateCounter();
}

void SearchListBox::ResetItems() {
  items_.Clear();
  UpdateCounter();
}
