// The plug-in's entry points and callback table, driven through the real
// VanTrel.dll loaded by the stand-in host.
#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"
#include "support/window_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr char kNotCompatible[] = "Загружаемый модуль не совместим с данной версией клиентского места.";

class PluginEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", false));
    ASSERT_TRUE(plugin.Load()) << "VanTrel.dll not found beside the test";
  }
  std::vector<std::string> MenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text - 1, MF_BYPOSITION);
      items.push_back(text);
    }
    return items;
  }
  int MenuCount() {
    const std::vector<std::string> bar = MenuItems(GetMenu(host.Frame()));
    return static_cast<int>(std::count(bar.begin(), bar.end(), "VanTrel FM"));
  }
  // The entry point called with the tables and outputs given.
  bool InitEx(const uint32_t* functions, uint32_t* callbacks, uint32_t version, int* code, char* text, int size) {
    auto initEx = reinterpret_cast<host::PluginInitExFn>(
        reinterpret_cast<void*>(GetProcAddress(plugin.Module(), "PLUGIN_InitEx")));
    return initEx(1, functions, callbacks, "", version, 0, code, text, size);
  }
  void Reload() {
    plugin.Shutdown();
    plugin.Unload();
    ASSERT_TRUE(plugin.Load());
  }
  // A copy of the host's function table that declares its own size.
  std::vector<uint32_t> FunctionTableOf(uint32_t bytes) {
    std::vector<uint32_t> table(250, 0);
    std::memcpy(table.data(), host.FunctionTable(), host::kFunctionTableBytes);
    table[0] = bytes;
    return table;
  }

  StandInHost host;
  PluginLibrary plugin{host};
};

TEST_F(PluginEntryTest, HostVersion70InitialisesAndAddsThePluginMenu) {
  const InitResult result = plugin.InitEx(host::MakeHostVersion(7, 0));
  ASSERT_TRUE(result.ok) << result.errorText;
  EXPECT_EQ(result.errorCode, 0) << "the error code is not written on success";
  EXPECT_EQ(MenuItems(host.MenuByCaption("VanTrel FM", false)),
            (std::vector<std::string>{"Риск-параметры на срочном рынке", "Заявки по закрытию позиций", "",
                                      "Общие настройки", "Настройки оповещений", "Настройки рассылки",
                                      "Настройки расчета", "Настройки закрытия позиций", "Включить режим оповещений"}));
  EXPECT_EQ(host.IssuedCount(), 66u)
      << "28 context-menu commands, the 30 sort commands of the risk table and the 8 menu commands each hold a host id";
  EXPECT_EQ(host.Log().Count(101), 1) << "the invalid-parameter handler option is asked once";
  EXPECT_TRUE(plugin.HasCallback(22) && !plugin.HasCallback(13));
  // A menu click in the host reaches the plug-in: the notification switch, a command that opens no window.
  HMENU menu = host.MenuByCaption("VanTrel FM", false);
  const UINT hostId = GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
  SendMessageA(host.Frame(), WM_COMMAND, MAKEWPARAM(hostId, 0), 0);
  EXPECT_EQ(host.Log().Details(-2), std::vector<std::string>{std::to_string(hostId)});
}

TEST_F(PluginEntryTest, RefusalsGiveTheirCodeAndTextAndLeaveNoMenu) {
  char text[512];
  int code = 0;
  // Codes 2: another host version, 3 and 4: a table missing.
  const struct { const uint32_t* functions; uint32_t* callbacks; uint32_t version; int code; } cases[] = {
      {host.FunctionTable(), plugin.Callbacks(), host::MakeHostVersion(7, 1), 2},
      {host.FunctionTable(), plugin.Callbacks(), host::MakeHostVersion(6, 0), 2},
      {nullptr, plugin.Callbacks(), host::MakeHostVersion(7, 0), 3},
      {host.FunctionTable(), nullptr, host::MakeHostVersion(7, 0), 4},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(InitEx(c.functions, c.callbacks, c.version, &code, text, sizeof text));
    EXPECT_EQ(std::to_string(code) + " " + text + " " + std::to_string(MenuCount()),
              std::to_string(c.code) + " " + kNotCompatible + " 0");
  }
  EXPECT_EQ(plugin.InitEx(host::MakeHostVersion(6, 0), 10).errorText, std::string(kNotCompatible, 9))
      << "cut to the buffer and terminated";
  char untouched[4] = "xyz";
  EXPECT_FALSE(InitEx(host.FunctionTable(), plugin.Callbacks(), host::MakeHostVersion(6, 0), &code, untouched, 0));
  EXPECT_STREQ(untouched, "xyz") << "a buffer of size 0 is not written";
  EXPECT_FALSE(InitEx(host.FunctionTable(), plugin.Callbacks(), host::MakeHostVersion(6, 0), nullptr, nullptr, 512))
      << "null error outputs are skipped, not written";
}

class MissingHostFunctionTest : public PluginEntryTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingHostFunctionTest, IsNotCalledAndFailsTheMenuWithCode5) {
  host.Remove(GetParam());
  const InitResult result = plugin.InitEx();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.errorCode, 5);
  EXPECT_EQ(result.errorText, "Не удалось добавить меню.");
  EXPECT_EQ(MenuCount(), 0) << "the half-built host menu is removed";
}

INSTANTIATE_TEST_SUITE_P(MenusAndCommandIds, MissingHostFunctionTest, ::testing::Values(7, 9));

TEST_F(PluginEntryTest, TheDeclaredTableSizesLimitWhatIsCopiedAndCalled) {
  std::vector<uint32_t> large = FunctionTableOf(1000);  // copied up to the 884 bytes the plug-in knows
  ASSERT_TRUE(plugin.InitEx(host::MakeHostVersion(7, 0), 512, large.data()).ok);
  EXPECT_EQ(host.Log().Count(101), 1);
  Reload();

  std::vector<uint32_t> small = FunctionTableOf(400);  // entries 1 to 99: menus and ids, not option 101
  host.Log().Clear();
  ASSERT_TRUE(plugin.InitEx(host::MakeHostVersion(7, 0), 512, small.data()).ok);
  EXPECT_EQ(host.Log().Count(101), 0) << "an entry past the declared size is never called";
  EXPECT_EQ(MenuCount(), 1);
  Reload();

  uint32_t* callbacks = plugin.Callbacks();
  for (int i = 1; i < host::kCallbackCount; ++i) callbacks[i] = 0xCDCDCDCD;
  plugin.DeclareCallbackTableSize(100);
  ASSERT_TRUE(plugin.InitEx().ok);
  EXPECT_EQ(callbacks[0], host::kCallbackTableBytes) << "entry 0 is copied as the plug-in's size";
  EXPECT_NE(callbacks[22], 0xCDCDCDCDu);
  EXPECT_EQ(callbacks[13], 0u);
  for (int i = 25; i < host::kCallbackCount; ++i) EXPECT_EQ(callbacks[i], 0xCDCDCDCDu) << i;
  Reload();

  plugin.DeclareCallbackTableSize(100);
  EXPECT_FALSE(plugin.Init()) << "the old entry point refuses short tables";
  plugin.DeclareCallbackTableSize(host::kCallbackTableBytes);
  EXPECT_FALSE(plugin.Init(FunctionTableOf(880).data()));
  host.Log().Clear();
  EXPECT_TRUE(plugin.Init());
  EXPECT_EQ(MenuCount(), 1);
  EXPECT_EQ(host.Log().Count(101), 0) << "the old entry point asks no option";
}

TEST_F(PluginEntryTest, BaseEntriesAnswerTheirDefaultsAndModuleDoneUndoesTheMenu) {
  ASSERT_TRUE(plugin.InitEx().ok);
  char buffer[64] = "unchanged";
  EXPECT_EQ(plugin.Callback<6>(12345, buffer, static_cast<int>(sizeof buffer)), 1) << "an unknown command id";
  EXPECT_STREQ(buffer, "unchanged");
  EXPECT_TRUE(plugin.Callback<1>() && plugin.Callback<23>(0));
  EXPECT_EQ(std::vector<int>({static_cast<int>(plugin.Callback<28>(1, 2, 3)), plugin.Callback<5>(0, "", 0, 0, 0)}),
            std::vector<int>({1, 0}));
  const uint32_t values[3] = {1, 2, 3};
  plugin.Callback<12>(values);
  plugin.Callback<9>(1);
  plugin.Callback<26>();
  EXPECT_EQ(MenuCount(), 1) << "the host's notifications leave the plug-in's menu";
  EXPECT_TRUE(plugin.Callback<3>());
  EXPECT_EQ(host.IssuedCount() + MenuCount(), 0u) << "module done releases the command ids and the menu";
  EXPECT_EQ(host.Log().Count(10), 66);
}

// The colour-select control's class, and the class of the palette its first
// control registers, go with the module as the root window's class does.
TEST_F(PluginEntryTest, ReloadedPluginRegistersItsWindowClassesAfresh) {
  ASSERT_TRUE(plugin.InitEx().ok);
  WNDCLASSA info;
  HINSTANCE firstImage = plugin.Module();
  ASSERT_TRUE(GetClassInfoA(firstImage, "CPluginRootChildWnd", &info));
  ASSERT_TRUE(GetClassInfoA(firstImage, "ClassColorSelectCtrl", &info));
  DestroyWindow(CreateWindowA("ClassColorSelectCtrl", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, firstImage, nullptr));
  ASSERT_TRUE(GetClassInfoA(firstImage, "WndColorCtrl", &info));
  plugin.Shutdown();
  for (const char* name : {"CPluginRootChildWnd", "ClassColorSelectCtrl", "WndColorCtrl"})
    EXPECT_FALSE(GetClassInfoA(firstImage, name, &info)) << name << " unregistered when the module is done";
  plugin.Unload();
  ASSERT_TRUE(plugin.Load());
  ASSERT_TRUE(plugin.InitEx().ok);
  // Windows of the classes run the procedures of the loaded image.
  HWND window = CreateWindowA("CPluginRootChildWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              plugin.Module(), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT);
  DestroyWindow(window);
  HWND select = CreateWindowA("ClassColorSelectCtrl", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                              plugin.Module(), nullptr);
  ASSERT_NE(select, nullptr);
  SetWindowTextA(select, "65280");
  EXPECT_EQ(WindowText(select), "65280");
  DestroyWindow(select);
}

// The message box's captions are in the plug-in's string table.
TEST_F(PluginEntryTest, StringTableHoldsTheMessageBoxTexts) {
  const std::vector<std::pair<int, std::string>> strings = {
      {9, "Ошибка"}, {12, "Прервать"}, {13, "Повтор"}, {14, "Пропустить"}, {15, "OK"},
      {16, "Отмена"}, {17, "Да"}, {18, "Нет"}, {19, "Помощь"}};
  for (const auto& string : strings) {
    char text[64] = {};
    LoadStringA(plugin.Module(), string.first, text, sizeof text);
    EXPECT_EQ(text, string.second) << string.first;
  }
}

// The colour control's windows take it as their small icon.
TEST_F(PluginEntryTest, TheImageHoldsItsSmallIcon) {
  HANDLE icon = LoadImageA(plugin.Module(), MAKEINTRESOURCEA(5), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                           GetSystemMetrics(SM_CYSMICON), 0);
  ASSERT_NE(icon, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
  BITMAP colour = {};
  GetObjectA(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXSMICON));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(static_cast<HICON>(icon));
}

TEST_F(PluginEntryTest, TheSearchPanelClassLivesFromInitialisationToModuleDone) {
  WNDCLASSA info;
  ASSERT_TRUE(plugin.InitEx().ok);
  HINSTANCE firstImage = plugin.Module();
  ASSERT_TRUE(GetClassInfoA(firstImage, "SearchListBoxClass_Plugin", &info));
  plugin.Shutdown();
  EXPECT_FALSE(GetClassInfoA(firstImage, "SearchListBoxClass_Plugin", &info));
  plugin.Unload();
  ASSERT_TRUE(plugin.Load());
  ASSERT_TRUE(plugin.InitEx().ok);
  ASSERT_TRUE(GetClassInfoA(plugin.Module(), "SearchListBoxClass_Plugin", &info));
  MEMORY_BASIC_INFORMATION image = {};
  VirtualQuery(reinterpret_cast<void*>(info.lpfnWndProc), &image, sizeof image);
  EXPECT_EQ(image.AllocationBase, plugin.Module()) << "the panel procedure of the loaded image";
}

}  // namespace
