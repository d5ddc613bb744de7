// Closing by the risk table's commands and by the auto-close schedule: the
// preparation windows they open for the table's clients.
#include "closing_orders_fixture.h"

#include "host/standin/host_records.h"
#include "module/notify/engine_clock.h"
#include "module/table_refresh.h"
#include "windows/dialogs/prep_orders_dlg.h"
#include "windows/tables/risk_params_table.h"

namespace {
constexpr int64_t kDay = 86400;

class ClosingCommandsTest : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    module.OnHostCommand(1, kPositionRecordCode, position.data(), static_cast<uint32_t>(position.size()));
    module.OnHostEvent(1, nullptr, 0, 0);
    module.OnHostEvent(4, "FIRM1", 0, 0);
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    ASSERT_NE(module.CreateTable(kRiskTableType, false, 0, nullptr, 0), nullptr);
    table = dynamic_cast<CVantrelFutRiskParamsTable*>(module.Tables().back());
    // The client of cases/closing_orders.txt's first case: 7 of its 10 RIZ6 close.
    client = module.Clients().Find("FIRM1", "ACC1");
    ASSERT_TRUE(table->ContainsRecord(client));
    lstrcpynA(client->clientCode, "C77", sizeof client->clientCode);
    client->plannedNetPosition = -50000, client->currentNetPosition = client->currentNetPositionOpen = 100000;
    client->sfr = 0.5;
    module.Closing().SecsForClosing = {"RIZ6"};
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>());
    TClosingPattern& pattern = *module.Closing().Patterns.back();
    pattern.PatternName = "Достаточность", pattern.ParamIdx = 18, pattern.BoundaryValue = 1.3;
  }

  // The open preparation windows.
  std::vector<CVantrelPrepOrdersDlg*> Windows() {
    std::vector<CVantrelPrepOrdersDlg*> found;
    for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
      if (auto* prep = dynamic_cast<CVantrelPrepOrdersDlg*>(CZPluginChildWnd::GetWindowObject(frame)))
        found.push_back(prep);
    return found;
  }
  int Lines(CVantrelPrepOrdersDlg* window) {
    return window->Store().Count("", [](const TOrderLine&) { return true; });
  }
  // Runs the step at a local time of day (minutes) some days after the start.
  void StepAt(int days, int minutes, int seconds = 30) {
    TEngineClock start, now;
    ASSERT_TRUE(EngineClockAt(module.StartTime(), &start));
    now.localSeconds = start.localSeconds - start.localSeconds % kDay + days * kDay + minutes * 60 + seconds;
    module.AutoCloseStep(now);
  }
  int StartMinutes() {
    TEngineClock start;
    EngineClockAt(module.StartTime(), &start);
    return static_cast<int>(start.localSeconds % kDay / 60);
  }

  std::vector<uint8_t> position = PositionRecord({"FIRM1", "ACC1", "RIZ6", 1, 10});
  CVantrelFutRiskParamsTable* table = nullptr;
  TClientRiskRecord* client = nullptr;
};

TEST_F(ClosingCommandsTest, TheTablesCommandsTakeItsPatternOrTheDefaultOne) {
  module.Closing().DefaultPattern = -1;
  {
    DialogDriver ok([](HWND box) { DialogDriver::Press(box, IDOK); });
    table->OnMenuCommand(40083, 0, 0);
    EXPECT_EQ(ok.Text(), "Не найдено описание шаблона для закрытия позиций.");
  }
  module.Closing().DefaultPattern = 0;
  {
    DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
    table->OnMenuCommand(40083, 0, 0);
    EXPECT_EQ(cancel.Text(), "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?");
  }
  EXPECT_TRUE(Windows().empty());
  {
    DialogDriver ok([](HWND box) { DialogDriver::Press(box, IDOK); });
    table->OnMenuCommand(40083, 0, 0);
    EXPECT_TRUE(ok.Ran());
  }
  EXPECT_EQ(table->GetPatternIndex(), 0);
  ASSERT_EQ(Windows().size(), 1u);
  EXPECT_STREQ(Windows()[0]->GetTitle(), "Заявки на закрытие позиций");
  EXPECT_EQ(Lines(Windows()[0]), 1) << "the table's one client";
  EXPECT_TRUE(module.HasPrepOrdersDialog());
  module.ClosePrepOrdersDialogs();
  EXPECT_FALSE(module.HasPrepOrdersDialog()) << "closed without asking";

  table->CloseClientPositions(false, client);
  ASSERT_EQ(Windows().size(), 1u);
  answers = {9001};
  module.SendClosingOrders(*Windows()[0]->Store().LineAt("ACC1FIRM1", 0));
  PushedRecord order = BuildOrder({77, 555, 1, "FIRM1", "", 9001});
  std::memcpy(order.bytes.data() + 133, "ACC1", 5);
  module.OnHostCommand(1, order.code, order.bytes.data(), static_cast<uint32_t>(order.bytes.size()));
  EXPECT_EQ(table->CountActiveClosingOrders(nullptr), 1);
  DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
  table->CloseClientPositions(false, client);
  EXPECT_EQ(cancel.Text(), "Имеется 1 активных заявок для закрытия позиций по клиенту C77. Продолжить операцию закрытия?");
}

TEST_F(ClosingCommandsTest, AnAutoCloseEntryRunsOnceADayFromItsTimeOn) {
  const int start = StartMinutes();
  if (start == 0 || start >= 24 * 60 - 2) GTEST_SKIP() << "the start is too close to midnight";
  module.Closing().UseAutoClose = true;
  module.Closing().AddAutoCloseEntry(start, 0, 1);
  module.Closing().AddAutoCloseEntry(start - 1, -1, 0);  // earlier than the start; its pattern removed
  module.Closing().AddAutoCloseEntry(start + 1, -1, 0);
  const ScheduleList& entries = module.Closing().AutoCloseSchedule;
  {
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    StepAt(0, start);
    EXPECT_EQ(told.Text(), "Сформирован список заявок для закрытия позиций. Общее число заявок: 1.");
  }
  ASSERT_EQ(Windows().size(), 1u);
  char caption[64];
  std::snprintf(caption, sizeof caption, "Заявки на закрытие позиций (%02d:%02d, Достаточность)", start / 60, start % 60);
  EXPECT_STREQ(Windows()[0]->GetTitle(), caption);
  EXPECT_EQ(Lines(Windows()[0]), 1);
  EXPECT_EQ(std::vector<bool>({entries[0].Passed, entries[1].Passed, entries[2].Passed}),
            std::vector<bool>({true, false, false}));
  StepAt(0, start + 1);  // the removed pattern: marked, nothing shown
  EXPECT_EQ(std::vector<bool>({entries[0].Passed, entries[1].Passed, entries[2].Passed}),
            std::vector<bool>({true, false, true}));
  EXPECT_EQ(Windows().size(), 1u) << "the first entry ran once today";
  module.ClosePrepOrdersDialogs();
  StepAt(1, start - 1);
  EXPECT_TRUE(entries[1].Passed) << "on later days every time counts";
  EXPECT_TRUE(Windows().empty());
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  StepAt(1, start);
  EXPECT_TRUE(told.Ran()) << "the next day";
  EXPECT_EQ(Windows().size(), 1u);
}

TEST_F(ClosingCommandsTest, AutoCloseWaitsForTheConnection) {
  host.Install<49>([]() __attribute__((stdcall)) { return 0; });
  Initialise();
  module.Closing().UseAutoClose = true;
  module.Closing().AddAutoCloseEntry(StartMinutes(), 0, 1);
  StepAt(0, StartMinutes());
  EXPECT_FALSE(module.Closing().AutoCloseSchedule[0].Passed);
  EXPECT_TRUE(Windows().empty());
}

}  // namespace
