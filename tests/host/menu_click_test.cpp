// A scenario step clicks a menu item as a user would.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <gtest/gtest.h>

TEST(MenuClick, AnItemIsNamedByItsMenuAndItsPosition) {
  StandInHost host;
  ASSERT_TRUE(host.CreateFrame("test host", false));
  PluginLibrary plugin(host);  // not loaded: the click is routed, nothing answers
  host.Attach(&plugin);
  HMENU menu = host.MenuByCaption("Plug-in", true);
  const int first = host.IssueCommandId(), second = host.IssueCommandId();
  AppendMenuA(menu, MF_STRING, first, "first");
  AppendMenuA(menu, MF_STRING, second, "second");
  EXPECT_TRUE(host.ClickMenuItem("Plug-in,2"));
  EXPECT_EQ(host.Log().Details(-2), std::vector<std::string>{std::to_string(second)});
  for (const char* wrong : {"Plug-in,3", "Plug-in,0", "Plug-in", "Other,1"})
    EXPECT_FALSE(host.ClickMenuItem(wrong)) << wrong;
  EXPECT_EQ(host.Log().Count(-2), 1);
}
