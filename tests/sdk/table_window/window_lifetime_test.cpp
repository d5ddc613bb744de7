// Plug-in windows and dialogs in the host's frame: binding and who deletes
// whom; and an edit whose number the host refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sdk/plugin_dialog.h"
#include "support/table_environment.h"
#include "support/window_text.h"
#include "test_table.h"

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
  int notifies = 0;
  static inline int destroyed = 0;
  static inline LONG_PTR userDataAtDelete = 0;  // the window's user data when the object went
};

// Its command closes its own frame and goes on: the object must outlive the
// command that runs it.
class SelfClosingWindow : public CZPluginChildWnd {
 public:
  SelfClosingWindow() : CZPluginChildWnd("Окно", 4243) {}
  ~SelfClosingWindow() override { ++destroyed; }
  int OnNotify(int, NMHDR*, LRESULT*) override {
    CloseFrame();
    destroyedInCommand = destroyed;
    goneInCommand = WindowGone();
    return 1;
  }
  static inline int destroyed = 0, destroyedInCommand = -1;
  static inline bool goneInCommand = false;
};

class TestDialog : public CZPluginDialog {
 public:
  explicit TestDialog(const char* title) : CZPluginDialog(title, 901, 210605) {}
  ~TestDialog() override { ++destroyed; }
  int OnInitDialog(WPARAM wParam, LPARAM lParam) override { return ++inits, CZPluginDialog::OnInitDialog(wParam, lParam); }
  int inits = 0;
  static inline int destroyed = 0;
};

class WindowLifetimeTest : public ::testing::Test {
 protected:
  TableEnvironment env_;
};

TEST_F(WindowLifetimeTest, AWindowObjectTakesNotificationsAndGoesOnceWithItsFrameOrAWindowItOwns) {
  CountingWindow* windows[3] = {new CountingWindow, new CountingWindow, new CountingWindow};
  HWND hwnds[3];
  for (int i = 0; i < 3; ++i)
    hwnds[i] = windows[i]->Create(nullptr, nullptr, WS_VISIBLE | WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, 0);
  NMHDR header = {nullptr, 5, 1};
  SendMessageA(hwnds[0], WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  header.hwndFrom = hwnds[0];
  SendMessageA(hwnds[0], WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(windows[0]->notifies, 1) << "a notification without a source window is not handled";
  const int before = CountingWindow::destroyed;
  CountingWindow::userDataAtDelete = -1;
  windows[0]->CloseFrame();
  env_.Pump();
  EXPECT_EQ(CountingWindow::userDataAtDelete, 0) << "the user data was cleared before the object went";
  EXPECT_EQ(CZPluginChildWnd::GetWindowObject(hwnds[0]), nullptr);
  delete windows[1];
  windows[2]->SetOwnsWindow(FALSE);
  delete windows[2];
  EXPECT_EQ(CountingWindow::destroyed, before + 3) << "each once, without coming back";
  EXPECT_EQ(std::vector<bool>({IsWindow(hwnds[0]) != 0, IsWindow(hwnds[1]) != 0, IsWindow(hwnds[2]) != 0}),
            std::vector<bool>({false, false, true}));
  EXPECT_EQ(GetWindowLongPtrA(hwnds[2], GWLP_USERDATA), 0) << "the window keeps no pointer to the deleted object";
  SendMessageA(hwnds[2], WM_SIZE, 0, MAKELPARAM(10, 10));
  DestroyWindow(hwnds[2]);
}

TEST_F(WindowLifetimeTest, AWindowClosedByItsOwnCommandGoesOnceTheCommandReturns) {
  auto* window = new SelfClosingWindow;
  HWND hwnd = window->Create(nullptr, nullptr, WS_VISIBLE | WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, 0);
  ASSERT_NE(hwnd, nullptr);
  const int before = SelfClosingWindow::destroyed;
  NMHDR header = {hwnd, 5, 1};
  SendMessageA(hwnd, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
  env_.Pump();
  EXPECT_EQ(SelfClosingWindow::destroyedInCommand, before) << "not freed under its command";
  EXPECT_TRUE(SelfClosingWindow::goneInCommand) << "the command learns that its window went";
  EXPECT_EQ(SelfClosingWindow::destroyed, before + 1) << "freed once it returned";
  EXPECT_FALSE(IsWindow(hwnd));

  auto* idle = new SelfClosingWindow;
  ASSERT_NE(idle->Create(nullptr, nullptr, WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, 0), nullptr);
  idle->DeleteWhenIdle();
  EXPECT_EQ(SelfClosingWindow::destroyed, before + 2) << "an object no command runs goes at once";
}

TEST_F(WindowLifetimeTest, ADeletedTableReleasesItsServices) {
  env_.Services().SetOn(true);
  TestTable* table = OpenTestTable(env_);
  ASSERT_NE(table, nullptr);
  SendMessageA(table->GetHwnd(), WM_COMMAND, kCommandListService, 0);
  HWND hwnd = table->GetHwnd();
  const int id = table->GetView()->ListServiceId();
  env_.Services().ClearLog();
  const int before = TestTable::destroyed;
  delete table;
  EXPECT_EQ(TestTable::destroyed, before + 1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(env_.Services().ListServiceRunning(id));
  const auto& log = env_.Services().Log();
  for (const std::string& line : {"168 " + std::to_string(id), std::string("175"), std::string("176")})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  EXPECT_TRUE(env_.Module().tables.empty());
}

TEST_F(WindowLifetimeTest, AModalDialogRunsThroughTheHostWithItsTitle) {
  TestDialog dialog("Заголовок");
  EXPECT_TRUE(env_.Module().dialogs.count(&dialog));
  DialogDriver ok([](HWND d) { DialogDriver::Press(d, IDOK); });
  EXPECT_EQ(dialog.DoModal(nullptr), 1);
  EXPECT_EQ(env_.Host().Log().Details(30), std::vector<std::string>{"901"}) << "run by host function 30";
  EXPECT_EQ(ok.Caption(), "Заголовок");
  EXPECT_EQ(dialog.inits, 1);
  DialogDriver cancel([](HWND d) { DialogDriver::Press(d, IDCANCEL); });
  EXPECT_EQ(dialog.DoModal(nullptr), 2);

  dialog.SetTitle("");
  DialogDriver untitled([](HWND d) { DialogDriver::Press(d, IDOK); });
  dialog.DoModal(nullptr);
  EXPECT_EQ(untitled.Caption(), "Шаблон") << "an empty title keeps the template's caption";
  dialog.SetTitle(std::string(600, 'a').c_str());
  EXPECT_EQ(std::string(dialog.GetTitle()), std::string(511, 'a'));
  dialog.SetTitle(nullptr);
  EXPECT_STREQ(dialog.GetTitle(), "");
}

// Only the dialog's own end counts: the host's loop ending on a quit, or
// the owner going, answers OK by itself.
TEST_F(WindowLifetimeTest, AModalDialogEndedOtherwiseThanByItsButtonsIsCancelled) {
  HWND owner = CreateWindowExA(0, "STATIC", "владелец", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  TestDialog dialog("Заголовок");
  DialogDriver quit(DialogDriver::Quit);
  EXPECT_EQ(dialog.DoModal(owner), 2);
  EXPECT_TRUE(DialogDriver::TakeQuit()) << "the quit stays for the host";
  DialogDriver ownerGone([owner](HWND) { DestroyWindow(owner); });
  EXPECT_EQ(dialog.DoModal(owner), 2);
  ASSERT_TRUE(ownerGone.Ran());
  DialogDriver stopped([&](HWND) { dialog.EndDialog(3); });
  EXPECT_EQ(dialog.DoModal(nullptr), 3) << "the plug-in stopping ends it with its own code";
  DialogDriver stoppedThenOk([&](HWND d) { dialog.EndDialog(3), DialogDriver::Press(d, IDOK); });
  EXPECT_EQ(dialog.DoModal(nullptr), 3) << "the first end counts: OK pressed after it changes nothing";
  DialogDriver ok([](HWND d) { DialogDriver::Press(d, IDOK); });
  EXPECT_EQ(dialog.DoModal(nullptr), 1) << "the next run starts afresh";
}

TEST_F(WindowLifetimeTest, AModelessDialogLivesInAHostFrameAndDeletesItselfOnce) {
  auto* dialog = new TestDialog("Немодальный");
  ASSERT_TRUE(dialog->CreateModeless(nullptr, 0));
  HWND frame = dialog->GetHwnd(), inner = dialog->GetDialogWindow();
  ASSERT_TRUE(IsWindow(inner));
  EXPECT_EQ(GetParent(frame), env_.MdiClient());
  EXPECT_EQ(GetParent(inner), frame);
  EXPECT_EQ(GetWindowLongA(inner, GWL_STYLE) & (WS_CHILD | WS_CAPTION | WS_POPUP), WS_CHILD);
  EXPECT_EQ(dialog->inits, 1);
  EXPECT_EQ(env_.Windows().RegisteredDialogs(), std::vector<HWND>{inner});
  EXPECT_EQ(dialog->OnOK(), 0) << "OK of a modeless dialog does nothing";
  int before = TestDialog::destroyed;
  DialogDriver::Press(inner, IDCANCEL);
  env_.Pump();
  EXPECT_EQ(TestDialog::destroyed, before + 1);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(env_.Windows().RegisteredDialogs().empty() && env_.Module().dialogs.empty());

  dialog = new TestDialog("Немодальный");
  ASSERT_TRUE(dialog->CreateModeless(nullptr, 0));
  before = TestDialog::destroyed;
  dialog->CloseFrame();
  env_.Pump();
  EXPECT_EQ(TestDialog::destroyed, before + 1) << "closing the frame deletes it once";
  EXPECT_TRUE(env_.Module().dialogs.empty());
}

TEST_F(WindowLifetimeTest, ADecimalEditDropsTheKeystrokeTheHostRefuses) {
  HWND edit = CreateWindowA("EDIT", "12,345", WS_POPUP | WS_VISIBLE, 0, 0, 200, 30, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(edit);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 6, 6);  // the caret after a third decimal just typed
  env_.Module().ValidateDecimalEdit(edit, EN_UPDATE, 2, 10, 0, 0);
  DWORD caret = 0;
  SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(WindowText(edit) + " caret " + std::to_string(caret), "12,34 caret 5");
  DestroyWindow(edit);
}

}  // namespace
}  // namespace table_test
