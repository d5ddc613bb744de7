// The host may be done with the plug-in (Done), stop its work (event 2) or
// close a window between any two of its calls: while a transaction of a send
// is on its way, while a table's dialog, its file dialog or its message is
// open, while a new table's dialog or the mailing settings' question is open.
// After it nothing more is sent, shown, made or applied, nothing of the
// plug-in stays on screen, info.ini is what it was and nothing freed is
// touched (module_tests_heap_checked plays every moment again under Wine's
// heap checks).
#include "closing_orders_fixture.h"
#include "resources/resource_ids.h"
#include "sdk/modal_loops.h"
#include "sdk/table_plugin.h"
#include "support/every_heap.h"
#include "windows/dialogs/prep_orders_cells.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

namespace {
enum : int { kFromFileBox = 1129, kFilePathEdit = 1130, kBrowseButton = 1131, kReloadButton = 1132, kSmtpServerEdit = 1026 };
constexpr char kAttention[] = "Внимание";

void Click(HWND window, int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
    *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

// A box or dialog of the given caption that opens while the watch lives:
// the action runs on it once, its text kept. It goes by the caption, so it
// can wait for a question inside a dialog another driver answers.
class CaptionWatch {
 public:
  CaptionWatch(const char* caption, std::function<void(HWND)> action)
      : caption_(caption), action_(std::move(action)), timer_(SetTimer(nullptr, 0, 30, OnTimer)), outer_(current_) {
    current_ = this;
  }
  ~CaptionWatch() {
    KillTimer(nullptr, timer_);
    current_ = outer_;
  }
  const std::string& Text() const { return text_; }
  bool Ran() const { return ran_; }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    char name[16] = {}, caption[128] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) || current_->caption_ != caption) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    CaptionWatch* self = current_;
    if (self == nullptr || self->ran_) return;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) return;
    self->ran_ = true;
    std::string text(4096, '\0');
    HWND label = FindWindowExA(box, nullptr, "Static", nullptr);
    while (label != nullptr && GetWindowTextLengthA(label) == 0) label = FindWindowExA(box, label, "Static", nullptr);
    if (label != nullptr) text.resize(static_cast<size_t>(GetWindowTextA(label, &text[0], 4096)));
    self->text_ = label != nullptr ? text : std::string();
    self->action_(box);
  }

  std::string caption_;
  std::function<void(HWND)> action_;
  UINT_PTR timer_;
  CaptionWatch* outer_;  // a watch of the dialog this one's box opens over
  bool ran_ = false;
  std::string text_;
  static CaptionWatch* current_;
};
CaptionWatch* CaptionWatch::current_ = nullptr;

class HostDoneTest : public ClosingOrdersTest {
 public:
  using ClosingOrdersTest::host;
  using ClosingOrdersTest::module;
  using ClosingOrdersTest::pattern;
  using ClosingOrdersTest::Windows;
  // Plug-in frames in the host.
  int Frames() {
    int count = 0;
    for (HWND frame = GetWindow(host.MdiClient(), GW_CHILD); frame != nullptr; frame = GetWindow(frame, GW_HWNDNEXT))
      ++count;
    return count;
  }
  static bool DialogShown() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found != nullptr;
  }
  void Done() {
    if (module.IsRunning()) module.OnModuleDone();
  }
  // The host's frame of the preparation window asked to close: the
  // question of its unsent lines is answered OK.
  void CloseWindow() {
    CaptionWatch answer(kAttention, [](HWND box) { DialogDriver::Press(box, IDOK); });
    SendMessageA(Window()->GetHostFrame(), WM_CLOSE, 0, 0);
  }
  // Three clients past their level and a window of all of them.
  void WindowOfThreeClients() {
    for (const char* account : {"ACC1", "ACC2", "ACC3"}) ClientShortOfTarget(account);
    ASSERT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 3);
  }
  void WindowOfOneClient() { ASSERT_EQ(module.OpenPrepOrdersDlg(ClientShortOfTarget("ACC1"), pattern), 1); }
  void SendAllIn(CVantrelPrepOrdersDlg* window) {
    SendMessageA(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(kSendAll), 0), 0);
  }
  // The window's command, with the moment on the first transaction.
  void SendWith(int command, const std::function<void()>& moment) {
    answers = {9001, 9002, 9003};
    bool first = true;
    ScriptedTransactions::whileSending = [&](int32_t) {
      if (first) first = false, moment();
    };
    Select(0);
    Command(command);
    ScriptedTransactions::whileSending = nullptr;
  }
  void OpenTable() { ASSERT_NE(riskTable = OpenRiskTable(), nullptr); }
  // The risk table's dialog; the action runs on it.
  void EditRiskTable(const DialogDriver::Action& action) {
    DialogDriver driver(action);
    SendMessageA(riskTable->GetHwnd(), WM_COMMAND, kCommandEditTable, 0);
  }
  // The file dialog or the message of the table's dialog, Done while it is
  // open; OK pressed after.
  void DoneInTableDialog(int button, const char* path = nullptr) {
    EditRiskTable([&](HWND dialog) {
      Click(dialog, kFromFileBox);
      if (path != nullptr) SetDlgItemTextA(dialog, kFilePathEdit, path);
      bool ran = false;
      {
        // The file dialog takes its caption from the system; the message is the plug-in's.
        DialogDriver fileDialog([&](HWND) { ran = true, Done(); });
        CaptionWatch message(kAttention, [&](HWND) { ran = true, Done(); });
        Click(dialog, button);
      }
      EXPECT_TRUE(ran);
      if (IsWindow(dialog)) DialogDriver::Press(dialog, IDOK);
    });
  }
  CTablePlugin* riskTable = nullptr;
  void CreateTableDoneThenOk(int command) {
    DialogDriver driver([&](HWND dialog) {
      Done();
      if (IsWindow(dialog)) DialogDriver::Press(dialog, IDOK);
    });
    module.OnMenuCommand(host.Frame(), command, false);
  }
};

struct Moment {
  const char* name;
  void (*prepare)(HostDoneTest&);
  void (*act)(HostDoneTest&);
  size_t sent;       // transactions the host took, the one in flight among them
  int windowsAfter;  // preparation windows left before the final Done
  const char* told;  // the last message of the window, "" for none
};

class HostDoneMoments : public HostDoneTest, public ::testing::WithParamInterface<Moment> {};

// Each moment, then Done when the moment was not one: nothing is left, info.ini
// holds the settings as they were and the heap is whole.
TEST_P(HostDoneMoments, NothingGoesOnAfterIt) {
  const Moment& moment = GetParam();
  module.Transport().NotifyByTraderMsg = true;  // the mailing settings ask at OK
  moment.prepare(*this);
  module.SaveSettings();
  const std::string settings = ReadFileBytes(folder.File("info.ini"));
  const int framesBefore = Frames();
  CaptionWatch told(kAttention, [](HWND box) { DialogDriver::Press(box, IDOK); });
  moment.act(*this);
  EXPECT_EQ(sent.size(), moment.sent) << moment.name;
  EXPECT_EQ(static_cast<int>(Windows().size()), module.IsRunning() ? moment.windowsAfter : 0) << moment.name;
  EXPECT_EQ(told.Text(), moment.told) << moment.name;
  // Only a stop that left lines unsent says so, in the box and in the log.
  EXPECT_EQ(ReadFileBytes(folder.File("VantrelFM.log")).find("stopped the plug-in's work") != std::string::npos,
            std::string(moment.told).find("прервана") != std::string::npos)
      << moment.name;
  EXPECT_LE(Frames(), framesBefore) << moment.name << ": no frame is made";
  if (module.IsRunning()) Done();
  EXPECT_EQ(Frames(), 0) << moment.name;
  EXPECT_TRUE(module.Tables().empty()) << moment.name;
  EXPECT_FALSE(DialogShown()) << moment.name;
  EXPECT_EQ(CModalLoop::Running(), 0) << moment.name;
  EXPECT_EQ(sent.size(), moment.sent) << moment.name;
  EXPECT_EQ(ReadFileBytes(folder.File("info.ini")), settings) << moment.name;
  EXPECT_TRUE(EveryHeapIsValid()) << moment.name;
}

void ThreeClients(HostDoneTest& t) { t.WindowOfThreeClients(); }
void OneClient(HostDoneTest& t) { t.WindowOfOneClient(); }
void Nothing(HostDoneTest&) {}
void RiskTable(HostDoneTest& t) { t.OpenTable(); }
// The client's window and one of all clients beside it.
void TwoWindows(HostDoneTest& t) {
  t.WindowOfOneClient();
  DialogDriver keep([](HWND box) { DialogDriver::Press(box, IDNO); });
  t.module.OpenClosingOrdersWindow(t.pattern, nullptr, false, nullptr);
}
void UnreadableEmailFile(HostDoneTest& t) {
  t.module.Transport().NotifyByTraderMsg = false;
  t.module.Transport().ZenkEmailsVsClientCodesFile = "C:\\no such folder\\emails.txt";
}
void Stop(HostDoneTest& t) { t.module.OnHostEvent(2, nullptr, 0, 0); }

const Moment kMoments[] = {
    {"send all, Done", ThreeClients, [](HostDoneTest& t) { t.SendWith(kSendAll, [&] { t.Done(); }); }, 1, 0, ""},
    {"send all, a stop", ThreeClients, [](HostDoneTest& t) { t.SendWith(kSendAll, [&] { Stop(t); }); }, 1, 1,
     "Подача заявок прервана: терминал остановил работу модуля. Не подано заявок: 2."},
    {"send all, the window closed", ThreeClients,
     [](HostDoneTest& t) { t.SendWith(kSendAll, [&] { t.CloseWindow(); }); }, 1, 0, ""},
    {"send one, Done", OneClient, [](HostDoneTest& t) { t.SendWith(kSend, [&] { t.Done(); }); }, 1, 0, ""},
    {"send one, a stop", OneClient, [](HostDoneTest& t) { t.SendWith(kSend, [&] { Stop(t); }); }, 1, 1, ""},
    {"send one, the window closed", OneClient,
     [](HostDoneTest& t) { t.SendWith(kSend, [&] { t.CloseWindow(); }); }, 1, 0, ""},
    {"the risk table's dialog", RiskTable,
     [](HostDoneTest& t) {
       t.EditRiskTable([&](HWND dialog) {
         t.Done();
         if (IsWindow(dialog)) DialogDriver::Press(dialog, IDOK);
       });
     },
     0, 0, ""},
    {"the risk table's file dialog", RiskTable, [](HostDoneTest& t) { t.DoneInTableDialog(kBrowseButton); }, 0, 0, ""},
    {"the risk table's reload message", RiskTable,
     [](HostDoneTest& t) { t.DoneInTableDialog(kReloadButton, "C:\\no such folder\\clients.txt"); }, 0, 0, ""},
    {"a new risk table's dialog", Nothing, [](HostDoneTest& t) { t.CreateTableDoneThenOk(ID_RISK_PARAMS_TABLE); }, 0,
     0, ""},
    {"a new orders table's dialog", Nothing,
     [](HostDoneTest& t) { t.CreateTableDoneThenOk(ID_CLOSING_ORDERS_TABLE); }, 0, 0, ""},
    {"the mailing settings' question at OK", Nothing,
     [](HostDoneTest& t) {
       DialogDriver driver([&](HWND dialog) {
         SetDlgItemTextA(dialog, kSmtpServerEdit, "smtp.changed.example");
         CaptionWatch question("Предупреждение", [&](HWND box) {
           t.Done();
           if (IsWindow(box)) DialogDriver::Press(box, IDOK);
         });
         DialogDriver::Press(dialog, IDOK);
         EXPECT_TRUE(question.Ran());
       });
       t.module.OnMenuCommand(t.host.Frame(), ID_TRANSPORT_SETTINGS, false);
       EXPECT_NE(t.module.Transport().SMTPServer, "smtp.changed.example") << "nothing applied";
     },
     0, 0, ""},
    // The second window's line is held back, and its box tells why.
    {"the held send's message", TwoWindows,
     [](HostDoneTest& t) {
       ScriptedTransactions::answers = {9001, 9002};
       t.SendAllIn(t.Windows().back());
       CaptionWatch message(kAttention, [&](HWND) { t.Done(); });
       t.SendAllIn(t.Windows().front());
       EXPECT_TRUE(message.Ran());
     },
     1, 0, ""},
    {"the mailing settings' message of an address file", UnreadableEmailFile,
     [](HostDoneTest& t) {
       CaptionWatch message(kAttention, [&](HWND) { t.Done(); });
       DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
       t.module.OnMenuCommand(t.host.Frame(), ID_TRANSPORT_SETTINGS, false);
       EXPECT_TRUE(message.Ran());
     },
     0, 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Moments, HostDoneMoments, ::testing::ValuesIn(kMoments),
                         [](const ::testing::TestParamInfo<Moment>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c != 0; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

// Three hundred clients in two windows of all of them, both formed before
// anything is sent. The host stops its work in the middle of the first
// window's send: nothing more goes and the box tells how many lines wait.
// The second window's send then holds back every line the first one sent:
// its box shows ten of them and how many more, the log every one.
TEST_F(HostDoneTest, AStopHaltsASendOfThreeHundredClientsAndNoBoxGrowsWithTheLines) {
  char account[8];
  for (int n = 1; n <= 300; ++n) std::snprintf(account, sizeof account, "A%03d", n), ClientShortOfTarget(account);
  ASSERT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 300);
  {
    DialogDriver keep([](HWND box) { DialogDriver::Press(box, IDNO); });
    ASSERT_EQ(module.OpenClosingOrdersWindow(pattern, nullptr, false, nullptr), 300);
  }
  // The host's frames list the window opened last first.
  CVantrelPrepOrdersDlg* first = Windows().back();
  CVantrelPrepOrdersDlg* second = Windows().front();
  for (int32_t id = 1; id <= 600; ++id) answers.push_back(id);
  ScriptedTransactions::whileSending = [&](int32_t id) {
    if (id == 100) module.OnHostEvent(2, nullptr, 0, 0);
  };
  auto sendAll = [&](CVantrelPrepOrdersDlg* window) {
    CaptionWatch told(kAttention, [](HWND box) { DialogDriver::Press(box, IDOK); });
    SendMessageA(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(module.FindHostCommandId(kSendAll), 0), 0);
    return told.Text();
  };
  EXPECT_EQ(sendAll(first), "Подача заявок прервана: терминал остановил работу модуля. Не подано заявок: 200.");
  EXPECT_EQ(sent.size(), 100u);
  EXPECT_EQ(first->Store().Count(COrderStore::kEveryClient, [](const TOrderLine& line) { return line.Sendable(); }),
            200);

  const std::string told = sendAll(second);
  EXPECT_EQ(sent.size(), 300u) << "A001 to A100 once, A101 to A300 from the second window";
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 10) << told;
  EXPECT_EQ(told.substr(0, told.find('\n')),
            "Клиент C77 (A001, FIRM1), RIZ6: осталось закрыть 0 лотов, заявка не подана: позиция уже закрывается "
            "другими заявками.");
  EXPECT_EQ(told.substr(told.rfind('\n') + 1), "...и ещё 90 (все записаны в журнал модуля).");
  const std::string log = ReadFileBytes(folder.File("VantrelFM.log"));
  for (const char* line : {"Closing order of client C77 (A100, FIRM1) in RIZ6 not sent: orders sent since it was formed "
                           "close 7 lots of the position.",
                           "ERROR: the host stopped the plug-in's work while closing orders were sent: 200 not sent."})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

}  // namespace
