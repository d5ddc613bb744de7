// Host functions 7 to 12: menus in the host's menu bar and command ids.
#include "host/standin/standin_host.h"

#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

HMENU __stdcall MenuByCaption(const char* caption) {
  Host().Log().Record(7, caption ? caption : "");
  return caption ? Host().MenuByCaption(caption, true) : nullptr;
}

void __stdcall RemoveMenuByCaption(const char* caption) {
  Host().Log().Record(8, caption ? caption : "");
  if (caption) Host().RemoveMenu(caption);
}

int __stdcall NewCommandId() {
  const int id = Host().IssueCommandId();
  Host().Log().Record(9, std::to_string(id));
  return id;
}

void __stdcall ReleaseCommandId(int id) {
  Host().Log().Record(10, std::to_string(id));
  Host().ReleaseCommandId(id);
}

void __stdcall EnableCommand(int id, int enable) {
  Host().Log().Record(11, std::to_string(id) + (enable ? " on" : " off"));
  if (HMENU bar = GetMenu(Host().Frame()))
    EnableMenuItem(bar, static_cast<UINT>(id), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

// A command is set when its menu item carries the check mark.
int __stdcall CommandState(int id) {
  Host().Log().Record(12, std::to_string(id));
  HMENU bar = GetMenu(Host().Frame());
  if (bar == nullptr) return 0;
  const UINT state = GetMenuState(bar, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) ? 1 : 0;
}
}  // namespace

void InstallMenuFunctions(StandInHost& host) {
  host.Install<7>(MenuByCaption);
  host.Install<8>(RemoveMenuByCaption);
  host.Install<9>(NewCommandId);
  host.Install<10>(ReleaseCommandId);
  host.Install<11>(EnableCommand);
  host.Install<12>(CommandState);
}
