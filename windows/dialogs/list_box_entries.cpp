#include "windows/dialogs/list_box_entries.h"

#include <vector>

TListEntries ReadListBoxEntries(HWND list) {
  TListEntries entries;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) continue;
    std::vector<char> text(static_cast<size_t>(length) + 1);
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    entries.push_back({text.data(), static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0)),
                       SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0});
  }
  return entries;
}

void WriteListBoxEntries(HWND list, const TListEntries& entries) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const TListEntry& entry : entries) {
    const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
    if (index < 0) continue;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), entry.data);
    if (entry.selected) SendMessageA(list, LB_SETSEL, TRUE, index);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int SelectedListBoxData(HWND list) {
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return -1;
  return static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}
