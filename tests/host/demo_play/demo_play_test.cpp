// The demo's scenario played into the real plug-in: every record goes through
// callback entry 22 and every event through entry 25 with the argument counts
// the plug-in expects, and the plug-in is still there to be stopped.
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"

#include "../host_test_support.h"

#include <gtest/gtest.h>

namespace {
TEST(DemoPlay, ThePluginTakesTheWholeFeed) {
  StandInHost host;
  ASSERT_TRUE(LoadScenario(DemoScenario(), host, nullptr));
  ASSERT_TRUE(host.CreateFrame("test host", false));
  PluginLibrary plugin(host);
  ASSERT_TRUE(plugin.Load()) << "VanTrel.dll not found beside the test";
  ASSERT_TRUE(plugin.InitEx().ok);
  plugin.SendUiInfo();
  ScenarioPlayer player(host, plugin);
  EXPECT_EQ(player.Start(), static_cast<int>(host.Feed().startRecords.size()));
  EXPECT_EQ(player.PlayDue(1 << 30).size(), host.Feed().steps.size());
  EXPECT_TRUE(player.Finished());
  plugin.Shutdown();
  plugin.Unload();
}
}  // namespace
