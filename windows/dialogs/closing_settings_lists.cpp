#include "windows/dialogs/closing_settings_lists.h"

#include <commctrl.h>

#include <string>

namespace {
// A pattern deleted in the dialog is still listed until OK, which binds its
// entries to no pattern: it is shown nowhere meanwhile.
const TClosingPattern* LivePatternAt(const TClosingSettings& closing, int index) {
  const TClosingPattern* pattern =
      index >= 0 && index < static_cast<int>(closing.Patterns.size()) ? closing.Patterns[index].get() : nullptr;
  return pattern != nullptr && !pattern->Deleted ? pattern : nullptr;
}

void SetSubItem(HWND listView, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(listView, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

std::vector<TControlItem> PatternItems(const TClosingSettings& closing) {
  std::vector<TControlItem> items;
  for (int index = 0; index < static_cast<int>(closing.Patterns.size()); ++index) {
    const TClosingPattern* pattern = LivePatternAt(closing, index);
    if (pattern == nullptr) continue;
    items.push_back({pattern->PatternName + (index == closing.DefaultPattern ? " [Основной]" : ""), index});
  }
  return items;
}

void FillPatternList(HWND dialog, int controlId, const TClosingSettings& closing, bool combo) {
  HWND control = GetDlgItem(dialog, controlId);
  SendMessageA(control, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const TControlItem& pattern : PatternItems(closing)) {
    const LRESULT item = SendMessageA(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(pattern.text.c_str()));
    SendMessageA(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, static_cast<WPARAM>(item), pattern.data);
  }
}

void FillScheduleList(const TClosingSettings& closing, HWND listView) {
  SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
  for (int index = 0; index < static_cast<int>(closing.AutoCloseSchedule.size()); ++index) {
    const TScheduleEntry& entry = closing.AutoCloseSchedule[index];
    const std::string time = FormatHourMinute(entry.Minutes);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(time.c_str());
    item.lParam = index;
    const int row = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    const TClosingPattern* pattern = LivePatternAt(closing, entry.PatternIndex);
    SetSubItem(listView, row, 1, pattern != nullptr ? pattern->PatternName : std::string());
    SetSubItem(listView, row, 2, entry.AllClients >= 1 ? "Да" : "Нет");
  }
}
