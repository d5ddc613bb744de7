// No closing order goes to the host twice: a randomized run in which the
// user sends, recalculates and deletes while the host's order records
// arrive late, twice and out of order and the windows are refreshed.
#include "closing_orders_fixture.h"

#include "host/standin/host_records.h"
#include "module/table_refresh.h"
#include "windows/dialogs/prep_orders_dlg.h"
#include "windows/tables/risk_params_table.h"

#include <map>
#include <random>

#include <commctrl.h>

namespace {
enum : int { kSend = 40075, kSendAll = 40076, kDelete = 40077, kDeleteAll = 40078, kRecalc = 40079 };

class NoDuplicateOrdersTest : public ClosingOrdersTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    for (const char* account : {"ACC1", "ACC2", "ACC3"}) {
      for (const auto& position : {PositionRecord({"FIRM1", account, "RIZ6", 1, 10}),
                                   PositionRecord({"FIRM1", account, "SiZ6", 2, -4})})
        module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    }
    module.OnHostEvent(4, "FIRM1", 0, 0);
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    ASSERT_NE(module.CreateTable(kRiskTableType, false, 0, nullptr, 0), nullptr);
    // Far below the target: every recalculation forms lines again.
    for (auto& entry : module.Clients().Clients()) {
      TClientRiskRecord& client = *entry.second;
      client.plannedNetPosition = -500000, client.currentNetPosition = client.currentNetPositionOpen = 124000;
      client.sfr = -3;
    }
    module.Closing().SecsForClosing = {"SiZ6", "RIZ6"};
    pattern.ParamIdx = 18, pattern.BoundaryValue = 1.3;
    module.OpenClosingOrdersWindow(pattern, module.Tables().back(), false, nullptr);
  }

  CVantrelPrepOrdersDlg* Window() {
    for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
      if (auto* prep = dynamic_cast<CVantrelPrepOrdersDlg*>(CZPluginChildWnd::GetWindowObject(frame))) return prep;
    return nullptr;
  }
  void Command(int ownId) {
    SendMessageA(Window()->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(ownId), 0), 0);
  }
  void SelectRow(int row) {
    HWND list = GetDlgItem(Window()->GetDialogWindow(), 1106);
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
  }
  void Order(int32_t transId, uint32_t flags) {
    const PushedRecord record = BuildOrder({transId, transId * 10LL, flags, "FIRM1", "", transId});
    module.OnHostCommand(1, record.code, record.bytes.data(), static_cast<uint32_t>(record.bytes.size()));
  }

  // Every order the host took is one line of the window, sent once, with the
  // line's security and quantity.
  void ExpectEachOrderSentOnce() {
    std::map<int32_t, const TOrderLine*> lines;
    Window()->Store().ForEach("", [&](TOrderLine& line) {
      if (line.Sent()) EXPECT_TRUE(lines.emplace(line.TransId, &line).second) << "two lines of id " << line.TransId;
    });
    std::map<int32_t, int> times;
    for (size_t i = 0; i < sent.size(); ++i) {
      if (sent[i].find("OrderNum=") != std::string::npos || answered[i] == -1) continue;
      ++times[answered[i]];
      const auto line = lines.find(answered[i]);
      ASSERT_NE(line, lines.end()) << sent[i];
      char quantity[32];
      std::snprintf(quantity, sizeof quantity, "QUANTITY=%.0f[]", line->second->Quantity);
      EXPECT_NE(sent[i].find(quantity), std::string::npos) << sent[i];
      EXPECT_NE(sent[i].find(std::string("SECCODE=") + line->second->SecCode + "[]"), std::string::npos);
      EXPECT_NE(sent[i].find(std::string("ACCOUNT=") + line->second->Account + "[]"), std::string::npos);
    }
    for (const auto& id : times) EXPECT_EQ(id.second, 1) << "id " << id.first;
    EXPECT_EQ(times.size(), lines.size()) << "a sent line whose transaction went nowhere";
  }

  TClosingPattern pattern;
};

TEST_P(NoDuplicateOrdersTest, ARandomRunSendsEveryLineOnce) {
  std::mt19937 random(GetParam());
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  int32_t nextId = 1;
  std::vector<int32_t> taken;  // ids the host gave, records may come for them
  ASSERT_NE(Window(), nullptr);
  for (int step = 0; step < 300 && Window() != nullptr; ++step) {
    answers.clear();
    for (int i = 0; i < 10; ++i) answers.push_back(chance(15) ? -1 : nextId++);
    const size_t before = answered.size();
    const int rows = static_cast<int>(
        SendMessageA(GetDlgItem(Window()->GetDialogWindow(), 1106), LVM_GETITEMCOUNT, 0, 0));
    const unsigned action = random() % 8;
    switch (action) {
      case 0: Command(kSendAll); break;
      case 1: SelectRow(rows == 0 ? -1 : static_cast<int>(random() % rows)); Command(kSend); break;
      case 2: Command(kRecalc); break;
      case 3: SelectRow(rows == 0 ? -1 : static_cast<int>(random() % rows)); Command(kDelete); break;
      case 4: if (!taken.empty() && chance(10)) Command(kDeleteAll); break;
      case 5: module.RefreshPrepOrdersDialogs(); break;
      default:
        // A record for an order taken earlier: active, withdrawn or
        // executed, whatever came before, or one of an id never given.
        if (!taken.empty()) {
          const uint32_t flags[] = {1, 2, 0};
          Order(chance(10) ? nextId + 1000 : taken[random() % taken.size()], flags[random() % 3]);
        }
        break;
    }
    for (size_t i = before; i < answered.size(); ++i)
      if (answered[i] != -1) taken.push_back(answered[i]);
    if (Window() == nullptr) break;
    ExpectEachOrderSentOnce();
    if (HasFailure()) break;
  }
  EXPECT_FALSE(taken.empty()) << "the run sent something";
}

INSTANTIATE_TEST_SUITE_P(Seeds, NoDuplicateOrdersTest, ::testing::Values(1u, 20261207u, 77u));

}  // namespace
