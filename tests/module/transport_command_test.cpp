// The mailing settings command of the real VanTrel.dll in the stand-in host:
// OK puts the dialog's edits in force, which unloading then saves; Cancel
// changes nothing; an unset minimal time shows empty.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

namespace {
TEST(TransportCommand, OkPutsTheEditsInForceAndCancelDoesNot) {
  for (int button : {IDCANCEL, IDOK}) {
    CleanHostProgramFolder folder;
    WriteIniValue(folder.File("info.ini"), "Vantrel", "SMTPServer", "old.example");
    WriteIniValue(folder.File("info.ini"), "Vantrel", "MinTime", "-1");
    StandInHost host;
    ASSERT_TRUE(host.CreateFrame("test host", false));
    PluginLibrary plugin{host};
    ASSERT_TRUE(plugin.Load() && plugin.InitEx().ok);
    char minTime[16] = "?";
    DialogDriver edit([&](HWND dialog) {
      GetDlgItemTextA(dialog, 1065, minTime, sizeof minTime);
      SetDlgItemTextA(dialog, 1026, "new.example");
      DialogDriver::Press(dialog, button);
    });
    const UINT command = GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 5);  // "Настройки рассылки"
    EXPECT_EQ(plugin.Callback<2>(host.Frame(), WM_COMMAND, MAKEWPARAM(command, 0), 0), 1);
    EXPECT_EQ(edit.Caption() + "|" + minTime, "Параметры рассылки|");
    EXPECT_TRUE(plugin.Callback<3>());
    EXPECT_EQ(ReadIniValue(folder.File("info.ini"), "Vantrel", "SMTPServer"), button == IDOK ? "new.example" : "old.example");
    plugin.Unload();
  }
}
}  // namespace
