// The closing-orders preparation window driven with messages under Xvfb:
// formed lines shown, a quantity edited in place, the selected line
// deleted, lines sent and withdrawn, advanced by the host's order records.
#include "closing_orders_fixture.h"

#include "host/standin/host_records.h"
#include "windows/dialogs/prep_orders_dlg.h"

#include <commctrl.h>

namespace {
constexpr int kList = 1106;
enum : int { kSend = 40075, kSendAll = 40076, kDelete = 40077, kDeleteAll = 40078, kWithdraw = 40084, kRecalc = 40079 };

// The digits of a cell ("100 000" with the user's grouping is 100000).
std::string Digits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

class PrepOrdersWindowTest : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    // A client of 10 RIZ6 long (lot margin 10,000) whose funds sufficiency of
    // 0.5 must reach 1.3: 7 lots close (see cases/closing_orders.txt).
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    client = module.Clients().Find("FIRM1", "ACC1");
    ASSERT_NE(client, nullptr);
    lstrcpynA(client->clientCode, "C77", sizeof client->clientCode);
    lstrcpynA(client->secondFirm, "FIRM2", sizeof client->secondFirm);
    client->plannedNetPosition = -50000, client->currentNetPosition = client->currentNetPositionOpen = 100000;
    client->sfr = 0.5;
    module.Closing().SecsForClosing = {"RIZ6"};
    pattern.ParamIdx = 18, pattern.BoundaryValue = 1.3;
  }

  CVantrelPrepOrdersDlg* Open() {
    EXPECT_EQ(module.OpenPrepOrdersDlg(client, pattern), 1);
    return Window();
  }
  // The preparation window among the host's frame windows.
  CVantrelPrepOrdersDlg* Window() {
    for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
      if (auto* prep = dynamic_cast<CVantrelPrepOrdersDlg*>(CZPluginChildWnd::GetWindowObject(frame))) return prep;
    return nullptr;
  }
  HWND List() { return GetDlgItem(Window()->GetDialogWindow(), kList); }
  int Rows() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
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
  void Select(int row) {
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(List(), LVM_SETSELECTIONMARK, 0, row);
  }
  // The host hands the window the command of its popup menu.
  void Command(int ownId) {
    SendMessageA(Window()->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(ownId), 0), 0);
  }
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
  void DoubleClick(int row, int column) {
    RECT cell = {};
    cell.top = column, cell.left = LVIR_LABEL;
    SendMessageA(List(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(List(), WM_LBUTTONUP, 0, at);
    SendMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  }
  // Types the text into the cell editor and leaves it.
  void EditCell(int row, int column, const char* text) {
    DoubleClick(row, column);
    HWND edit = FindWindowExA(List(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, text);
    SetFocus(List());
  }
  void Order(int32_t transId, uint32_t flags, int64_t number) {
    OrderSpec spec;
    spec.key = transId, spec.number = number, spec.flags = flags, spec.transactionId = transId;
    spec.firm = "FIRM2", spec.account = "C77";  // the second firm the order carried
    SYSTEMTIME time = {2026, 12, 1, 7, 10, 15, 30, 0};
    FILETIME fileTime;
    SystemTimeToFileTime(&time, &fileTime);
    spec.valueA = fileTime.dwLowDateTime, spec.valueB = fileTime.dwHighDateTime;
    const PushedRecord record = BuildOrder(spec);
    module.OnHostCommand(1, record.code, record.bytes.data(), static_cast<uint32_t>(record.bytes.size()));
  }

  std::vector<uint8_t> position = PositionRecord({"FIRM1", "ACC1", "RIZ6", 1, 10});
  TClientRiskRecord* client = nullptr;
  TClosingPattern pattern;
};

TEST_F(PrepOrdersWindowTest, ShowsTheFormedLineAndTheLevels) {
  ASSERT_NE(Open(), nullptr);
  EXPECT_STREQ(Window()->GetTitle(), "Заявки на закрытие позиций по клиенту C77");
  ASSERT_EQ(Rows(), 1);
  const std::vector<std::string> expected = {"FIRM1", "C77", "ACC1", "SPBFUT", "RIZ6", "Продажа"};
  for (int column = 0; column < 6; ++column) EXPECT_EQ(Cell(0, column), expected[column]) << column;
  EXPECT_EQ(Digits(Cell(0, 6)), "100000");
  EXPECT_EQ(Cell(0, 7), "7");
  EXPECT_EQ(Cell(0, 8), "Подготовлена");
  EXPECT_EQ(Cell(0, 9), "") << "no number before the host reports one";
  EXPECT_EQ(Field(1122), "Достаточность средств");
  EXPECT_EQ(Field(1123), "1.30");
  EXPECT_EQ(Field(1124), "1.67");  // 50,000 / 30,000
  EXPECT_FALSE(Shown(1125));
  EXPECT_EQ(module.OpenPrepOrdersDlg(client, pattern), 0) << "the client's window is open";
  EXPECT_EQ(Menu(), (std::vector<std::string>{"Подать:0", "Подать все:1", "Удалить:0", "Удалить все:1", "Снять:0",
                                              "Пересчитать:1"}))
      << "nothing selected";
}

TEST_F(PrepOrdersWindowTest, AQuantityIsEditedInPlace) {
  ASSERT_NE(Open(), nullptr);
  EditCell(0, 7, "5");
  EXPECT_EQ(Cell(0, 7), "5");
  EXPECT_EQ(Field(1124), "1.00") << "50,000 / 50,000";
  EXPECT_TRUE(Shown(1125)) << "5 lots do not reach 1.3";
  EditCell(0, 7, "");
  EXPECT_EQ(Cell(0, 7), "5") << "an empty text keeps the old value";
  EXPECT_EQ(FindWindowExA(List(), nullptr, "Edit", nullptr), nullptr);
  answers = {9001};
  Command(kSendAll);
  DoubleClick(0, 7);
  EXPECT_EQ(FindWindowExA(List(), nullptr, "Edit", nullptr), nullptr) << "a sent line is not edited";
  EXPECT_EQ(Sent().size(), 1u);
  EXPECT_NE(Sent()[0].find("QUANTITY=5[]"), std::string::npos);
}

TEST_F(PrepOrdersWindowTest, DeleteRemovesTheSelectedLineAndNeverASentOne) {
  ASSERT_NE(Open(), nullptr);
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
  EXPECT_EQ(Sent().size(), 1u) << "and is never sent again";
}

TEST_F(PrepOrdersWindowTest, OrderRecordsAdvanceTheLinesAndAnActiveOrderIsWithdrawn) {
  ASSERT_NE(Open(), nullptr);
  answers = {9001};
  Select(0);
  Command(kSend);
  EXPECT_EQ(Sent().back().substr(0, 42), "0 0 CLIENT_CODE=FIRM2[]|ACCOUNT=ACC1[]|CLA");
  Order(-1, 1, 1);
  Order(4242, 1, 1);
  EXPECT_EQ(Cell(0, 8), "Подготовлена") << "ids the plug-in never sent, or none, match nothing";
  Order(9001, 1, 555);
  EXPECT_EQ(Cell(0, 8), "Активна");
  EXPECT_EQ(Cell(0, 9), "555");
  EXPECT_EQ(Cell(0, 10), "10:15:30");
  Select(0);
  EXPECT_EQ(Menu(), (std::vector<std::string>{"Подать:0", "Подать все:1", "Удалить:0", "Удалить все:1",
                                              "Снять:1", "Пересчитать:1"}));
  Command(kWithdraw);
  EXPECT_EQ(Sent().back(), "0 1 OrderNum=555[]");
  Order(9001, 2, 555);
  EXPECT_EQ(Window(), nullptr) << "nothing left to send or follow: the window closes itself";
}

TEST_F(PrepOrdersWindowTest, ClosingAsksOnlyAboutLinesNotSent) {
  ASSERT_NE(Open(), nullptr);
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
