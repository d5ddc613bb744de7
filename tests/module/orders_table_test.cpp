// The closing-orders table with the module and the stand-in exchange: the
// plug-in's orders answered by the exchange through the host's record intake
// become rows with their cells, pass the table's filters, are withdrawn from
// the table, and the filter chosen in the dialog survives a restore.
#include "host/standin/host_records.h"
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "host/zlist/zlist_readback.h"
#include "module/case_table.h"
#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"
#include "windows/tables/order_cells.h"
#include "windows/tables/orders_table.h"
#include "windows/tables/risk_params_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {
// The module's book notes the lines the plug-in sent; one that the test
// knows only by its transaction id.
void NoteSent(CVantrelModule& module, int32_t id) {
  TOrderLine line;
  line.TransId = id;
  module.ClosingOrders().NoteSentOrder(line);
}

// The case files are UTF-8; the plug-in writes its texts in code page 1251.
std::string Ansi(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], int(wide.size())));
  std::string text(wide.size() * 2, '\0');
  text.resize(WideCharToMultiByte(1251, 0, wide.data(), int(wide.size()), &text[0], int(text.size()), nullptr, nullptr));
  return text;
}

std::string Order(const char* client, const char* account, const char* security, const char* operation,
                  const char* price, const char* quantity, const char* comment) {
  return std::string("ACTION=NEW_ORDER[]|CLIENT_CODE=") + client + "[]|ACCOUNT=" + account +
         "[]|CLASSCODE=SPBFUT[]|SECCODE=" + security + "[]|OPERATION=" + operation + "[]|PRICE=" + price +
         "[]|QUANTITY=" + quantity + "[]|TYPE=L[]|COMMENT=" + comment + "[]|";
}

class OrdersTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    host.Records().AddClass({"SPBFUT", 0x48});
    host.Records().AddForm(0, {0x4, 1, 1, OrderFormFields()});
    host.Records().AddForm(0, {0x1});
    // Brent with 2 price decimals, RTS with none, and two with decimals out of bounds.
    for (const auto& security : {std::make_pair("BRF7", 2), {"RIZ6", 0}, {"X1", 300}, {"X2", -5}}) {
      SecuritySpec described{"SPBFUT", security.first};
      described.name = std::string(security.first) + " name";
      described.priceDecimals = static_cast<int16_t>(security.second);
      host.Records().AddSecurity(described);
    }
    host.Market().SetParameter(0, "last", 75.5);
    host.Market().SetParameter(1, "last", 100000);
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion, plugin.Callbacks()));
    plugin.SendUiInfo();
    for (const LimitSpec& limit : {LimitSpec{1, "MC0001", "A90001"}, LimitSpec{2, "MC0002", "B00001"},
                                   LimitSpec{3, "MC0001", "A90002"}})
      PushRecord(plugin, BuildLimit(limit));
  }
  void TearDown() override {
    while (!module.Tables().empty()) DestroyWindow(module.Tables().front()->GetHwnd());
  }

  // Sent, and noted as the preparation window notes the plug-in's orders
  // unless `foreign`.
  void Send(const std::string& text, bool foreign = false) {
    char error[1024] = {};
    int32_t id = -1;
    HostCall<48>(0, 0, text.c_str(), 1, error, &id);
    if (!foreign) NoteSent(module, id);
  }
  // Active sell 1 (MC0001, C001), buy 2 filled at the market (MC0002, C002),
  // active sell 3 (MC0001, C003) and someone else's order.
  void SendOrders() {
    Send(Order("C001", "A90001", "BRF7", "S", "80.25", "3", "VanTrel close"));
    Send(Order("C002", "B00001", "RIZ6", "B", "100010", "2", "VanTrel close"));
    Send(Order("C003", "A90002", "RIZ6", "S", "100500", "1", "Other Vantrel"));
    Send(Order("C009", "A90001", "RIZ6", "S", "100900", "1", ""), true);
    host.Exchange().Deliver(plugin);
  }
  CVantrelOrdersTable* OpenTable() {
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    module.OnMenuCommand(host.Frame(), 40074, false);
    return module.Tables().empty() ? nullptr : dynamic_cast<CVantrelOrdersTable*>(module.Tables().back());
  }
  // The order keys of the table's lines, in list order.
  static std::string Keys(CVantrelOrdersTable* table) {
    std::string keys;
    for (int line = 1; line < table->GetView()->GetRowCount(); ++line)
      keys += std::to_string(*static_cast<int32_t*>(table->GetView()->GetRowObject(line))) + " ";
    return keys;
  }
  // The text of the cell at a line, by column id.
  static std::string Cell(CVantrelOrdersTable* table, int line, int id) {
    char text[128] = {};
    ZListInspectCell(table->GetView()->GetList(), line, table->GetView()->IndexOfColumn(id), text, sizeof text,
                     nullptr, nullptr);
    return std::string(text);
  }
  // How the context menu offers the withdrawal with the line selected.
  static const char* Withdrawal(CVantrelOrdersTable* table, int line) {
    table->GetView()->SetSelection(line, 1);
    HMENU menu = CreatePopupMenu();
    table->OnContextMenu(menu, -1, -1);
    const UINT state = GetMenuState(menu, kCommandWithdrawOrder, MF_BYCOMMAND);
    DestroyMenu(menu);
    return (state & MF_GRAYED) != 0 ? "greyed" : "enabled";
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  PluginLibrary plugin{host};
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

TEST_F(OrdersTableTest, EveryCellOfAnOrderShowsItsField) {
  SYSTEMTIME moment = {2024, 1, 3, 31, 9, 30, 15, 0};
  FILETIME time;
  SystemTimeToFileTime(&moment, &time);
  OrderSpec order;
  order.number = 1234567, order.flags = 8 | 32 | 4 | 2, order.firm = "MC0001", order.yield = 7;
  order.comment = std::string(40, 'c');  // longer than its field: cut at 34
  order.price = order.repurchasePrice = 12345, order.quantity = 12000, order.balance = 500, order.volume = 148140000;
  order.transactionId = 4000000000u, order.activationTime = 93015, order.expiry = 20240131;
  order.orderTime = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  const std::vector<uint8_t> withdrawn = BuildOrder(order).bytes;
  order.flags = 1, order.expiry = -1, order.activationTime = 0;
  const std::vector<uint8_t> active = BuildOrder(order).bytes;
  order.flags = 64 | 16, order.expiry = 0, order.sourceNumber = 7654321;
  const std::vector<uint8_t> executed = BuildOrder(order).bytes;
  const std::map<std::string, const std::vector<uint8_t>*> orders = {
      {"withdrawn", &withdrawn}, {"active", &active}, {"executed", &executed}};
  const auto* classRecord = static_cast<const uint8_t*>(HostCall<33>(2, 1144, 0));
  RunCaseTable("order_cells.txt", {{"Cell", [&](const CaseRow& c) {
                 const auto* security = static_cast<const uint8_t*>(HostCall<33>(3, 560, int(c[1])));
                 char text[64] = "untouched";
                 EXPECT_DOUBLE_EQ(OrderCellText(int(c[2]), orders.at(c.Text(0))->data(), security, classRecord, text,
                                                sizeof text),
                                  c[4]);
                 EXPECT_EQ(text, Ansi(c.Text(3)));
               }}});
}

TEST_F(OrdersTableTest, ThePluginsOrdersAreRowsAndAnActiveOneIsWithdrawn) {
  SendOrders();
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(Keys(table), "1 2 3 ");
  const struct { int line, id; const char* text; } cases[] = {
      {1, 4, "VanTrel close"}, {1, 7, "A90001"}, {1, 9, "80,25"}, {1, 18, "Активна"}, {2, 18, "Исполнена"},
  };
  for (const auto& c : cases) EXPECT_EQ(Cell(table, c.line, c.id), c.text) << c.line << " " << c.id;
  EXPECT_TRUE(std::regex_match(Cell(table, 1, 2), std::regex("\\d\\d:\\d\\d:\\d\\d"))) << "the time, as text";
  void* rows[] = {table->GetView()->GetRowObject(1), table->GetView()->GetRowObject(2)};
  char text[64];
  int textFlag = 0;
  table->GetCellValue(0, table->GetView()->IndexOfColumn(2), rows[0], text, 0, &textFlag);
  EXPECT_EQ(textFlag, 1) << "the list's services take a time as its text";
  table->GetCellValue(0, table->GetView()->IndexOfColumn(2), rows[0], text, 0, nullptr);
  // Rows in the host's row order; no row before any row.
  const struct { void *a, *b; int order; } orders[] = {
      {rows[0], rows[0], 0}, {nullptr, rows[0], -1}, {rows[0], nullptr, 1}, {rows[0], rows[1], -1}, {rows[1], rows[0], 1}};
  for (const auto& o : orders) EXPECT_EQ(table->CompareRows(o.a, o.b), o.order);

  // A later answer updates its line; a transaction the host gave no id answers nothing.
  host.Exchange().Fill(1, 1);
  host.Exchange().Deliver(plugin);
  OrderSpec none;
  none.key = 7, none.transactionId = 0xFFFFFFFFu;
  NoteSent(module, -1);
  PushRecord(plugin, BuildOrder(none));
  EXPECT_EQ(Cell(table, 1, 12), "2");
  EXPECT_EQ(Keys(table), "1 2 3 ");

  EXPECT_STREQ(Withdrawal(table, 2), "greyed") << "an executed order";
  EXPECT_STREQ(Withdrawal(table, 3), "enabled");
  host.Log().Clear();
  SendMessageA(table->GetHwnd(), WM_COMMAND, kCommandWithdrawOrder, 0);
  host.Exchange().Deliver(plugin);
  EXPECT_EQ(host.Log().Details(48), (std::vector<std::string>{"0 1 OrderNum=1000003[]"}));
  EXPECT_EQ(Cell(table, 3, 18), "Снята");
  EXPECT_STREQ(Withdrawal(table, 3), "greyed");
  // A double click on a line withdraws its order too.
  table->GetView()->SetSelection(1, 1);
  ZListCommandRecord command = {};
  command.line = 1;
  LRESULT answer = 0;
  table->OnListCommand(&command, ZLIST_CMD_DOUBLE_CLICK, &answer);
  host.Exchange().Deliver(plugin);
  EXPECT_EQ(Cell(table, 1, 18), "Снята");
}

// The host replays its first answers, every order active, after one order
// was executed and one withdrawn: a late record never takes a settled order
// back, in the table, in the count of active orders or for the withdrawal.
TEST_F(OrdersTableTest, ALateRecordNeverTakesASettledOrderBack) {
  SendOrders();
  host.Exchange().Withdraw(3);
  host.Exchange().Deliver(plugin);
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const struct { int32_t key, security; const char* firm, *account; } replayed[] = {
      {1, 0, "MC0001", "A90001"}, {2, 1, "MC0002", "B00001"}, {3, 1, "MC0001", "A90002"}};
  for (const auto& r : replayed) {
    OrderSpec order;
    order.key = r.key, order.transactionId = static_cast<uint32_t>(r.key), order.flags = 1 | 8;
    order.number = 1000000 + r.key, order.firm = r.firm, order.account = r.account, order.securityIndex = r.security;
    order.quantity = order.balance = 7;
    PushRecord(plugin, BuildOrder(order));
  }
  const struct { int line; const char* state, *withdrawal, *balance; } expected[] = {
      {1, "Активна", "enabled", "7"}, {2, "Исполнена", "greyed", "0"}, {3, "Снята", "greyed", "1"}};
  for (const auto& e : expected) {
    EXPECT_EQ(Cell(table, e.line, 18), e.state) << e.line;
    EXPECT_STREQ(Withdrawal(table, e.line), e.withdrawal) << e.line;
    EXPECT_EQ(Cell(table, e.line, 12), e.balance) << e.line << ": an active order takes the later record whole";
  }
  EXPECT_EQ(module.ActiveClosingOrderClients().size(), 1u) << "only A90001's order is active";
}

TEST_F(OrdersTableTest, OnlyTheOrdersTheFilterAcceptsAreRows) {
  SendOrders();
  host.Exchange().Withdraw(3);
  host.Exchange().Deliver(plugin);
  // An executed purchase of a security the host does not describe, its comment
  // filling its field to the last byte and the trader's name after it.
  OrderSpec order;
  order.key = 4, order.transactionId = 77, order.securityIndex = 99, order.trader = "VanTrel";
  std::vector<uint8_t> bytes = BuildOrder(order).bytes;
  std::memset(bytes.data() + 20, 'x', 35);
  NoteSent(module, 77);
  module.OnHostCommand(1, 32973, bytes.data(), static_cast<uint32_t>(bytes.size()));
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const TOrdersFilterLists lists = module.OrdersFilterLists();
  const std::map<std::string, std::pair<host::FilterSelection*, host::ItemList*>> filters = {
      {"firm", {table->GetFirmFilter(), lists.firms}}, {"client", {table->GetClientFilter(), lists.clients}},
      {"account", {table->GetAccountFilter(), lists.accounts}}, {"excluded", {table->GetAccountFilter(), lists.accounts}}};
  RunCaseTable("order_filters.txt", {{"Shown", [&](const CaseRow& c) {
                 bool* flags[] = {&table->showActive, &table->showExecuted, &table->showWithdrawn, &table->showBuy,
                                  &table->showSell};
                 for (int n = 0; n < 5; ++n) *flags[n] = c.words[0][n] == '1';
                 module.Closing().FilterOrdersByComment = c.words[1] != "-";
                 module.Closing().Comment = c.words[1];
                 for (const auto& filter : filters) HostCall<54>(filter.second.first);
                 const std::string filter = c.words[2].substr(0, c.words[2].find(' '));
                 if (!filter.empty()) {
                   const auto& f = filters.at(filter);
                   HostCall<160>(HostCall<52>(f.second, c.words[2].substr(filter.size() + 1).c_str()), f.first);
                   f.first->reserved1 = filter == "excluded" ? 1 : 0;
                 }
                 table->FillRows();
                 EXPECT_EQ(Keys(table), c.words[3] + (c.words[3].empty() ? "" : " "));
               }}});
  host.Market().SetRefreshWords(0, 1);  // the host drops the restricting filters
  SendMessageA(table->GetHwnd(), WM_TABLE_FILTER_REFRESH, 0, 0);
  EXPECT_EQ(Keys(table), "1 2 3 4 ");
  EXPECT_FALSE(table->ClearRowsOfKind(1, 0)) << "the risk tables' kind";
  EXPECT_EQ(Keys(table), "1 2 3 4 ");
  EXPECT_TRUE(table->ClearRowsOfKind(2, 0));
  EXPECT_EQ(Keys(table), "");
  char text[16] = "untouched";
  EXPECT_EQ(table->GetCellText(0, 1, module.ClosingOrderRows().back(), text, nullptr), 0);
  EXPECT_STREQ(text, "") << "no cell of an unknown security";
}

TEST_F(OrdersTableTest, AnEditChangesTheFiltersOnlyWhenConfirmed) {
  SendOrders();
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  for (int button : {IDCANCEL, IDOK}) {
    host.Market().QueueFilterChoice({"MC0002"});
    DialogDriver edit([button](HWND dialog) {
      SendMessageA(GetDlgItem(dialog, 1143), BM_CLICK, 0, 0);
      DialogDriver::Press(dialog, button);
    });
    SendMessageA(table->GetHwnd(), WM_COMMAND, kCommandEditTable, 0);
    EXPECT_EQ(Keys(table), button == IDOK ? "2 " : "1 2 3 ");
  }
  SendMessageA(host.MdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(table->GetHwnd()), 0);
  const std::vector<std::string> enabled = host.Log().Details(11);
  EXPECT_NE(std::find(enabled.begin(), enabled.end(), "424 on"), enabled.end()) << "withdrawal while it is active";
}

TEST_F(OrdersTableTest, TheFilterChosenInTheDialogSurvivesARestore) {
  SendOrders();
  host.Market().QueueFilterChoice({"MC0001"});
  // The user drops withdrawn orders and sales and keeps the orders of firm MC0001.
  DialogDriver choose([](HWND dialog) {
    for (int box : {1135, 1137, 1140}) SendMessageA(GetDlgItem(dialog, box), BM_CLICK, 0, 0);
    DialogDriver::Press(dialog, IDOK);
  });
  module.OnMenuCommand(host.Frame(), 40074, false);
  ASSERT_EQ(module.Tables().size(), 1u);
  auto* table = dynamic_cast<CVantrelOrdersTable*>(module.Tables().back());
  EXPECT_EQ(Keys(table), "") << "MC0001's orders are sales";
  EXPECT_EQ(host.Log().Details(50), (std::vector<std::string>{"Фильтр фирм"}));
  ASSERT_EQ(host.SdkWindows().SaveLayout(host.MdiClient()), 1);
  const std::vector<uint8_t>& saved = host.SdkWindows().Store().Records().back();
  EXPECT_EQ(std::vector<uint8_t>(saved.end() - 5, saved.end()), (std::vector<uint8_t>{1, 0, 1, 1, 0}))
      << "active, withdrawn, executed, buy, sell";
  DestroyWindow(table->GetHwnd());
  module.ClientsFilter().Add("C001 (MC0001)");
  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
  EXPECT_EQ(module.OrdersFilterLists().clients->count, 1) << "client texts all name their firm";
  module.ClientsFilter().Add("C001");
  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
  EXPECT_EQ(module.OrdersFilterLists().clients->count, 0) << "a client text without its firm drops the list";
  EXPECT_TRUE(module.ClientsFilter().Items().empty()) << "and the module forgets it";
  table = dynamic_cast<CVantrelOrdersTable*>(module.Tables().back());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(std::vector<bool>({table->showActive, table->showExecuted, table->showWithdrawn, table->showBuy,
                               table->showSell}),
            std::vector<bool>({true, true, false, true, false}));
  table->showSell = true;
  table->FillRows();
  EXPECT_EQ(Keys(table), "1 3 ") << "the firm filter came back";
}
}  // namespace
