// However many preparation windows hold a client's lines, however its
// accounts are united and whatever the host reports when: the orders sent
// never close more lots than the client holds or than its pattern needs, and
// nothing acts after the host is done with the plug-in.
#include "closing_orders_fixture.h"
#include "resources/resource_ids.h"
#include "support/every_heap.h"
#include "windows/dialogs/prep_orders_cells.h"
#include "windows/tables/risk_params_table.h"

#include <functional>
#include <map>
#include <sstream>

namespace {
constexpr char kCloseAll[] = "Имеются открытые окна с заявками на закрытие позиций\n\t\tЗакрыть все?";

class ClosingHoldsTest : public ClosingOrdersTest {
 protected:
  void SendAll(CVantrelPrepOrdersDlg* window) {
    SendMessageA(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(kSendAll), 0), 0);
  }
  // Lots sent per trading account, as "ACCOUNT:lots " in account order.
  std::string LotsSent() {
    std::map<std::string, int> lots;
    auto field = [](const std::string& text, const char* name) {
      const size_t at = text.find(name) + std::strlen(name);
      return text.substr(at, text.find("[]", at) - at);
    };
    for (const std::string& text : sent) lots[field(text, "ACCOUNT=")] += std::stoi(field(text, "QUANTITY="));
    std::string listed;
    for (const auto& account : lots) listed += account.first + ":" + std::to_string(account.second) + " ";
    return listed;
  }
  // A window of all clients opened beside those open, the question whether
  // to close them answered No; what it tells of lots held, taken in.
  std::vector<std::string> OpenAllClientsWindow(const TScheduleEntry* entry = nullptr) {
    DialogDriver answers(
        [](HWND box) { DialogDriver::Press(box, GetDlgItem(box, IDNO) != nullptr ? IDNO : IDOK); }, true);
    module.OpenClosingOrdersWindow(pattern, nullptr, entry != nullptr, entry);
    std::vector<std::string> told;
    for (const std::string& text : answers.Texts())
      if (text.compare(0, 6, "Клиент") == 0) told.push_back(text);
    return told;
  }
  // An account of the united client C001 of FIRM1, long 5 RIZ6; the
  // accounts share the client's values: 2 lots in all bring the funds
  // sufficiency for open positions (110,000 / 100,000) above 1.3.
  TClientRiskRecord* UnitedAccount(const char* account) {
    std::vector<uint8_t> position = PositionRecord({"FIRM1", account, "RIZ6", 1, 5});
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    TClientRiskRecord* client = module.Clients().Find("FIRM1", account);
    lstrcpynA(client->clientCode, "C001", sizeof client->clientCode);
    client->united = true;
    client->plannedNetPosition = 10000, client->currentNetPosition = client->currentNetPositionOpen = 100000;
    client->sfrOpenPositions = 1.1;
    return client;
  }
  // A record of the client's own n-th order, a sell of RIZ6 in ACC1.
  void ClientsOwnSell(int n, uint32_t flags, int64_t balance) {
    OrderSpec order;
    order.key = 100000 + n, order.flags = flags | host_data::order::kSell, order.quantity = order.balance = balance;
    order.firm = "FIRM1", order.account = "ACC1", order.clientCode = "C77";
    FindSecurityInClasses("RIZ6", 0x48, 0x900, &order.securityIndex);
    const PushedRecord record = BuildOrder(order);
    module.OnHostCommand(1, record.code, record.bytes.data(), static_cast<uint32_t>(record.bytes.size()));
  }
  // The transactions named in what was told, or in the log past its first
  // bytes, as holding lots: "9001 9002 ".
  static std::string HeldTransactions(const std::string& text, const char* naming, size_t from = 0) {
    std::string named;
    const size_t length = std::strlen(naming);
    for (size_t at = text.find(naming, from); at != std::string::npos; at = text.find(naming, at + length))
      named += text.substr(at + length, text.find_first_not_of("0123456789", at + length) - at - length) + " ";
    return named;
  }
  size_t LogSize() { return ReadFileBytes(folder.File("VantrelFM.log")).size(); }
  std::string HeldInLogSince(size_t size) {
    return HeldTransactions(ReadFileBytes(folder.File("VantrelFM.log")), "held by transaction ", size);
  }
  int AllLines(CVantrelPrepOrdersDlg* window) {
    return window->Store().Count(COrderStore::kEveryClient, [](const TOrderLine&) { return true; });
  }
};

// ACC1 (and ACC2) long 10 need 7 lots sold; never reached (target 1000),
// each closes whole. The second window's lines are held at their send.
TEST_F(ClosingHoldsTest, NoClientIsClosedBeyondItsNeedOrItsPositionWhateverWindowsSend) {
  TScheduleEntry entry;
  entry.AllClients = 1;
  auto nothingLeft = [](const char* account) {
    return "Клиент C77 (" + std::string(account) + ", FIRM1), RIZ6: осталось закрыть 0 лотов, заявка не подана: "
           "позиция уже закрывается другими заявками.";
  };
  // Ten clients: the box shows every line, and no "more".
  const std::vector<const char*> ten = {"A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08", "A09", "A10"};
  std::string tenLots, tenTold;
  for (const char* account : ten)
    tenLots += std::string(account) + ":10 ", tenTold += (tenTold.empty() ? "" : "\n") + nothingLeft(account);
  const struct {
    const char* name;
    double target;
    std::vector<const char*> accounts;
    std::function<void()> open;
    std::function<void()> beforeSends;
    const char* lots;
    std::string told;  // what the last send told
  } cases[] = {
      {"the client's window and one of all clients", 1.3, {"ACC1"},
       [&] { module.OpenPrepOrdersDlg(module.Clients().Find("FIRM1", "ACC1"), pattern), OpenAllClientsWindow(); },
       [] {}, "ACC1:7 ", nothingLeft("ACC1")},
      {"two windows of all clients, closing whole", 1000, {"ACC1", "ACC2"},
       [&] { OpenAllClientsWindow(), OpenAllClientsWindow(); }, [] {}, "ACC1:10 ACC2:10 ",
       nothingLeft("ACC1") + "\n" + nothingLeft("ACC2")},
      {"ten clients in two windows of all clients", 1000, ten, [&] { OpenAllClientsWindow(), OpenAllClientsWindow(); },
       [] {}, tenLots.c_str(), tenTold},
      // Schedule entries take the clients of the open risk tables.
      {"two schedule entries at one time", 1.3, {"ACC1"},
       [&] {
         ASSERT_NE(OpenRiskTable(), nullptr);
         ClientShortOfTarget("ACC1");
         OpenAllClientsWindow(&entry), OpenAllClientsWindow(&entry);
       },
       [] {}, "ACC1:7 ", nothingLeft("ACC1")},
      // The manager sets 4 in the first window: the second sends the 3 left.
      {"a quantity set in the first window", 1.3, {"ACC1"},
       [&] { module.OpenPrepOrdersDlg(module.Clients().Find("FIRM1", "ACC1"), pattern), OpenAllClientsWindow(); },
       [&] {
         TOrderLine* line = Windows().back()->Store().LineAt(COrderStore::KeyOf("ACC1", "FIRM1"), 0);
         line->Quantity = 4;
       },
       "ACC1:7 ", "Клиент C77 (ACC1, FIRM1), RIZ6: осталось закрыть 3 лот. из 7, заявка подана на 3: позиция уже "
                  "закрывается другими заявками."},
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    module.OnModuleStop();
    module.ClosingOrders() = CClosingOrderBook();
    ScriptedTransactions::Clear();
    pattern.BoundaryValue = c.target;
    for (const char* account : c.accounts) ClientShortOfTarget(account);
    c.open();
    ASSERT_EQ(Windows().size(), 2u) << c.name;
    c.beforeSends();
    for (int32_t id = 9001; id <= 9010; ++id) answers.push_back(id);
    // The host's frames list the window opened last first.
    SendAll(Windows().back());
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    SendAll(Windows().front());
    EXPECT_EQ(LotsSent(), c.lots) << c.name;
    EXPECT_EQ(told.Text(), c.told) << c.name;
  }
  // Whatever the log's level (here the default, 0).
  const std::string log = ReadFileBytes(folder.File("VantrelFM.log"));
  for (const char* line : {"Closing order of client C77 (ACC2, FIRM1) in RIZ6 not sent: orders sent since it was "
                           "formed close 10 lots of the position.",
                           "Closing order of client C77 (ACC1, FIRM1) in RIZ6 cut from 7 to 3 lots: orders sent since "
                           "it was formed close 4 lots of the position."})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

// U1 and U2 are one united client: what one account closes counts for the
// other, in one window and across windows. A namesake, account C001 of a
// client not united, has a window of its own.
TEST_F(ClosingHoldsTest, AUnitedClientsAccountsCloseAsOneClient) {
  pattern.ParamIdx2 = 19, pattern.MinMarginLvl = 1.3;
  TClientRiskRecord* first = UnitedAccount("U1");
  UnitedAccount("U2");
  EXPECT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 1) << "2 lots of U1, none of U2";
  ASSERT_EQ(AllLines(Window()), 1);
  EXPECT_EQ(Line("U1", 0)->Quantity, 2);
  module.ClosePrepOrdersDialogs();

  EXPECT_EQ(module.OpenPrepOrdersDlg(first, pattern), 1);
  EXPECT_EQ(module.OpenPrepOrdersDlg(module.Clients().Find("FIRM1", "U2"), pattern), 0) << "its window serves U2";
  OpenAllClientsWindow();  // formed before anything is sent: U1's 2 lots again
  answers = {9001, 9002};
  SendAll(Windows().back());
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  SendAll(Windows().front());
  EXPECT_TRUE(told.Ran());
  EXPECT_EQ(LotsSent(), "U1:2 ");
  module.ClosePrepOrdersDialogs();
  {
    // The host has not reported U1's order yet: the empty window says so.
    DialogDriver held([](HWND box) { DialogDriver::Press(box, IDOK); });
    EXPECT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 0) << "U2 closes nothing more";
    EXPECT_EQ(held.Text(), "Клиент C001 (U1, FIRM1), RIZ6: 2 лот. удерживает заявка (транзакция 9001), о которой "
                           "терминал ещё не сообщил; они освободятся, когда терминал сообщит о заявке, или в новой "
                           "сессии терминала.");
  }
  module.ClosePrepOrdersDialogs();

  // The namesake: account C001, client code C001, not united.
  TClientRiskRecord* namesake = ClientShortOfTarget("C001");
  lstrcpynA(namesake->clientCode, "C001", sizeof namesake->clientCode);
  EXPECT_EQ(module.OpenPrepOrdersDlg(namesake, pattern), 1);
  first->sfrOpenPositions = 0.5, first->plannedNetPosition = -40000;
  EXPECT_EQ(module.OpenPrepOrdersDlg(first, pattern), 1) << "the united client gets its own window";
  EXPECT_EQ(Windows().size(), 2u);
}

// What the plug-in counts as being closed follows what the host reports:
// the client's 7 lots count while the window's order is in flight or active
// and, once filled, until its position record shows them; they count for
// nothing while refused, and orders of an earlier host session count once
// reported again. A window opened for the client afterwards forms what is
// left (0) or everything again (1 line).
TEST_F(ClosingHoldsTest, LotsCountAsClosingWhileTheHostSaysSo) {
  auto stopAndStart = [&] {
    module.OnHostEvent(2, nullptr, 0, 0);
    module.OnModuleStop();
    module.OnHostEvent(1, nullptr, 0, 0);
  };
  const struct {
    const char* name;
    std::function<void()> whileSending;  // with the id the host gives
    std::deque<std::string> errorTexts;
    const char* status;
    std::function<void()> after;
    int formedAfter;
  } cases[] = {
      {"an active record during the send", [&] { Order(9001, 1, 555); }, {}, "Активна", [] {}, 0},
      {"executed during the send", [&] { Order(9001, 0, 555, {}, 0); }, {}, "", [] {}, 0},
      {"executed, then the position record", [] {}, {}, "Подготовлена",
       [&] { Order(9001, 0, 555, {}, 0), ClientShortOfTarget("ACC1"); }, 1},
      {"an error text beside the id", [] {}, {"Нет средств"}, "Отклонена: Нет средств", [] {}, 1},
      {"refused, then reported active", [] {}, {"Нет средств"}, "Отклонена: Нет средств",
       [&] { Order(9001, 1, 555); }, 0},
      {"a new host session", [] {}, {}, "Подготовлена", stopAndStart, 1},
      {"a new host session reporting it again", [] {}, {}, "Подготовлена",
       [&] { stopAndStart(), Order(9001, 1, 555); }, 0},
  };
  // The client as the host last reported it: no new position record.
  auto client = [&] {
    TClientRiskRecord* found = module.Clients().Find("FIRM1", "ACC1");
    return found != nullptr ? found : ClientShortOfTarget("ACC1");
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    module.OnModuleStop();
    ScriptedTransactions::Clear();
    module.ClosingOrders() = CClosingOrderBook();
    ASSERT_EQ(module.OpenPrepOrdersDlg(client(), pattern), 1) << c.name;
    answers = {9001};
    ScriptedTransactions::errorTexts = c.errorTexts;
    ScriptedTransactions::whileSending = [&c](int32_t) { c.whileSending(); };
    Command(kSendAll);
    ScriptedTransactions::whileSending = nullptr;
    EXPECT_EQ(Window() == nullptr ? "" : prep_orders::CellText(List(), 0, 8), c.status) << c.name;
    c.after();
    module.ClosePrepOrdersDialogs();
    EXPECT_EQ(module.OpenPrepOrdersDlg(client(), pattern), c.formedAfter) << c.name;
  }
}

// What the plug-in's orders close follows the host's records of fills and
// positions in whichever order they come: a window opened after them sends
// what the client holds less what its orders still have open. The target
// is never reached, so each window closes the whole position. Steps: "send"
// (a window of all clients sends all it forms; "send4" only 4 lots of it;
// "send:<steps>" or "send4:<steps>" with those steps, comma-separated, on
// their way while the host holds the transaction), "P<lots>[/<n>]" a position record (n lots in
// the active orders that close it), "<n>a<balance>" the n-th order's record
// active, "<n>w<balance>" withdrawn, "<n>x" executed, "c<n>a<balance>" or
// "c<n>w<balance>" a record of the client's own n-th sell order, "N" a new
// host session. The last window may tell of a transaction never reported
// that holds the lots.
TEST_F(ClosingHoldsTest, FilledLotsCountExactlyWhateverOrderTheHostReportsThem) {
  const struct {
    const char* name;
    int32_t held;
    const char* steps;
    const char* lastSend;
    bool considerHostCount = false;
    const char* told = "";
    const char* logged = nullptr;  // the transactions the log names as holding lots, when not those told
  } cases[] = {
      // The exchange refused a transaction the host took: no record of it
      // ever comes. Its lots are held, and said to be, until a new session.
      {"a transaction never reported", 10, "send P10/0", "", false,
       "Клиент C77 (ACC1, FIRM1), RIZ6: 10 лот. удерживает заявка (транзакция 9001), о которой терминал ещё не "
       "сообщил; они освободятся, когда терминал сообщит о заявке, или в новой сессии терминала."},
      {"a transaction never reported, then a new session", 10, "send P10/0 N P10/0", "ACC1:10 "},
      {"a transaction never reported, a new session before its position record", 10, "send N P10/0", "ACC1:10 "},
      // The records of our sell of 10 are lost; the client buys 5. The new
      // session's position counts our order once.
      {"records lost, the client's buy, the new session's position first", 10, "send N P15/10", "ACC1:5 ", true,
       "", "9001 "},
      {"records lost, the client's buy, then the new session's order record", 10, "send N P15/10 1a10", "ACC1:5 ",
       true},
      // 4 of our 10 filled; the rest expires with the session.
      {"an expired order shown gone stays gone beside the client's own sell", 10,
       "send 1a6 P6/6 N P6/0 c1a10 P6/10", "ACC1:6 "},
      {"the client's own sell across the session, reported before the position", 10,
       "send 1a6 c1a3 P6/9 N c1a3 P6/3", "ACC1:6 "},
      {"the client's own sell across the session, reported after the position", 10,
       "send 1a6 c1a3 P6/9 N P6/3 c1a3", "ACC1:6 "},
      {"the client's own sell across the session, the host's count considered", 10,
       "send 1a6 c1a3 P6/9 N P6/3 c1a3", "ACC1:3 ", true},
      {"the client's own sell withdrawn before its record, our order alive", 10, "send 1a10 c1a3 P10/13 P10/10 c1w3",
       ""},
      {"4 filled and shown, then the rest executed", 10, "send 1a6 P6 1x", ""},
      {"short: 4 filled and shown, then the rest executed", -10, "send 1a6 P-6 1x", ""},
      {"two windows' orders of 4 and 6, a position record between their fills", 10, "send4 send 1x P6 2x", ""},
      {"the execution shown before its record", 10, "send 1a6 P6 P0 1x", ""},
      {"the client buys 5, the position record before the execution's", 10, "send 1a10 P15/10 P5 1x", "ACC1:5 "},
      {"short: the client sells 5, the position record before the execution's", -10, "send 1a10 P-15/10 P-5 1x",
       "ACC1:5 "},
      {"the client buys 5, the execution's record first", 10, "send P15 1x P5", "ACC1:5 "},
      // Until the order's record tells, the fall may be the client's own sale.
      {"a fall no order record has told of yet", 10, "send P15 P5", "", false,
       "Клиент C77 (ACC1, FIRM1), RIZ6: 10 лот. удерживает заявка (транзакция 9001), о которой терминал ещё не "
       "сообщил; они освободятся, когда терминал сообщит о заявке, или в новой сессии терминала."},
      {"a fall the withdrawal shows was the client's own", 10, "send P6 1w10", "ACC1:6 "},
      {"4 filled and shown, then withdrawn", 10, "send 1a6 P6 1w6", "ACC1:6 "},
      // A fall is never taken for more fills than orders had open.
      {"the client sells 5 before any order", 10, "P5 send 1x", ""},
      {"short: the client buys 5 before any order", -10, "P-5 send 1x", ""},
      {"a fall the withdrawal showed was the client's own, then a new order's fill", 10, "send P6 1w10 send 2x",
       ""},
      // A new host session: its orders hold their lots until it reports them
      // again or a position record of it shows them gone.
      {"a new session before the order is reported again", 10, "send 1a10 P10/10 N", "", false,
       "Клиент C77 (ACC1, FIRM1), RIZ6: 10 лот. удерживает заявка (транзакция 9001) прежней сессии терминала, о "
       "которой он ещё не сообщил в этой; они освободятся, когда терминал сообщит о заявке или о позиции."},
      {"a new session, the position reported first", 10, "send 1a10 P10/10 N P10/10 1a10", ""},
      {"a new session, the order reported with a fill first", 10, "send 1a10 P10/10 N 1a6", ""},
      // 4 fill after the session's position record, before the order is
      // reported again: the record does not show them yet.
      {"a fill between the new session's position and its order record", 10, "send 1a10 P10/10 N P10/10 1a6", ""},
      {"a fill between the new session's position and its order record, the host's count considered", 10,
       "send 1a10 P10/10 N P10/10 1a6", "", true},
      {"a fill between the new session's position and its order record, then the fill's position", 10,
       "send 1a10 P10/10 N P10/10 1a6 P6/6", ""},
      // Two orders of 5; the session's record counts one of them.
      {"the session's record shows one order gone, the other reported again", 10,
       "send5 send 1a5 2a5 P10/10 N P10/5 2a5", "ACC1:5 "},
      {"the session's record shows one order filled, the other reported again", 10,
       "send5 send 1a5 2a5 P10/10 N P5/5 2a5", ""},
      {"a new session whose position record shows the order gone", 10, "send 1a10 P10/10 N P10/0", "ACC1:10 "},
      {"the order a new session's record showed gone, reported active again", 10,
       "send 1a10 P10/10 N P10/0 1a10 P10/0", "ACC1:10 "},
      {"a new session, the host's count considered", 10, "send 1a10 P10/10 N P10/10", "", true,
       "Клиент C77 (ACC1, FIRM1), RIZ6: 10 лот. удерживает заявка (транзакция 9001) прежней сессии терминала, о "
       "которой он ещё не сообщил в этой; они освободятся, когда терминал сообщит о заявке или о позиции."},
      // The client's own sale shown while our order is wholly active, then
      // our fill's record before its position record: 11 held, 14 open.
      {"the client's own sale, then our fill", 20, "send17 1a17 P20/17 P14/17 1a14", ""},
      {"the client's own sale, then our fills, a position record between", 20,
       "send17 1a17 P20/17 P14/17 1a14 P11/14 1a12", ""},
      // One position record shows the client's own trade and our fill.
      {"the client's own sale and our fill in one record", 10, "send 1a10 P10/10 P5/7 1a7", ""},
      {"the client's own buy and our fill in one record, the fill's record first", 10, "send 1a10 P10/10 1a7 P12/7",
       "ACC1:5 "},
      {"our fill and the position while the host holds the transaction", 10, "send:1a10,1a6,P6/6", ""},
      {"part of the holding sent, a fill and the position while the host holds it", 10, "send4:1a4,1a1,P7/1",
       "ACC1:6 "},
      // A position record older than the order's record comes after it.
      {"an older position record, the host's count considered", 10, "send 1a10 P10/0", "", true},
      {"an older position record, then a fill", 10, "send 1a10 P10/0 1a6", ""},
  };
  std::function<void(const std::string&)> play;
  play = [&](const std::string& step) {
    if (step.compare(0, 4, "send") == 0) {
      OpenAllClientsWindow();
      const size_t colon = step.find(':');
      if (step.size() > 4 && step[4] != ':') {
        TOrderLine* line = Windows().front()->Store().LineAt(COrderStore::KeyOf("ACC1", "FIRM1"), 0);
        ASSERT_NE(line, nullptr);
        line->Quantity = std::stoi(step.substr(4));
      }
      const std::string onTheWay = colon == std::string::npos ? "" : step.substr(colon + 1);
      ScriptedTransactions::whileSending = [&play, onTheWay](int32_t) {
        // Once the hook is cleared this lambda and what it holds are gone.
        std::istringstream records(onTheWay);
        auto& playStep = play;
        ScriptedTransactions::whileSending = nullptr;
        for (std::string record; std::getline(records, record, ',');) playStep(record);
      };
      SendAll(Windows().front());
      ScriptedTransactions::whileSending = nullptr;
    } else if (step == "N") {
      module.OnHostEvent(2, nullptr, 0, 0);
      module.OnHostEvent(1, nullptr, 0, 0);
    } else if (step[0] == 'c') {
      ClientsOwnSell(step[1] - '0', step[2] == 'a' ? 1u : 2u, std::stoll(step.substr(3)));
    } else if (step[0] == 'P') {
      const size_t slash = step.find('/');
      Position("ACC1", std::stoi(step.substr(1)), slash == std::string::npos ? 0 : std::stoi(step.substr(slash + 1)));
    } else {
      const int32_t id = 9000 + (step[0] - '0');
      const uint32_t flags = step[1] == 'a' ? 1u : step[1] == 'w' ? 2u : 0u;
      Order(id, flags, 555 + id, {}, step[1] == 'x' ? 0 : std::stoll(step.substr(2)), 17);
    }
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    module.OnModuleStop();
    module.ClosingOrders() = CClosingOrderBook();
    ScriptedTransactions::Clear();
    answers = {9001, 9002};
    pattern.BoundaryValue = 1000;
    module.Closing().ConsiderActiveOrders = c.considerHostCount;
    // Values that never limit closing: only the lots held and in orders do.
    TClientRiskRecord* client = ClientShortOfTarget("ACC1");
    client->plannedNetPosition = -5e11, client->currentNetPosition = client->currentNetPositionOpen = 1e12;
    Position("ACC1", c.held);
    std::istringstream steps(c.steps);
    for (std::string step; steps >> step;) play(step);
    sent.clear();
    const size_t logged = LogSize();
    const std::vector<std::string> held = OpenAllClientsWindow();
    EXPECT_EQ(held.empty() ? "" : held.front(), c.told) << c.name;
    EXPECT_EQ(HeldInLogSince(logged), c.logged != nullptr ? c.logged : HeldTransactions(c.told, "(транзакция "))
        << c.name << ": the log";
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    SendAll(Windows().front());
    EXPECT_EQ(LotsSent(), c.lastSend) << c.name;
    EXPECT_FALSE(told.Ran()) << c.name << ": " << told.Text();
  }
}

// The host is done with the plug-in (Done) while a question of a closing
// command or window is open; whatever the answer then, nothing is formed,
// opened or sent, and the heap is whole. Each case needs a module of its own.
enum class Asker { kTableBesideAWindow, kTableWithActiveOrders, kTableWithoutPattern, kClosingSettings, kWindowClosing };
struct DoneDuringQuestion {
  Asker asker;
  int answer;
  const char* question;
};
class DoneDuringQuestionTest : public ClosingHoldsTest, public ::testing::WithParamInterface<DoneDuringQuestion> {};

TEST_P(DoneDuringQuestionTest, NothingGoesOnAfterIt) {
  const Asker asker = GetParam().asker;
  ClientShortOfTarget("ACC1");
  auto* table = dynamic_cast<CVantrelFutRiskParamsTable*>(OpenRiskTable());
  ASSERT_NE(table, nullptr);
  table->SetPatternIndex(asker == Asker::kTableWithoutPattern ? -1 : 0);
  TClientRiskRecord* client = ClientShortOfTarget("ACC1");
  if (asker == Asker::kTableWithActiveOrders) {
    TOrderLine line = MakeOrderLine(*client, Security("RIZ6"), false, 100000, 7, 0);
    line.TransId = 9001;
    module.ClosingOrders().NoteSentOrder(line);
    Order(9001, 1, 555);
  } else if (asker != Asker::kTableWithoutPattern) {
    ASSERT_EQ(module.OpenPrepOrdersDlg(client, pattern), 1);
  }
  const int answer = GetParam().answer;
  DialogDriver box([&, answer](HWND dialog) {
    module.OnModuleDone();
    if (IsWindow(dialog)) DialogDriver::Press(dialog, answer);
  });
  if (asker == Asker::kClosingSettings) module.OnMenuCommand(host.Frame(), ID_CLOSING_SETTINGS, false);
  else if (asker == Asker::kWindowClosing) Window()->EndDialog(2);
  else SendMessageA(table->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(40083), 0), 0);
  EXPECT_EQ(box.Text(), GetParam().question);
  EXPECT_FALSE(module.IsRunning());
  EXPECT_TRUE(Windows().empty());
  EXPECT_TRUE(module.Tables().empty());
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(EveryHeapIsValid());
}

constexpr char kSettingsQuestion[] =
    "У вас открыто одно или несколько окон с заявками по закрытию позиций. Перед открытием диалога настроек "
    "закрытия позиций эти окна будут автоматически закрыты. Продолжить?";
constexpr char kActiveQuestion[] = "Имеется 1 активных заявок для закрытия позиций. Продолжить операцию закрытия?";
constexpr char kPatternQuestion[] =
    "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?";
constexpr char kUnsentQuestion[] =
    "В таблице имеются неподанные заявки (1) по закрытию позиций клиента C77. Вы уверены, что хотите закрыть окно?";
INSTANTIATE_TEST_SUITE_P(
    Answers, DoneDuringQuestionTest,
    ::testing::Values(DoneDuringQuestion{Asker::kTableBesideAWindow, IDYES, kCloseAll},
                      DoneDuringQuestion{Asker::kTableBesideAWindow, IDNO, kCloseAll},
                      DoneDuringQuestion{Asker::kTableWithActiveOrders, IDOK, kActiveQuestion},
                      DoneDuringQuestion{Asker::kTableWithActiveOrders, IDCANCEL, kActiveQuestion},
                      DoneDuringQuestion{Asker::kTableWithoutPattern, IDOK, kPatternQuestion},
                      DoneDuringQuestion{Asker::kTableWithoutPattern, IDCANCEL, kPatternQuestion},
                      DoneDuringQuestion{Asker::kClosingSettings, IDOK, kSettingsQuestion},
                      DoneDuringQuestion{Asker::kClosingSettings, IDCANCEL, kSettingsQuestion},
                      DoneDuringQuestion{Asker::kWindowClosing, IDOK, kUnsentQuestion},
                      DoneDuringQuestion{Asker::kWindowClosing, IDCANCEL, kUnsentQuestion}));

}  // namespace
