// The risk table's context menu and commands through the real VanTrel.dll in
// the stand-in host: the menu as it is built for clients at each level, on a
// cell and outside the columns (the host keeps the items of the last menu it
// was asked to show), margin calls sent by hand with the text the user
// edited and never on the host's quit, and sorting by the clicked column.
//
// Each client holds one futures position of 1 contract and a limit with net
// position 10000 (hundredths), planned net position -10000 and 5000 for open
// positions: its funds sufficiency is its futures' bid / 100, for open
// positions bid / 50.
#include "host/standin/plugin_library.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "host/zlist/zlist_readback.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The plug-in's own command ids in the order it registers them with the host.
std::vector<int> RegisteredCommands() {
  std::vector<int> own = {40005, 40006, 40007, 40085, 40008, 40009, 40010, 40011, 40080, 40012,
                          40013, 40014, 40086, 40015, 40016, 40017, 40018, 40082, 40049, 40070,
                          40072, 40083, 40075, 40076, 40077, 40078, 40084, 40079};
  for (int sort = 40019; sort <= 40048; ++sort) own.push_back(sort);
  return own;
}

struct MenuClient {
  std::string account, security;
};

class RiskTableMenu : public ::testing::Test {
 protected:
  // Every kind's sending off unless the test's settings come first; the
  // bodies name the client and the value; message files carry the calls.
  static constexpr const char* kBaseSettings =
      "RecalcRiskParamsInterval=3600000\nConsiderFilters=0\nUseVarMargin=3\nUsePositiveVarMargin=2\n"
      "OptValueParam=1\nUseTotalAssets=0\nClientsType=0\nTraceLogLevel=2\n"
      "SFRWarningLevel=1\nSFRCriticalLevel=0.5\nSFRWarningLevel_fp=1\nSFRCriticalLevel_fp=0.5\n"
      "SendLowFundsMsg=0\nSendSFRWarningMsg=0\nSendSFRCriticalMsg=0\nSendSFRWarningMsg_fp=0\n"
      "SendSFRCriticalMsg_fp=0\nSendCLGOMsg=0\nSendECLGOMsg=0\nSendMLMsg=0\nSendUPMsg=0\nSendML2Msg=0\n"
      "SFRBody=menu_sfr\nSFRBody2=menu_sfr2\nLowFundsBody=menu_lf\nNotifyByMC2Z=1\n";
  static constexpr const char* kBodies[][2] = {
      {"menu_sfr", "%cc SFR %.6val"}, {"menu_sfr2", "%cc SFR! %.6val"}, {"menu_lf", "Пополните счет"}};

  void TearDown() override {
    if (started) plugin.Shutdown();
    for (const auto& body : kBodies) DeleteFileA(folder.File(body[0]).c_str());
  }

  // Starts the plug-in with the clients (bids: S1 40, S2 150, S3 90, so the
  // clients on them are critical, normal and warning) and opens a table.
  void Start(const std::string& settings, const std::vector<MenuClient>& clients = DefaultClients()) {
    CreateDirectoryA(Files().c_str(), nullptr);
    WriteFileBytes(folder.File("info.ini"), "[Vantrel]\n" + settings + kBaseSettings + "MC2ZDirectories=" + Files() +
                                                "\nZenkUIDsVsClientCodesFile=" + temp.File("uids") +
                                                // A table is confirmed only with a closing pattern; this
                                                // one no client of the tests has reached.
                                                "\nNumPatterns=1\nDefaultPattern=0\n[ClPattern1]\nPatternName=p\nParamIdx=18\nBoundaryValue=1000\n");
    for (const auto& body : kBodies) WriteFileBytes(folder.File(body[0]), body[1]);
    std::string uids, market = "[Class1]\nCode=SPBFUT\nFlags=0x48\n";
    int uid = 17;
    for (const MenuClient& c : clients) uids += c.account + "=" + std::to_string(uid++) + "\r";
    const char* bids[] = {"40", "150", "90"};
    for (int i = 0; i < 3; ++i)
      market += "[Security" + std::to_string(i + 1) + "]\nClass=SPBFUT\nCode=S" + std::to_string(i + 1) +
                "\nType=4\nValueDivisor=1\nbid=" + bids[i] + "\n";
    WriteFileBytes(temp.File("uids"), uids);
    WriteFileBytes(temp.File("market.ini"), market);
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(LoadScenario(temp.File("market.ini"), host, nullptr));
    ASSERT_TRUE(plugin.Load());
    ASSERT_TRUE(started = plugin.InitEx().ok);
    plugin.SendUiInfo();
    plugin.Callback<25>(1, nullptr, 0, 0);
    int id = 1;
    for (const MenuClient& c : clients) {
      const auto limit = LimitRecord({"MC0001", c.account, id, 0, 0, 0, 10000, -10000, 0, 0, 5000});
      const auto position = PositionRecord({"MC0001", c.account, c.security, id++, 1});
      plugin.Callback<22>(1, kLimitRecordCode, limit.data(), 160);
      plugin.Callback<22>(1, kPositionRecordCode, position.data(), 144);
    }
    plugin.Callback<25>(4, "MC0001", 0, 0);
    OpenTable([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    ASSERT_EQ(GetNRows(list), static_cast<int>(clients.size()) + 1);
  }

  // A new table from the plug-in's menu, its dialog answered by the action;
  // its list becomes the one the test reads.
  void OpenTable(const DialogDriver::Action& action) {
    DialogDriver accept(action);
    plugin.Callback<2>(host.Frame(), WM_COMMAND,
                       MAKEWPARAM(GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 0), 0), 0);
    ASSERT_TRUE(accept.Ran());
    const HWND before = list;
    list = nullptr;
    std::pair<HWND, HWND*> search(before, &list);
    EnumChildWindows(host.Frame(), FindNewList, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(list, nullptr);
  }

  static std::vector<MenuClient> DefaultClients() { return {{"A1", "S1"}, {"B1", "S2"}, {"C1", "S3"}}; }

  // The first list other than the one already known.
  static BOOL CALLBACK FindNewList(HWND window, LPARAM search) {
    auto* known = reinterpret_cast<std::pair<HWND, HWND*>*>(search);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "ZListClient") != 0 || window == known->first) return TRUE;
    *known->second = window;
    return FALSE;
  }

  HWND Table() const { return GetParent(list); }
  std::string Files() const { return temp.File("files"); }

  // The column position whose header shows the title.
  int Column(const std::string& title) {
    char text[256] = {};
    COLORREF back, fore;
    for (int column = 1; ZListInspectCell(list, 0, column, text, sizeof text, &back, &fore); ++column)
      if (title == text) return column;
    ADD_FAILURE() << "no column " << title;
    return -1;
  }
  int Line(const std::string& account) {
    const int column = Column("Торговый счёт");
    char text[256] = {};
    COLORREF back, fore;
    for (int line = 1; line < GetNRows(list); ++line)
      if (ZListInspectCell(list, line, column, text, sizeof text, &back, &fore) && account == text) return line;
    return -1;
  }
  // The trading accounts in the order the list shows them.
  std::string Order() {
    const int column = Column("Торговый счёт");
    std::string order;
    char text[256] = {};
    COLORREF back, fore;
    for (int line = 1; line < GetNRows(list); ++line) {
      ZListInspectCell(list, line, column, text, sizeof text, &back, &fore);
      order += std::string(order.empty() ? "" : " ") + text;
    }
    return order;
  }

  // A right click on a cell, as the user asks for the menu there.
  void RightClick(int line, int column) {
    int x = GetColumnWidth(list, column) / 2;
    for (int left = 0; left < column; ++left) x += GetColumnWidth(list, left);
    const int height = static_cast<int>(host.UiInfo()[7]);
    SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, line * height + height / 2));
    SendMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(x, line * height + height / 2));
  }

  // The own command id of a host id; 0 for none.
  int OwnId(UINT hostId) {
    const std::vector<std::string> issued = host.Log().Details(9);
    const std::vector<int> own = RegisteredCommands();
    for (size_t i = 0; i < issued.size() && i < own.size(); ++i)
      if (issued[i] == std::to_string(hostId)) return own[i];
    return static_cast<int>(hostId);  // the host's own table commands
  }
  UINT HostId(int ownId) {
    const std::vector<int> own = RegisteredCommands();
    const size_t at = std::find(own.begin(), own.end(), ownId) - own.begin();
    return static_cast<UINT>(std::stoi(host.Log().Details(9).at(at)));
  }

  // The last menu, an item a line: its text, its command (own id), "grey"
  // and "checked" when so, "pictures" when it has both of its own; a
  // submenu's commands follow its text in braces.
  std::string Menu(const std::vector<MenuItemSnapshot>& items) {
    std::string text;
    for (const MenuItemSnapshot& item : items) {
      text += item.separator ? "-" : item.text;
      if (item.id != 0) text += " " + std::to_string(OwnId(item.id));
      if (!item.submenu.empty()) {
        text += " {";
        for (const MenuItemSnapshot& inner : item.submenu) text += std::to_string(OwnId(inner.id)) + ",";
        text.back() = '}';
      }
      if (item.greyed) text += " grey";
      if (item.checked) text += " checked";
      if (item.checkedPicture != nullptr && item.uncheckedPicture != nullptr) text += " pictures";
      text += "\n";
    }
    return text;
  }
  std::string LastMenu() { return Menu(host.SdkWindows().LastContextMenu()); }

  void Command(int ownId) { SendMessageA(Table(), WM_COMMAND, MAKEWPARAM(HostId(ownId), 0), 0); }

  std::vector<std::string> NewFiles() { return TakeMessageFiles(Files()); }

  std::string Log() const { return ReadFileBytes(folder.File("VantrelFM.log")); }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  PluginLibrary plugin{host};
  bool started = false;
  HWND list = nullptr;
};

struct MenuCase {
  const char* name;
  const char* settings;
  const char* account;  // whose cell is clicked; null: outside the columns
  const char* calls;    // the menu's margin-call items
};

const MenuCase kMenus[] = {
    // Funds sufficiency only: the critical client has its one kind, an item of its own.
    {"CriticalClientWithOneKind", "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\n", "A1",
     "Отправить маржин-колл 40007\nОтправить маржин-колл всем 40014\n"},
    // Only the warning is sent: the critical client is below the warning level too.
    {"WarningSendingCoversACriticalClient", "SendSFRWarningMsg=1\n", "A1",
     "Отправить маржин-колл 40007\nОтправить маржин-колл всем 40014\n"},
    // The normal client has no kind of its own; the table still has one.
    {"NormalClientHasNone", "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\n", "B1",
     "Отправить маржин-колл grey\nОтправить маржин-колл всем 40014\n"},
    // Open positions: the critical client (0.8) is only past its warning, which is off.
    {"OpenPositionsCriticalOnly", "SendSFRCriticalMsg_fp=1\n", "A1",
     "Отправить маржин-колл grey\nОтправить маржин-колл всем 40086\n"},
    // Two kinds: submenus in the kinds' order.
    {"TwoKindsMakeSubmenus", "SendLowFundsMsg=1\nSendSFRCriticalMsg=1\n", "A1",
     "Отправить маржин-колл {40006,40007}\nОтправить маржин-колл всем {40013,40014}\n"},
    // Every kind whatever the flags and levels, but the two whose parameter
    // names no value: UPParam is 0 when not given, ML2Param -1.
    {"AlwaysAllowedWithoutParameters", "AlwaysAllowManualSending=1\n", "B1",
     "Отправить маржин-колл {40006,40007,40085,40008,40009,40010}\n"
     "Отправить маржин-колл всем {40013,40014,40086,40015,40016,40017}\n"},
    {"AlwaysAllowedWithParameters", "AlwaysAllowManualSending=1\nUPParam=18\nML2Param=23\n", "B1",
     "Отправить маржин-колл {40006,40007,40085,40008,40009,40010,40011,40080}\n"
     "Отправить маржин-колл всем {40013,40014,40086,40015,40016,40017,40018,40082}\n"},
    // Outside the columns no client is chosen: the submenu is greyed.
    {"OutsideTheColumnsWithoutAClient", "SendLowFundsMsg=1\nSendCLGOMsg=1\n", nullptr,
     "Отправить маржин-колл {40006,40008} grey\nОтправить маржин-колл всем {40013,40015}\n"},
};

// The items after the margin calls: the same for every client that has not
// reached the table's closing pattern while the host is connected; without a
// client there is none to close.
const char kClosingItems[] =
    "Обновить сейчас 40070\n"
    "Закрыть позиции 40072\n"
    "Закрыть позиции по всем клиентам 40083\n"
    "-\n";
const char kClosingItemsWithoutClient[] =
    "Обновить сейчас 40070\n"
    "Закрыть позиции 40072 grey\n"
    "Закрыть позиции по всем клиентам 40083\n"
    "-\n";

class RiskTableMenuTest : public RiskTableMenu, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(RiskTableMenuTest, TheMenuOffersWhatTheSettingsAndTheClientAllow) {
  Start(GetParam().settings);
  if (GetParam().account != nullptr)
    RightClick(Line(GetParam().account), Column("Торговый счёт"));
  else
    RightClick(GetNRows(list) + 1, 0);  // the line numbers' column, below the lines
  EXPECT_EQ(host.SdkWindows().ContextMenusShown(), 1);
  const std::string menu = LastMenu(),
                    head = std::string(GetParam().calls) +
                           (GetParam().account != nullptr ? kClosingItems : kClosingItemsWithoutClient);
  EXPECT_EQ(menu.substr(0, head.size()), head);
}

INSTANTIATE_TEST_SUITE_P(Menus, RiskTableMenuTest, ::testing::ValuesIn(kMenus),
                         [](const auto& info) { return std::string(info.param.name); });

using RiskTableCommandTest = RiskTableMenu;

// Each kind's item names its parameter, in both submenus.
TEST_F(RiskTableCommandTest, EachKindIsNamedByItsParameter) {
  Start("AlwaysAllowManualSending=1\nUPParam=18\nML2Param=23\n");
  RightClick(Line("A1"), 1);
  const std::vector<MenuItemSnapshot>& menu = host.SdkWindows().LastContextMenu();
  for (const MenuItemSnapshot& submenu : {menu.at(0), menu.at(1)}) {
    std::string titles;
    for (const MenuItemSnapshot& item : submenu.submenu) titles += item.text + "|";
    EXPECT_EQ(titles, "Отрицательный остаток|Уровень достаточности средств|"
                      "Уровень достаточности средств (под открытые позиции)|Коэффициент ликвидности ГО|"
                      "Ожидаемый коэффициент ликвидности ГО|Композитный критерий|Произвольный параметр|Уровень маржи|")
        << submenu.text;
  }
}

// The part after the closing items: on a cell the column's sort item with
// its pictures, checked for a text column that a choice sorts with flag 1;
// outside the columns only the cancel, greyed and checked while nothing is
// sorted; then the host's table commands.
TEST_F(RiskTableCommandTest, TheMenuEndsWithSortingAndTheTableCommands) {
  Start("");
  const std::string tableCommands =
      "-\nРедактировать таблицу 303\nКопировать в буфер обмена 304\nВывод через DDE сервер 306\n";
  const auto tail = [this](const std::string& menu) { return menu.substr(menu.find(kClosingItems) + std::strlen(kClosingItems)); };
  RightClick(Line("B1"), Column("Торговый счёт"));
  EXPECT_EQ(tail(LastMenu()), "Сортировать по [Торговый счёт] 40021 checked pictures\n"
                              "Отменить сортировку 40049 grey\n" + tableCommands);
  const MenuItemSnapshot* sort = FindMenuItem(host.SdkWindows().LastContextMenu(), "Сортировать по [Торговый счёт]");
  ASSERT_NE(sort, nullptr);
  EXPECT_NE(sort->checkedPicture, sort->uncheckedPicture) << "the host's two sort-direction bitmaps";
  RightClick(GetNRows(list) + 1, 0);
  EXPECT_EQ(tail(LastMenu()), "Отменить сортировку 40049 grey checked\n" + tableCommands);
}

// The list's sort fields as "position:flag".
std::string SortFields(HWND list) {
  ZListSortField fields[4] = {};
  const int count = ListGetSortFields(list, 4, fields);
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(fields[i].column) + ":" + std::to_string(fields[i].ascending) + " ";
  return text;
}

// A number column first sorts with flag 0 (descending), a text column with
// 1; a second choice reverses; the cancel removes every field. The menu
// shows each choice's coming direction by its check.
TEST_F(RiskTableCommandTest, SortingByTheClickedColumn) {
  Start("");
  const int sfr = Column("Достаточность средств"), account = Column("Торговый счёт");
  EXPECT_EQ(Order(), "A1 B1 C1") << "firm, then account";
  RightClick(1, sfr);
  const MenuItemSnapshot* item = FindMenuItem(host.SdkWindows().LastContextMenu(),
                                              "Сортировать по [Достаточность средств]");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->checked) << "a number column starts with flag 0";
  EXPECT_EQ(OwnId(item->id), 40018 + sfr);
  Command(40018 + sfr);
  EXPECT_EQ(SortFields(list), std::to_string(sfr) + ":0 ");
  EXPECT_EQ(Order(), "B1 C1 A1") << "1.5, 0.9, 0.4";
  RightClick(1, sfr);
  EXPECT_TRUE(FindMenuItem(host.SdkWindows().LastContextMenu(), "Сортировать по [Достаточность средств]")->checked)
      << "the second choice turns it";
  EXPECT_FALSE(FindMenuItem(host.SdkWindows().LastContextMenu(), "Отменить сортировку")->greyed);
  Command(40018 + sfr);
  EXPECT_EQ(SortFields(list), std::to_string(sfr) + ":1 ");
  EXPECT_EQ(Order(), "A1 C1 B1") << "the clients in danger on top";
  Command(40018 + account);
  EXPECT_EQ(SortFields(list), std::to_string(account) + ":1 ") << "a text column starts with flag 1";
  Command(40018 + account);
  EXPECT_EQ(Order(), "C1 B1 A1");
  Command(40049);
  EXPECT_EQ(SortFields(list), "");
  EXPECT_EQ(Order(), "A1 B1 C1");
}

// "Обновить сейчас" recalculates at once, as the timer would, unless a class
// is in a blocked state; the table follows.
TEST_F(RiskTableCommandTest, RefreshNowRecalculatesUnlessAClassIsBlocked) {
  Start("");
  Sleep(2100);  // a recalculation takes a client's data once it is two seconds old
  const auto sfrOfB1 = [this] {
    char text[64] = {};
    COLORREF back, fore;
    ZListInspectCell(list, Line("B1"), Column("Достаточность средств"), text, sizeof text, &back, &fore);
    return std::string(text);
  };
  ASSERT_EQ(sfrOfB1(), "1,5000");
  host.Market().SetParameter(host.Records().FindSecurityByCode("S2"), "bid", 30);
  host.Market().SetParameter(host.Records().FindSecurityByCode("S1"), "clstate", 2);
  Command(40070);
  EXPECT_EQ(sfrOfB1(), "1,5000") << "a class in a blocked state";
  host.Market().SetParameter(host.Records().FindSecurityByCode("S1"), "clstate", 1);
  Command(40070);
  EXPECT_EQ(sfrOfB1(), "0,3000");
}

// The dialog shows the text composed for the client; what the user leaves
// in it is what arrives. Cancel sends nothing.
TEST_F(RiskTableCommandTest, OneClientGetsTheTextAsEdited) {
  Start("SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\n");
  RightClick(Line("C1"), 1);
  std::string shown;
  DialogDriver cancel([&](HWND dialog) {
    char text[256] = {};
    GetDlgItemTextA(dialog, 1048, text, sizeof text);
    shown = text;
    DialogDriver::Press(dialog, IDCANCEL);
  });
  Command(40007);
  EXPECT_EQ(cancel.Caption(), "Отправка маржин-колла клиенту C1");
  // The module keeps a template's lines each ended by "\n"; the rich edit
  // gives its line breaks back as "\r\n".
  EXPECT_EQ(shown, "C1 SFR 0,900000\r\n") << "the warning's template";
  EXPECT_TRUE(NewFiles().empty());
  RightClick(Line("A1"), 1);
  DialogDriver send([&](HWND dialog) {
    char text[256] = {};
    GetDlgItemTextA(dialog, 1048, text, sizeof text);
    shown = text;
    SetDlgItemTextA(dialog, 1048, "A1, пополните счет сегодня");
    DialogDriver::Press(dialog, IDOK);
  });
  Command(40007);
  EXPECT_EQ(shown, "A1 SFR! 0,400000\r\n") << "the critical call's second template";
  EXPECT_EQ(NewFiles(), std::vector<std::string>{"UID=17|A1, пополните счет сегодня"});
  EXPECT_NE(Log().find("Trying to send margin call (type: 2, clientcode: A1, level: 0.500000)"), std::string::npos);
  RightClick(Line("B1"), 1);
  DialogDriver none([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  Command(40007);
  EXPECT_FALSE(none.Ran()) << "a client that does not qualify: no dialog";
  EXPECT_TRUE(NewFiles().empty());
}

// The host stops the plug-in while the dialog is open: the client's record
// is gone, nothing is sent, and the user is told so.
TEST_F(RiskTableCommandTest, AClientGoneWhileTheDialogIsOpenGetsNothing) {
  Start("SendSFRCriticalMsg=1\n");
  RightClick(Line("A1"), 1);
  std::unique_ptr<DialogDriver> told;
  DialogDriver stop([&](HWND dialog) {
    plugin.Callback<7>();
    told = std::make_unique<DialogDriver>([](HWND box) { DialogDriver::Press(box, IDOK); });
    DialogDriver::Press(dialog, IDOK);
  });
  Command(40007);
  ASSERT_TRUE(stop.Ran());
  EXPECT_EQ(told->Caption(), "Внимание");
  EXPECT_TRUE(NewFiles().empty());
  EXPECT_EQ(Log().find("Trying to send margin call"), std::string::npos);
}

// A template without placeholders: one dialog, its text to every client of
// the table that qualifies; a client whose line the table no longer shows
// gets nothing.
TEST_F(RiskTableCommandTest, EveryClientOfTheTableGetsTheCommonText) {
  Start("SendLowFundsMsg=1\n", {{"A1", "S1"}, {"B1", "S2"}, {"C1", "S3"}, {"D1", "S2"}});
  DelLineWithData(list, reinterpret_cast<void*>(GetProperty(list, Line("D1"), -1, ZLIST_PROP_DATA)));
  std::string shown;
  DialogDriver send([&](HWND dialog) {
    char text[256] = {};
    GetDlgItemTextA(dialog, 1048, text, sizeof text);
    shown = text;
    SetDlgItemTextA(dialog, 1048, "Всем: пополните счет");
    DialogDriver::Press(dialog, IDOK);
  });
  Command(40013);
  EXPECT_EQ(send.Caption(), "Отправка маржин-колла клиентам из таблицы");
  EXPECT_EQ(shown, "Пополните счет\r\n");
  EXPECT_EQ(NewFiles(), (std::vector<std::string>{"UID=17|Всем: пополните счет", "UID=18|Всем: пополните счет",
                                                  "UID=19|Всем: пополните счет"}));
}

// A table told in its dialog to read a filter file of its own shows only the
// file's clients as soon as OK is pressed, edited or new, and its margin
// calls to every client reach only them.
TEST_F(RiskTableCommandTest, AFilterFileChosenInTheDialogDecidesTheRowsAtOnce) {
  Start("SendLowFundsMsg=1\n");
  const std::string firstAndLast = temp.File("a_c.ini"), middle = temp.File("b.ini");
  WriteFileBytes(firstAndLast, "[AllowedClients]\r\nA1,MC0001=\r\nC1,MC0001=\r\n");
  WriteFileBytes(middle, "[AllowedClients]\r\nB1,MC0001=\r\n");
  enum : int { kFromFileBox = 1129, kFilePathEdit = 1130 };
  const auto readFrom = [](const std::string& path) {
    return [path](HWND dialog) {
      if (IsDlgButtonChecked(dialog, kFromFileBox) != BST_CHECKED)
        SendMessageA(GetDlgItem(dialog, kFromFileBox), BM_CLICK, 0, 0);
      SetDlgItemTextA(dialog, kFilePathEdit, path.c_str());
      DialogDriver::Press(dialog, IDOK);
    };
  };
  const auto edit = [&](const std::string& path) {
    DialogDriver dialog(readFrom(path));
    const HWND table = Table();
    SendMessageA(table, WM_COMMAND, 303, 0);
    EXPECT_TRUE(dialog.Ran());
    list = FindWindowExA(table, nullptr, "ZListClient", nullptr);  // the edit builds the list anew
  };
  edit(firstAndLast);
  EXPECT_EQ(Order(), "A1 C1") << "the box newly ticked";
  DialogDriver send([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  Command(40013);
  EXPECT_EQ(NewFiles(), (std::vector<std::string>{"UID=17|Пополните счет", "UID=19|Пополните счет"}));
  edit(middle);
  EXPECT_EQ(Order(), "B1") << "another file";
  OpenTable(readFrom(firstAndLast));
  EXPECT_EQ(Order(), "A1 C1") << "a new table";
}

// A template with placeholders: a question, then each qualifying client
// gets the template filled for it; the normal client does not qualify. (The
// file holds the second template's switch inverted: 1 turns it off.)
TEST_F(RiskTableCommandTest, EveryClientGetsItsOwnTextAfterTheQuestion) {
  Start("SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nUseSFRTemplate2=1\n");
  DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
  Command(40014);
  EXPECT_EQ(cancel.Caption(), "Подтверждение");
  EXPECT_EQ(cancel.Text(), "Отправить маржин-колл всем клиентам из таблицы?");
  EXPECT_TRUE(NewFiles().empty());
  DialogDriver ok([](HWND box) { DialogDriver::Press(box, IDOK); });
  Command(40014);
  ASSERT_TRUE(ok.Ran());
  EXPECT_EQ(NewFiles(), (std::vector<std::string>{"UID=17|A1 SFR 0,400000", "UID=19|C1 SFR 0,900000"}));
}

// The second template of the critical level: the question even for a
// template without placeholders, and each client its own text.
TEST_F(RiskTableCommandTest, TheSecondTemplateAsksAndFillsPerClient) {
  Start("SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nSFRBody=menu_lf\n");
  DialogDriver ok([](HWND box) { DialogDriver::Press(box, IDOK); });
  Command(40014);
  EXPECT_EQ(ok.Caption(), "Подтверждение");
  EXPECT_EQ(NewFiles(), (std::vector<std::string>{"UID=17|A1 SFR! 0,400000", "UID=19|Пополните счет"}));
}

struct QuitCase {
  const char* name;
  const char* settings;
  int command;
  const char* account;  // the client chosen first; null: none
  const char* caption;  // of the dialog or question open at the quit
};

const QuitCase kQuits[] = {
    {"OneClientsText", "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\n", 40007, "A1", "Отправка маржин-колла клиенту A1"},
    {"EveryClientsCommonText", "SendLowFundsMsg=1\n", 40013, nullptr, "Отправка маржин-колла клиентам из таблицы"},
    {"TheQuestionBeforeEachClientsOwnText", "SendSFRWarningMsg=1\nSendSFRCriticalMsg=1\nUseSFRTemplate2=1\n", 40014,
     nullptr, "Подтверждение"},
};

class RiskTableQuitTest : public RiskTableMenu, public ::testing::WithParamInterface<QuitCase> {};

// The host ends its loop while the text, edited, or the question is open:
// no call goes out and the quit is left for the host.
TEST_P(RiskTableQuitTest, AQuitSendsNothing) {
  Start(GetParam().settings, {{"A1", "S1"}, {"B1", "S2"}, {"C1", "S3"}, {"D1", "S1"}});
  if (GetParam().account != nullptr) RightClick(Line(GetParam().account), 1);
  DialogDriver user(DialogDriver::EditThenQuit([](HWND dialog) { SetDlgItemTextA(dialog, 1048, "Пополните счет"); }));
  Command(GetParam().command);
  EXPECT_TRUE(DialogDriver::TakeQuit());
  ASSERT_TRUE(user.Ran());
  EXPECT_EQ(user.Caption(), GetParam().caption);
  EXPECT_TRUE(NewFiles().empty());
  EXPECT_EQ(Log().find("Trying to send margin call"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Quits, RiskTableQuitTest, ::testing::ValuesIn(kQuits),
                         [](const auto& info) { return std::string(info.param.name); });

// Only the header left: nothing is asked and nothing sent.
TEST_F(RiskTableCommandTest, ATableWithoutClientsDoesNothing) {
  Start("SendLowFundsMsg=1\n");
  DelLines(list, 1, GetNRows(list) - 1);
  ASSERT_EQ(GetNRows(list), 1);
  DialogDriver none([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
  Command(40013);
  EXPECT_FALSE(none.Ran());
  EXPECT_TRUE(NewFiles().empty());
}

}  // namespace
