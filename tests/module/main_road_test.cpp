// The main road through the real VanTrel.dll in the stand-in host: the host
// pushes limits, sends the start of work and a firm's settings, the user opens
// a risk-parameters table, and the table shows every client recalculated.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "host/zlist/zlist_readback.h"
#include "module/host_record_builders.h"
#include "module/temp_folder.h"
#include "support/dialog_driver.h"
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
BOOL CALLBACK FindList(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "ZListClient") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

class MainRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteIniValue(folder.File("info.ini"), "Vantrel", "ClientsType2", "7");
    WriteIniValue(folder.File("info.ini"), "Vantrel", "RecalcRiskParamsInterval", "0");
    ASSERT_TRUE(host.CreateFrame("test host", true));
    host.Records().AddClass({"SPBFUT", 0x48});
    ASSERT_TRUE(plugin.Load());
    ASSERT_TRUE(plugin.InitEx().ok);
    plugin.SendUiInfo();
  }
  void TearDown() override { plugin.Shutdown(); }

  void PushLimit(const LimitFields& fields) {
    const std::vector<uint8_t> record = LimitRecord(fields);
    EXPECT_TRUE(plugin.Callback<22>(1, host_data::kLimitCode, record.data(),
                                    static_cast<uint32_t>(record.size())));
  }

  // The menu's first command; the user accepts the columns the create
  // dialog offers.
  void OpenRiskTable() {
    HMENU menu = host.MenuByCaption("VanTrel FM", false);
    ASSERT_NE(menu, nullptr);
    DialogDriver accept([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    SendMessageA(host.Frame(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, 0), 0), 0);
    EXPECT_TRUE(accept.Ran());
    EXPECT_EQ(accept.Caption(), "Создание таблицы");
  }

  HWND RiskList() {
    HWND list = nullptr;
    EnumChildWindows(host.Frame(), FindList, reinterpret_cast<LPARAM>(&list));
    return list;
  }

  // The texts of a line of the list, as drawn.
  std::set<std::string> LineTexts(HWND list, int line) {
    std::set<std::string> texts;
    for (int column = 0; column < 30; ++column) {
      char text[256] = {};
      COLORREF back, fore;
      if (ZListInspectCell(list, line, column, text, sizeof text, &back, &fore)) texts.insert(text);
    }
    return texts;
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  PluginLibrary plugin{host};
};

TEST_F(MainRoadTest, TheRiskTableShowsTheRecalculatedClients) {
  PushLimit({"FIRM1", "ACC1", 1, 0, 0, 12345600});
  PushLimit({"FIRM1", "ACC2", 2, 0, 0, 500000});
  plugin.Callback<25>(1, "", 0, 0);
  plugin.Callback<25>(4, "FIRM1", 0, 0);
  OpenRiskTable();
  HWND list = RiskList();
  ASSERT_NE(list, nullptr) << "the risk table opened inside the host's frame";
  ASSERT_EQ(GetNRows(list), 3) << "the header and one line per client";
  const std::set<std::string> first = LineTexts(list, 1);
  EXPECT_TRUE(first.count("ACC1")) << "client code of a client without a united position";
  EXPECT_TRUE(first.count("FIRM1"));
  bool dayStartShown = false;
  for (const std::string& text : first) dayStartShown |= text.find("123") == 0 && text.find("456") != std::string::npos;
  EXPECT_TRUE(dayStartShown) << "the day-start limit 123 456 (held times 100)";
  EXPECT_TRUE(LineTexts(list, 2).count("ACC2"));
}

TEST_F(MainRoadTest, ATableOpenedBeforeTheFirmSettingsStaysEmptyUntilThen) {
  PushLimit({"FIRM1", "ACC1", 1, 0, 0, 100});
  OpenRiskTable();
  HWND list = RiskList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetNRows(list), 1);
  plugin.Callback<25>(4, "FIRM1", 0, 0);
  EXPECT_EQ(GetNRows(list), 2) << "the full run brings the table up to date";
}

TEST_F(MainRoadTest, StopEmptiesTheTablesBeforeTheClientsGo) {
  PushLimit({"FIRM1", "ACC1", 1, 0, 0, 100});
  plugin.Callback<25>(4, "FIRM1", 0, 0);
  OpenRiskTable();
  HWND list = RiskList();
  ASSERT_EQ(GetNRows(list), 2);
  plugin.Callback<7>();
  EXPECT_EQ(GetNRows(list), 1);
  plugin.Callback<25>(4, "FIRM1", 0, 0);
  EXPECT_EQ(GetNRows(list), 1) << "no client is left after the stop";
}
}  // namespace
