// Command ids and menus: the plug-in's own command ids are mapped to ids the
// host hands out, and the plug-in's menu is copied into the host's menu bar.
#include "sdk/plugin_module.h"

LRESULT CZenkPluginModule::RouteCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return 0;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (code == 0 && lParam == 0) {
    const int ownId = FindCommandId(id);
    const bool notFound = ownId == -1;
    return OnMenuCommand(window, notFound ? id : ownId, notFound) != 0 ? 1 : 0;
  }
  return OnControlCommand(window, id, reinterpret_cast<HWND>(lParam), code);
}

void CZenkPluginModule::RegisterCommandId(int hostId, int ownId) {
  m_commands.emplace(hostId, ownId);  // the first registration of a host id wins
}

int CZenkPluginModule::FindHostCommandId(int ownId) {
  for (const auto& command : m_commands)
    if (command.second == ownId) return command.first;
  return -1;
}

int CZenkPluginModule::FindCommandId(int hostId) {
  const auto found = m_commands.find(hostId);
  return found == m_commands.end() ? -1 : found->second;
}

bool CZenkPluginModule::EnableCommand(int commandId, bool enable, bool isHostId) {
  const int hostId = isHostId ? commandId : FindHostCommandId(commandId);
  if (hostId == -1) return false;
  CallHost<11>(hostId, enable ? 1 : 0);
  return true;
}

bool CZenkPluginModule::GetCommandState(int commandId, bool isHostId) {
  const int hostId = isHostId ? commandId : FindHostCommandId(commandId);
  if (hostId == -1) return false;
  return CallHost<12>(hostId) == 1;
}

bool CZenkPluginModule::BuildHostMenu(HMENU source, HMENU hostMenu) {
  const int count = GetMenuItemCount(source);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(source, position, TRUE, &item)) continue;
    if (item.fType & MFT_SEPARATOR) {
      AppendMenuA(hostMenu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    if (item.fType & (MFT_BITMAP | MFT_OWNERDRAW)) continue;

    char caption[512] = {};
    MENUITEMINFOA text = {};
    text.cbSize = sizeof text;
    text.fMask = MIIM_STRING;
    text.dwTypeData = caption;
    text.cch = 511;
    if (!GetMenuItemInfoA(source, position, TRUE, &text)) return false;

    if (item.hSubMenu == nullptr) {
      const int hostId = CallHost<9>();
      if (hostId < 1) return false;
      const UINT grayed = (item.fState & MFS_DISABLED) ? MF_GRAYED : 0;
      AppendMenuA(hostMenu, MF_STRING | grayed, static_cast<UINT_PTR>(hostId), caption);
      RegisterCommandId(hostId, static_cast<int>(item.wID));
    } else {
      HMENU submenu = CreatePopupMenu();
      if (!BuildHostMenu(item.hSubMenu, submenu)) {
        DestroyMenu(submenu);
        return false;
      }
      AppendMenuA(hostMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), caption);
    }
  }
  return true;
}

bool CZenkPluginModule::AddMenus() {
  if (m_moduleMenu == nullptr) return true;
  if (!IsMenu(m_moduleMenu) || GetMenuItemCount(m_moduleMenu) <= 0) return false;
  char caption[2048];
  for (int position = 0;; ++position) {
    HMENU submenu = GetSubMenu(m_moduleMenu, position);
    if (submenu == nullptr) return true;
    caption[0] = 0;
    GetMenuStringA(m_moduleMenu, position, caption, 2047, MF_BYPOSITION);
    HMENU hostMenu = CallHost<7>(caption);
    if (m_moduleMenu == nullptr) return false;
    // A host that cannot give a menu for the caption has not added it.
    if (hostMenu == nullptr || !BuildHostMenu(submenu, hostMenu)) {
      CallHost<8>(caption);
      return false;
    }
  }
}

void CZenkPluginModule::DeleteMenuItems(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    HMENU submenu = GetSubMenu(menu, position);
    if (submenu != nullptr) DeleteMenuItems(submenu);
  }
  while (GetMenuItemCount(menu) > 0)
    if (!DeleteMenu(menu, 0, MF_BYPOSITION)) break;
}
