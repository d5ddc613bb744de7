// The module base's own logic, through a test module in this process over the
// stand-in host: command routing, the command map, the UI block, host records.
#include "host/standin/standin_host.h"
#include "sdk/plugin_module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
struct MenuCall {
  int id;
  bool notFound;
};
struct ControlCall {
  int id;
  HWND control;
  int code;
};
struct RecordCall {
  uint32_t a, b, c, d, e;
  const void* data;
};

class TestModule : public CZenkPluginModule {
 public:
  TestModule() : CZenkPluginModule(GetModuleHandleA(nullptr)) {}
  bool CheckHostCompatibility(uint32_t, uint32_t, int*, char*, int) override { return true; }
  int OnMenuCommand(HWND, int id, bool notFound) override {
    menuCalls.push_back({id, notFound});
    return 1;
  }
  int OnControlCommand(HWND, int id, HWND control, int code) override {
    controlCalls.push_back({id, control, code});
    return 7;
  }
  void OnHostRecord(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e,
                    const void* data) override {
    recordCalls.push_back({a, b, c, d, e, data});
  }
  std::vector<MenuCall> menuCalls;
  std::vector<ControlCall> controlCalls;
  std::vector<RecordCall> recordCalls;
};

class ModuleBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }
  bool Initialise() {
    uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
    int code = 0;
    char text[256];
    return module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "", 0, 0, &code, text,
                                 sizeof text);
  }
  StandInHost host;
  TestModule module;
};

TEST_F(ModuleBaseTest, MenuCommandsAreMappedToOwnIds) {
  EXPECT_EQ(GetPluginModule(), &module) << "the module is the singleton";
  module.RegisterCommandId(30001, 40001);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(30001, 0), 0), 1);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(31000, 0), 0), 1);
  ASSERT_EQ(module.menuCalls.size(), 2u);
  EXPECT_EQ(module.menuCalls[0].id, 40001);
  EXPECT_FALSE(module.menuCalls[0].notFound);
  EXPECT_EQ(module.menuCalls[1].id, 31000) << "an unknown id goes on as the host's id";
  EXPECT_TRUE(module.menuCalls[1].notFound);
}

TEST_F(ModuleBaseTest, ControlNotificationsAndOtherMessagesAreNotMenuCommands) {
  HWND control = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(1001, EN_UPDATE),
                                reinterpret_cast<LPARAM>(control)), 7);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_NOTIFY, 1, 0), 0);
  ASSERT_EQ(module.controlCalls.size(), 1u);
  EXPECT_EQ(module.controlCalls[0].id, 1001);
  EXPECT_EQ(module.controlCalls[0].control, control);
  EXPECT_EQ(module.controlCalls[0].code, EN_UPDATE);
  EXPECT_TRUE(module.menuCalls.empty());
}

TEST_F(ModuleBaseTest, FirstRegistrationOfAHostIdWins) {
  module.RegisterCommandId(7, 40001);
  module.RegisterCommandId(7, 40002);
  EXPECT_EQ(module.FindCommandId(7), 40001);
  EXPECT_EQ(module.FindCommandId(8), -1);
  module.RegisterCommandId(12, 40003);
  module.RegisterCommandId(9, 40003);
  EXPECT_EQ(module.FindHostCommandId(40003), 9) << "the lowest host id of an own id";
  EXPECT_EQ(module.FindHostCommandId(40999), -1);
}

TEST_F(ModuleBaseTest, CommandStateOfAnOwnIdWithoutHostIdIsFalse) {
  ASSERT_TRUE(Initialise());
  EXPECT_FALSE(module.GetCommandState(40999, false));
  EXPECT_FALSE(module.EnableCommand(40999, true, false));
  EXPECT_EQ(host.Log().Count(12), 0);
  EXPECT_EQ(host.Log().Count(11), 0);

  HMENU bar = GetMenu(host.Frame());
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 30500, "checked");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "test");
  module.RegisterCommandId(30500, 40500);
  EXPECT_TRUE(module.GetCommandState(40500, false));
  EXPECT_TRUE(module.EnableCommand(40500, false, false));
  EXPECT_EQ(GetMenuState(bar, 30500, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
}

TEST_F(ModuleBaseTest, UiInfoIsTakenOnlyWithItsOwnSize) {
  uint32_t block[host::kUiInfoFields] = {64, 1, 2, 3};
  module.SetHostUiInfo(block);
  EXPECT_EQ(module.GetHostUiInfo()[0], 0u);
  module.SetHostUiInfo(nullptr);
  block[0] = host::kUiInfoBytes;
  block[15] = 7;
  module.SetHostUiInfo(block);
  EXPECT_EQ(module.GetHostUiInfo()[0], host::kUiInfoBytes);
  EXPECT_EQ(module.GetHostUiInfo()[15], 7u);
  EXPECT_EQ(module.RunDialog(101, nullptr, nullptr), 0) << "no dialog without a parent and a procedure";
  EXPECT_EQ(module.CreateModelessDialog(101, nullptr, nullptr), nullptr);
  EXPECT_EQ(host.Log().Count(30), 0);
}

TEST_F(ModuleBaseTest, HostRecordsAreUnpackedIntoTheRecordOperation) {
  std::vector<uint8_t> record(host::kRecordSize32984, 0);
  const uint32_t a = 11, b = 22, d = 44, e = 55;
  const uint16_t c = 33;
  std::memcpy(&record[0], &a, 4);
  std::memcpy(&record[4], &b, 4);
  std::memcpy(&record[8], &c, 2);
  std::memcpy(&record[536], &d, 4);
  std::memcpy(&record[540], &e, 4);
  EXPECT_TRUE(module.OnHostCommand(0, host::kRecordCode32984, record.data(), host::kRecordSize32984));
  EXPECT_TRUE(module.OnHostCommand(0, host::kRecordCode32926, record.data(), host::kRecordSize32926));
  const uint32_t tooShort[][2] = {{host::kRecordCode32926, 283}, {host::kRecordCode32984, 719}};
  for (const auto& wrong : tooShort) EXPECT_FALSE(module.OnHostCommand(0, wrong[0], record.data(), wrong[1]));
  EXPECT_FALSE(module.OnHostCommand(0, host::kRecordCode32926, nullptr, host::kRecordSize32926));
  EXPECT_TRUE(module.OnHostCommand(0, 100, nullptr, 0)) << "other codes are accepted untouched";
  ASSERT_EQ(module.recordCalls.size(), 2u);
  const RecordCall& first = module.recordCalls[0];
  EXPECT_EQ(std::vector<uint32_t>({first.a, first.b, first.c, first.d, first.e}),
            std::vector<uint32_t>({11, 22, 33, 44, 55}));
  EXPECT_EQ(first.data, record.data() + 18);
  EXPECT_EQ(module.recordCalls[1].d, 0u);
  EXPECT_EQ(module.recordCalls[1].data, record.data() + 10);
}

TEST_F(ModuleBaseTest, RecordLookupsWalkClassesFormsAndSecurities) {
  host.Records().AddClass({"EMPTY", 0x40, 0, -1});  // an empty slot is skipped
  host.Records().AddClass({"REPORT", 0x48, 0x3});
  const int futures = host.Records().AddClass({"SPBFUT", 0x41, 0x1});
  host.Records().AddForm(futures, {0x10, 1, 0});    // value 0: not usable
  host.Records().AddForm(futures, {0x30, 1, 5});
  host.Records().AddSecurity({"REPORT", "RPT1"});
  host.Records().AddSecurity({"SPBFUT", "RIZ6"});
  EXPECT_EQ(module.FindHostRecordIndex(0x40), -1) << "nothing is found before the initialisation";
  ASSERT_TRUE(Initialise());

  EXPECT_EQ(module.FindHostRecordIndex(0x40), 1);
  EXPECT_EQ(module.FindHostRecordIndex(0x80), -1);
  EXPECT_TRUE(module.HasHostRecord(0x48));
  EXPECT_NE(module.FindHostRecordByName("SPBFUT"), nullptr);
  EXPECT_EQ(module.FindHostRecordByName("EMPTY"), nullptr);
  EXPECT_EQ(module.FindHostRecordByName("spbfut"), nullptr) << "names are case-sensitive";
  EXPECT_TRUE(module.TestHostRecordFlags(0x08, 0x3)) << "REPORT decides: first with a shared bit";
  EXPECT_FALSE(module.TestHostRecordFlags(0x40, 0x4));

  EXPECT_EQ(module.FindItemRecordIndex("SPBFUT", "RIZ6"), 1);
  EXPECT_EQ(module.FindItemRecordIndex("REPORT", "RIZ6"), -1);
  EXPECT_EQ(module.FindNonReportItemIndex(0x40), 1) << "REPORT's security is passed over";

  // The first form of a class whose flags contain the mask decides.
  EXPECT_FALSE(module.HasHostSubRecord(futures, 0x10));
  EXPECT_TRUE(module.HasHostSubRecord(futures, 0x20));
  EXPECT_FALSE(module.HasHostSubRecord(-1, 0x20));
  EXPECT_EQ(module.FindHostSubRecord(0x80, 0x20), nullptr) << "no class contains 0x80";
  EXPECT_NE(module.FindHostSubRecord(0x41, 0x20), nullptr);

  char error[1024] = {};
  int result = -1;
  EXPECT_TRUE(module.CallHostRecordService(0x01, 0x20, "ACTION=X", 1, error, &result));
  EXPECT_EQ(host.Log().Details(48).back(), "2 1 ACTION=X") << "the first usable form of the class";
  EXPECT_FALSE(module.CallHostRecordService(0x80, 0x20, "ACTION=Y", 1, error, &result));
  EXPECT_STREQ(error, "Нет формы транзакции");
}

}  // namespace
