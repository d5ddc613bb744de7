// The closing-orders preparation window driven with messages under Xvfb:
// formed lines shown, a quantity edited in place, the selected line
// deleted, lines sent and withdrawn, advanced by the host's order records.
#include "closing_orders_fixture.h"

#include <algorithm>

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
  std::string Field(int id) {
    char text[128] = {};
    GetDlgItemTextA(Window()->GetDialogWindow(), id, text, sizeof text);
    return text;
  }
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
  // Types the text into the cell's editor and leaves it.
  void EditCell(int row, int column, const char* text) {
    DoubleClick(row, column);
    ASSERT_NE(CellEditor(), nullptr);
    SetWindowTextA(CellEditor(), text);
    SetFocus(List());
  }

  TClientRiskRecord* client = nullptr;
};

TEST_F(PrepOrdersWindowTest, ShowsTheFormedLineAndTheLevels) {
  EXPECT_STREQ(Window()->GetTitle(), "Заявки на закрытие позиций по клиенту C77");
  ASSERT_EQ(Rows(), 1);
  const std::vector<std::string> expected = {"FIRM1", "C77", "ACC1", "SPBFUT", "RIZ6", "Продажа"};
  for (int column = 0; column < 6; ++column) EXPECT_EQ(Cell(0, column), expected[column]) << column;
  std::string price = Cell(0, 6);  // "100 000" with the user's grouping
  price.erase(std::remove_if(price.begin(), price.end(), [](char c) { return c < '0' || c > '9'; }), price.end());
  EXPECT_EQ(price, "100000");
  EXPECT_EQ(Cell(0, 7) + "|" + Cell(0, 8) + "|" + Cell(0, 9), "7|Подготовлена|") << "no number before the host's";
  EXPECT_EQ(Field(1122), "Достаточность средств");
  EXPECT_EQ(Field(1123), "1.30");
  EXPECT_EQ(Field(1124), "1.67");  // 50,000 / 30,000
  EXPECT_FALSE(Shown(1125));
  SendDlgItemMessageA(Window()->GetDialogWindow(), 1193, CB_SETCURSEL, 1, 0);  // "Тек. чист. поз."
  SendMessageA(Window()->GetDialogWindow(), WM_COMMAND, MAKEWPARAM(1193, CBN_SELCHANGE), 0);
  EXPECT_EQ(Field(1194), "300.00") << "(100,000 - 70,000) / 100";
  EXPECT_EQ(module.OpenPrepOrdersDlg(client, pattern), 0) << "the client's window is open";
  const TClientRiskRecord byCode("FIRM9", "C77");
  EXPECT_EQ(module.OpenPrepOrdersDlg(&byCode, pattern), 0) << "an account that is the window's client code";
  EXPECT_EQ(Menu(), (std::vector<std::string>{"Подать:0", "Подать все:1", "Удалить:0", "Удалить все:1", "Снять:0",
                                              "Пересчитать:1"}))
      << "nothing selected";
}

TEST_F(PrepOrdersWindowTest, AQuantityIsEditedInPlace) {
  EditCell(0, 7, "5");
  EXPECT_EQ(Cell(0, 7), "5");
  EXPECT_EQ(Field(1124), "1.00") << "50,000 / 50,000";
  EXPECT_TRUE(Shown(1125)) << "5 lots do not reach 1.3";
  EditCell(0, 7, "");
  EXPECT_EQ(Cell(0, 7), "5") << "an empty text keeps the old value";
  EXPECT_EQ(CellEditor(), nullptr);
  answers = {9001};
  Command(kSendAll);
  DoubleClick(0, 7);
  EXPECT_EQ(CellEditor(), nullptr) << "a sent line is not edited";
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find("QUANTITY=5[]"), std::string::npos);
}

TEST_F(PrepOrdersWindowTest, DeleteRemovesTheSelectedLineAndNeverASentOne) {
  answers = {9001};
  Command(kSendAll);
  Command(kRecalc);  // the sent line stays; a new one of the same security joins it
  ASSERT_EQ(Rows(), 2);
  Select(1);
  EXPECT_EQ(Menu()[2], "Удалить:1");
  Command(kDelete);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(Window()->Store().Find("ACC1FIRM1")->front()->TransId, 9001);
  Select(0);
  EXPECT_EQ(Menu()[2], "Удалить:0");
  Command(kDelete);
  Command(kDeleteAll);
  EXPECT_EQ(Rows(), 1) << "the order at the exchange stays in view";
  Command(kSendAll);
  EXPECT_EQ(sent.size(), 1u) << "and is never sent again";
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
  Select(0);
  EXPECT_EQ(Menu()[4], "Снять:1");
  Command(kWithdraw);
  EXPECT_EQ(sent.back(), "0 1 OrderNum=555[]");
  Order(9001, 2, 555);
  EXPECT_EQ(Window(), nullptr) << "nothing left to send or follow: the window closes itself";
}

TEST_F(PrepOrdersWindowTest, ClosingAsksOnlyAboutLinesNotSent) {
  {
    DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
    Window()->EndDialog(2);
    EXPECT_EQ(cancel.Text(), "В таблице имеются неподанные заявки (1) по закрытию позиций клиента C77. Вы уверены, "
                             "что хотите закрыть окно?");
  }
  ASSERT_NE(Window(), nullptr) << "refused";
  answers = {9001};
  Command(kSendAll);
  Window()->EndDialog(2);  // an order in flight is no unsent line: nothing is asked
  EXPECT_EQ(Window(), nullptr);
}

}  // namespace
