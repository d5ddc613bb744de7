// What a popup menu held when the host was asked to show it: each item's
// text, command id, state, pictures and submenu, kept after the menu itself
// is destroyed so tests can read what a plug-in built.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuItemSnapshot {
  std::string text;  // empty for a separator
  UINT id = 0;
  bool separator = false;
  bool greyed = false;
  bool checked = false;
  HBITMAP checkedPicture = nullptr;
  HBITMAP uncheckedPicture = nullptr;
  std::vector<MenuItemSnapshot> submenu;
};

std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu);
// The item whose text is that, at the top level or in a submenu; null when none.
const MenuItemSnapshot* FindMenuItem(const std::vector<MenuItemSnapshot>& items, const std::string& text);
