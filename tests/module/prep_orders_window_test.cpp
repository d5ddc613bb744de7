// The closing-orders preparation window driven with messages under Xvfb:
// formed lines shown, a quantity edited in place, the selected line
// deleted, lines sent and withdrawn, advanced by the host's order records.
#include "closing_orders_fixture.h"
#include "sdk/host_data_records.h"
#include "support/window_text.h"

#include <algorithm>
#include <functional>

namespace {
class PrepOrdersWindowTest : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    client = ClientShortOfTarget("ACC1");
    lstrcpynA(client->secondFirm, "FIRM2", sizeof client->secondFirm);
    ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 1);
    ASSERT_NE(Window(), nullptr);
  }
  std::string Cell(int row, int column) {
    char text[64] = {};
    LVITEMA item = {};
    item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
    SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::string Field(int id) { return ItemText(Window()->GetDialogWindow(), id); }
  bool Shown(int id) { return IsWindowVisible(GetDlgItem(Window()->GetDialogWindow(), id)) != FALSE; }
  // The popup's items as "text:enabled".
  std::vector<std::string> Menu() {
    HMENU menu = CreatePopupMenu();
    Window()->OnContextMenu(menu, -1, -1);
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      items.push_back(std::string(text) + ((GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) ? ":0" : ":1"));
    }
    DestroyMenu(menu);
    return items;
  }
  HWND CellEditor() { return FindWindowExA(List(), nullptr, "Edit", nullptr); }
  void DoubleClick(int row, int column) {
    RECT cell = {LVIR_LABEL, column, 0, 0};
    SendMessageA(List(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  }
  void RightDoubleClick(int x, int y) { SendMessageA(List(), WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(x, y)); }
  static void HoldControl(BYTE state) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = state;
    SetKeyboardState(keys);
  }
  // A number as shown without the user's digit grouping.
  static std::string Ungrouped(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\xA0'; }), text.end());
    return text;
  }
  // Types the keys one by one into the cell's emptied editor and leaves it;
  // returns what the editor kept, its decimal point written as ".".
  std::string TypeInCell(int row, int column, const char* keys) {
    DoubleClick(row, column);
    if (CellEditor() == nullptr) return "no editor";
    SetWindowTextA(CellEditor(), "");
    for (const char* key = keys; *key != 0; ++key) SendMessageA(CellEditor(), WM_CHAR, static_cast<WPARAM>(*key), 0);
    char kept[32] = {};
    GetWindowTextA(CellEditor(), kept, sizeof kept);
    SetFocus(List());
    std::replace(kept, kept + sizeof kept, ',', '.');
    return kept;
  }

  TClientRiskRecord* client = nullptr;
};

TEST_F(PrepOrdersWindowTest, ShowsTheFormedLineAndTheLevels) {
  EXPECT_STREQ(Window()->GetTitle(), "Заявки на закрытие позиций по клиенту C77");
  ASSERT_EQ(Rows(), 1);
  const std::vector<std::string> expected = {"FIRM1", "C77", "ACC1", "SPBFUT", "RIZ6", "Продажа"};
  for (int column = 0; column < 6; ++column) EXPECT_EQ(Cell(0, column), expected[column]) << column;
  EXPECT_EQ(Ungrouped(Cell(0, 6)), "100000");
  EXPECT_EQ(Cell(0, 7) + "|" + Cell(0, 8) + "|" + Cell(0, 9), "7|Подготовлена|") << "no number before the host's";
  EXPECT_EQ(Field(1122), "Достаточность средств");
  EXPECT_EQ(Field(1123), "1.30");
  EXPECT_EQ(Field(1124), "1.67");  // 50,000 / 30,000
  EXPECT_FALSE(Shown(1125));
  std::vector<LRESULT> further;
  for (int item = 0; item < SendDlgItemMessageA(Window()->GetDialogWindow(), 1193, CB_GETCOUNT, 0, 0); ++item)
    further.push_back(SendDlgItemMessageA(Window()->GetDialogWindow(), 1193, CB_GETITEMDATA, item, 0));
  EXPECT_EQ(further, (std::vector<LRESULT>{8, 6, 7, 17, 18, 19, 20, 21, 23})) << "the further parameters' columns";
  SendDlgItemMessageA(Window()->GetDialogWindow(), 1193, CB_SETCURSEL, 1, 0);  // "Тек. чист. поз."
  SendMessageA(Window()->GetDialogWindow(), WM_COMMAND, MAKEWPARAM(1193, CBN_SELCHANGE), 0);
  EXPECT_EQ(Field(1194), "300.00") << "(100,000 - 70,000) / 100";
  EXPECT_EQ(module.OpenPrepOrdersDlg(client, pattern), 0) << "the client's window is open";
  EXPECT_EQ(Windows().size(), 1u);
  EXPECT_EQ(Menu(), (std::vector<std::string>{"Подать:0", "Подать все:1", "Удалить:0", "Удалить все:1", "Снять:0",
                                              "Пересчитать:1"}))
      << "nothing selected";
}

// Keystrokes typed one by one: one that breaks the number is taken back
// (RIZ6 prices have no decimals; at most 10 integer digits).
TEST_F(PrepOrdersWindowTest, APriceOrQuantityIsEditedInPlace) {
  const struct { int column; const char* typed, *kept, *cell; } cases[] = {
      {6, "98a7", "987", "987"}, {6, "12345678901", "1234567890", "1234567890"}, {6, "98.5", "98.", "98"},
      {6, "98760", "98760", "98760"}, {7, "9.5", "9.", "9"}, {7, "5", "5", "5"},
      {7, "", "", "5"},  // an empty text keeps the old value
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TypeInCell(0, c.column, c.typed), c.kept);
    EXPECT_EQ(Ungrouped(Cell(0, c.column)), c.cell) << c.typed;
    EXPECT_EQ(CellEditor(), nullptr);
  }
  EXPECT_EQ(Field(1124), "1.00") << "50,000 / 50,000";
  EXPECT_TRUE(Shown(1125)) << "5 lots do not reach 1.3";
  answers = {9001};
  Command(kSendAll);
  EXPECT_EQ(TypeInCell(0, 7, "1"), "no editor") << "a sent line is not edited";
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find("PRICE=98760[]|QUANTITY=5[]"), std::string::npos) << sent[0];
}

// Every road that withdraws: the popup's command, a right double click on
// the row, Ctrl+D; a right double click beside the rows reaches no line.
TEST_F(PrepOrdersWindowTest, OnlyAnActiveOrderWithANumberIsWithdrawn) {
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const struct { const char* name; std::function<void()> run; bool onTheRow, bySelection; } roads[] = {
      {"menu", [&] { Command(kWithdraw); }, false, true},
      {"right double click", [&] { RightDoubleClick(row.left + 5, row.top + 2); }, true, false},
      {"Ctrl+D", [&] { HoldControl(0x80), SendMessageA(List(), WM_KEYDOWN, 'D', 0), HoldControl(0); }, false, true},
      {"D without Ctrl", [&] { SendMessageA(List(), WM_KEYDOWN, 'D', 0); }, false, false},
      {"beside the rows", [&] { RightDoubleClick(row.left + 5, row.bottom + 5); }, false, false},
  };
  const struct { const char* line; int32_t state, transId; double number; bool withdrawn; } cases[] = {
      {"prepared", kLinePrepared, -1, 0, false}, {"sent, not answered", kLinePrepared, 9001, 0, false},
      {"active, no number", kLineActive, 9001, 0, false}, {"active", kLineActive, 9001, 555, true},
      {"executed", kLineExecuted, 9001, 555, false}, {"withdrawn", kLineWithdrawn, 9001, 555, false},
  };
  TOrderLine& line = *Line("ACC1", 0);
  for (const auto& c : cases) {
    line.State = c.state, line.TransId = c.transId, line.OrderNum = c.number;
    Window()->RefreshOrderList();
    for (int selected : {0, -1}) {
      Select(selected);
      EXPECT_EQ(Menu()[4], c.withdrawn && selected == 0 ? "Снять:1" : "Снять:0") << c.line;
      for (const auto& road : roads) {
        sent.clear();
        road.run();
        const bool expected = c.withdrawn && (road.onTheRow || (road.bySelection && selected == 0));
        EXPECT_EQ(sent, expected ? std::vector<std::string>{"0 1 OrderNum=555[]"} : std::vector<std::string>{})
            << c.line << ", " << road.name << ", selected " << selected;
      }
    }
  }
}

// A window of all clients: the lines the host has taken stay as they were.
TEST_F(PrepOrdersWindowTest, DeleteAllAndRecalculateKeepEveryLineWithATransactionId) {
  Window()->EndDialog(3);
  ClientShortOfTarget("ACC2");
  CTablePlugin* table = OpenRiskTable();
  ASSERT_NE(table, nullptr);
  for (const char* account : {"ACC1", "ACC2"}) ClientShortOfTarget(account);
  module.OpenClosingOrdersWindow(pattern, table, false, nullptr);
  ASSERT_EQ(Rows(), 2);
  answers = {9001};
  Select(1);  // the later key's rows stand above: ACC1's line is the second
  Command(kSend);
  // The host's answer so far: none, then the order is active.
  for (const char* state : {"9001 1 7", "9001 2 7"}) {
    if (state[5] == '2') Order(9001, 1, 555);
    for (int command : {kDeleteAll, kRecalc, kDeleteAll}) {
      ASSERT_NE(Window(), nullptr) << state << ", " << command;
      Command(command);
      const TOrderLine* taken = Line("ACC1", 0);
      EXPECT_EQ(taken == nullptr ? "none" : std::to_string(taken->TransId) + " " + std::to_string(taken->State) + " " +
                                                 std::to_string(static_cast<int>(taken->Quantity)),
                state) << command << ": id, state, lots";
    }
    EXPECT_EQ(Rows(), 1) << state << ": every other line deleted";
  }
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(PrepOrdersWindowTest, DeleteRemovesTheSelectedLineAndNeverASentOne) {
  answers = {9001};
  Command(kSendAll);
  client->plannedNetPosition = -100000;  // worse: the 7 lots sent are not enough
  Command(kRecalc);  // the sent line stays; one for the rest of the position joins it
  ASSERT_EQ(Rows(), 2);
  Select(1);
  EXPECT_EQ(Menu()[2], "Удалить:1");
  Command(kDelete);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(Line("ACC1", 0)->TransId, 9001);
  Select(0);
  EXPECT_EQ(Menu()[2], "Удалить:0");
  Command(kDelete);
  Command(kDeleteAll);
  EXPECT_EQ(Rows(), 1) << "the order at the exchange stays in view";
  Command(kSendAll);
  EXPECT_EQ(sent.size(), 1u) << "and is never sent again";
}

// The sent 7 lots close the position whether the host counts them or not:
// a recalculation starts from the level they leave (5/3, the target 1.3
// reached) and forms nothing; once the client is worse, it forms only the
// 3 lots the position has left.
TEST_F(PrepOrdersWindowTest, RecalculatingBesideASentLineFormsOnlyWhatItLeavesMissing) {
  answers = {9001};
  Command(kSendAll);
  // Lots in active orders not considered, then considered while the host's
  // position record counts none of them yet, then counting the sent 7.
  const struct { bool considered; int32_t inSellOrders; } cases[] = {{false, 0}, {true, 0}, {true, 7}, {false, 7}};
  for (const auto& c : cases) {
    module.Closing().ConsiderActiveOrders = c.considered;
    ClientShortOfTarget("ACC1", c.inSellOrders);
    Command(kRecalc);
    const std::string name = std::to_string(c.considered) + " " + std::to_string(c.inSellOrders);
    ASSERT_EQ(Rows(), 1) << name << ": nothing more to close";
    EXPECT_EQ(Cell(0, 7) + " " + Cell(0, 8), "7 Подготовлена") << name;
    EXPECT_EQ(Line("ACC1", 0)->TransId, 9001) << name;
    EXPECT_EQ(Field(1124), "1.67") << name << ": 50,000 / 30,000 once the 7 are filled";
    EXPECT_FALSE(Shown(1125)) << name;
  }
  client->plannedNetPosition = -100000;
  Command(kRecalc);
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(Cell(0, 7) + " " + Cell(1, 7), "7 3") << "the sent line, then the rest of the position";
  // The levels after all 10 lots: no current net position, so the funds
  // sufficiency has no value, as in the risk table; the net position is 0.
  EXPECT_EQ(Field(1124), "");
  const struct { int item; const char* value; } further[] = {{4, ""}, {1, "0.00"}};
  for (const auto& f : further) {
    SendDlgItemMessageA(Window()->GetDialogWindow(), 1193, CB_SETCURSEL, f.item, 0);
    SendMessageA(Window()->GetDialogWindow(), WM_COMMAND, MAKEWPARAM(1193, CBN_SELCHANGE), 0);
    EXPECT_EQ(Field(1194), f.value) << f.item;
  }
  Command(kSendAll);
  EXPECT_EQ(sent.size(), 2u) << "the rest is sent, the sent line is not sent again";
}

// The market recovers between forming and sending: the prepared line goes
// as prepared, without a word in the box or an error in the log. A price
// move never cuts it; only what the position still holds does.
TEST_F(PrepOrdersWindowTest, ALinePreparedGoesAsPreparedWhenTheMarketRecovers) {
  // A transaction the host took for 7 lots and never reported; the client
  // then needs all 10 closed.
  auto heldByAnUnreportedOrder = [&] {
    TOrderLine line = MakeOrderLine(*client, Security("RIZ6"), false, 100000, 7, 0);
    line.TransId = 9001;
    module.ClosingOrders().NoteSentOrder(line);
    client->plannedNetPosition = -100000;
  };
  // Another window of the client sends 7 lots, and they are withdrawn whole.
  auto sentElsewhereAndWithdrawn = [&] {
    TOrderLine line = MakeOrderLine(*client, Security("RIZ6"), false, 100000, 7, 0);
    line.TransId = 9500;
    module.ClosingOrders().NoteSentOrder(line);
    Order(9500, host_data::order::kWithdrawn, 77);
  };
  const struct {
    const char* name;
    std::function<void()> before, meanwhile;
    const char* lots;
    const char* told;
  } cases[] = {
      {"the client's values recover", [] {}, [&] { client->plannedNetPosition = 90000, client->sfr = 2.0; }, "7", ""},
      {"another window's order of 7 sent since, withdrawn whole", [] {}, sentElsewhereAndWithdrawn, "7", ""},
      {"the client sold 5 himself", [] {}, [&] { Position("ACC1", 5); }, "5",
       "Клиент C77 (ACC1, FIRM1), RIZ6: осталось закрыть 5 лот. из 7, заявка подана на 5: в позиции осталось 5 лот., "
       "не закрываемых заявками."},
      {"the client sold 2 himself, 7 held by an order never reported", heldByAnUnreportedOrder,
       [&] { Position("ACC1", 8); }, "1",
       "Клиент C77 (ACC1, FIRM1), RIZ6: осталось закрыть 1 лот. из 3, заявка подана на 1: в позиции осталось 1 лот., "
       "не закрываемых заявками; лоты удерживают заявки, о которых терминал ещё не сообщил (транзакции 9001: 7 "
       "лот.)."},
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    module.ClosingOrders() = CClosingOrderBook();
    client = ClientShortOfTarget("ACC1");
    c.before();
    ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 1) << c.name;
    c.meanwhile();
    sent.clear();
    answers = {9002};
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    Command(kSendAll);
    ASSERT_EQ(sent.size(), 1u) << c.name;
    EXPECT_NE(sent[0].find(std::string("QUANTITY=") + c.lots + "[]"), std::string::npos) << c.name << ": " << sent[0];
    EXPECT_EQ(told.Text(), c.told) << c.name;
  }
  EXPECT_EQ(ReadFileBytes(folder.File("VantrelFM.log")).find("ERROR"), std::string::npos);
}

// The lots the window's sent orders close count in a window opened later
// for the client, and in a window of all clients: nothing is formed twice.
// The host has not reported the order yet: the empty window says what holds
// the lots.
TEST_F(PrepOrdersWindowTest, ANewWindowCountsTheOrdersAnEarlierOneSent) {
  answers = {9001};
  Command(kSendAll);
  Window()->EndDialog(3);
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 0) << "the 7 lots sent reach the target";
  EXPECT_EQ(told.Text(), "Клиент C77 (ACC1, FIRM1), RIZ6: 7 лот. удерживает заявка (транзакция 9001), о которой "
                         "терминал ещё не сообщил; они освободятся, когда терминал сообщит о заявке, или в новой "
                         "сессии терминала.");
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(Field(1124), "1.67") << "the level after the orders already sent";
  EXPECT_FALSE(Shown(1125));
  Window()->EndDialog(3);
  CTablePlugin* table = OpenRiskTable();
  ASSERT_NE(table, nullptr);
  ClientShortOfTarget("ACC1")->plannedNetPosition = -100000;
  EXPECT_EQ(module.OpenClosingOrdersWindow(pattern, table, false, nullptr), 1);
  ASSERT_NE(Line("ACC1", 0), nullptr);
  EXPECT_EQ(Line("ACC1", 0)->Quantity, 3) << "the rest of the position only";
}


// A client who needs no orders gets an empty window that shows where he
// stands, with no note that orders fall short: one covered from the start,
// one lifted above the level once his orders filled and the host showed it.
TEST_F(PrepOrdersWindowTest, AnEmptyWindowShowsTheClientsOwnLevel) {
  const struct {
    const char* name;
    std::function<void()> lift;
    const char* level;
  } cases[] = {
      {"covered: 150,000 / 100,000", [&] { client->plannedNetPosition = 50000; }, "1.50"},
      {"his 7 lots sold and shown: 50,000 / 30,000",
       [&] {
         answers = {9001};
         Command(kSendAll);
         Order(9001, 0, 555, {}, 0);
         Position("ACC1", 3);
         client->plannedNetPosition = 20000, client->currentNetPosition = client->currentNetPositionOpen = 30000;
       },
       "1.67"},
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    ClientShortOfTarget("ACC1");
    ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 1) << c.name;
    c.lift();
    client->sfr = (client->plannedNetPosition + client->currentNetPosition) / client->currentNetPosition;
    module.ClosePrepOrdersDialogs();
    ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 0) << c.name;
    ASSERT_NE(Window(), nullptr) << c.name;
    EXPECT_EQ(Rows(), 0) << c.name;
    EXPECT_EQ(Field(1124), c.level) << c.name;
    EXPECT_FALSE(Shown(1125)) << c.name;
  }
}
// F1/777 and F2/777: one client code and account in two firms. Each has a
// window of its own, and each window sends its own firm's order.
TEST_F(PrepOrdersWindowTest, TwoFirmsWithOneClientCodeEachHaveTheirOwnWindow) {
  Window()->EndDialog(3);
  TClientRiskRecord* clients[2] = {};
  const char* firms[] = {"F2", "F1"};
  for (int i = 0; i < 2; ++i) {
    std::vector<uint8_t> position = PositionRecord({firms[i], "777", "RIZ6", 1, 10 + i});
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    clients[i] = module.Clients().Find(firms[i], "777");
    ASSERT_NE(clients[i], nullptr);
    lstrcpynA(clients[i]->clientCode, "777", sizeof clients[i]->clientCode);
    lstrcpynA(clients[i]->secondFirm, firms[i], sizeof clients[i]->secondFirm);
    clients[i]->plannedNetPosition = -50000, clients[i]->currentNetPosition = clients[i]->currentNetPositionOpen = 100000;
    clients[i]->sfr = 0.5;
    EXPECT_EQ(module.OpenPrepOrdersDlg(clients[i], pattern), 1) << firms[i] << ": a window of its own";
  }
  ASSERT_EQ(Windows().size(), 2u);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(module.OpenPrepOrdersDlg(clients[i], pattern), 0) << firms[i] << ": found";
  // The window brought to the front is the first of the host's frames.
  for (int i : {1, 0}) {
    module.OpenPrepOrdersDlg(clients[i], pattern);
    EXPECT_EQ(Window()->Store().Count(COrderStore::KeyOf("777", firms[i]), [](const TOrderLine&) { return true; }), 1)
        << firms[i] << "'s window in front";
    answers = {9100 + i};
    Command(kSendAll);
    ASSERT_FALSE(sent.empty());
    EXPECT_NE(sent.back().find("CLIENT_CODE=" + std::string(firms[i]) + "[]|ACCOUNT=777[]"), std::string::npos)
        << sent.back();
    EXPECT_EQ(module.ClosingOrders().PendingOf(ClosingClientOf(*clients[i])).size(), 1u) << firms[i] << "'s order";
  }
  EXPECT_EQ(sent.size(), 2u);
  module.ClosePrepOrdersDialogs();
  module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr);
  EXPECT_EQ(module.OpenPrepOrdersDlg(clients[0], pattern), 0) << "a window of all clients serves each";
  EXPECT_EQ(Windows().size(), 1u);
}

// The edited quantity may not pass the lots the position has left: the
// position less the other lines of its security and side, the orders sent
// and, when they are considered, the host's lots in orders.
TEST_F(PrepOrdersWindowTest, AQuantityAboveTheLotsLeftIsRefused) {
  TOrderLine other = MakeOrderLine(*client, Security("RIZ6"), false, 100000, 2, 0);
  other.TransId = 9500;
  const struct { const char* name; std::function<void()> arrange; const char* typed; const char* cell; int most; } cases[] = {
      {"the whole position", [] {}, "10", "10", 0},
      {"one lot more", [] {}, "11", "10", 10},
      {"beside a prepared line of 4", [&] { Window()->Store().Add(MakeOrderLine(*client, Security("RIZ6"), false, 1, 4, 0)); },
       "7", "10", 6},
      {"a buy beside does not count", [&] { Window()->Store().Add(MakeOrderLine(*client, Security("RIZ6"), true, 1, 4, 0)); },
       "6", "6", 0},
      {"and an order of 2 sent from elsewhere, reported active",
       [&] { module.ClosingOrders().NoteSentOrder(other), Order(9500, 1, 77, {}, 2, 2); }, "5", "6", 4},
      {"the host counts 5 in orders", [&] {
         module.Closing().ConsiderActiveOrders = true;
         ClientShortOfTarget("ACC1", 5);
       }, "2", "6", 1},
  };
  for (const auto& c : cases) {
    c.arrange();
    Window()->RefreshOrderList();
    const int row = 0;  // the line formed first
    DialogDriver box([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    TypeInCell(row, 7, c.typed);
    EXPECT_EQ(Ungrouped(Cell(row, 7)), c.cell) << c.name;
    EXPECT_EQ(box.Ran(), c.most > 0) << c.name;
    const std::string refusal = c.most == 0 ? "" : "Количество не может быть больше " + std::to_string(c.most) +
                                ": столько лотов позиции по RIZ6 не закрывается другими заявками.\nКоличество не изменено.";
    EXPECT_EQ(box.Text(), refusal) << c.name;
  }
}

// The risk table sums the real variation margin by the module's mode, and
// so does the window: with a loss of 30,000 counted (mode 1) the funds
// sufficiency is 20,000 / (100,000 - d), and 9 lots bring it to 2.0.
TEST_F(PrepOrdersWindowTest, TheLevelCountsTheVariationMarginAsTheRiskTableDoes) {
  module.Settings().UseVarMargin = 1;
  client->realVariationMargin = -30000;
  Command(kRecalc);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(Cell(0, 7), "9");
  EXPECT_EQ(Field(1124), "2.00");
  EXPECT_FALSE(Shown(1125));
  Line("ACC1", 0)->Quantity = 7;
  Window()->RefreshOrderList();
  EXPECT_EQ(Field(1124), "0.67") << "20,000 / 30,000, as the table will show";
  EXPECT_TRUE(Shown(1125));
}

TEST_F(PrepOrdersWindowTest, OrderRecordsAdvanceTheLinesAndAnActiveOrderIsWithdrawn) {
  answers = {9001};
  Select(0);
  Command(kSend);
  EXPECT_EQ(sent.back().substr(0, 42), "0 0 CLIENT_CODE=FIRM2[]|ACCOUNT=ACC1[]|CLA");
  Order(-1, 1, 1);
  Order(4242, 1, 1);
  EXPECT_EQ(Cell(0, 8), "Подготовлена") << "ids the plug-in never sent, or none, match nothing";
  SYSTEMTIME placed = {2026, 12, 1, 7, 10, 15, 30, 0};
  FILETIME time;
  SystemTimeToFileTime(&placed, &time);
  Order(9001, 1, 555, time);
  EXPECT_EQ(Cell(0, 8) + "|" + Cell(0, 9) + "|" + Cell(0, 10), "Активна|555|10:15:30");
  Order(9001, 2, 555);
  EXPECT_EQ(Window(), nullptr) << "nothing left to send or follow: the window closes itself";
  EXPECT_TRUE(module.ClosingOrders().PendingOf(ClosingClientOf(*client)).empty())
      << "the level figures count nothing of the withdrawn order";
}

// A class without an order form, a host that refuses with its reason, then a
// send the host takes: the line says why until it is sent again, and stays
// sendable; the log has the failure.
TEST_F(PrepOrdersWindowTest, ALineThatWasNotTakenShowsWhyAndStaysSendable) {
  module.Settings().TraceLogLevel = 2;
  // The client holds the security without a form too.
  std::vector<uint8_t> position = PositionRecord({"FIRM1", "ACC1", "NFZ6", 2, 10});
  module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
  TOrderLine& line = *Line("ACC1", 0);
  const struct { const char* security; std::deque<int32_t> answers; const char* status, *send, *logged; } cases[] = {
      {"NFZ6", {}, "Отклонена: Нет формы заявки для класса NOFORM", "Подать:1", "ERROR: no order form of class NOFORM"},
      {"RIZ6", {-1}, "Отклонена: Отказ", "Подать:1", "ERROR: Отказ"},
      {"RIZ6", {9001}, "Подготовлена", "Подать:0", "Sending transaction: CLIENT_CODE=FIRM2[]|ACCOUNT=ACC1"},
  };
  for (const auto& c : cases) {
    lstrcpynA(line.SecCode, c.security, sizeof line.SecCode);
    answers = c.answers;
    Select(0);
    Command(kSend);
    EXPECT_EQ(Cell(0, 8), c.status) << c.security;
    Select(0);
    EXPECT_EQ(Menu()[0], c.send) << c.security;
    EXPECT_NE(ReadFileBytes(folder.File("VantrelFM.log")).find(c.logged), std::string::npos) << c.logged;
  }
  EXPECT_EQ(sent.size(), 2u) << "nothing went without a form";
}

// The host asks before it closes the window (message 4125): a refusal is
// its answer 1; lines the host has taken are not asked about.
TEST_F(PrepOrdersWindowTest, TheHostsCloseQueryAsksAboutLinesNotSent) {
  const struct { bool sent; int button; bool asked; LRESULT answer; } cases[] = {
      {false, IDCANCEL, true, 1}, {false, IDOK, true, 0}, {true, IDCANCEL, false, 0}};
  for (const auto& c : cases) {
    if (c.sent) answers = {9001}, Command(kSendAll);
    LRESULT answer = 0;
    const int button = c.button;
    DialogDriver box([button](HWND dialog) { DialogDriver::Press(dialog, button); });
    SendMessageA(Window()->GetHwnd(), 4125, 0, reinterpret_cast<LPARAM>(&answer));
    EXPECT_EQ(box.Text(), c.asked ? "В таблице имеются неподанные заявки (1) по закрытию позиций клиента C77. "
                                    "Вы уверены, что хотите закрыть окно?"
                                  : "");
    EXPECT_EQ(answer, c.answer) << c.sent << " " << c.button;
    ASSERT_NE(Window(), nullptr) << "the host closes the window itself";
  }
}

// The host closes its frame (the close button) only once the window agrees:
// lines not sent are asked about first.
TEST_F(PrepOrdersWindowTest, ClosingTheFrameThroughTheHostAsksAboutLinesNotSent) {
  for (int button : {IDCANCEL, IDOK}) {
    DialogDriver box([button](HWND dialog) { DialogDriver::Press(dialog, button); });
    SendMessageA(Window()->GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(box.Text(), "В таблице имеются неподанные заявки (1) по закрытию позиций клиента C77. "
                          "Вы уверены, что хотите закрыть окно?");
    EXPECT_EQ(Window() != nullptr, button == IDCANCEL) << button;
  }
}

// A quantity below 1, typed or pasted, is refused; the line keeps its lots.
TEST_F(PrepOrdersWindowTest, AQuantityBelowOneIsRefused) {
  for (const char* text : {"-5", "0"}) {
    DoubleClick(0, 7);
    ASSERT_NE(CellEditor(), nullptr);
    SetWindowTextA(CellEditor(), text);
    DialogDriver box([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    SetFocus(List());
    EXPECT_EQ(box.Text(), "Количество должно быть не меньше 1.\nКоличество не изменено.") << text;
    EXPECT_EQ(Cell(0, 7), "7") << text;
  }
  answers = {9001};
  Command(kSendAll);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find("QUANTITY=7[]"), std::string::npos) << sent[0];
}

// A window of all clients filtered by a client of the module's list, by
// trading account or by client code (both ACC1 and ACC2 are C77); the
// button beside the list drops the filter. One client's window has none.
TEST_F(PrepOrdersWindowTest, TheClientFilterShowsTheChosenClientsLines) {
  HWND own = Window()->GetDialogWindow();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(own, 1195)) || IsWindowEnabled(GetDlgItem(own, 1196)));
  Window()->EndDialog(3);
  ClientShortOfTarget("ACC2");
  CTablePlugin* table = OpenRiskTable();
  ASSERT_NE(table, nullptr);
  for (const char* account : {"ACC1", "ACC2"}) ClientShortOfTarget(account);
  for (const char* text : {"ACC2 (FIRM1)", "C77 (FIRM1)", "C77 (FIRM9)"}) module.ClientsFilter().Add(text);
  module.OpenClosingOrdersWindow(pattern, table, false, nullptr);
  HWND dialog = Window()->GetDialogWindow();
  const auto rows = [&] {
    std::string accounts;
    for (int row = 0; row < Rows(); ++row) accounts += Cell(row, 2) + " ";
    return accounts;
  };
  ASSERT_EQ(rows(), "ACC2 ACC1 ");
  const struct { const char* chosen; const char* rows; } cases[] = {
      {"ACC2 (FIRM1)", "ACC2 "}, {"C77 (FIRM1)", "ACC2 ACC1 "}, {"C77 (FIRM9)", ""}, {nullptr, "ACC2 ACC1 "}};
  for (const auto& c : cases) {
    if (c.chosen != nullptr) {
      const LRESULT item = SendDlgItemMessageA(dialog, 1195, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(c.chosen));
      ASSERT_NE(item, CB_ERR) << c.chosen;
      SendDlgItemMessageA(dialog, 1195, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1195, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1195)));
    } else {
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1196, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1196)));
      EXPECT_EQ(SendDlgItemMessageA(dialog, 1195, CB_GETCURSEL, 0, 0), CB_ERR) << "nothing chosen";
    }
    EXPECT_EQ(rows(), c.rows) << (c.chosen != nullptr ? c.chosen : "cleared");
  }
}

// Late records, as the host replays them: an executed order's line never
// goes back to active, nor to withdrawn.
TEST_F(PrepOrdersWindowTest, ALateRecordNeverTakesAnExecutedLineBack) {
  answers = {9001};
  Select(0);
  Command(kSend);
  // A line not sent keeps the window open once the first is executed.
  Window()->Store().Add(MakeOrderLine(*client, Security("SiZ6"), false, 100, 1, 0));
  const struct { uint32_t flags; const char* state; } records[] = {
      {1, "Активна"}, {0, "Исполнена"}, {1, "Исполнена"}, {2, "Исполнена"}};
  for (const auto& r : records) {
    Order(9001, r.flags, 555);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Cell(0, 8), r.state) << r.flags;
  }
}

TEST_F(PrepOrdersWindowTest, ClosingAsksOnlyAboutLinesNotSent) {
  {
    DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
    Window()->EndDialog(2);
    EXPECT_EQ(cancel.Text(), "В таблице имеются неподанные заявки (1) по закрытию позиций клиента C77. Вы уверены, "
                             "что хотите закрыть окно?");
  }
  ASSERT_NE(Window(), nullptr) << "refused";
  {
    DialogDriver quit(DialogDriver::Quit);
    Window()->EndDialog(2);
    EXPECT_TRUE(DialogDriver::TakeQuit());
  }
  ASSERT_NE(Window(), nullptr) << "the host quitting while the question is open refuses too";
  EXPECT_EQ(Rows(), 1) << "and the line not sent stays";
  answers = {9001};
  Command(kSendAll);
  Window()->EndDialog(2);  // an order in flight is no unsent line: nothing is asked
  EXPECT_EQ(Window(), nullptr);
}

// Account "AB" of firm "CFIRM" and account "ABC" of firm "FIRM" are two
// clients: each keeps its line in a window of all clients, and each line
// goes out with its own account.
TEST_F(PrepOrdersWindowTest, AccountAndFirmRunTogetherNeverMakeOneClient) {
  Window()->EndDialog(3);
  const struct { const char* firm; const char* account; } clients[] = {{"CFIRM", "AB"}, {"FIRM", "ABC"}};
  for (const auto& c : clients) {
    std::vector<uint8_t> position = PositionRecord({c.firm, c.account, "RIZ6", 1, 10});
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    TClientRiskRecord* record = module.Clients().Find(c.firm, c.account);
    ASSERT_NE(record, nullptr);
    record->plannedNetPosition = -50000, record->currentNetPosition = record->currentNetPositionOpen = 100000;
    record->sfr = 0.5;
  }
  EXPECT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 3) << "ACC1's and the two";
  for (const auto& c : clients) ASSERT_NE(Line(c.account, 0, c.firm), nullptr) << c.account << " " << c.firm;
  EXPECT_EQ(Rows(), 3);
  answers = {9001, 9002, 9003};
  Command(kSendAll);
  std::string accounts;
  for (const std::string& text : sent) {
    const size_t value = text.find("ACCOUNT=") + 8;
    accounts += text.substr(value, text.find("[]", value) - value) + " ";
  }
  EXPECT_EQ(accounts, "AB ABC ACC1 ");
}

}  // namespace
