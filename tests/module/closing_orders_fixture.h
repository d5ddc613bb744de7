// The module in this process over the stand-in host's market of closing
// orders, with a host that answers transactions by a script; the
// preparation windows the module opens.
#pragma once

#include "host/standin/host_records.h"
#include "host/standin/scenario.h"
#include "host/standin/scripted_transactions.h"
#include "host/standin/standin_host.h"
#include "market_text.h"
#include "module/closing/closing_formation.h"
#include "module/host_record_builders.h"
#include "module/market_records.h"
#include "module/table_refresh.h"
#include "module/vantrel_module.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"
#include "windows/dialogs/prep_orders_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

enum : int { kSend = 40075, kSendAll = 40076, kDelete = 40077, kDeleteAll = 40078, kWithdraw = 40084, kRecalc = 40079 };

class ClosingOrdersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    const std::string market = folder.File("market.ini");
    WriteFileBytes(market, MarketText("closing_orders.ini"));
    ASSERT_TRUE(LoadScenario(market, host, nullptr));
    ScriptedTransactions::Install(host);
    host.Install<105>(OptionClassHasTheProperty);
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
    g_pModule = &module;
    module.Closing().SecsForClosing = {"RIZ6"};
    pattern.ParamIdx = 18, pattern.BoundaryValue = 1.3;
  }
  void TearDown() override {
    module.OnModuleStop();
    g_pModule = nullptr;
  }
  // The host gives the option class the property that asks for its own forms.
  static int __stdcall OptionClassHasTheProperty(const void* classRecord, uint32_t property) {
    return property == 2048 && std::strcmp(ClassCodeOf(static_cast<const uint8_t*>(classRecord)), "SPBOPT") == 0;
  }

  // A client of 10 RIZ6 long (lot margin 10,000) whose funds sufficiency of
  // 0.5 must reach 1.3: 7 lots close (cases/closing_orders.txt's first case).
  // The host's position record may count lots in sell orders.
  TClientRiskRecord* ClientShortOfTarget(const char* account, int32_t inSellOrders = 0) {
    Position(account, 10, inSellOrders);
    TClientRiskRecord* client = module.Clients().Find("FIRM1", account);
    lstrcpynA(client->clientCode, "C77", sizeof client->clientCode);
    client->plannedNetPosition = -50000, client->currentNetPosition = client->currentNetPositionOpen = 100000;
    client->sfr = 0.5;
    return client;
  }
  // The host's position record of the account in RIZ6, its values as they
  // were, with the lots in active orders that close it (sells of a long
  // position, buys of a short one).
  void Position(const char* account, int32_t lots, int32_t inClosingOrders = 0) {
    std::vector<uint8_t> position = PositionRecord({"FIRM1", account, "RIZ6", 1, lots});
    PutField(position, lots < 0 ? 72 : 76, inClosingOrders);
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
  }
  // A risk table holding the module's clients (their values recalculated).
  CTablePlugin* OpenRiskTable() {
    module.OnHostEvent(4, "FIRM1", 0, 0);
    // A table is confirmed only with a closing pattern: the module's default
    // one, the test's own when the module has none.
    if (module.Closing().Patterns.empty()) {
      module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>(pattern));
      module.Closing().DefaultPattern = 0;
    }
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    return module.CreateTable(kRiskTableType, false, 0, nullptr, 0) ? module.Tables().back() : nullptr;
  }

  // The preparation windows among the host's frame windows.
  std::vector<CVantrelPrepOrdersDlg*> Windows() {
    std::vector<CVantrelPrepOrdersDlg*> found;
    for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
      if (auto* prep = dynamic_cast<CVantrelPrepOrdersDlg*>(CZPluginChildWnd::GetWindowObject(frame)))
        found.push_back(prep);
    return found;
  }
  CVantrelPrepOrdersDlg* Window() { return Windows().empty() ? nullptr : Windows()[0]; }
  HWND List() { return GetDlgItem(Window()->GetDialogWindow(), 1106); }
  int Rows() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
  void Select(int row) { SendMessageA(List(), LVM_SETSELECTIONMARK, 0, row); }
  // The host hands the window a command of its popup menu.
  void Command(int ownId) {
    SendMessageA(Window()->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(ownId), 0), 0);
  }
  // The host's order record for a transaction (of 7 lots unless said), by
  // callback entry 22's road; an active order's balance is what it still
  // closes.
  void Order(int32_t transId, uint32_t flags, int64_t number, const FILETIME& time = {}, int64_t balance = 7,
             int64_t quantity = 7) {
    OrderSpec order;
    order.key = transId, order.number = number, order.flags = flags, order.transactionId = static_cast<uint32_t>(transId);
    order.quantity = quantity, order.balance = balance;
    order.firm = "FIRM1", order.account = "ACC1", order.clientCode = "C77";
    order.orderTime = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    const PushedRecord record = BuildOrder(order);
    module.OnHostCommand(1, record.code, record.bytes.data(), static_cast<uint32_t>(record.bytes.size()));
  }

  // The index-th line of the account's order in the (first) window.
  TOrderLine* Line(const char* account, size_t index, const char* firm = "FIRM1") {
    return Window()->Store().LineAt(COrderStore::KeyOf(account, firm), index);
  }
  static const uint8_t* Security(const char* code) { return FindSecurityInClasses(code, 0x48, 0x900, nullptr); }
  std::deque<int32_t>& answers = ScriptedTransactions::answers;
  std::vector<std::string>& sent = ScriptedTransactions::sent;
  std::vector<int32_t>& answered = ScriptedTransactions::answered;

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
  TClosingPattern pattern;
};
