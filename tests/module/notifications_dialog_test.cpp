// The notification settings command of the module in this process, its
// dialog under Xvfb driven with messages: the page tree, the pages shown
// and hidden, the tabs of the template sub-pages, OK putting the edits in
// force and re-arming what they change, Cancel, a refused schedule and the
// host quitting leaving the module's settings as they were.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/standin/standin_host.h"
#include "module/host_record_builders.h"
#include "module/notification_changes.h"
#include "module/vantrel_module.h"
#include "resources/resource_ids.h"
#include "sdk/numeric.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/notification_tree.h"
#include "support/plugin_start.h"
#include "support/window_text.h"

namespace {

class NotificationsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
    client = module.Clients().OnLimit(LimitRecord({"FIRM1", "ACC1"}).data(), 0);
    client->lastSentUp = 1.5;
    client->lastSentMl2 = 2.5;
    TModuleSettings& settings = module.Settings();
    settings.UPParam = 18;
    settings.UPLevel = 0.8;
    settings.ML2Param = 23;
    settings.ML2Level = 0.4;
    settings.CLGOLevel = 0.7;
    settings.ConsiderFilters = true;
  }

  // Runs the menu command with the action on its dialog; the dialog's caption.
  std::string RunCommand(const std::function<void(HWND)>& action) {
    DialogDriver driver(action);
    EXPECT_EQ(module.OnMenuCommand(nullptr, ID_NOTIFICATION_SETTINGS, false), 1);
    EXPECT_TRUE(driver.Ran());
    return driver.Caption();
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
  TClientRiskRecord* client = nullptr;
};

struct TreeNode {
  std::string text;
  LPARAM page;
  HTREEITEM item;
};

// Every item of the tree as it is shown expanded, top to bottom.
std::vector<TreeNode> TreeNodes(HWND tree) {
  std::vector<TreeNode> nodes;
  for (HTREEITEM item = TreeView_GetRoot(tree); item != nullptr; item = TreeView_GetNextVisible(tree, item)) {
    char text[128] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_PARAM, data.hItem = item, data.pszText = text, data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    nodes.push_back({text, data.lParam, item});
  }
  return nodes;
}


// Which pages exist and which is shown, as "107+ 124-" (+ shown, - hidden).
std::string Pages(HWND dialog) {
  std::string pages;
  for (int id : {107, 108, 109, 110, 111, 112, 117, 124, 126})
    if (HWND page = GetDlgItem(dialog, id)) pages += std::to_string(id) + (IsWindowVisible(page) ? "+ " : "- ");
  return pages;
}

void SelectTab(HWND page, int tabs, int index) {
  HWND control = GetDlgItem(page, tabs);
  SendMessageA(control, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR header = {control, static_cast<UINT_PTR>(tabs), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(page, WM_NOTIFY, static_cast<WPARAM>(tabs), reinterpret_cast<LPARAM>(&header));
}

bool Shown(HWND window) { return IsWindowVisible(window) != FALSE; }

TEST_F(NotificationsDialogTest, TheTreeShowsOnePageAtATimeAndCancelKeepsTheSettings) {
  std::vector<std::string> tree, pages, shown;
  const std::string caption = RunCommand([&](HWND dialog) {
    for (const TreeNode& node : TreeNodes(GetDlgItem(dialog, 1181)))
      tree.push_back(node.text + "=" + std::to_string(node.page));
    pages.push_back(Pages(dialog));
    HWND upPage = OpenNotificationPage(dialog, 112);
    pages.push_back(Pages(dialog));
    shown.push_back(ItemText(upPage, 1093) + "|" + ItemText(upPage, 1090));
    SetDlgItemTextA(upPage, 1090, "5");
    HWND sfrPage = OpenNotificationPage(dialog, 108);
    HWND warning = GetDlgItem(sfrPage, 119), critical = GetDlgItem(sfrPage, 120);
    shown.push_back(std::to_string(Shown(warning)) + std::to_string(Shown(critical)));
    SelectTab(sfrPage, 1187, 1);
    // A file without the key uses the second template: its texts take input.
    shown.push_back(std::to_string(Shown(warning)) + std::to_string(Shown(critical)) +
                    std::to_string(IsWindowEnabled(GetDlgItem(critical, 1185))));
    HWND ml2Page = OpenNotificationPage(dialog, 117);
    shown.push_back(ItemText(ml2Page, 1175) + "|" + ItemText(ml2Page, 1174));
    OpenNotificationPage(dialog, 112);
    pages.push_back(Pages(dialog));
    shown.push_back(ItemText(upPage, 1090));
    CheckDlgButton(dialog, 1190, BST_UNCHECKED);
    DialogDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(caption, "Настройки оповещений");
  EXPECT_EQ(tree,
            (std::vector<std::string>{"Общие настройки=124", "Типы маржин-коллов=0", "Остаток свободных средств=107",
                                      "Уровень дост.средств=108", "Уровень дост.средств(под открытые позиции)=126",
                                      "Коэф.ликвидности ГО=109", "Ожид.коэф.ликвидности ГО=111",
                                      "Композитный критерий=110", "Уровень маржи=117", "Произвольный параметр=112"}));
  EXPECT_EQ(pages, (std::vector<std::string>{"124+ ", "112+ 124- ", "108- 112+ 117- 124- "}));
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Достаточность средств|0,8", "10", "011", "Модиф. единый уровень маржи|40", "5"}));
  EXPECT_DOUBLE_EQ(module.Settings().UPLevel, 0.8);
  EXPECT_TRUE(module.Settings().ConsiderFilters);
  EXPECT_EQ(client->lastSentUp, 1.5);
}

// Tab goes down each page with templates: from the tree through the page's
// own controls to its tabs and into the template shown, never back up.
TEST_F(NotificationsDialogTest, TheKeyboardGoesDownEachPageIntoItsTemplate) {
  const struct { int page, tabs; } pages[] = {{108, 1187}, {126, 1187}, {117, 1184}};
  std::vector<std::string> walks;
  RunCommand([&](HWND dialog) {
    for (const auto& p : pages) {
      HWND page = OpenNotificationPage(dialog, p.page);
      std::string walk = std::to_string(p.page) + ":";
      RECT pagePlace;
      GetWindowRect(page, &pagePlace);
      LONG lastTop = pagePlace.top;
      bool tabsPassed = false;
      for (HWND control = GetNextDlgTabItem(dialog, GetDlgItem(dialog, 1181), FALSE);
           control != nullptr && IsChild(page, control); control = GetNextDlgTabItem(dialog, control, FALSE)) {
        RECT place;
        GetWindowRect(control, &place);
        // A control beside the previous one may sit a pixel or two higher.
        if (place.top < lastTop - 5) walk += " up to " + std::to_string(GetDlgCtrlID(control));
        lastTop = place.top;
        if (GetDlgCtrlID(control) == p.tabs) tabsPassed = true, walk += " tabs";
        else if (tabsPassed && GetParent(control) != page) walk += " template", tabsPassed = false;
      }
      walks.push_back(walk);
    }
    DialogDriver::Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(walks, (std::vector<std::string>{"108: tabs template", "126: tabs template", "117: tabs template"}));
}

// One edit on one page, then OK: the edit is in force, pages never opened
// keep their settings, and the margin call whose condition changed is re-armed.
TEST_F(NotificationsDialogTest, OkPutsTheEditsInForceAndReArmsWhatTheyChange) {
  const struct {
    int page;
    int control;
    const char* typed;
    double TModuleSettings::*field;
    double kept;
    bool upRearmed, ml2Rearmed;
  } rows[] = {
      {112, 1090, "2,5", &TModuleSettings::UPLevel, 2.5, true, false},
      {117, 1174, "50", &TModuleSettings::ML2Level, 0.5, false, true},
      {108, 1021, "0,9", &TModuleSettings::SFRWarningLevel, 0.9, false, false},
  };
  for (const auto& row : rows) {
    client->lastSentUp = 1.5;
    client->lastSentMl2 = 2.5;
    RunCommand([&](HWND dialog) {
      SetDlgItemTextA(OpenNotificationPage(dialog, row.page), row.control, row.typed);
      CheckDlgButton(dialog, 1190, BST_UNCHECKED);
      DialogDriver::Press(dialog, IDOK);
    });
    const TModuleSettings& settings = module.Settings();
    EXPECT_DOUBLE_EQ(settings.*row.field, row.kept) << row.page;
    EXPECT_FALSE(settings.ConsiderFilters);
    EXPECT_DOUBLE_EQ(settings.CLGOLevel, 0.7) << "page 109 was never opened";
    EXPECT_EQ(client->lastSentUp == kValueNotSet, row.upRearmed) << row.page;
    EXPECT_EQ(client->lastSentMl2 == kValueNotSet, row.ml2Rearmed) << row.page;
  }
}

// OK refuses a bad schedule on a later page, the earlier page's edit already
// in the dialog's copy, and the host ends its loop while the refusal shows:
// the copy is dropped.
TEST_F(NotificationsDialogTest, AQuitWhileOkIsRefusedLeavesTheSettings) {
  module.Settings().SFRWarningLevel = 0.8;
  bool refused = false;
  RunCommand(DialogDriver::EditThenQuit(
      [](HWND dialog) {
        SetDlgItemTextA(OpenNotificationPage(dialog, 108), 1021, "0,9");
        SetDlgItemTextA(OpenNotificationPage(dialog, 109), 1062, "25:00");
        CheckDlgButton(dialog, 1190, BST_UNCHECKED);
      },
      IDOK, &refused));
  EXPECT_TRUE(DialogDriver::TakeQuit()) << "the quit stays for the host";
  EXPECT_TRUE(refused);
  EXPECT_DOUBLE_EQ(module.Settings().SFRWarningLevel, 0.8);
  EXPECT_TRUE(module.Settings().ConsiderFilters);
}

// Ticking "take the body from a file" with no file named asks for one at
// once: giving none up clears the box again. A bad schedule then keeps the
// dialog open with the page's message; once mended, OK reads the chosen file.
TEST_F(NotificationsDialogTest, ThePageAsksForItsBodyFileAndRefusesABadSchedule) {
  const std::string path = folder.File("low_funds_body.txt");
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("Остаток {0}\r\n", file);
  std::fclose(file);
  std::vector<std::string> states;
  RunCommand([&](HWND dialog) {
    HWND page = OpenNotificationPage(dialog, 107);
    for (const char* chosen : {"", path.c_str()}) {
      DialogDriver choice([&](HWND box) {
        if (*chosen != 0) SetDlgItemTextA(box, 1148, chosen);
        DialogDriver::Press(box, *chosen != 0 ? IDOK : IDCANCEL);
      });
      CheckDlgButton(page, 1206, BST_CHECKED);
      DialogDriver::Press(page, 1206);
      states.push_back(std::to_string(choice.Ran()) + std::to_string(IsDlgButtonChecked(page, 1206)) +
                       std::to_string(IsWindowEnabled(GetDlgItem(page, 1016))) + ItemText(page, 1097));
    }
    SetDlgItemTextA(page, 1059, "25:00");
    DialogDriver refusal([](HWND box) { DialogDriver::Press(box, IDOK); });
    DialogDriver::Press(dialog, IDOK);
    states.push_back(refusal.Caption() + ": " + refusal.Text() + (IsWindowVisible(dialog) ? " (open)" : ""));
    SetDlgItemTextA(page, 1059, "");
    DialogDriver::Press(dialog, IDOK);
  });
  DeleteFileA(path.c_str());
  EXPECT_EQ(states, (std::vector<std::string>{
                        "101", "110" + path,
                        "Ошибка: Ошибка в расписании рассылки оповещения об отрицательном остатке свободных средств. "
                        "(open)"}));
  EXPECT_EQ(module.Settings().LowFundsFile, path);
  EXPECT_EQ(module.Settings().LowFundsBody, "Остаток {0}\n");
}

// Page 107's body is a rich edit, the other bodies plain edits. Each shows
// a body read from its file whole, longer than the user may type (a rich
// edit takes 32,767 characters) or than 16 MB, and OK keeps it whole.
TEST_F(NotificationsDialogTest, EachBodyShowsItsTemplateWholeAndOkKeepsIt) {
  const auto lines = [](size_t size) {
    std::string text;
    for (int n = 0; text.size() < size; ++n) text += "строка " + std::to_string(n) + std::string(90, 'x') + "\n";
    return text;
  };
  const struct {
    int page, subPage, edit;
    std::string TModuleSettings::*body;
    std::string shown;
    const char* kind;
  } rows[] = {
      {107, 0, 1016, &TModuleSettings::LowFundsBody, "a\n\nb\n", "RichEdit20A"},
      {107, 0, 1016, &TModuleSettings::LowFundsBody, lines(100000), "RichEdit20A"},
      {110, 0, 1068, &TModuleSettings::MLBody, lines(17000100), "Edit"},
      {108, 120, 1186, &TModuleSettings::SFRBody2, "c\n", "Edit"},
  };
  for (const auto& row : rows) {
    module.Settings().*row.body = row.shown;
    std::string kind;
    RunCommand([&](HWND dialog) {
      HWND page = OpenNotificationPage(dialog, row.page);
      if (row.subPage != 0) page = GetDlgItem(page, row.subPage);
      char name[32] = {};
      GetClassNameA(GetDlgItem(page, row.edit), name, sizeof name);
      kind = name;
      DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_EQ(kind, row.kind) << row.page;
    EXPECT_TRUE(module.Settings().*row.body == row.shown)
        << row.page << " keeps " << (module.Settings().*row.body).size() << " bytes of " << row.shown.size();
  }
}

// A body taken from a file takes no input and looks so: page 107's rich
// edit shows what the plain bodies of the other pages show, typed in or not.
TEST_F(NotificationsDialogTest, ABodyTakenFromAFileLooksDisabledOnEveryPage) {
  const auto pixel = [](HWND window) {
    RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT place;
    GetWindowRect(window, &place);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, place.left + 10, place.top + 10);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  std::vector<COLORREF> rich, plain;
  std::vector<bool> enabled;
  for (const char* file : {"", "body.txt"}) {
    module.Settings().LowFundsFile = module.Settings().MLFile = file;
    RunCommand([&](HWND dialog) {
      HWND lowFunds = GetDlgItem(OpenNotificationPage(dialog, 107), 1016);
      enabled.push_back(IsWindowEnabled(lowFunds));
      rich.push_back(pixel(lowFunds));
      plain.push_back(pixel(GetDlgItem(OpenNotificationPage(dialog, 110), 1068)));
      DialogDriver::Press(dialog, IDCANCEL);
    });
  }
  EXPECT_EQ(enabled, (std::vector<bool>{true, false}));
  EXPECT_EQ(rich, plain);
  EXPECT_NE(plain[0], plain[1]) << "a plain body greys when it takes no input";
}

TEST(NotificationChanges, OnlyTheChangedConditionIsReArmedAndOnlyColourLevelsRecolour) {
  const struct {
    std::function<void(TModuleSettings&)> change;
    const char* expected;  // up, ml2, colours
  } rows[] = {
      {[](TModuleSettings&) {}, "000"},
      {[](TModuleSettings& s) { s.UPParam = 20; }, "100"},
      {[](TModuleSettings& s) { s.ML2Param = 22; }, "010"},
      {[](TModuleSettings& s) { s.ML2LevelQual = 0.1; }, "010"},
      {[](TModuleSettings& s) { s.ConsiderQualClient = true; }, "010"},
      {[](TModuleSettings& s) { s.SFRCriticalLevel_fp = 0.2; }, "001"},
      {[](TModuleSettings& s) { s.SendUPMsg = false, s.CLGOLevel = 3, s.UPTopic = "x"; }, "000"},
  };
  const TModuleSettings before;
  for (const auto& row : rows) {
    TModuleSettings after = before;
    row.change(after);
    const TNotificationChanges changes = NotificationChanges(before, after);
    EXPECT_EQ(std::to_string(changes.rearmUp) + std::to_string(changes.rearmMl2) + std::to_string(changes.rowColours),
              row.expected);
  }
}

}  // namespace
