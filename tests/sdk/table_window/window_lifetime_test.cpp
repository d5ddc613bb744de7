// Plug-in windows and dialogs: binding, saving, and who deletes whom.
#include <gtest/gtest.h>

#include <string>

#include "sdk/plugin_dialog.h"
#include "support/dialog_driver.h"
#include "test_environment.h"

namespace table_test {
namespace {

class CountingWindow : public CZPluginChildWnd {
 public:
  CountingWindow() : CZPluginChildWnd("Окно", 4242) {}
  ~CountingWindow() override {
    ++destroyed;
    if (window_ && IsWindow(window_)) userDataAtDelete = GetWindowLongPtrA(window_, GWLP_USERDATA);
  }
  int OnNotify(int, NMHDR*, LRESULT*) override { return ++notifies, 1; }
  HWND CreateVisible() {
    return Create(nullptr, nullptr, WS_VISIBLE | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, 0);
  }
  int notifies = 0;
  static int destroyed;
  static LONG_PTR userDataAtDelete;  // the window's user data when the object went
};
int CountingWindow::destroyed = 0;
LONG_PTR CountingWindow::userDataAtDelete = 0;

class TestDialog : public CZPluginDialog {
 public:
  explicit TestDialog(const char* title) : CZPluginDialog(title, 901, 210605) {}
  ~TestDialog() override { ++destroyed; }
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    ++inits;
    return CZPluginDialog::OnInitDialog(wParam, lParam);
  }
  int inits = 0;
  static int destroyed;
};
int TestDialog::destroyed = 0;

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
  uint32_t v = 0;
  if (offset + 4 <= bytes.size()) memcpy(&v, bytes.data() + offset, 4);
  return v;
}

TEST(PluginWindow, SaveMessageWritesExactlyTheThreeMarkersAndIsPassedOn) {
  TestEnvironment env;
  auto* window = new CountingWindow;
  ASSERT_NE(window->CreateVisible(), nullptr);
  EXPECT_EQ(GetParent(window->GetHwnd()), env.MdiClient());
  ASSERT_EQ(env.SaveLayout(), 1);
  const std::vector<uint8_t>& record = env.Windows().Store().Records()[0];
  ASSERT_EQ(record.size(), 12u);
  EXPECT_EQ(U32At(record, 0), 20090420u);
  EXPECT_EQ(U32At(record, 4), 4242u);
  EXPECT_EQ(U32At(record, 8), 25029u);
  EXPECT_EQ(env.Windows().Store().SavedWindows().size(), 1u) << "host function 61 ran";
  EXPECT_FALSE(env.Windows().Store().InSection()) << "the section was ended";
}

TEST(PluginWindow, LoadStateFailsOnAShortStreamAndOnAnotherMarker) {
  TestEnvironment env;
  CountingWindow window;
  auto& store = env.Windows().Store();
  store.Records() = {{0xC5, 0x61}, {0xC6, 0x61, 0, 0}, {0xC5, 0x61, 0, 0}};
  for (uint32_t i = 0; i < 3; ++i) {
    store.BeginSection(i, WindowStateStore::kRestoreTag);
    EXPECT_EQ(window.LoadState(), i == 2) << i;
    store.EndSection();
  }
}

TEST(PluginWindow, NotifyWithoutASourceWindowIsNotHandled) {
  TestEnvironment env;
  auto* window = new CountingWindow;
  ASSERT_NE(window->CreateVisible(), nullptr);
  NMHDR header = {nullptr, 5, 1};
  SendMessageA(window->GetHwnd(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(window->notifies, 0);
  header.hwndFrom = window->GetHwnd();
  SendMessageA(window->GetHwnd(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(window->notifies, 1);
}

TEST(PluginWindow, ClosingTheFrameDeletesTheObjectOnceAndUnbindsIt) {
  TestEnvironment env;
  auto* window = new CountingWindow;
  HWND hwnd = window->CreateVisible();
  ASSERT_NE(hwnd, nullptr);
  int before = CountingWindow::destroyed;
  CountingWindow::userDataAtDelete = -1;
  window->CloseFrame();
  env.Pump();
  EXPECT_EQ(CountingWindow::destroyed, before + 1);
  EXPECT_EQ(CountingWindow::userDataAtDelete, 0) << "the user data was cleared before the object went";
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(CZPluginChildWnd::GetWindowObject(hwnd), nullptr);
}

TEST(PluginWindow, DeletingTheObjectDestroysItsWindowWithoutComingBack) {
  TestEnvironment env;
  auto* window = new CountingWindow;
  HWND hwnd = window->CreateVisible();
  int before = CountingWindow::destroyed;
  delete window;
  EXPECT_EQ(CountingWindow::destroyed, before + 1);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(PluginWindow, AWindowItDoesNotOwnOutlivesItUnbound) {
  TestEnvironment env;
  auto* window = new CountingWindow;
  HWND hwnd = window->CreateVisible();
  window->SetOwnsWindow(FALSE);
  delete window;
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0) << "the window keeps no pointer to the deleted object";
  SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(10, 10));
  DestroyWindow(hwnd);
}

TEST(PluginWindow, DeletingATableWithALiveWindowReleasesItsServices) {
  TestEnvironment env;
  env.Services().SetOn(true);
  TestTable* table = env.CreateTable();
  ASSERT_NE(table, nullptr);
  SendMessageA(table->GetHwnd(), WM_COMMAND, kCommandListService, 0);
  HWND hwnd = table->GetHwnd();
  int id = table->GetView()->ListServiceId();
  env.Services().ClearLog();
  int before = TestTable::destroyed;
  delete table;
  EXPECT_EQ(TestTable::destroyed, before + 1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(env.Services().ListServiceRunning(id));
  const auto& log = env.Services().Log();
  auto has = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
  EXPECT_TRUE(has("168 " + std::to_string(id)));
  EXPECT_TRUE(has("175"));
  EXPECT_TRUE(has("176"));
  EXPECT_TRUE(env.Module().tables.empty());
}

TEST(PluginWindow, ClosingATableWindowDeletesTheTableOnce) {
  TestEnvironment env;
  TestTable* table = env.CreateTable();
  ASSERT_NE(table, nullptr);
  int before = TestTable::destroyed;
  table->CloseFrame();
  env.Pump();
  EXPECT_EQ(TestTable::destroyed, before + 1);
  EXPECT_TRUE(env.Module().tables.empty());
}

TEST(PluginDialog, ModalRunsThroughTheHostWithItsTitle) {
  TestEnvironment env;
  TestDialog dialog("Заголовок");
  EXPECT_TRUE(env.Module().dialogs.count(&dialog));
  DialogDriver ok([](HWND d) { DialogDriver::Press(d, IDOK); });
  EXPECT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_TRUE(ok.Ran());
  EXPECT_EQ(env.Host().Log().Details(30), std::vector<std::string>{"901"}) << "run by host function 30";
  EXPECT_EQ(ok.Caption(), "Заголовок");
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_FALSE(dialog.IsModal());
  DialogDriver cancel([](HWND d) { DialogDriver::Press(d, IDCANCEL); });
  EXPECT_EQ(dialog.DoModal(nullptr), 2);
}

TEST(PluginDialog, AnEmptyTitleKeepsTheTemplateCaption) {
  TestEnvironment env;
  TestDialog dialog("");
  DialogDriver ok([](HWND d) { DialogDriver::Press(d, IDOK); });
  EXPECT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_EQ(ok.Caption(), "Шаблон");
}

TEST(PluginDialog, SetTitleKeepsAtMost511Characters) {
  TestEnvironment env;
  TestDialog dialog("x");
  dialog.SetTitle(std::string(600, 'a').c_str());
  EXPECT_EQ(std::string(dialog.GetTitle()), std::string(511, 'a'));
  dialog.SetTitle(nullptr);
  EXPECT_STREQ(dialog.GetTitle(), "");
}

TEST(PluginDialog, ModelessLivesInAHostFrameAndDeletesItselfOnce) {
  TestEnvironment env;
  auto* dialog = new TestDialog("Немодальный");
  ASSERT_TRUE(dialog->CreateModeless(nullptr, 0));
  HWND frame = dialog->GetHwnd();
  HWND inner = dialog->GetDialogWindow();
  ASSERT_TRUE(IsWindow(inner));
  EXPECT_EQ(GetParent(frame), env.MdiClient());
  EXPECT_EQ(GetParent(inner), frame);
  LONG style = GetWindowLongA(inner, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_POPUP);
  EXPECT_EQ(dialog->inits, 1);
  ASSERT_EQ(env.Windows().RegisteredDialogs().size(), 1u);
  EXPECT_EQ(env.Windows().RegisteredDialogs()[0], inner);

  EXPECT_EQ(dialog->OnOK(), 0) << "OK of a modeless dialog does nothing";
  EXPECT_TRUE(IsWindow(frame));
  int before = TestDialog::destroyed;
  DialogDriver::Press(inner, IDCANCEL);
  env.Pump();
  EXPECT_EQ(TestDialog::destroyed, before + 1);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(env.Windows().RegisteredDialogs().empty());
  EXPECT_TRUE(env.Module().dialogs.empty());
}

TEST(PluginDialog, ClosingTheFrameOfAModelessDialogDeletesItOnce) {
  TestEnvironment env;
  auto* dialog = new TestDialog("Немодальный");
  ASSERT_TRUE(dialog->CreateModeless(nullptr, 0));
  int before = TestDialog::destroyed;
  dialog->CloseFrame();
  env.Pump();
  EXPECT_EQ(TestDialog::destroyed, before + 1);
  EXPECT_TRUE(env.Module().dialogs.empty());
}

}  // namespace
}  // namespace table_test
