// The closing settings' patterns and auto-close schedule filled into a real
// combo box, list boxes and a list view under Xvfb.
#include "windows/dialogs/closing_settings_lists.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
enum : int { kCombo = 1, kList = 2, kSortedList = 3, kSchedule = 4 };

class ClosingSettingsListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    parent = CreateWindowExA(0, "STATIC", "lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                             nullptr, nullptr, nullptr);
    Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, kCombo);
    Child("LISTBOX", LBS_NOTIFY | WS_VSCROLL, kList);
    Child("LISTBOX", LBS_NOTIFY | LBS_SORT | WS_VSCROLL, kSortedList);
    Child(WC_LISTVIEWA, LVS_REPORT, kSchedule);
    for (const char* title : {"Время закрытия", "Шаблон", "Все клиенты"}) {
      LVCOLUMNA column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<char*>(title);
      column.cx = 100;
      SendMessageA(Item(kSchedule), LVM_INSERTCOLUMNA, 3, reinterpret_cast<LPARAM>(&column));
    }
    for (const char* name : {"Основной", "Шаблон 1", "Альфа"}) {
      closing.Patterns.push_back(std::make_unique<TClosingPattern>());
      closing.Patterns.back()->PatternName = name;
    }
    closing.Patterns[1]->Deleted = true;
  }
  void TearDown() override { DestroyWindow(parent); }

  void Child(const char* kind, DWORD style, int id) {
    CreateWindowExA(0, kind, "", WS_CHILD | WS_VISIBLE | style, 10, 10 + 90 * (id - 1), 500, 80, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  HWND Item(int id) const { return GetDlgItem(parent, id); }
  // The control's items as "text=data".
  std::vector<std::string> Items(int id) const {
    const bool combo = id == kCombo;
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(Item(id), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int n = 0; n < count; ++n) {
      char text[128] = {};
      SendMessageA(Item(id), combo ? CB_GETLBTEXT : LB_GETTEXT, n, reinterpret_cast<LPARAM>(text));
      const LRESULT data = SendMessageA(Item(id), combo ? CB_GETITEMDATA : LB_GETITEMDATA, n, 0);
      items.push_back(std::string(text) + "=" + std::to_string(data));
    }
    return items;
  }
  // The list view's rows as "time|pattern|all clients=data".
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(Item(kSchedule), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      std::string cells;
      for (int column = 0; column < 3; ++column) {
        char text[128] = {};
        LVITEMA item = {};
        item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
        SendMessageA(Item(kSchedule), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        cells += (column == 0 ? "" : "|") + std::string(text);
      }
      LVITEMA item = {};
      item.mask = LVIF_PARAM, item.iItem = row;
      SendMessageA(Item(kSchedule), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      rows.push_back(cells + "=" + std::to_string(item.lParam));
    }
    return rows;
  }

  HWND parent = nullptr;
  TClosingSettings closing;
};

// The deleted pattern is left out; the item data is the pattern's index.
TEST_F(ClosingSettingsListsTest, LivePatternsAreListedByNameTheDefaultMarked) {
  SendMessageA(Item(kCombo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("старое"));
  SendMessageA(Item(kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("старое"));
  const struct { int defaultPattern, id; bool combo; std::vector<std::string> items; } cases[] = {
      {2, kCombo, true, {"Основной=0", "Альфа [Основной]=2"}},
      {-1, kCombo, true, {"Основной=0", "Альфа=2"}},
      {0, kList, false, {"Основной [Основной]=0", "Альфа=2"}},
      {1, kList, false, {"Основной=0", "Альфа=2"}},  // a deleted default is marked nowhere
      {0, kSortedList, false, {"Альфа=2", "Основной [Основной]=0"}},
  };
  for (const auto& c : cases) {
    closing.DefaultPattern = c.defaultPattern;
    FillPatternList(parent, c.id, closing, c.combo);
    EXPECT_EQ(Items(c.id), c.items) << c.id << " " << c.defaultPattern;
  }
}

TEST_F(ClosingSettingsListsTest, EveryAutoCloseEntryIsARowInTheScheduleOrder) {
  closing.AddAutoCloseEntry(999, 0, 0);
  FillScheduleList(closing, Item(kSchedule));
  closing.AutoCloseSchedule.clear();
  closing.AddAutoCloseEntry(545, 2, 1);
  closing.AddAutoCloseEntry(1440, 1, 0);  // a deleted pattern: OK binds the entry to none
  closing.AddAutoCloseEntry(600, 3, 2);   // no pattern 3
  closing.AddAutoCloseEntry(0, -1, -1);
  FillScheduleList(closing, Item(kSchedule));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"09:05|Альфа|Да=0", "24:00||Нет=1", "10:00||Да=2",
                                              "00:00||Нет=3"}));
}
}  // namespace
