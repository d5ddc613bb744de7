// The page tree of the notification settings dialog, as the user works it.
#pragma once

#include <windows.h>

#include <commctrl.h>

// The user picks the page's item in the dialog's tree; the page shown (null
// when the tree has no such page).
inline HWND OpenNotificationPage(HWND dialog, int page) {
  HWND tree = GetDlgItem(dialog, 1181);
  for (HTREEITEM item = TreeView_GetRoot(tree); item != nullptr; item = TreeView_GetNextVisible(tree, item)) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM, data.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    if (data.lParam == page) TreeView_SelectItem(tree, item);
  }
  return GetDlgItem(dialog, page);
}
