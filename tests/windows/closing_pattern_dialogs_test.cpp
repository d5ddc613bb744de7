// The closing pattern and schedule entry dialogs under Xvfb, driven with
// messages: what they show, what OK hands back, what Cancel leaves, and the
// refusal of a time that is not a time of day.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/focus_watch.h"
#include "support/table_environment.h"
#include "support/window_text.h"
#include "windows/dialogs/closing_pattern_dlg.h"
#include "windows/dialogs/edit_schedule_dlg.h"

namespace {

bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

// The user picks the combo box item that shows text.
void Choose(HWND window, int id, const char* text) {
  const LRESULT index = SendDlgItemMessageA(window, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(text));
  SendDlgItemMessageA(window, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// Keys typed one by one into an emptied edit.
void Type(HWND window, int id, const char* keys) {
  HWND edit = GetDlgItem(window, id);
  SetWindowTextA(edit, "");
  SetFocus(edit);
  for (const char* key = keys; *key != 0; ++key) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*key), 0);
}

// A new pattern under a comma decimal separator: the level fields in
// percent; another column for united positions switches the label and takes
// the level as typed; a letter typed into a number is refused.
TEST(ClosingPatternDialog, ANewPatternIsShownEditedAndKeptOnOk) {
  TableEnvironment env;
  const TClosingPattern fresh;
  CVantrelClosingPatternDlg dialog(fresh);
  std::vector<std::string> shown;
  bool plannedBoxEnabled = true, radiosEnabled = true;
  DialogDriver edit([&](HWND window) {
    for (int id : {1107, 1109, 1171, 1112, 1113, 1108}) shown.push_back(ItemText(window, id));
    plannedBoxEnabled = Enabled(window, 1198);
    Choose(window, 1109, "Достаточность средств");
    shown.push_back(ItemText(window, 1171));
    radiosEnabled = Enabled(window, 1167) || Enabled(window, 1103) || Enabled(window, 1111);
    Type(window, 1112, "1,5");
    Type(window, 1108, "12a,5");
    shown.push_back(ItemText(window, 1108));
    Choose(window, 1107, "Текущая задолженность");
    shown.push_back(Enabled(window, 1198) ? "1198 enabled" : "1198 disabled");
    DialogDriver::Press(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_EQ(edit.Caption(), "Шаблон настроек закрытия");
  EXPECT_EQ(shown, (std::vector<std::string>{"План. чист. поз.", "Модиф. единый уровень маржи", "Мин. уровень маржи",
                                             "50,00", "25,00", "0,00", "Значение параметра", "12,5",
                                             "1198 enabled"}));
  EXPECT_FALSE(plannedBoxEnabled) << "the planned net position is the column shown";
  EXPECT_FALSE(radiosEnabled);
  const TClosingPattern& kept = dialog.Pattern();
  EXPECT_EQ(kept.ParamIdx, 17);
  EXPECT_EQ(kept.ParamIdx2, 18);
  EXPECT_DOUBLE_EQ(kept.MinMarginLvl, 1.5);
  EXPECT_DOUBLE_EQ(kept.BoundaryValue, 12.5);
  EXPECT_DOUBLE_EQ(kept.MinMarginForQualClients, 0.25);
  EXPECT_EQ(kept.UseVarMargin, 4);
}

// A pattern whose column is not offered cannot be confirmed; Cancel hands
// back the copy as it came.
TEST(ClosingPatternDialog, CancelLeavesTheCopyAsItCame) {
  TableEnvironment env;
  TClosingPattern pattern;
  pattern.PatternName = "Ночной", pattern.ParamIdx = 22, pattern.ParamIdx2 = 19, pattern.MinMarginLvl = 1.1;
  CVantrelClosingPatternDlg dialog(pattern);
  bool okEnabled = true, openAfterOk = false;
  std::string level;
  DialogDriver cancel([&](HWND window) {
    okEnabled = Enabled(window, IDOK);
    DialogDriver::Press(window, IDOK);  // as Enter would
    openAfterOk = IsWindowVisible(window) != FALSE;
    level = ItemText(window, 1112);
    SetDlgItemTextA(window, 1117, "Дневной");
    Choose(window, 1107, "Тек. чист. поз.");
    Choose(window, 1109, "Модиф. единый уровень маржи");
    DialogDriver::Press(window, IDCANCEL);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), 2);
  EXPECT_FALSE(okEnabled);
  EXPECT_TRUE(openAfterOk) << "no column chosen";
  EXPECT_EQ(level, "1,10");
  EXPECT_EQ(dialog.Pattern().PatternName, "Ночной");
  EXPECT_EQ(dialog.Pattern().ParamIdx, 22);
  EXPECT_DOUBLE_EQ(dialog.Pattern().MinMarginLvl, 1.1);
}

class EditScheduleDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Основной", "Альфа"}) {
      closing.Patterns.push_back(std::make_unique<TClosingPattern>());
      closing.Patterns.back()->PatternName = name;
    }
    closing.DefaultPattern = 0;
  }
  TableEnvironment env;
  TClosingSettings closing;
};

// An entry at midnight shows its time; 25:99 is refused with a message and
// the dialog stays open on the time; 9:5 is then kept.
TEST_F(EditScheduleDialog, ARefusedTimeKeepsTheDialogOpenUntilATimeOfDayIsTyped) {
  TScheduleEntry midnight;
  midnight.PatternIndex = 0, midnight.AllClients = 1, midnight.Passed = true, midnight.LastFiring = 1700000000;
  CVantrelEditScheduleDlg dialog(closing, &midnight);
  std::string time, pattern, refusal, caption;
  bool openAfterRefusal = false, focusOnTime = false;
  FocusWatch focus;
  DialogDriver edit([&](HWND window) {
    time = ItemText(window, 1203);
    pattern = ItemText(window, 1204);
    SetDlgItemTextA(window, 1203, "25:99");
    DialogDriver box([&](HWND message) {
      refusal = ItemText(message, 0xFFFF);
      DialogDriver::Press(message, IDOK);
    });
    SetFocus(GetDlgItem(window, 1204));
    FocusWatch::Forget();
    DialogDriver::Press(window, IDOK);
    caption = box.Caption();
    openAfterRefusal = IsWindowVisible(window) != FALSE;
    focusOnTime = FocusWatch::Saw(GetDlgItem(window, 1203));
    SetDlgItemTextA(window, 1203, "9:5");
    Choose(window, 1204, "Альфа");
    CheckDlgButton(window, 1205, BST_UNCHECKED);
    DialogDriver::Press(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_EQ(edit.Caption(), "Редактирование расписания");
  EXPECT_EQ(time, "00:00");
  EXPECT_EQ(pattern, "Основной [Основной]");
  EXPECT_EQ(refusal, "Неверное время закрытия.\nУкажите время от 00:00 до 23:59 в виде ЧЧ:ММ.");
  EXPECT_EQ(caption, "Внимание");
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_TRUE(focusOnTime);
  const TScheduleEntry& kept = dialog.Entry();
  EXPECT_EQ(kept.Minutes, 545);
  EXPECT_EQ(kept.PatternIndex, 1);
  EXPECT_EQ(kept.AllClients, 0);
  EXPECT_TRUE(kept.Passed);
  EXPECT_EQ(kept.LastFiring, 0);
}

TEST_F(EditScheduleDialog, CancelLeavesANewEntryWithoutATime) {
  CVantrelEditScheduleDlg dialog(closing, nullptr);
  std::string time;
  bool allClients = false;
  DialogDriver cancel([&](HWND window) {
    time = ItemText(window, 1203);
    allClients = IsDlgButtonChecked(window, 1205) == BST_CHECKED;
    SetDlgItemTextA(window, 1203, "10:00");
    Choose(window, 1204, "Альфа");
    DialogDriver::Press(window, IDCANCEL);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), 2);
  EXPECT_EQ(time, "");
  EXPECT_TRUE(allClients);
  EXPECT_EQ(dialog.Entry().Minutes, -1);
  EXPECT_EQ(dialog.Entry().PatternIndex, 0);
}

}  // namespace
