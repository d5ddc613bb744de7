// The real plug-in over the demo's market, its risk table open after the
// prices moved: "Закрыть позиции по всем клиентам" forms a window of the
// clients past their level and "Подать все" sends it. While the host holds
// the first transaction it is done with the plug-in (callback entry 3),
// stops its work (event 2) or closes the window: no second transaction goes
// and nothing freed is touched. module_tests' host-done tests try every
// moment; this plays the send's through the DLL, as the host would
// (host_play_tests_heap_checked plays it under Wine's heap checks).
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"
#include "host/standin/scripted_transactions.h"
#include "support/dialog_driver.h"
#include "support/every_heap.h"
#include "support/host_program_folder.h"

#include "../host_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
constexpr int kCloseAllClients = 22, kSendAll = 24;  // the plug-in's commands, in the order it asked for them

enum class Moment { kDone, kStop, kClose };

HWND FrontFrame(StandInHost& host) {
  return reinterpret_cast<HWND>(SendMessageA(host.MdiClient(), WM_MDIGETACTIVE, 0, 0));
}
int Frames(StandInHost& host) {
  int count = 0;
  for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
    ++count;
  return count;
}

class DoneMidSend : public ::testing::TestWithParam<Moment> {};

TEST_P(DoneMidSend, NoSecondTransactionGoesAndNothingFreedIsTouched) {
  StandInHost host;
  ASSERT_TRUE(LoadScenario(DemoScenario(), host, nullptr));
  ASSERT_TRUE(host.CreateFrame("test host", false));
  CleanHostProgramFolder folder;
  const std::string settings = DemoScenario().substr(0, DemoScenario().size() - 8) + "demo-info.ini";
  ASSERT_TRUE(CopyFileA(settings.c_str(), folder.File("info.ini").c_str(), FALSE)) << settings;
  // The plug-in keeps the host's functions as they are when it starts.
  ScriptedTransactions::Install(host);
  PluginLibrary plugin(host);
  ASSERT_TRUE(plugin.Load()) << "VanTrel.dll not found beside the test";
  ASSERT_TRUE(plugin.InitEx().ok);
  plugin.SendUiInfo();
  ScenarioPlayer player(host, plugin);
  player.Start();
  player.PlayDue(1 << 30);
  plugin.Callback<25>(4u, nullptr, 0u, 0u);  // every client recalculated at the last prices
  HWND table = FindWindowExA(host.MdiClient(), nullptr, nullptr, "Риск-параметры срочного рынка");
  ASSERT_NE(table, nullptr) << "the menu step opened the risk table";
  SendMessageA(table, WM_COMMAND, MAKEWPARAM(StandInHost::NthCommandId(kCloseAllClients), 0), 0);
  HWND window = FrontFrame(host);
  ASSERT_NE(window, table) << "the closing window is in front";

  for (int32_t id = 1; id <= 50; ++id) ScriptedTransactions::answers.push_back(id);
  const Moment moment = GetParam();
  bool first = true;
  ScriptedTransactions::whileSending = [&](int32_t) {
    if (!first) return;
    first = false;
    if (moment == Moment::kDone) plugin.Callback<3>();
    if (moment == Moment::kStop) plugin.Callback<25>(2u, nullptr, 0u, 0u);
    if (moment == Moment::kClose) {
      DialogDriver unsent([](HWND box) { DialogDriver::Press(box, IDOK); });
      SendMessageA(window, WM_CLOSE, 0, 0);
    }
  };
  {
    // After a stop the window tells what it did not send.
    DialogDriver told([](HWND box) { DialogDriver::Press(box, IDOK); });
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(StandInHost::NthCommandId(kSendAll), 0), 0);
    EXPECT_EQ(told.Ran(), moment == Moment::kStop);
  }
  ScriptedTransactions::whileSending = nullptr;
  EXPECT_EQ(ScriptedTransactions::sent.size(), 1u);
  EXPECT_EQ(IsWindow(window) != FALSE, moment == Moment::kStop);
  if (moment != Moment::kDone) plugin.Callback<3>();
  EXPECT_EQ(Frames(host), 0) << "Done leaves no window of the plug-in";
  EXPECT_EQ(ScriptedTransactions::sent.size(), 1u);
  EXPECT_TRUE(EveryHeapIsValid());
  ScriptedTransactions::Clear();
  plugin.Unload();
}

std::string MomentName(const ::testing::TestParamInfo<Moment>& info) {
  switch (info.param) {
    case Moment::kDone: return "Done";
    case Moment::kStop: return "Stop";
    default: return "Close";
  }
}
INSTANTIATE_TEST_SUITE_P(Moments, DoneMidSend, ::testing::Values(Moment::kDone, Moment::kStop, Moment::kClose),
                         MomentName);
}  // namespace
