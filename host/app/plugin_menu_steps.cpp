#include "host/app/plugin_menu_steps.h"

#include "host/standin/standin_host.h"

#include <commctrl.h>

namespace {
struct CaptionSearch {
  int ownId;
  std::string caption;
};

BOOL CALLBACK FindCaptionInMenu(HMODULE module, LPCSTR, LPSTR name, LONG_PTR search) {
  auto& wanted = *reinterpret_cast<CaptionSearch*>(search);
  HMENU menu = LoadMenuA(module, name);
  if (menu == nullptr) return TRUE;
  char caption[256] = {};
  // By command, the item is found in the menu's popups as well.
  if (GetMenuStringA(menu, static_cast<UINT>(wanted.ownId), caption, sizeof caption - 1, MF_BYCOMMAND) > 0)
    wanted.caption = caption;
  DestroyMenu(menu);
  return wanted.caption.empty();
}

// The id of the first item with the caption, in the menu or its popups; 0
// when none has it.
UINT CommandIdByCaption(HMENU menu, const std::string& caption) {
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    if (HMENU popup = GetSubMenu(menu, position)) {
      if (const UINT id = CommandIdByCaption(popup, caption)) return id;
      continue;
    }
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text - 1, MF_BYPOSITION);
    if (caption == text) return GetMenuItemID(menu, position);
  }
  return 0;
}

// The item after this one with every item expanded: its first child, else
// the next sibling of it or of its nearest parent that has one.
HTREEITEM NextInTreeOrder(HWND tree, HTREEITEM item) {
  if (HTREEITEM child = TreeView_GetChild(tree, item)) return child;
  for (; item != nullptr; item = TreeView_GetParent(tree, item))
    if (HTREEITEM next = TreeView_GetNextSibling(tree, item)) return next;
  return nullptr;
}
}  // namespace

std::string ClickPluginMenuCommand(HWND frame, HMODULE plugin, int ownId) {
  CaptionSearch search = {ownId, ""};
  EnumResourceNamesA(plugin, RT_MENU, FindCaptionInMenu, reinterpret_cast<LONG_PTR>(&search));
  if (search.caption.empty()) return "";
  const UINT hostId = CommandIdByCaption(GetMenu(frame), search.caption);
  if (hostId == 0) return "";
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(hostId, 0), 0);
  return search.caption;
}

bool SelectDialogPage(int nth, std::string* caption) {
  HWND dialog = ShownDialog();
  HWND tree = dialog != nullptr ? FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
  HTREEITEM item = tree != nullptr && nth > 0 ? TreeView_GetRoot(tree) : nullptr;
  for (int position = 1; item != nullptr && position < nth; ++position) item = NextInTreeOrder(tree, item);
  if (item == nullptr) return false;
  char text[256] = {};
  TVITEMA data = {};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  *caption = text;
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  return true;
}

bool CancelShownDialog(std::string* caption) {
  HWND dialog = ShownDialog();
  if (dialog == nullptr) return false;
  char text[256] = {};
  GetWindowTextA(dialog, text, sizeof text);
  *caption = text;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return true;
}
