// The SDK message box shown modally over the stand-in host and answered by
// the dialog driver: its caption, text, buttons and default button, and the
// command it returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sdk/message_box.h"
#include "sdk/window_helpers.h"
#include "support/focus_watch.h"
#include "support/table_environment.h"
#include "support/window_text.h"

namespace {

int TextHeight(HFONT font) {
  int height = 0;
  MeasureText(font, "Ж", nullptr, &height);
  return height;
}

// What the box showed, read while it was open.
struct Shown {
  std::string caption, text;
  std::vector<std::string> buttons;  // "caption=id", left to right
  std::string defaultButton;         // marked default, the dialog's default id (Enter) and given the focus
  bool icon = false, closeGrayed = false, stayedOnCancel = false, allInside = true, textWhole = true;
  RECT textPlace = {};
};

Shown Read(HWND box) {
  Shown shown;
  shown.caption = WindowText(box);
  shown.icon = GetDlgItem(box, kMessageBoxIconId) != nullptr;
  HWND text = GetDlgItem(box, kMessageBoxTextId);
  shown.text = WindowText(text);
  shown.textPlace = RectIn(text, box);
  RECT client;
  GetClientRect(box, &client);
  const LRESULT defId = SendMessageA(box, DM_GETDEFID, 0, 0);
  std::vector<std::pair<int, HWND>> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT place = RectIn(child, box);
    RECT inside;
    shown.allInside &= IntersectRect(&inside, &place, &client) && EqualRect(&inside, &place);
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0) buttons.emplace_back(place.left, child);
  }
  std::sort(buttons.begin(), buttons.end(), [](auto& a, auto& b) { return a.first < b.first; });
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0));
  for (auto& button : buttons) {
    const std::string caption = WindowText(button.second);
    const int id = GetDlgCtrlID(button.second);
    shown.buttons.push_back(caption + "=" + std::to_string(id));
    RECT place = RectIn(button.second, box), needed = {0, 0, 0, 0};
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, caption.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    shown.textWhole &= needed.right <= place.right - place.left;
    const bool marked = (GetWindowLongA(button.second, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    if (marked && LOWORD(defId) == id && HIWORD(defId) == DC_HASDEFID && FocusWatch::Saw(button.second))
      shown.defaultButton = caption;
  }
  // The text's lines all fit the static that shows them.
  RECT needed = {0, 0, shown.textPlace.right - shown.textPlace.left, 0};
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextA(dc, shown.text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  shown.textWhole &= needed.bottom <= shown.textPlace.bottom - shown.textPlace.top;
  shown.closeGrayed = (GetMenuState(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
  // Escape, as the dialog manager sends it.
  SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  shown.stayedOnCancel = IsWindow(box) && IsWindowVisible(box);
  return shown;
}

// Shows the box, reads it, then presses `press` (when Escape left it open).
INT_PTR ShowAndPress(CZMessageBox& box, HWND parent, int press, Shown* shown) {
  FocusWatch focus;
  DialogDriver driver([&](HWND dialog) {
    *shown = Read(dialog);
    if (shown->stayedOnCancel) DialogDriver::Press(dialog, press);
  });
  const INT_PTR result = box.Show(parent);
  EXPECT_TRUE(driver.Ran());
  return result;
}

struct BoxCase {
  const char* text; const char* caption; UINT type; std::vector<TMessageBoxButton> custom; bool giveCustom;
  int press;
  std::string shownCaption; std::vector<std::string> buttons; std::string defaultButton; bool icon;
  INT_PTR result;
};

TEST(ZMessageBox, ShowsItsCaptionTextAndButtonsAndReturnsThePressedOne) {
  TableEnvironment env;
  const std::vector<std::string> yesNo = {"Да=6", "Нет=7"};
  const BoxCase cases[] = {
      {"  Закрыть позиции клиента?\r\n", "Вопрос", MB_YESNOCANCEL | MB_ICONQUESTION, {}, false, IDNO,
       "Вопрос", {"Да=6", "Нет=7", "Отмена=2"}, "Да", true, IDCANCEL},
      {"Сбой связи", "", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {}, false, IDABORT,
       "Ошибка", {"Прервать=3", "Повтор=4", "Пропустить=5"}, "Пропустить", false, IDABORT},
      {"Справка", "Сообщение", MB_OKCANCEL | MB_HELP | MB_DEFBUTTON4 | MB_ICONEXCLAMATION, {}, false, IDHELP,
       "Сообщение", {"OK=1", "Отмена=2", "Помощь=9"}, "Помощь", true, IDCANCEL},
      {"Повторить?", nullptr, MB_RETRYCANCEL | MB_DEFBUTTON2 | MB_ICONASTERISK, {}, false, IDRETRY,
       "Ошибка", {"Повтор=4", "Отмена=2"}, "Отмена", true, IDCANCEL},
      {"Готово", "Итог", MB_OK, {}, false, IDOK, "Итог", {"OK=1"}, "OK", false, IDOK},
      {"Отправить?", "Оповещение", MB_YESNO | MB_DEFBUTTON2 | MB_ICONHAND, {}, false, IDYES,
       "Оповещение", yesNo, "Нет", true, IDYES},
      // Buttons of the caller's own: no id 2, so Escape does nothing.
      {"Свои кнопки", "Выбор", MB_OK | MB_DEFBUTTON2, {{IDS_MSGBOX_YES, 100}, {IDS_MSGBOX_NO, 101}}, true, 101,
       "Выбор", {"Да=100", "Нет=101"}, "Нет", false, 101},
      {"Своя отмена", "Выбор", MB_OK, {{IDS_MSGBOX_RETRY, 100}, {IDS_MSGBOX_CANCEL, IDCANCEL}}, true, 100,
       "Выбор", {"Повтор=100", "Отмена=2"}, "Повтор", false, IDCANCEL},
      // An empty list of the caller's own leaves the standard set and its default.
      {"Пустой список", "Выбор", MB_YESNO | MB_DEFBUTTON2, {}, true, IDNO, "Выбор", yesNo, "Нет", false, IDNO},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.text);
    CZMessageBox box(c.text, c.caption, c.type, c.giveCustom ? &c.custom : nullptr);
    Shown shown;
    EXPECT_EQ(ShowAndPress(box, env.Host().Frame(), c.press, &shown), c.result);
    EXPECT_EQ(shown.caption, c.shownCaption);
    EXPECT_EQ(shown.text, c.text[0] == ' ' ? "Закрыть позиции клиента?" : c.text) << "trimmed";
    EXPECT_EQ(shown.buttons, c.buttons);
    EXPECT_EQ(shown.defaultButton, c.defaultButton);
    EXPECT_EQ(shown.icon, c.icon);
    const bool hasCancel = c.result == IDCANCEL;
    EXPECT_EQ(shown.stayedOnCancel, !hasCancel);
    EXPECT_EQ(shown.closeGrayed, !hasCancel);
    EXPECT_TRUE(shown.allInside);
    EXPECT_TRUE(shown.textWhole);
  }
}

// A line is wrapped only when the next word would pass 5/8 of the screen's
// width, so a wrapped text leaves less than its longest word free.
TEST(ZMessageBox, TrimsItsTextAndWrapsALongOneAtFiveEighthsOfTheScreen) {
  TableEnvironment env;
  const std::string sentence = "Уровень достаточности средств ниже критического ";
  std::string words;
  for (int i = 0; i < 12; ++i) words += sentence;
  HFONT font = reinterpret_cast<HFONT>(static_cast<uintptr_t>(env.Host().UiInfo()[5]));
  const int longestWord = TextWidth(font, "достаточности ");
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int widest = int(desktop.right) * 5 / 8 - 30;
  struct { std::string text; UINT type; int left, widest; } cases[] = {
      {" \t" + words + "\r\n ", MB_ICONQUESTION, 52, widest - 32},
      {words, MB_OK, 10, widest},
  };
  for (const auto& c : cases) {
    Shown shown;
    CZMessageBox box(c.text.c_str(), "Длинный текст", c.type);
    EXPECT_EQ(ShowAndPress(box, env.Host().Frame(), IDOK, &shown), IDOK);
    EXPECT_TRUE(shown.text == words.substr(0, words.size() - 1)) << "trimmed";
    const int width = shown.textPlace.right - shown.textPlace.left;
    EXPECT_LE(width, c.widest);
    EXPECT_GT(width, c.widest - longestWord);
    EXPECT_EQ(shown.textPlace.left, c.left);
    EXPECT_GT(shown.textPlace.bottom - shown.textPlace.top, 3 * TextHeight(font)) << "several lines";
    EXPECT_TRUE(shown.allInside);
    EXPECT_TRUE(shown.textWhole);
  }
}

}  // namespace
