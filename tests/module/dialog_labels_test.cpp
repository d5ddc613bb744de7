// Every label of every dialog of the plug-in shows whole: each dialog is
// opened through the module in this process under Xvfb, every page and tab
// of it shown in turn, and the text of every static, check box, radio button
// and group box shown is measured in the control's own font against the room
// the control gives it. A label must also lie inside the windows it belongs
// to and on the screen, and no other control may cover it.
#include "closing_orders_fixture.h"
#include "resources/resource_ids.h"
#include "support/window_text.h"
#include "windows/dialogs/send_mcall_dlg.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

enum class LabelKind { kNone, kStatic, kCheck, kGroup };

LabelKind KindOf(HWND control) {
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (lstrcmpiA(name, "Static") == 0) {
    switch (style & SS_TYPEMASK) {
      case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_LEFTNOWORDWRAP: case SS_SIMPLE:
        return LabelKind::kStatic;
      default:
        return LabelKind::kNone;
    }
  }
  if (lstrcmpiA(name, "Button") != 0) return LabelKind::kNone;
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return LabelKind::kCheck;
    case BS_GROUPBOX:
      return LabelKind::kGroup;
    default:
      return LabelKind::kNone;
  }
}

// The room the control leaves its text and how it lays the text out, as the
// controls draw themselves: a static wraps its words unless told not to; a
// check box or radio button puts its mark and half a digit's gap before the
// text; a group box keeps some pixels clear at each end of its caption.
constexpr int kGroupCaptionInset = 7;

struct TextRoom {
  int width, height;
  UINT format;
};

TextRoom RoomOf(HWND control, LabelKind kind, HDC dc) {
  RECT client;
  GetClientRect(control, &client);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  TextRoom room = {client.right, client.bottom, DT_SINGLELINE};
  if (kind == LabelKind::kStatic) {
    const LONG type = style & SS_TYPEMASK;
    room.format = DT_EXPANDTABS | (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? DT_SINGLELINE : DT_WORDBREAK) |
                  ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
  } else if (kind == LabelKind::kCheck) {
    SIZE digit;
    GetTextExtentPoint32A(dc, "0", 1, &digit);
    room.width -= GetSystemMetrics(SM_CXMENUCHECK) + digit.cx / 2;
    if ((style & BS_MULTILINE) != 0) room.format = DT_WORDBREAK;
  } else {
    room.width -= 2 * kGroupCaptionInset;
  }
  return room;
}

// The rectangle of a window in the screen's coordinates, its client area's
// when asked.
RECT ScreenRect(HWND window, bool client) {
  RECT rect;
  if (!client) {
    GetWindowRect(window, &rect);
    return rect;
  }
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Where a control's contents can show: the screen and the client area of
// every window it lies in.
RECT ShowingArea(HWND control) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT area = monitor.rcMonitor;
  for (HWND parent = GetAncestor(control, GA_PARENT); parent != nullptr && parent != GetDesktopWindow();
       parent = GetAncestor(parent, GA_PARENT)) {
    const RECT client = ScreenRect(parent, true);
    IntersectRect(&area, &area, &client);
  }
  return area;
}

// The id of a shown sibling, other than a group box, that covers part of
// the area (in the screen's coordinates); 0 when none does.
int CoveringSibling(HWND control, const RECT& area) {
  for (HWND other = GetWindow(GetParent(control), GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
    RECT common;
    const RECT rect = ScreenRect(other, false);
    if (other != control && IsWindowVisible(other) && KindOf(other) != LabelKind::kGroup &&
        IntersectRect(&common, &area, &rect))
      return static_cast<short>(GetDlgCtrlID(other));
  }
  return 0;
}

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// What keeps the label from showing whole, empty when nothing does.
std::string Clipping(HWND control, LabelKind kind, const std::string& text) {
  HDC dc = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  const HGDIOBJ before = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  const TextRoom room = RoomOf(control, kind, dc);
  RECT needed = {0, 0, room.width, 0};
  DrawTextA(dc, text.c_str(), -1, &needed, room.format | DT_CALCRECT);
  SelectObject(dc, before);
  ReleaseDC(control, dc);
  std::string why;
  if (needed.right > room.width || needed.bottom > room.height)
    why += "needs " + Size(needed.right, needed.bottom) + " px, has " + Size(room.width, room.height) + "; ";
  const RECT own = ScreenRect(control, false);
  if (!Inside(own, ShowingArea(control))) why += "lies outside the window or the screen; ";
  // What lies inside a group box covers its frame, never its caption.
  RECT label = own;
  if (kind == LabelKind::kGroup)
    SetRect(&label, own.left + kGroupCaptionInset, own.top, own.left + kGroupCaptionInset + needed.right,
            own.top + needed.bottom);
  if (const int cover = CoveringSibling(control, label)) why += "control " + std::to_string(cover) + " covers it; ";
  return why;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

class DialogLabelsTest;

struct DialogCase {
  const char* name;
  void (DialogLabelsTest::*open)();
  std::vector<std::string> shown;  // every window and page surveyed, in order
};

void PrintTo(const DialogCase& row, std::ostream* out) { *out << row.name; }

class DialogLabelsTest : public ClosingOrdersTest, public ::testing::WithParamInterface<DialogCase> {
 protected:
  // The host hands over its fonts, which the tables' dialog takes for its
  // controls.
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    module.SetHostUiInfo(host.UiInfo());
  }
  // Measures every label the window shows now, in its pages and sub-pages
  // too; the labels that do not show whole are kept with where they are.
  void Survey(const std::string& where, HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    int measured = 0;
    for (HWND control : children) {
      const LabelKind kind = KindOf(control);
      const std::string text = WindowText(control);
      if (kind == LabelKind::kNone || text.empty() || !IsWindowVisible(control)) continue;
      ++measured;
      const std::string why = Clipping(control, kind, text);
      if (!why.empty())
        clipped.insert(where + ": control " + std::to_string(static_cast<short>(GetDlgCtrlID(control))) + " \"" +
                       text + "\" " + why);
    }
    surveyed.push_back(where + (measured > 0 ? "" : " (no labels)"));
  }
  // The dialog the menu command opens is surveyed, then whatever the action
  // opens from it, and is cancelled.
  void SurveyCommand(int command, const std::function<void(HWND)>& more = nullptr) {
    DialogDriver driver([&](HWND dialog) {
      Survey(WindowText(dialog), dialog);
      if (more) more(dialog);
      DialogDriver::Press(dialog, IDCANCEL);
    });
    module.OnMenuCommand(host.Frame(), command, false);
    EXPECT_TRUE(driver.Ran()) << command;
  }
  // The button opens a dialog of its own, surveyed and cancelled.
  void SurveyOpenedBy(HWND dialog, int button) {
    DialogDriver driver([&](HWND opened) {
      Survey(WindowText(opened), opened);
      DialogDriver::Press(opened, IDCANCEL);
    });
    DialogDriver::Press(dialog, button);
    EXPECT_TRUE(driver.Ran()) << button;
  }

 public:
  // The dialogs, each opened as the user opens it.
  void General() { SurveyCommand(ID_GENERAL_SETTINGS); }
  void Calculation() { SurveyCommand(ID_CALC_SETTINGS); }
  void Transport() {
    SurveyCommand(ID_TRANSPORT_SETTINGS, [this](HWND dialog) {
      for (int button : {1219, 1220}) SurveyOpenedBy(dialog, button);
    });
  }
  // Every item of the page tree picked in turn, and on a page with template
  // tabs every tab.
  void Notifications() {
    SurveyCommand(ID_NOTIFICATION_SETTINGS, [this](HWND dialog) {
      HWND tree = GetDlgItem(dialog, 1181);
      for (HTREEITEM item = TreeView_GetRoot(tree); item != nullptr; item = TreeView_GetNextVisible(tree, item)) {
        char text[128] = {};
        TVITEMA node = {};
        node.mask = TVIF_TEXT | TVIF_PARAM, node.hItem = item, node.pszText = text, node.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&node));
        TreeView_SelectItem(tree, item);
        HWND page = node.lParam != 0 ? GetDlgItem(dialog, static_cast<int>(node.lParam)) : nullptr;
        HWND tabs = page != nullptr ? FindWindowExA(page, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
        if (tabs == nullptr) Survey(text, dialog);
        for (int tab = 0; tabs != nullptr && tab < TabCtrl_GetItemCount(tabs); ++tab) {
          char caption[128] = {};
          TCITEMA header = {};
          header.mask = TCIF_TEXT, header.pszText = caption, header.cchTextMax = sizeof caption;
          SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&header));
          TabCtrl_SetCurSel(tabs, tab);
          NMHDR change = {tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
          SendMessageA(page, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
          Survey(std::string(text) + " / " + caption, dialog);
        }
      }
    });
  }
  // Securities the host no longer trades or no longer has bring up the
  // dialog's two notes.
  void Closing() {
    SecuritySpec halted;
    halted.classCode = "SPBFUT", halted.code = "HLZ6", halted.type = 4, halted.trading = -1;
    host.Records().AddSecurity(halted);
    module.Closing().SecsForClosing = {"RIZ6", "HLZ6", "OLD1"};
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>(pattern));
    module.Closing().DefaultPattern = 0;
    SurveyCommand(ID_CLOSING_SETTINGS, [this](HWND dialog) {
      for (int button : {1114, 1122}) SurveyOpenedBy(dialog, button);
    });
  }
  void RiskTable() { SurveyCommand(ID_RISK_PARAMS_TABLE); }
  void OrdersTable() { SurveyCommand(ID_CLOSING_ORDERS_TABLE); }
  void MarginCall() {
    CVantrelSendMCallDlg dialog("C77", "Уважаемый клиент C77, пополните счет");
    DialogDriver driver([&](HWND window) {
      Survey(WindowText(window), window);
      DialogDriver::Press(window, IDCANCEL);
    });
    dialog.DoModal(host.Frame());
    EXPECT_TRUE(driver.Ran());
  }
  // One lot closed of the seven needed: the note that the orders fall short
  // shows as well.
  void Preparation() {
    ASSERT_EQ(module.OpenPrepOrdersDlg(ClientShortOfTarget("ACC1"), pattern), 1);
    Line("ACC1", 0)->Quantity = 1;
    Window()->RefreshOrderList();
    HWND dialog = Window()->GetDialogWindow();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1125)));
    Survey(Window()->GetTitle(), dialog);
  }

 protected:
  std::vector<std::string> surveyed;
  std::set<std::string> clipped;
};

TEST_P(DialogLabelsTest, EveryLabelShowsWhole) {
  (this->*GetParam().open)();
  EXPECT_EQ(surveyed, GetParam().shown);
  for (const std::string& label : clipped) ADD_FAILURE() << label;
}

const std::string kSufficiency = "Уровень дост.средств", kOpenSufficiency = kSufficiency + "(под открытые позиции)",
                  kMargin = "Уровень маржи";
using T = DialogLabelsTest;
INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogLabelsTest,
    ::testing::Values(
        DialogCase{"General", &T::General, {"Настройки"}},
        DialogCase{"Calculation", &T::Calculation, {"Параметры расчета"}},
        DialogCase{"Transport", &T::Transport, {"Параметры рассылки", "Изменение пароля", "Изменение пароля"}},
        DialogCase{"Notifications", &T::Notifications,
                   {"Настройки оповещений", "Общие настройки", "Типы маржин-коллов", "Остаток свободных средств",
                    kSufficiency + " / Шаблон для опасного уровня", kSufficiency + " / Шаблон для критического уровня",
                    kOpenSufficiency + " / Шаблон для опасного уровня",
                    kOpenSufficiency + " / Шаблон для критического уровня", "Коэф.ликвидности ГО",
                    "Ожид.коэф.ликвидности ГО", "Композитный критерий",
                    kMargin + " / Шаблон для неквалифицированных клиентов",
                    kMargin + " / Шаблон для квалифицированных клиентов", "Произвольный параметр"}},
        DialogCase{"Closing", &T::Closing,
                   {"Настройки закрытия позиций", "Шаблон настроек закрытия", "Редактирование расписания"}},
        DialogCase{"RiskTable", &T::RiskTable, {"Создание таблицы"}},
        DialogCase{"OrdersTable", &T::OrdersTable, {"Создание таблицы"}},
        DialogCase{"MarginCall", &T::MarginCall, {"Отправка маржин-колла клиенту C77"}},
        DialogCase{"Preparation", &T::Preparation, {"Заявки на закрытие позиций по клиенту C77"}}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

}  // namespace
