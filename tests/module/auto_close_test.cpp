// Closing by the risk table's commands and by the auto-close schedule: the
// preparation windows they open for the table's clients.
#include "closing_orders_fixture.h"

#include "module/notify/engine_clock.h"
#include "windows/tables/risk_params_table.h"

#include <ctime>

namespace {
constexpr int64_t kDay = 86400;

class ClosingCommandsTest : public ClosingOrdersTest {
 protected:
  void SetUp() override {
    ClosingOrdersTest::SetUp();
    ClientShortOfTarget("ACC1");
    module.OnHostEvent(1, nullptr, 0, 0);
    table = dynamic_cast<CVantrelFutRiskParamsTable*>(OpenRiskTable());
    ASSERT_NE(table, nullptr);
    client = ClientShortOfTarget("ACC1");  // again, after the table's recalculation
    ASSERT_TRUE(table->ContainsRecord(client));
    // The pattern the table was confirmed with is deleted, as the closing settings do.
    module.Closing().Patterns.clear();
    module.Closing().DefaultPattern = -1;
    module.ResetTablePatternIndex(0);
    module.Closing().Patterns.push_back(std::make_unique<TClosingPattern>(pattern));
    module.Closing().Patterns.back()->PatternName = "Достаточность";
  }
  // Runs the step at a local time of day (minutes and 30 seconds) some days after the start.
  void StepAt(int days, int minutes) {
    TEngineClock start, now;
    EngineClockAt(module.StartTime(), &start);
    now.localSeconds = start.localSeconds - start.localSeconds % kDay + days * kDay + minutes * 60 + 30;
    module.AutoCloseStep(now);
  }

  CVantrelFutRiskParamsTable* table = nullptr;
  TClientRiskRecord* client = nullptr;
};

TEST_F(ClosingCommandsTest, TheTablesCommandsTakeItsPatternOrTheDefaultOne) {
  const struct {
    int defaultPattern, answer;
    const char* text;
  } steps[] = {
      {-1, IDOK, "Не найдено описание шаблона для закрытия позиций."},
      {0, IDCANCEL, "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?"},
      {0, IDOK, "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?"},
  };
  for (const auto& step : steps) {
    EXPECT_TRUE(Windows().empty());
    module.Closing().DefaultPattern = step.defaultPattern;
    const int answer = step.answer;
    DialogDriver driver([answer](HWND box) { DialogDriver::Press(box, answer); });
    table->OnMenuCommand(40083, 0, 0);
    EXPECT_EQ(driver.Text(), step.text);
  }
  EXPECT_EQ(table->GetPatternIndex(), 0);
  ASSERT_EQ(Windows().size(), 1u);
  EXPECT_STREQ(Window()->GetTitle(), "Заявки на закрытие позиций");
  answers = {9002};
  Command(kSendAll);
  Command(kRecalc);
  EXPECT_EQ(Window()->Store().Count(COrderStore::kEveryClient, [](const TOrderLine&) { return true; }), 1)
      << "the lots sent reach the target: nothing formed again";
  module.ClosePrepOrdersDialogs();
  EXPECT_FALSE(module.HasPrepOrdersDialog()) << "closed without asking";
  Order(9002, 0, 554);  // executed, though the values here stay as they were
  client = ClientShortOfTarget("ACC1");  // the host's position record after it

  table->CloseClientPositions(false, client);
  answers = {9001};
  Command(kSendAll);
  Order(9001, 1, 555);
  EXPECT_EQ(table->CountActiveClosingOrders(nullptr), 1);
  DialogDriver cancel([](HWND box) { DialogDriver::Press(box, IDCANCEL); });
  table->CloseClientPositions(false, client);
  EXPECT_EQ(cancel.Text(), "Имеется 1 активных заявок для закрытия позиций по клиенту C77. Продолжить операцию закрытия?");
  // A new session's position record counts no lots in orders: the order is
  // gone, though the host reports it active again, before the position's next
  // record and after it.
  module.OnHostEvent(2, nullptr, 0, 0);
  module.OnHostEvent(1, nullptr, 0, 0);
  Position("ACC1", 10, 0);
  for (int record = 0; record < 2; ++record) {
    Order(9001, 1, 555);
    EXPECT_EQ(table->CountActiveClosingOrders(nullptr), 0) << record;
    Position("ACC1", 10, 0);
  }
}

// "Закрыть позиции" on the selected row; the host stops the plug-in, which
// frees every client record, while the command's question is open. The
// client is gone when the question is answered: no window opens for it.
TEST_F(ClosingCommandsTest, AClientFreedWhileAQuestionIsOpenGetsNoWindow) {
  module.Closing().DefaultPattern = 0;
  TOrderLine sentLine = MakeOrderLine(*client, Security("RIZ6"), false, 100000, 7, 0);
  sentLine.TransId = 9001;
  module.ClosingOrders().NoteSentOrder(sentLine);
  const char kActiveQuestion[] =
      "Имеется 1 активных заявок для закрытия позиций по клиенту C77. Продолжить операцию закрытия?";
  const char kPatternQuestion[] =
      "Не задан шаблон для закрытия позиций. Применить шаблон по умолчанию к данной таблице?";
  const struct { uint32_t orderFlags; int tablePattern; const char* question; bool stop; size_t windows; } cases[] = {
      {1, 0, kActiveQuestion, false, 1}, {1, 0, kActiveQuestion, true, 0},
      {2, -1, kPatternQuestion, false, 1}, {2, -1, kPatternQuestion, true, 0},
  };
  for (const auto& c : cases) {
    module.ClosePrepOrdersDialogs();
    Order(9001, c.orderFlags, 555);
    client = ClientShortOfTarget("ACC1");
    table->FillRows();
    ASSERT_EQ(table->GetView()->GetRowObject(1), client);
    table->GetView()->SetSelection(1, 1);
    table->SetPatternIndex(c.tablePattern);
    const bool stop = c.stop;
    DialogDriver box([&, stop](HWND dialog) {
      if (stop) module.OnModuleStop();
      DialogDriver::Press(dialog, IDOK);
    });
    SendMessageA(table->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(40072), 0), 0);
    EXPECT_EQ(box.Text(), c.question);
    EXPECT_EQ(Windows().size(), c.windows) << c.question << " stop " << c.stop;
  }
}

TEST_F(ClosingCommandsTest, AnAutoCloseEntryRunsOnceADayFromItsTimeOn) {
  TEngineClock started;
  ASSERT_TRUE(EngineClockAt(module.StartTime(), &started));
  const int start = static_cast<int>(started.localSeconds % kDay / 60);
  if (start == 0 || start >= 24 * 60 - 2) GTEST_SKIP() << "the start is too close to midnight";
  module.Closing().UseAutoClose = true;
  module.Closing().AddAutoCloseEntry(start, 0, 1);
  module.Closing().AddAutoCloseEntry(start - 1, -1, 0);  // earlier than the start; its pattern removed
  module.Closing().AddAutoCloseEntry(start + 1, -1, 0);
  const ScheduleList& entries = module.Closing().AutoCloseSchedule;
  auto passed = [&] { return std::vector<bool>({entries[0].Passed, entries[1].Passed, entries[2].Passed}); };
  {
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    StepAt(0, start);
    EXPECT_EQ(told.Text(), "Сформирован список заявок для закрытия позиций. Общее число заявок: 1.");
  }
  ASSERT_EQ(Windows().size(), 1u);
  char caption[64];
  std::snprintf(caption, sizeof caption, "Заявки на закрытие позиций (%02d:%02d, Достаточность)", start / 60, start % 60);
  EXPECT_STREQ(Window()->GetTitle(), caption);
  EXPECT_EQ(Window()->Store().Count(COrderStore::kEveryClient, [](const TOrderLine&) { return true; }), 1);
  EXPECT_EQ(passed(), std::vector<bool>({true, false, false}));
  StepAt(0, start + 1);  // the removed pattern: marked, nothing shown
  EXPECT_EQ(passed(), std::vector<bool>({true, false, true}));
  EXPECT_EQ(Windows().size(), 1u) << "the first entry ran once today";
  module.ClosePrepOrdersDialogs();
  StepAt(1, start - 1);
  EXPECT_TRUE(entries[1].Passed) << "on later days every time counts";
  EXPECT_TRUE(Windows().empty());
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  StepAt(1, start);
  EXPECT_TRUE(told.Ran()) << "the next day";
  const int64_t lastFiring = entries[0].LastFiring;
  host.Clients().SetConnected(false);
  StepAt(2, start + 1);
  EXPECT_EQ(entries[0].LastFiring, lastFiring) << "not while the host is disconnected";
}

// The host stopped the plug-in's work (event 2): without a start the day's
// times are not counted from midnight, and no entry fires; once the host
// starts it again, an entry fires from its time on.
TEST_F(ClosingCommandsTest, NoAutoCloseEntryFiresAfterTheHostsStop) {
  module.Closing().UseAutoClose = true;
  module.Closing().AddAutoCloseEntry(0, 0, 1);
  module.Closing().AddAutoCloseEntry(1, 0, 0);
  module.OnHostEvent(2, nullptr, 0, 0);
  TEngineClock now;
  ASSERT_TRUE(EngineClockAt(std::time(nullptr), &now));
  {
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    module.AutoCloseStep(now);
    EXPECT_FALSE(told.Ran()) << told.Text();
  }
  EXPECT_TRUE(Windows().empty());
  EXPECT_EQ(module.Closing().AutoCloseSchedule[0].LastFiring, 0);
  module.OnHostEvent(1, nullptr, 0, 0);
  DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
  StepAt(1, 0);
  EXPECT_TRUE(told.Ran()) << "started again, the next day's entry fires";
}

// The orders a window sent count in the auto-close run: the client they
// close already gets no second order until they are settled.
TEST_F(ClosingCommandsTest, AnAutoCloseRunCountsTheOrdersAWindowSent) {
  TEngineClock started;
  ASSERT_TRUE(EngineClockAt(module.StartTime(), &started));
  const int start = static_cast<int>(started.localSeconds % kDay / 60);
  table->SetPatternIndex(0);
  table->CloseClientPositions(false, client);
  ASSERT_EQ(Windows().size(), 1u);
  answers = {9001};
  Command(kSendAll);
  module.ClosePrepOrdersDialogs();
  module.Closing().UseAutoClose = true;
  module.Closing().AddAutoCloseEntry(start, 0, 1);
  // The first day the host has not reported the order yet: the window tells
  // what holds the client's lots.
  const std::vector<std::string> told[] = {
      {"Клиент C77 (ACC1, FIRM1), RIZ6: 7 лот. удерживает заявка (транзакция 9001), о которой терминал ещё не "
       "сообщил; они освободятся, когда терминал сообщит о заявке, или в новой сессии терминала.",
       "Сформирован список заявок для закрытия позиций. Общее число заявок: 0."},
      {"Сформирован список заявок для закрытия позиций. Общее число заявок: 1."}};
  for (int day : {0, 1}) {
    DialogDriver boxes([](HWND box) { DialogDriver::Press(box, IDOK); }, true);
    StepAt(day, start);
    EXPECT_EQ(boxes.Texts(), told[day]) << "day " << day;
    module.ClosePrepOrdersDialogs();
    Order(9001, 0, 555);  // executed: the values here stay short of the target, the next run closes again
    ClientShortOfTarget("ACC1");  // once the host's position record shows it
  }
}

}  // namespace
