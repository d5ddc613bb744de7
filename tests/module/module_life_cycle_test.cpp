// The module's life in the host, through the real VanTrel.dll in the stand-in
// host: settings and log beside the host program, commands, plug-in queries.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/temp_folder.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {
class ModuleLifeCycleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }

  void Start() {
    ASSERT_TRUE(plugin.Load());
    const InitResult init = plugin.InitEx();
    ASSERT_TRUE(init.ok) << init.errorText;
  }

  UINT HostIdOf(const char* caption) {
    HMENU menu = host.MenuByCaption("VanTrel FM", false);
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text - 1, MF_BYPOSITION);
      if (std::string(text) == caption) return GetMenuItemID(menu, i);
    }
    return 0;
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  PluginLibrary plugin{host};
};

TEST_F(ModuleLifeCycleTest, InitialisationIsLoggedBesideTheHostProgram) {
  WriteIniValue(folder.File("info.ini"), "Vantrel", "TraceLogLevel", "1");
  Start();
  const std::string log = ReadFileBytes(folder.File("VantrelFM.log"));
  EXPECT_TRUE(std::regex_search(
      log, std::regex(R"(^\d\d/\d\d/\d\d \d\d:\d\d:\d\d\.\d\d\d Module initialized\. Reading settings finished\.\r?\n$)")))
      << log;
}

TEST_F(ModuleLifeCycleTest, NothingIsLoggedAtTraceLevel0) {
  Start();
  EXPECT_FALSE(FileExists(folder.File("VantrelFM.log")) &&
               !ReadFileBytes(folder.File("VantrelFM.log")).empty());
}

TEST_F(ModuleLifeCycleTest, UnloadSavesTheSettingsItRead) {
  WriteIniValue(folder.File("info.ini"), "Vantrel", "RecalcRiskParamsInterval", "2500");
  Start();
  EXPECT_EQ(ReadIniValue(folder.File("info.ini"), "Vantrel", "TraceLogLevel"), "<missing>");
  EXPECT_TRUE(plugin.Callback<3>());
  EXPECT_EQ(ReadIniValue(folder.File("info.ini"), "Vantrel", "RecalcRiskParamsInterval"), "2500");
  EXPECT_EQ(ReadIniValue(folder.File("info.ini"), "Vantrel", "TraceLogLevel"), "0")
      << "every key is written at unload";
  plugin.Unload();
  EXPECT_EQ(host.Log().Count(51), 3) << "the three filter handles go back to the host";
}

TEST_F(ModuleLifeCycleTest, PluginParam17230Answers1024AndOthersLeaveTheValue) {
  Start();
  uint32_t value = 7;
  EXPECT_EQ(plugin.Callback<30>(17230, &value, 0), 1);
  EXPECT_EQ(value, 1024u);
  value = 7;
  EXPECT_EQ(plugin.Callback<30>(17231, &value, 0), 1);
  EXPECT_EQ(value, 7u);
}

TEST_F(ModuleLifeCycleTest, NotificationSwitchChecksTheHostCommandInTheMenu) {
  Start();
  const UINT hostId = HostIdOf("Включить режим оповещений");
  ASSERT_NE(hostId, 0u);
  auto checked = [&] { return (GetMenuState(GetMenu(host.Frame()), hostId, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  auto command = [&](UINT id) { return plugin.Callback<2>(host.Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };
  EXPECT_TRUE(checked()) << "notifications are on at start";
  EXPECT_EQ(command(hostId), 1);
  EXPECT_FALSE(checked());
  EXPECT_EQ(command(hostId), 1);
  EXPECT_TRUE(checked());
  EXPECT_EQ(command(hostId + 1000), 0) << "not a command of the plug-in";
}

TEST_F(ModuleLifeCycleTest, NotificationsStartOffWhenTheSettingsSaySo) {
  WriteIniValue(folder.File("info.ini"), "Vantrel", "NotifEnabledAtStart", "0");
  Start();
  EXPECT_EQ(GetMenuState(GetMenu(host.Frame()), HostIdOf("Включить режим оповещений"), MF_BYCOMMAND) &
                MF_CHECKED,
            0u);
}
}  // namespace
