// The general and calculation settings commands of the module in this
// process, their dialogs driven with messages under Xvfb: OK puts the edits
// in force (the recalculation timer follows the period, a new filter file
// is read), a refused period keeps the dialog open, Cancel changes nothing
// but a filter reloaded by hand.
#include "host/standin/standin_host.h"
#include "module/temp_folder.h"
#include "module/vantrel_module.h"
#include "sdk/choose_color_ctrl.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
enum : int { kGeneral = 40002, kCalc = 40004 };

std::string ItemText(HWND window, int id) {
  char text[512] = {};
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

// Keys typed one by one into an emptied edit, each filtered as it comes.
void Type(HWND window, int id, const char* keys) {
  HWND edit = GetDlgItem(window, id);
  SetWindowTextA(edit, "");
  SetFocus(edit);
  for (const char* key = keys; *key != 0; ++key) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*key), 0);
}

void Click(HWND window, int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }

// The user opens the chooser's palette and clicks the cell of that index.
void ChooseColor(HWND window, int id, int index) {
  HWND chooserWindow = GetWindow(GetDlgItem(window, id), GW_CHILD);
  auto* chooser = dynamic_cast<CChooseColorCtrl*>(CWndCtrl::FromWindow(chooserWindow));
  SendMessageA(chooserWindow, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(chooser->GetButtonWindow()));
  const int edge = CColorPopup::Edge();
  const LPARAM at = MAKELPARAM(edge + (index % 8) * 18 + 9, edge + (index / 8) * 18 + 9);
  SendMessageA(chooser->GetPopupWindow(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(chooser->GetPopupWindow(), WM_LBUTTONUP, 0, at);
}

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", true));
    uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "", CVantrelModule::kHostVersion, 0,
                                      &code, text, sizeof text));
    g_pModule = &module;
    module.Settings().RecalcRiskParamsInterval = 0;
  }
  void TearDown() override {
    module.OnModuleStop();
    g_pModule = nullptr;
  }
  // A client filter file of one allowed client, under a path of 258
  // characters, which is as long as a path can be.
  std::string FilterFile() {
    const size_t length = 258;
    std::string folder = temp.Path() + "\\" + std::string(240 - temp.Path().size(), 'f');
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + std::string(length - folder.size() - 5, 'n') + ".ini";
    WriteFileBytes(path, "[AllowedClients]\nC1, FIRM1=\n");
    return path;
  }
  bool Filters(const char* client) { return module.ClientsFilter().Items().count(client) > 0; }

  CleanHostProgramFolder folder;
  CTempFolder temp;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

// A period below zero is refused, 7 seconds then kept; the new filter file
// is read; the palette's blue becomes the warning colour.
TEST_F(SettingsDialogs, OkPutsTheGeneralSettingsInForce) {
  const std::string filterFile = FilterFile();
  std::string interval, refusal, caption;
  bool openAfterRefusal = false;
  DialogDriver edit([&](HWND window) {
    interval = ItemText(window, 1010);
    Type(window, 1010, "-5");
    DialogDriver box([&](HWND message) {
      refusal = ItemText(message, 0xFFFF);
      DialogDriver::Press(message, IDOK);
    });
    DialogDriver::Press(window, IDOK);
    caption = box.Caption();
    openAfterRefusal = IsWindowVisible(window) != FALSE;
    Type(window, 1010, "7");
    Click(window, 1161);
    ChooseColor(window, 1024, 13);
    Click(window, 1096);
    SetDlgItemTextA(window, 1097, filterFile.c_str());
    DialogDriver::Press(window, IDOK);
  });
  EXPECT_EQ(module.OnMenuCommand(host.Frame(), kGeneral, false), 1);
  EXPECT_EQ(edit.Caption(), "Настройки");
  EXPECT_EQ(interval, "0");
  EXPECT_EQ(caption, "Внимание");
  EXPECT_EQ(refusal, "Период расчета риск-параметров должен быть от 0 до 2147483 сек.");
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_EQ(module.Settings().RecalcRiskParamsInterval, 7000);
  EXPECT_TRUE(module.RecalcTimerRunning());
  EXPECT_EQ(module.Settings().ClientsType2, 5);
  EXPECT_EQ(module.Settings().WarningColor, 0xFF0000u);
  EXPECT_EQ(module.Settings().FilterFileName, filterFile);
  EXPECT_TRUE(Filters("C1 (FIRM1)"));

  DialogDriver stop([&](HWND window) {
    Type(window, 1010, "0");
    DialogDriver::Press(window, IDOK);
  });
  module.OnMenuCommand(host.Frame(), kGeneral, false);
  EXPECT_FALSE(module.RecalcTimerRunning()) << "a period of 0 runs no timer";
}

// The reload button reads the file named on screen, its whole path, at
// once, and Cancel does not take it back.
TEST_F(SettingsDialogs, CancelLeavesTheSettingsButNotAReloadedFilter) {
  const std::string filterFile = FilterFile();
  module.Settings().NormalColor = 0x123456;
  DialogDriver cancel([&](HWND window) {
    Type(window, 1010, "9");
    ChooseColor(window, 1023, 0);
    Click(window, 1096);
    SetDlgItemTextA(window, 1097, filterFile.c_str());
    Click(window, 1099);
    DialogDriver::Press(window, IDCANCEL);
  });
  module.OnMenuCommand(host.Frame(), kGeneral, false);
  EXPECT_EQ(module.Settings().RecalcRiskParamsInterval, 0);
  EXPECT_FALSE(module.RecalcTimerRunning());
  EXPECT_EQ(module.Settings().NormalColor, 0x123456u);
  EXPECT_FALSE(module.Settings().NeedReadFilterFromFile);
  EXPECT_EQ(module.Settings().FilterFileName, "");
  EXPECT_TRUE(Filters("C1 (FIRM1)"));
}

TEST_F(SettingsDialogs, CalculationSettingsAreKeptOnOkOnly) {
  for (int button : {IDCANCEL, IDOK}) {
    module.Calc().OptValueParam = 1;
    std::string caption;
    bool bidOffer = false;
    DialogDriver edit([&](HWND window) {
      bidOffer = IsDlgButtonChecked(window, 1046) == BST_CHECKED;
      Click(window, 1047);
      DialogDriver::Press(window, button);
    });
    EXPECT_EQ(module.OnMenuCommand(host.Frame(), kCalc, false), 1);
    EXPECT_EQ(edit.Caption(), "Параметры расчета");
    EXPECT_TRUE(bidOffer);
    EXPECT_EQ(module.Calc().OptValueParam, button == IDOK ? 2 : 1);
  }
}
}  // namespace
