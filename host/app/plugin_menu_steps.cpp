#include "host/app/plugin_menu_steps.h"

#include "host/standin/standin_host.h"

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

bool CancelShownDialog(std::string* caption) {
  HWND dialog = ShownDialog();
  if (dialog == nullptr) return false;
  char text[256] = {};
  GetWindowTextA(dialog, text, sizeof text);
  *caption = text;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return true;
}
