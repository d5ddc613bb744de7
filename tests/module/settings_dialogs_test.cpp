// The general and calculation settings commands of the module in this
// process, their dialogs driven with messages under Xvfb: OK puts the edits
// in force, a refused period keeps the dialog open, Cancel changes nothing
// but a filter reloaded by hand; the host quitting while any settings dialog
// is open changes nothing.
#include "host/standin/standin_host.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "resources/resource_ids.h"
#include "sdk/choose_color_ctrl.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {
// Keys typed one by one into an emptied edit, each filtered as it comes.
void Type(HWND window, int id, const char* keys) {
  SetDlgItemTextA(window, id, "");
  for (const char* key = keys; *key != 0; ++key) SendDlgItemMessageA(window, id, WM_CHAR, *key, 0);
}

void Click(HWND window, int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }

// The user opens the chooser's palette and clicks the cell of that index.
void ChooseColor(HWND window, int id, int index) {
  HWND chooserWindow = GetWindow(GetDlgItem(window, id), GW_CHILD);
  auto* chooser = dynamic_cast<CChooseColorCtrl*>(CWndCtrl::FromWindow(chooserWindow));
  SendMessageA(chooserWindow, WM_COMMAND, BN_CLICKED << 16, reinterpret_cast<LPARAM>(chooser->GetButtonWindow()));
  const int edge = CColorPopup::Edge();
  const LPARAM at = MAKELPARAM(edge + (index % 8) * 18 + 9, edge + (index / 8) * 18 + 9);
  SendMessageA(chooser->GetPopupWindow(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(chooser->GetPopupWindow(), WM_LBUTTONUP, 0, at);
}

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
    g_pModule = &module;
    module.Settings().RecalcRiskParamsInterval = 0;
  }
  void TearDown() override {
    module.OnModuleStop();
    g_pModule = nullptr;
  }
  // A file allowing one client, under a path of 258 characters: as long as
  // a path can be.
  std::string FilterFile() {
    const std::string folder = temp.Path() + "\\" + std::string(240 - temp.Path().size(), 'f');
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + std::string(13, 'n') + ".ini";
    WriteFileBytes(path, "[AllowedClients]\nC1, FIRM1=\n");
    return path;
  }
  bool Filtered() { return module.ClientsFilter().Items().count("C1 (FIRM1)") > 0; }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

TEST_F(SettingsDialogs, OkPutsTheGeneralSettingsInForceAfterRefusingAPeriodBelowZero) {
  const std::string filterFile = FilterFile();
  std::string refusal;
  DialogDriver edit([&](HWND window) {
    Type(window, 1010, "-5");
    DialogDriver box([&](HWND message) { DialogDriver::Press(message, IDOK); });
    DialogDriver::Press(window, IDOK);
    refusal = box.Caption() + (IsWindowVisible(window) ? " open" : " closed");
    Type(window, 1010, "7");
    Click(window, 1161);
    ChooseColor(window, 1024, 13);
    Click(window, 1096);
    SetDlgItemTextA(window, 1097, filterFile.c_str());
    DialogDriver::Press(window, IDOK);
  });
  EXPECT_EQ(module.OnMenuCommand(host.Frame(), 40002, false), 1);
  EXPECT_EQ(edit.Caption() + "|" + refusal, "Настройки|Внимание open");
  EXPECT_EQ(module.Settings().RecalcRiskParamsInterval, 7000);
  EXPECT_TRUE(module.RecalcTimerRunning());
  EXPECT_EQ(module.Settings().ClientsType2, 5);
  EXPECT_EQ(module.Settings().WarningColor, 0xFF0000u) << "the palette's blue";
  EXPECT_TRUE(Filtered()) << "a new filter file is read";
}

// The reload button reads the file named on screen, its whole path, at
// once; Cancel does not take it back.
TEST_F(SettingsDialogs, CancelLeavesTheSettingsButNotAReloadedFilter) {
  const std::string filterFile = FilterFile();
  DialogDriver cancel([&](HWND window) {
    Type(window, 1010, "9");
    ChooseColor(window, 1023, 0);
    Click(window, 1096);
    SetDlgItemTextA(window, 1097, filterFile.c_str());
    Click(window, 1099);
    DialogDriver::Press(window, IDCANCEL);
  });
  const TModuleSettings before = module.Settings();
  module.OnMenuCommand(host.Frame(), 40002, false);
  EXPECT_EQ(module.Settings().RecalcRiskParamsInterval, 0);
  EXPECT_FALSE(module.RecalcTimerRunning());
  EXPECT_EQ(module.Settings().NormalColor, before.NormalColor);
  EXPECT_FALSE(module.Settings().NeedReadFilterFromFile);
  EXPECT_TRUE(Filtered());
}

TEST_F(SettingsDialogs, CalculationSettingsAreKeptOnOkOnly) {
  for (int button : {IDCANCEL, IDOK}) {
    module.Calc().OptValueParam = 1;
    DialogDriver edit([&](HWND window) {
      Click(window, 1047);
      DialogDriver::Press(window, button);
    });
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), 40004, false), 1);
    EXPECT_EQ(edit.Caption(), "Параметры расчета");
    EXPECT_EQ(module.Calc().OptValueParam, button == IDOK ? 2 : 1);
  }
}
// The user edits a settings dialog, or presses a button of it that opens a
// question or a dialog of its own, and the host ends its loop then: nothing
// is put in force.
TEST_F(SettingsDialogs, AQuitWhileASettingsDialogIsOpenLeavesTheSettings) {
  module.Transport().NotifyByMC2Z = true;  // without a UID file: OK asks first
  module.Closing().Spread = 1.5;
  const struct {
    const char* name;
    int command;
    std::function<void(HWND)> edit;
    int button;  // pressed after the edit; the quit comes in what it opens
  } rows[] = {
      {"general", ID_GENERAL_SETTINGS, [](HWND window) { Type(window, 1010, "7"); }, 0},
      {"transport, the UID file question", ID_TRANSPORT_SETTINGS,
       [](HWND window) { SetDlgItemTextA(window, 1026, "new.example"); }, IDOK},
      {"closing, a new pattern's dialog", ID_CLOSING_SETTINGS,
       [](HWND window) { SetDlgItemTextA(window, 1118, "3"); }, 1114},
  };
  const auto state = [this] {
    return std::to_string(module.Settings().RecalcRiskParamsInterval) + "|" +
           std::to_string(module.RecalcTimerRunning()) + "|" + module.Transport().SMTPServer + "|" +
           std::to_string(module.Closing().Spread) + "|" + std::to_string(module.Closing().Patterns.size());
  };
  const std::string before = state();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    bool opened = false;
    DialogDriver user(DialogDriver::EditThenQuit(row.edit, row.button, &opened));
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), row.command, false), 1);
    EXPECT_TRUE(DialogDriver::TakeQuit()) << "the quit stays for the host";
    ASSERT_TRUE(user.Ran());
    EXPECT_EQ(opened, row.button != 0);
    EXPECT_EQ(state(), before);
  }
}
}  // namespace
