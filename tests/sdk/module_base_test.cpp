// The module base's own logic, through a test module in this process over the
// stand-in host: command routing, the command map, the UI block, host records.
#include "host/standin/standin_host.h"
#include "sdk/plugin_module.h"
#include "support/plugin_start.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
// Notes what the base hands on: menu commands as "M id notFound", control
// commands as "C id code", host records as "R a b c d e offset" (of the data in the record).
class TestModule : public CZenkPluginModule {
 public:
  TestModule() : CZenkPluginModule(GetModuleHandleA(nullptr)) {}
  bool CheckHostCompatibility(uint32_t, uint32_t, int*, char*, int) override { return true; }
  int OnMenuCommand(HWND, int id, bool notFound) override {
    return calls.push_back("M " + std::to_string(id) + " " + std::to_string(notFound)), 1;
  }
  int OnControlCommand(HWND, int id, HWND control, int code) override {
    return calls.push_back("C " + std::to_string(id) + " " + std::to_string(code)), 7;
  }
  void OnHostRecord(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, const void* data) override {
    calls.push_back("R " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " +
                    std::to_string(d) + " " + std::to_string(e) + " " +
                    std::to_string(static_cast<const uint8_t*>(data) - recordStart));
  }
  std::vector<std::string> calls;
  const uint8_t* recordStart = nullptr;
};

class ModuleBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }
  ::testing::AssertionResult Initialise() { return StartPlugin(module, host, 0); }
  StandInHost host;
  TestModule module;
};

TEST_F(ModuleBaseTest, MenuCommandsAreMappedToOwnIdsAndControlNotificationsGoTheirOwnWay) {
  EXPECT_EQ(GetPluginModule(), &module) << "the module is the singleton";
  module.RegisterCommandId(30001, 40001);
  HWND control = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(30001, 0), 0), 1);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(31000, 0), 0), 1);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_COMMAND, MAKEWPARAM(1001, EN_UPDATE), reinterpret_cast<LPARAM>(control)), 7);
  EXPECT_EQ(module.RouteCommand(nullptr, WM_NOTIFY, 1, 0), 0);
  EXPECT_EQ(module.calls, (std::vector<std::string>{"M 40001 0", "M 31000 1", "C 1001 1024"}))
      << "an unknown id goes on as the host's id";
}

TEST_F(ModuleBaseTest, FirstRegistrationOfAHostIdWins) {
  for (const auto& pair : {std::make_pair(7, 40001), {7, 40002}, {12, 40003}, {9, 40003}})
    module.RegisterCommandId(pair.first, pair.second);
  EXPECT_EQ(std::vector<int>({module.FindCommandId(7), module.FindCommandId(8), module.FindHostCommandId(40003),
                              module.FindHostCommandId(40999)}),
            std::vector<int>({40001, -1, 9, -1})) << "an own id's host id is its lowest";
}

TEST_F(ModuleBaseTest, CommandStateOfAnOwnIdWithoutHostIdIsFalse) {
  ASSERT_TRUE(Initialise());
  EXPECT_FALSE(module.GetCommandState(40999, false) || module.EnableCommand(40999, true, false));
  EXPECT_EQ(host.Log().Count(12) + host.Log().Count(11), 0) << "the host is not asked";

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
  module.recordStart = record.data();
  // Fields a, b and c (two bytes) lead the record; d and e lie at 536 and 540.
  const std::pair<size_t, uint32_t> fields[] = {{0, 11}, {4, 22}, {8, 33}, {536, 44}, {540, 55}};
  for (const auto& field : fields) std::memcpy(&record[field.first], &field.second, field.first == 8 ? 2 : 4);
  EXPECT_TRUE(module.OnHostCommand(0, host::kRecordCode32984, record.data(), host::kRecordSize32984));
  EXPECT_TRUE(module.OnHostCommand(0, host::kRecordCode32926, record.data(), host::kRecordSize32926));
  EXPECT_FALSE(module.OnHostCommand(0, host::kRecordCode32926, record.data(), 283)) << "too short";
  EXPECT_FALSE(module.OnHostCommand(0, host::kRecordCode32984, record.data(), 719));
  EXPECT_FALSE(module.OnHostCommand(0, host::kRecordCode32926, nullptr, host::kRecordSize32926));
  EXPECT_TRUE(module.OnHostCommand(0, 100, nullptr, 0)) << "other codes are accepted untouched";
  EXPECT_EQ(module.calls, (std::vector<std::string>{"R 11 22 33 44 55 18", "R 11 22 33 0 0 10"}));
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

  // Indexes: a class by its flags, a security by class and code, the first not of REPORT.
  EXPECT_EQ(std::vector<int>({module.FindHostRecordIndex(0x40), module.FindHostRecordIndex(0x80),
                              module.FindItemRecordIndex("SPBFUT", "RIZ6"), module.FindItemRecordIndex("REPORT", "RIZ6"),
                              module.FindNonReportItemIndex(0x40)}),
            std::vector<int>({1, -1, 1, -1, 1}));
  // Names are case-sensitive; REPORT, the first class sharing a bit, decides the flags.
  EXPECT_EQ(std::vector<bool>({module.HasHostRecord(0x48), module.FindHostRecordByName("SPBFUT") != nullptr,
                               module.FindHostRecordByName("EMPTY") != nullptr,
                               module.FindHostRecordByName("spbfut") != nullptr, module.TestHostRecordFlags(0x08, 0x3),
                               module.TestHostRecordFlags(0x40, 0x4)}),
            std::vector<bool>({true, true, false, false, true, false}));
  // The first form of a class whose flags contain the mask decides.
  EXPECT_EQ(std::vector<bool>({module.HasHostSubRecord(futures, 0x10), module.HasHostSubRecord(futures, 0x20),
                               module.HasHostSubRecord(-1, 0x20), module.FindHostSubRecord(0x80, 0x20) != nullptr,
                               module.FindHostSubRecord(0x41, 0x20) != nullptr}),
            std::vector<bool>({false, true, false, false, true}));

  char error[1024] = {};
  int result = -1;
  EXPECT_TRUE(module.CallHostRecordService(0x01, 0x20, "ACTION=X[]", 1, error, &result));
  EXPECT_EQ(host.Log().Details(48).back(), "2 1 ACTION=X[]") << "the first usable form of the class";
  EXPECT_FALSE(module.CallHostRecordService(0x80, 0x20, "ACTION=Y", 1, error, &result));
  EXPECT_STREQ(error, "Нет формы транзакции");
}

}  // namespace
