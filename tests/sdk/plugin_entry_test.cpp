// The plug-in's entry points and callback table, driven through the real
// VanTrel.dll loaded by the stand-in host.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr char kNotCompatible[] =
    "Загружаемый модуль не совместим с данной версией клиентского места.";

class PluginEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(plugin.Load()) << "VanTrel.dll not found beside the test";
  }

  std::vector<std::string> MenuItems(const char* caption) {
    std::vector<std::string> items;
    HMENU menu = host.MenuByCaption(caption, false);
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text - 1, MF_BYPOSITION);
      items.push_back(text);
    }
    return items;
  }

  int MenuCount(const char* caption) {
    HMENU bar = GetMenu(host.Frame());
    int count = 0;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
      char text[256] = {};
      GetMenuStringA(bar, i, text, sizeof text - 1, MF_BYPOSITION);
      count += std::string(text) == caption;
    }
    return count;
  }

  StandInHost host;
  PluginLibrary plugin{host};
};

TEST_F(PluginEntryTest, HostVersion70InitialisesAndAddsThePluginMenu) {
  const InitResult result = plugin.InitEx(host::MakeHostVersion(7, 0));
  ASSERT_TRUE(result.ok) << result.errorText;
  EXPECT_EQ(result.errorCode, 0) << "the error code is not written on success";
  const std::vector<std::string> expected = {
      "Риск-параметры на срочном рынке", "Заявки по закрытию позиций", "",
      "Общие настройки", "Настройки оповещений", "Настройки рассылки", "Настройки расчета",
      "Настройки закрытия позиций", "Включить режим оповещений"};
  EXPECT_EQ(MenuItems("VanTrel FM"), expected);
  // 28 context-menu commands and the 8 menu commands each hold a host id.
  EXPECT_EQ(host.IssuedCount(), 36u);
  EXPECT_EQ(host.Log().Count(101), 1) << "the invalid-parameter handler option is asked once";
  EXPECT_TRUE(plugin.HasCallback(22));
  EXPECT_FALSE(plugin.HasCallback(13));
}

TEST_F(PluginEntryTest, OtherHostVersionsAreRefusedWithCode2AndTheExactText) {
  for (uint32_t version : {host::MakeHostVersion(7, 1), host::MakeHostVersion(6, 0)}) {
    const InitResult result = plugin.InitEx(version);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorCode, 2);
    EXPECT_EQ(result.errorText, kNotCompatible);
    EXPECT_EQ(MenuCount("VanTrel FM"), 0);
  }
}

TEST_F(PluginEntryTest, ErrorTextIsTruncatedToTheBufferAndTerminated) {
  const InitResult shortBuffer = plugin.InitEx(host::MakeHostVersion(6, 0), 10);
  EXPECT_EQ(shortBuffer.errorText, std::string(kNotCompatible, 9));

  auto initEx = reinterpret_cast<host::PluginInitExFn>(
      reinterpret_cast<void*>(GetProcAddress(plugin.Module(), "PLUGIN_InitEx")));
  char untouched[4] = {'x', 'y', 'z', 0};
  int code = 0;
  EXPECT_FALSE(initEx(1, host.FunctionTable(), plugin.Callbacks(), "", host::MakeHostVersion(6, 0),
                      0, &code, untouched, 0));
  EXPECT_EQ(code, 2);
  EXPECT_STREQ(untouched, "xyz") << "a buffer of size 0 is not written";
  EXPECT_FALSE(initEx(1, host.FunctionTable(), plugin.Callbacks(), "", host::MakeHostVersion(6, 0),
                      0, nullptr, nullptr, 512))
      << "null error outputs are skipped, not written";
}

TEST_F(PluginEntryTest, MissingTablesGiveCodes3And4) {
  auto initEx = reinterpret_cast<host::PluginInitExFn>(
      reinterpret_cast<void*>(GetProcAddress(plugin.Module(), "PLUGIN_InitEx")));
  char text[512] = {};
  int code = 0;
  EXPECT_FALSE(initEx(1, nullptr, plugin.Callbacks(), "", host::MakeHostVersion(7, 0), 0, &code,
                      text, sizeof text));
  EXPECT_EQ(code, 3);
  EXPECT_STREQ(text, kNotCompatible);
  EXPECT_FALSE(initEx(1, host.FunctionTable(), nullptr, "", host::MakeHostVersion(7, 0), 0, &code,
                      text, sizeof text));
  EXPECT_EQ(code, 4);
}

TEST_F(PluginEntryTest, HostTableDeclaredSizeLimitsTheCopy) {
  // A table declaring 1000 bytes is copied up to the 884 the plug-in knows.
  std::vector<uint32_t> large(250, 0);
  std::memcpy(large.data(), host.FunctionTable(), host::kFunctionTableBytes);
  large[0] = 1000;
  ASSERT_TRUE(plugin.InitEx(host::MakeHostVersion(7, 0), 512, large.data()).ok);
  EXPECT_EQ(host.Log().Count(101), 1);
}

TEST_F(PluginEntryTest, HostTableOf400BytesLeavesLaterEntriesUnset) {
  std::vector<uint32_t> small(host::kFunctionCount, 0);
  std::memcpy(small.data(), host.FunctionTable(), host::kFunctionTableBytes);
  small[0] = 400;  // entries 1 to 99: menus and command ids are there, option 101 is not
  const InitResult result = plugin.InitEx(host::MakeHostVersion(7, 0), 512, small.data());
  ASSERT_TRUE(result.ok) << result.errorText;
  EXPECT_EQ(host.Log().Count(101), 0) << "an entry past the declared size is never called";
  EXPECT_EQ(MenuCount("VanTrel FM"), 1);
}

TEST_F(PluginEntryTest, CallbackTableOf100BytesGetsOnlyItsFirst100Bytes) {
  uint32_t* callbacks = plugin.Callbacks();
  for (int i = 1; i < host::kCallbackCount; ++i) callbacks[i] = 0xCDCDCDCD;
  plugin.DeclareCallbackTableSize(100);
  ASSERT_TRUE(plugin.InitEx().ok);
  EXPECT_EQ(callbacks[0], host::kCallbackTableBytes) << "entry 0 is copied as the plug-in's size";
  EXPECT_NE(callbacks[22], 0xCDCDCDCDu);
  EXPECT_EQ(callbacks[13], 0u);
  for (int i = 25; i < host::kCallbackCount; ++i) EXPECT_EQ(callbacks[i], 0xCDCDCDCDu) << i;
}

TEST_F(PluginEntryTest, OldEntryPointRefusesShortTablesAndAcceptsFullOnes) {
  plugin.DeclareCallbackTableSize(100);
  EXPECT_FALSE(plugin.Init());
  plugin.DeclareCallbackTableSize(host::kCallbackTableBytes);
  std::vector<uint32_t> small(host::kFunctionCount, 0);
  std::memcpy(small.data(), host.FunctionTable(), host::kFunctionTableBytes);
  small[0] = 880;
  EXPECT_FALSE(plugin.Init(small.data()));
  EXPECT_TRUE(plugin.Init());
  EXPECT_EQ(MenuCount("VanTrel FM"), 1);
  EXPECT_EQ(host.Log().Count(101), 0) << "the old entry point asks no option";
}

TEST_F(PluginEntryTest, MissingHostFunctionsAreNotCalledAndFailTheMenuWithCode5) {
  host.Remove(9);  // no command ids from this host
  const InitResult result = plugin.InitEx();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorCode, 5);
  EXPECT_EQ(result.errorText, "Не удалось добавить меню.");
  EXPECT_EQ(MenuCount("VanTrel FM"), 0) << "the half-built host menu is removed";
}

TEST_F(PluginEntryTest, HostWithoutMenusFailsWithCode5) {
  host.Remove(7);
  const InitResult result = plugin.InitEx();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorCode, 5);
}

TEST_F(PluginEntryTest, EntrySixAnswersOneForAnUnknownCommandId) {
  ASSERT_TRUE(plugin.InitEx().ok);
  char buffer[64] = "unchanged";
  EXPECT_EQ(plugin.Callback<6>(12345, buffer, static_cast<int>(sizeof buffer)), 1);
  EXPECT_STREQ(buffer, "unchanged");
}

TEST_F(PluginEntryTest, PluginParamAndOtherBaseEntriesAnswerTheirDefaults) {
  ASSERT_TRUE(plugin.InitEx().ok);
  EXPECT_TRUE(plugin.Callback<1>());
  EXPECT_TRUE(plugin.Callback<23>(0));
  EXPECT_EQ(plugin.Callback<28>(1, 2, 3), 1);
  EXPECT_EQ(plugin.Callback<5>(0, "", 0, 0, 0), 0);
  // The host's notifications reach the plug-in without effect on its tables.
  const uint32_t values[3] = {1, 2, 3};
  plugin.Callback<12>(values);
  plugin.Callback<9>(1);
  plugin.Callback<26>();
  EXPECT_EQ(MenuCount("VanTrel FM"), 1);
}

TEST_F(PluginEntryTest, ModuleDoneReleasesCommandIdsAndRemovesTheMenu) {
  ASSERT_TRUE(plugin.InitEx().ok);
  ASSERT_GT(host.IssuedCount(), 0u);
  EXPECT_TRUE(plugin.Callback<3>());
  EXPECT_EQ(host.IssuedCount(), 0u);
  EXPECT_EQ(host.Log().Count(10), 36);
  EXPECT_EQ(MenuCount("VanTrel FM"), 0);
}

TEST_F(PluginEntryTest, ReloadedPluginRegistersItsWindowClassAfresh) {
  ASSERT_TRUE(plugin.InitEx().ok);
  WNDCLASSA info;
  HINSTANCE firstImage = plugin.Module();
  ASSERT_TRUE(GetClassInfoA(firstImage, "CPluginRootChildWnd", &info));
  plugin.Shutdown();
  EXPECT_FALSE(GetClassInfoA(firstImage, "CPluginRootChildWnd", &info))
      << "the class is unregistered when the module is done";
  plugin.Unload();

  ASSERT_TRUE(plugin.Load());
  ASSERT_TRUE(plugin.InitEx().ok);
  ASSERT_TRUE(GetClassInfoA(plugin.Module(), "CPluginRootChildWnd", &info));
  // A window of the class runs the procedure of the loaded image.
  HWND window = CreateWindowA("CPluginRootChildWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              plugin.Module(), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT);
  DestroyWindow(window);
  EXPECT_EQ(MenuCount("VanTrel FM"), 1);
}

TEST_F(PluginEntryTest, MenuClickInTheHostReachesThePlugin) {
  ASSERT_TRUE(plugin.InitEx().ok);
  HMENU menu = host.MenuByCaption("VanTrel FM", false);
  ASSERT_NE(menu, nullptr);
  // The notification switch: a command that opens no window.
  const UINT hostId = GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
  ASSERT_TRUE(host.IsIssued(static_cast<int>(hostId)));
  SendMessageA(host.Frame(), WM_COMMAND, MAKEWPARAM(hostId, 0), 0);
  EXPECT_EQ(host.Log().Details(-2), std::vector<std::string>{std::to_string(hostId)});
}
}  // namespace
