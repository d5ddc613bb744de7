// The closing-orders table with the module and the stand-in exchange: orders
// the plug-in sent are answered by the exchange through the host's record
// intake, become rows with their cells, pass the table's filters, are
// withdrawn from the table, and the table's filter survives a restore.
#include "host/standin/host_records.h"
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "host/zlist/zlist_readback.h"
#include "module/vantrel_module.h"
#include "sdk/host_call.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "windows/tables/order_cells.h"
#include "windows/tables/orders_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
// An order of the exchange's form, as the closing engine writes one.
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
    SecuritySpec brent{"SPBFUT", "BRF7"}, rts{"SPBFUT", "RIZ6"};
    brent.name = "Brent-1.17";
    brent.priceDecimals = 2;
    rts.name = "RTS-12.26";
    host.Records().AddSecurity(brent);
    host.Records().AddSecurity(rts);
    host.Market().SetParameter(0, "last", 75.5);
    host.Market().SetParameter(1, "last", 100000);
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), plugin.Callbacks(), "", CVantrelModule::kHostVersion,
                                      0, &code, text, sizeof text));
    plugin.SendUiInfo();
    for (const LimitSpec& limit : {LimitSpec{1, "MC0001", "A90001"}, LimitSpec{2, "MC0002", "B00001"},
                                   LimitSpec{3, "MC0001", "A90002"}})
      PushRecord(plugin, BuildLimit(limit));
  }
  void TearDown() override {
    while (!module.Tables().empty()) DestroyWindow(module.Tables().front()->GetHwnd());
  }

  // The plug-in's closing order: sent, its transaction noted as the
  // preparation window notes it.
  void Send(const std::string& text) {
    char error[1024] = {};
    int32_t id = -1;
    HostCall<48>(0, 0, text.c_str(), 1, error, &id);
    module.ClosingOrders().NoteSentTransaction(id);
  }
  // Active sell 1 (MC0001, C001), buy 2 filled at the market (MC0002, C002)
  // and sell 3 that the test withdraws (MC0001, C003).
  void SendThreeOrders() {
    Send(Order("C001", "A90001", "BRF7", "S", "80.25", "3", "VanTrel close"));
    Send(Order("C002", "B00001", "RIZ6", "B", "100010", "2", "VanTrel close"));
    Send(Order("C003", "A90002", "RIZ6", "S", "100500", "1", "Other Vantrel"));
    char error[1024] = {};
    int32_t foreign = -1;  // someone else's order: not the plug-in's to show
    HostCall<48>(0, 0, Order("C009", "A90001", "RIZ6", "S", "100900", "1", "").c_str(), 1, error, &foreign);
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
  void FilterBy(host::FilterSelection* filter, host::ItemList* items, const char* text, uint32_t mode = 0) {
    HostCall<160>(HostCall<52>(items, text), filter);
    filter->reserved1 = mode;
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
  OrderSpec spec;
  spec.number = 1234567;
  spec.flags = 8 | 32 | 4 | 2;
  spec.comment = std::string(40, 'c');  // longer than its field: cut at 34
  spec.firm = "MC0001";
  spec.price = 12345;
  spec.quantity = 12000;
  spec.balance = 500;
  spec.volume = 148140000;
  spec.coupon = 0;
  spec.yield = 7;
  spec.transactionId = 4000000000u;
  spec.repurchasePrice = 12345;
  spec.activationTime = 93015;
  spec.sourceNumber = 0;
  spec.expiry = 20240131;
  spec.orderTime = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  const std::vector<uint8_t> record = BuildOrder(spec).bytes;
  const struct { int column; const char* text; double value; } cases[] = {
      {1, "1234567", 1234567}, {2, "09:30:15", 93015}, {3, "Продажа", 0},
      {4, "cccccccccccccccccccccccccccccccccc", 0}, {6, "MC0001", 0}, {8, "Brent-1.17", 0},
      {9, "123,45", 123.45},  // the stored price in units of the security's second decimal
      {10, "12 000", 12000}, {12, "500", 500}, {13, "1 481 400,00", 1481400}, {14, "", 0}, {15, "", 0},
      {16, "31.01.2024", 0}, {17, "7,00", 7}, {18, "Снята", 0}, {19, "ЛНС", 0}, {20, "", 0}, {21, "BRF7", 0},
      {22, "SPBFUT", 0}, {25, "4000000000", 4e9}, {26, "31.01.2024", 20240131},
      {29, "12 345,00", 12345},  // stored as it is, with the security's decimals
      {31, "", 0}, {32, "", 0}, {34, "09:30:15", 93015}, {35, "Нет", 0}, {23, "", 0},
  };
  const uint8_t* security = static_cast<const uint8_t*>(HostCall<33>(3, 560, 0));
  const uint8_t* classRecord = static_cast<const uint8_t*>(HostCall<33>(2, 1144, 0));
  for (const auto& c : cases) {
    char text[64] = "untouched";
    EXPECT_DOUBLE_EQ(OrderCellText(c.column, record.data(), security, classRecord, text, sizeof text), c.value)
        << c.column;
    EXPECT_STREQ(text, c.text) << c.column;
  }
  // The host's number of decimals is bounded: at most 10, none below 0.
  SecuritySpec odd{"SPBFUT", "ODD1"};
  odd.priceDecimals = 300;
  const uint8_t* many = static_cast<const uint8_t*>(HostCall<33>(3, 560, host.Records().AddSecurity(odd)));
  odd.priceDecimals = -5;
  const uint8_t* negative = static_cast<const uint8_t*>(HostCall<33>(3, 560, host.Records().AddSecurity(odd)));
  for (const auto& c : {std::make_pair(many, "0,0000012345"), std::make_pair(negative, "12 345")}) {
    char text[64];
    OrderCellText(9, record.data(), c.first, classRecord, text, sizeof text);
    EXPECT_STREQ(text, c.second);
  }
  // Each state and kind by its flags; an expiry of none, an order not yet activated.
  spec.flags = 1;
  spec.expiry = -1;
  spec.activationTime = 0;
  const std::vector<uint8_t> active = BuildOrder(spec).bytes;
  spec.flags = 64 | 16;
  spec.expiry = 0;
  const std::vector<uint8_t> executed = BuildOrder(spec).bytes;
  const struct { const std::vector<uint8_t>* order; int column; const char* text; double value; } kinds[] = {
      {&active, 18, "Активна", 0}, {&active, 3, "Купля", 0},  {&active, 19, "РНО", 0}, {&active, 16, "", 0},
      {&active, 34, "", -1},       {&executed, 18, "Исполнена", 0}, {&executed, 19, "РРО", 0},
      {&executed, 35, "Да", 0},    {&executed, 16, "До отмены", 0},
  };
  for (const auto& c : kinds) {
    char text[64];
    EXPECT_DOUBLE_EQ(OrderCellText(c.column, c.order->data(), security, classRecord, text, sizeof text), c.value);
    EXPECT_STREQ(text, c.text) << c.column;
  }
}

TEST_F(OrdersTableTest, TheTableShowsTheAnswersToThePluginsOwnOrders) {
  SendThreeOrders();
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(Keys(table), "1 2 3 ") << "the fourth order is not the plug-in's";
  HWND list = table->GetView()->GetList();
  const auto cell = [&](int line, int id) {
    char text[128] = {};
    ZListInspectCell(list, line, table->GetView()->IndexOfColumn(id), text, sizeof text, nullptr, nullptr);
    return std::string(text);
  };
  const struct { int line, id; const char* text; } cases[] = {
      {1, 1, "1000001"}, {1, 3, "Продажа"}, {1, 4, "VanTrel close"}, {1, 7, "A90001"}, {1, 8, "Brent-1.17"},
      {1, 9, "80,25"}, {1, 10, "3"}, {1, 12, "3"}, {1, 13, "240,75"}, {1, 18, "Активна"}, {1, 33, "EXCH"},
      {2, 3, "Купля"}, {2, 9, "100 010"}, {2, 12, "0"}, {2, 18, "Исполнена"}, {3, 18, "Активна"},
  };
  for (const auto& c : cases) EXPECT_EQ(cell(c.line, c.id), c.text) << c.line << " " << c.id;
  // The time column shows the order's time as text.
  const auto* first = static_cast<const ClosingOrderRecord*>(table->GetView()->GetRowObject(1));
  FILETIME time;
  std::memcpy(&time, first->bytes + 348, sizeof time);
  SYSTEMTIME parts;
  FileTimeToSystemTime(&time, &parts);
  char expected[16];
  snprintf(expected, sizeof expected, "%02d:%02d:%02d", parts.wHour, parts.wMinute, parts.wSecond);
  EXPECT_EQ(cell(1, 2), expected);

  // The order arriving later updates its line in place.
  host.Exchange().Fill(1, 1);
  host.Exchange().Deliver(plugin);
  EXPECT_EQ(cell(1, 12), "2");
  EXPECT_EQ(Keys(table), "1 2 3 ");

  // An order of a security the host does not describe is a line of empty cells.
  OrderSpec unknown;
  unknown.key = 9;
  unknown.number = 5;
  unknown.transactionId = 77;
  unknown.securityIndex = 99;
  module.ClosingOrders().NoteSentTransaction(77);
  PushRecord(plugin, BuildOrder(unknown));
  EXPECT_EQ(Keys(table), "1 2 3 9 ");
  char text[16] = "untouched";
  int flag = -1;
  EXPECT_EQ(table->GetCellText(0, table->GetView()->IndexOfColumn(1), table->GetView()->GetRowObject(4), text, &flag), 0);
  EXPECT_STREQ(text, "");
}

TEST_F(OrdersTableTest, TheCommentIsSearchedWithinItsOwnField) {
  // A comment that fills its field to the last byte, the trader's name after it.
  OrderSpec spec;
  spec.key = 1;
  spec.transactionId = 5;
  spec.securityIndex = 1;
  spec.trader = "VanTrel";
  std::vector<uint8_t> bytes = BuildOrder(spec).bytes;
  std::memset(bytes.data() + 20, 'x', 35);
  module.ClosingOrders().NoteSentTransaction(5);
  module.OnHostCommand(1, 32973, bytes.data(), static_cast<uint32_t>(bytes.size()));
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  module.Closing().FilterOrdersByComment = true;
  for (const auto& c : {std::make_pair("VanTrel", ""), std::make_pair("xxxxx", "1 ")}) {
    module.Closing().Comment = c.first;
    table->FillRows();
    EXPECT_EQ(Keys(table), c.second) << c.first;
  }
}

TEST_F(OrdersTableTest, TheActiveOrderIsWithdrawnFromTheTable) {
  SendThreeOrders();
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const auto withdrawState = [&](int line) {
    table->GetView()->SetSelection(line, 1);
    HMENU menu = CreatePopupMenu();
    table->OnContextMenu(menu, -1, -1);
    const UINT state = GetMenuState(menu, kCommandWithdrawOrder, MF_BYCOMMAND);
    DestroyMenu(menu);
    return (state & MF_GRAYED) != 0 ? "greyed" : "enabled";
  };
  EXPECT_STREQ(withdrawState(2), "greyed") << "an executed order";
  EXPECT_STREQ(withdrawState(3), "enabled");
  host.Log().Clear();
  SendMessageA(table->GetHwnd(), WM_COMMAND, kCommandWithdrawOrder, 0);
  host.Exchange().Deliver(plugin);
  EXPECT_EQ(host.Log().Details(48), (std::vector<std::string>{"0 1 OrderNum=1000003[]"}));
  EXPECT_STREQ(withdrawState(3), "greyed") << "withdrawn";
  // A double click on a line withdraws its order too.
  table->GetView()->SetSelection(1, 1);
  ZListCommandRecord command = {};
  command.line = 1;
  LRESULT answer = 0;
  table->OnListCommand(&command, ZLIST_CMD_DOUBLE_CLICK, &answer);
  host.Exchange().Deliver(plugin);
  EXPECT_EQ(host.Exchange().Transactions().back().text, "OrderNum=1000001[]");
  EXPECT_EQ(host.Exchange().Orders()[0].flags & 3, 2u);
}

TEST_F(OrdersTableTest, OnlyTheOrdersTheFilterAcceptsAreRows) {
  SendThreeOrders();
  host.Exchange().Withdraw(3);
  host.Exchange().Deliver(plugin);
  CVantrelOrdersTable* table = OpenTable();
  ASSERT_NE(table, nullptr);
  const TOrdersFilterLists lists = module.OrdersFilterLists();
  const struct {
    const char* name;
    const char* shown;  // active, executed, withdrawn, buy, sell
    bool byComment;
    const char* comment;
    int filter;  // 0 none, 1 firm, 2 client, 3 account, 4 account excluded
    const char* keys;
  } cases[] = {
      {"all", "11111", false, "", 0, "1 2 3 "},
      {"none", "00000", false, "", 0, ""},
      {"active", "10011", false, "", 0, "1 "},
      {"executed", "01011", false, "", 0, "2 "},
      {"withdrawn", "00111", false, "", 0, "3 "},
      {"buy", "11110", false, "", 0, "2 "},
      {"sell", "11101", false, "", 0, "1 3 "},
      {"comment, case-sensitive", "11111", true, "VanTrel", 0, "1 2 "},
      {"empty comment", "11111", true, "", 0, "1 2 3 "},
      {"firm", "11111", false, "", 1, "2 "},
      {"client", "11111", false, "", 2, "3 "},
      {"account", "11111", false, "", 3, "1 "},
      {"account excluded", "11111", false, "", 4, "2 3 "},
  };
  for (const auto& c : cases) {
    bool* flags[] = {&table->showActive, &table->showExecuted, &table->showWithdrawn, &table->showBuy,
                     &table->showSell};
    for (int n = 0; n < 5; ++n) *flags[n] = c.shown[n] == '1';
    module.Closing().FilterOrdersByComment = c.byComment;
    module.Closing().Comment = c.comment;
    for (host::FilterSelection* filter : {table->GetFirmFilter(), table->GetClientFilter(), table->GetAccountFilter()})
      HostCall<54>(filter);
    if (c.filter == 1) FilterBy(table->GetFirmFilter(), lists.firms, "MC0002");
    if (c.filter == 2) FilterBy(table->GetClientFilter(), lists.clients, "C003 (MC0001)");
    if (c.filter >= 3) FilterBy(table->GetAccountFilter(), lists.accounts, "A90001", c.filter == 4 ? 1 : 0);
    table->FillRows();
    EXPECT_EQ(Keys(table), c.keys) << c.name;
  }
}

TEST_F(OrdersTableTest, TheFilterChosenInTheDialogSurvivesARestore) {
  SendThreeOrders();
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
  ASSERT_TRUE(module.Tables().empty());

  ASSERT_EQ(host.SdkWindows().RestoreLayout(plugin.Callbacks()), 1);
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
