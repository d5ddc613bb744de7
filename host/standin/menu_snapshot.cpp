#include "host/standin/menu_snapshot.h"

std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu) {
  std::vector<MenuItemSnapshot> items;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char text[512] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) continue;
    MenuItemSnapshot item;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.text = item.separator ? "" : text;
    item.id = info.hSubMenu != nullptr ? 0 : info.wID;
    item.greyed = !item.separator && (info.fState & MFS_DISABLED) != 0;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.checkedPicture = info.hbmpChecked;
    item.uncheckedPicture = info.hbmpUnchecked;
    if (info.hSubMenu != nullptr) item.submenu = SnapshotMenu(info.hSubMenu);
    items.push_back(item);
  }
  return items;
}

const MenuItemSnapshot* FindMenuItem(const std::vector<MenuItemSnapshot>& items, const std::string& text) {
  for (const MenuItemSnapshot& item : items) {
    if (item.text == text) return &item;
    if (const MenuItemSnapshot* inner = FindMenuItem(item.submenu, text)) return inner;
  }
  return nullptr;
}
