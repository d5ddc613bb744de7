// Every failure of a margin call reaches the risk manager, through the real
// VanTrel.dll in the stand-in host: the channels' and the database's boxes
// show during a call by hand and after the mailing settings' OK, though the
// dialog that ran first is still registered with its window gone; a call by
// hand that the host's stop kept back is told of, naming only the clients
// due one, and a call that went whole before the stop is not; a call to
// every client goes to the clients the table showed though the host closed
// the table under its dialog; a schedule's send cut by a stop names every
// client it did not reach; a message folder that takes no file is an error
// naming the folder, never a call sent.
#include "host/standin/scripted_transactions.h"
#include "host/zlist/zlist_readback.h"
#include "module/notify/margin_call_road.h"
#include "support/every_heap.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// How the call is made.
enum class Way {
  kOneClient,     // from the risk table's menu, to its selected client
  kAllClients,    // from the risk table's menu, to every client of it
  kTransportOk,   // the mailing settings' OK with a changed database login
  kTimer,         // the timer's check
  kScheduleStop,  // the schedule's send over three clients
  // From the risk table's menu, funds sufficiency to every client of it:
  // A1 and C1 below the critical level, B1 and D1 above every level.
  kSfrToAllClients,
};

struct FailureCase {
  const char* name;
  // Placeholders: {smtp} the sink's port, {files} a folder that takes files,
  // {deep} one so deep that no file name fits under it.
  std::string settings;
  Way way;
  const char* email;  // A1's address, empty for none
  // The dialogs and boxes shown, in order, each answered OK.
  const char* shown;
  std::vector<const char*> logged, notLogged;
  // The host stops its work in the dialog of this caption, before OK is
  // pressed; or while the n-th SMS is with it (0: none).
  const char* stopIn = nullptr;
  int stopInSms = 0;
  std::string told;  // the whole text of the box "Внимание"; empty: not looked at
  // The host closes the risk table in the dialog of this caption, before
  // OK is pressed (and before a stop in the same dialog).
  const char* closeTableIn = nullptr;
};

constexpr char kSendToA1[] = "Отправка маржин-колла клиенту A1";
constexpr char kQuestion[] = "Подтверждение";
constexpr char kMailingSettings[] = "Параметры рассылки";
constexpr char kSendToAll[] = "Отправка маржин-колла клиентам из таблицы";
const std::string kStopped = "Отправка маржин-колла прервана: терминал остановил работу модуля.\n";

// The calls by hand are of the low funds, which every client of the road
// has broken from the start (its planned net position is negative); their
// body names the client, so the call to every client asks first.
const std::string kByHand = "AlwaysAllowManualSending=1\nLowFundsBody=road_sfr\n";
const std::string kMailDoesNotStart = kByHand + "NotifyByEmail=1\nSMTPServer=\nSenderAddress=risk@broker.ru\n";
// The SMS is a call's last step: no message files, no row.
const std::string kSmsLast = kByHand + "NotifyBySMS=1\nNotifyByMC2Z=0\n";
// A body that names nothing of the client: the call to every client shows
// its text for editing.
const std::string kPlainByHand = "AlwaysAllowManualSending=1\nLowFundsBody=road_plain\n";
const std::vector<const char*> kSentToAll = {"Margin call sent by trader message to UID=17.",
                                             "Margin call sent by trader message to UID=18.",
                                             "Margin call sent by trader message to UID=19."};

const FailureCase kCases[] = {
    {"MailThatDoesNotStartInACallToOneClient", kMailDoesNotStart, Way::kOneClient, "a1@client.ru",
     "Создание таблицы|Отправка маржин-колла клиенту A1|Error", {"ERROR: error in zmail (\""}, {}},
    {"MailRefusedInACallToOneClient",
     kByHand + "NotifyByEmail=1\nSMTPServer=127.0.0.1\nPort={smtp}\nSenderAddress=risk@broker.ru\n",
     Way::kOneClient, "no-address", "Создание таблицы|Отправка маржин-колла клиенту A1|Error sending e-mail",
     {"ERROR: can not send e-mail (\""}, {"Margin call sent by e-mail."}},
    {"RowNotSavedInACallToOneClient", kByHand + "NeedSaveToDB=1\nDSN=VanTrelLite\nDBTable=NoSuchTable\n",
     Way::kOneClient, "", "Создание таблицы|Отправка маржин-колла клиенту A1|Ошибка",
     {"ERROR: Can not save margin call to database."}, {}},
    // No dialog is registered while this one sends.
    {"MailThatDoesNotStartInACallToAllClients", kMailDoesNotStart, Way::kAllClients, "a1@client.ru",
     "Создание таблицы|Подтверждение|Error", {"ERROR: error in zmail (\""}, {}},
    {"DatabaseNotReachedAfterTheMailingSettingsOk", "NeedSaveToDB=1\nDSN=VanTrelGone\n",
     Way::kTransportOk, "", "Vantrel FM|Параметры рассылки|Vantrel FM", {"ERROR: Can not connect to database."}, {}},
    {"HostStoppedInTheSendDialog", kByHand, Way::kOneClient, "",
     "Создание таблицы|Отправка маржин-колла клиенту A1|Внимание",
     {"ERROR: margin call (type: 1) by hand not sent to A1: the host stopped the plug-in's work."},
     {"Trying to send margin call"}, kSendToA1, 0, kStopped + "Клиенту A1 маржин-колл не отправлен."},
    // The stop comes during the call's last step, once all of it went.
    {"HostStoppedInTheLastSmsOfACallToOneClient", kSmsLast, Way::kOneClient, "",
     "Создание таблицы|Отправка маржин-колла клиенту A1", {"Margin call sent by sms."},
     {"to client A1 cut", "by hand not sent"}, nullptr, 1},
    {"HostStoppedInTheBoxOfTheLastRowOfACallToOneClient",
     kByHand + "NeedSaveToDB=1\nDSN=VanTrelLite\nDBTable=NoSuchTable\n", Way::kOneClient, "",
     "Создание таблицы|Отправка маржин-колла клиенту A1|Ошибка",
     {"Margin call sent by MC2Z to UID=17.", "ERROR: Can not save margin call to database."},
     {"to client A1 cut", "by hand not sent"}, "Ошибка"},
    {"HostStoppedInTheLastSmsOfACallByHandToAllClients", kSmsLast, Way::kAllClients, "",
     "Создание таблицы|Подтверждение|Внимание",
     {"ERROR: margin call (type: 1) by hand not sent to B1, C1: the host stopped the plug-in's work."},
     {"to client A1 cut", "clientcode: B1"}, nullptr, 1,
     kStopped + "Не отправлено клиентам: 2 (их коды записаны в журнал модуля)."},
    // Only A1 and C1 are due a call.
    {"HostStoppedInACallOfFundsSufficiencyToAllClients", "NotifyBySMS=1\n", Way::kSfrToAllClients, "",
     "Создание таблицы|Подтверждение|Внимание",
     {"ERROR: margin call (type: 2) to client A1 cut, the host stopped the plug-in's work: not sent: message files.",
      "ERROR: margin call (type: 2) by hand not sent to C1: the host stopped the plug-in's work."},
     {"clientcode: C1"}, nullptr, 1,
     kStopped +
         "Клиенту A1 маржин-колл отправлен не полностью (что не отправлено, записано в журнал модуля).\n"
         "Клиенту C1 маржин-колл не отправлен."},
    {"HostStoppedInTheQuestionOfFundsSufficiencyToAllClients", "", Way::kSfrToAllClients, "",
     "Создание таблицы|Подтверждение|Внимание",
     {"ERROR: margin call (type: 2) by hand not sent to A1, C1: the host stopped the plug-in's work."},
     {"Trying to send margin call"}, kQuestion},
    // The table's rows are gone; the clients it showed are not.
    {"TableClosedUnderTheQuestionToAllClients", kByHand, Way::kAllClients, "", "Создание таблицы|Подтверждение",
     kSentToAll, {"ERROR"}, nullptr, 0, "", kQuestion},
    {"TableClosedUnderTheDialogToAllClients", kPlainByHand, Way::kAllClients, "",
     "Создание таблицы|Отправка маржин-колла клиентам из таблицы", kSentToAll, {"ERROR"}, nullptr, 0, "",
     kSendToAll},
    {"TableClosedAndClientsGoneUnderTheDialogToAllClients", kPlainByHand, Way::kAllClients, "",
     "Создание таблицы|Отправка маржин-колла клиентам из таблицы|Внимание",
     {"ERROR: margin call (type: 1) by hand not sent to A1, B1, C1: the host stopped the plug-in's work."},
     {"Trying to send margin call"}, kSendToAll, 0,
     kStopped + "Не отправлено клиентам: 3 (их коды записаны в журнал модуля).", kSendToAll},
    {"HostStoppedInTheQuestionToAllClients", kByHand, Way::kAllClients, "", "Создание таблицы|Подтверждение|Внимание",
     {"ERROR: margin call (type: 1) by hand not sent to A1, B1, C1: the host stopped the plug-in's work."},
     {"Trying to send margin call"}, kQuestion},
    {"HostStoppedInACallByHandToAllClients", kByHand + "NotifyBySMS=1\n",
     Way::kAllClients, "", "Создание таблицы|Подтверждение|Внимание",
     {"ERROR: margin call (type: 1) to client A1 cut, the host stopped the plug-in's work: not sent: message files.",
      "ERROR: margin call (type: 1) by hand not sent to B1, C1: the host stopped the plug-in's work."},
     {"clientcode: B1"}, nullptr, 1},
    {"ScheduleCutByAStop", "", Way::kScheduleStop, "", "",
     {"ERROR: margin call (type: 2) to client A1 cut, the host stopped the plug-in's work: not sent: message files.",
      "ERROR: margin calls by schedule cut: not sent to B1 (type: 2), C1 (type: 2)."},
     {"Sending margin calls by schedule: done.", "clientcode: B1"}, nullptr, 1},
    {"ScheduleStoppedInTheLastSmsOfACall", "NotifyByMC2Z=0\n", Way::kScheduleStop, "", "",
     {"ERROR: margin calls by schedule cut: not sent to B1 (type: 2), C1 (type: 2)."},
     {"to client A1 cut", "Sending margin calls by schedule: done.", "clientcode: B1"}, nullptr, 1},
    {"ScheduleStoppedInTheLastSmsOfTheLastCall", "NotifyByMC2Z=0\n", Way::kScheduleStop, "", "",
     {"Sending margin calls by schedule: done."}, {"ERROR"}, nullptr, 3},
    {"UnwritableFolderAtTheDefaultLevel", "TraceLogLevel=0\nMC2ZDirectories={deep}\n", Way::kTimer, "", "",
     {"ERROR: margin call to client A1 not written into any MC2Z directory (UID=17): \"{deep}\\\" (system error "},
     {"Trying to send"}},
    {"UnwritableFolderIsNoCallSent", "MC2ZDirectories={deep}\n", Way::kTimer, "", "",
     {"ERROR: margin call to client A1 not written into any MC2Z directory (UID=17): \"{deep}\\\" (system error "},
     {"Margin call sent by MC2Z", "ERROR: can not write a MC2Z file into"}},
    {"UnwritableFolderBesideAWritableOne", "MC2ZDirectories={deep};{files}\n", Way::kTimer, "", "",
     {"ERROR: can not write a MC2Z file into \"{deep}\\\" (system error ",
      "Margin call sent by MC2Z to UID=17. Written into \"{files}\\\"."},
     {"not written into any"}},
};

// Answers every dialog and box of the test thread, one after the other,
// with OK, running first the action given for the first one of its caption;
// notes each caption.
class EveryDialog {
 public:
  explicit EveryDialog(std::map<std::string, DialogDriver::Action> actions) : m_actions(std::move(actions)) {
    Arm();
  }

  const std::string& Shown() const { return m_shown; }
  // The text of the last dialog or box of the caption.
  std::string TextOf(const std::string& caption) const {
    std::string text;
    for (const auto& driver : m_drivers)
      if (driver->Caption() == caption) text = driver->Text();
    return text;
  }

 private:
  void Arm() {
    m_drivers.push_back(std::make_unique<DialogDriver>([this](HWND dialog) {
      char text[256] = {};
      GetWindowTextA(dialog, text, sizeof text);
      const std::string caption = text;
      m_shown += (m_shown.empty() ? "" : "|") + caption;
      const auto action = m_actions.find(caption);
      Arm();
      if (action != m_actions.end()) {
        action->second(dialog);
        m_actions.erase(action);
      }
      if (IsWindow(dialog)) DialogDriver::Press(dialog, IDOK);
    }));
  }

  std::map<std::string, DialogDriver::Action> m_actions;
  std::vector<std::unique_ptr<DialogDriver>> m_drivers;
  std::string m_shown;
};

class MarginCallFailures : public MarginCallRoad, public ::testing::WithParamInterface<FailureCase> {
 protected:
  void TearDown() override {
    ScriptedTransactions::Clear();
    MarginCallRoad::TearDown();
  }

  std::string Expand(std::string text) const {
    for (const auto& [name, value] : {std::pair<std::string, std::string>{"{smtp}", Env("VANTREL_SMTP_PORT")},
                                      {"{files}", Files()}, {"{deep}", Deep()}})
      for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at))
        text.replace(at, name.size(), value);
    return text;
  }

  // A folder so deep that its path and a message file's name pass the
  // system's limit of a path: no file can be created there, whoever runs.
  std::string Deep() const {
    std::string path = temp.File("deep");
    while (path.size() < 240) path += "\\" + std::string(10, 'd');
    return path;
  }
  void MakeDeep() {
    const std::string deep = Deep();
    for (size_t at = deep.find('\\', temp.Path().size() + 1); at != std::string::npos; at = deep.find('\\', at + 1))
      CreateDirectoryA(deep.substr(0, at).c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    const std::string file = deep + "\\Msg202612071200000000-A1.txt";
    HANDLE created = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(created, INVALID_HANDLE_VALUE) << "a file was created in " << deep;
  }

  // The host stops its work: the stop, then the event.
  void Stop() {
    plugin.Callback<7>();
    plugin.Callback<25>(2, nullptr, 0, 0);
  }

  // The host closes the risk table's frame.
  void CloseTable() {
    HWND frame = m_list;
    while (frame != nullptr && GetParent(frame) != host.MdiClient()) frame = GetParent(frame);
    ASSERT_NE(frame, nullptr);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(m_list)) << "the table is closed";
  }

  // A risk table opened from the plug-in's menu (its dialog answered by
  // the test's EveryDialog); its list.
  HWND OpenTable() {
    plugin.SendUiInfo();
    plugin.Callback<2>(host.Frame(), WM_COMMAND,
                       MAKEWPARAM(GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 0), 0), 0);
    HWND list = nullptr;
    EnumChildWindows(host.Frame(), FindList, reinterpret_cast<LPARAM>(&list));
    return list;
  }
  static BOOL CALLBACK FindList(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "ZListClient") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }

  // A command of the table's context menu by the plug-in's own id: the host
  // gave the ids in the order the plug-in registers its commands.
  void TableCommand(HWND list, size_t registered) {
    const UINT hostId = static_cast<UINT>(std::stoi(host.Log().Details(9).at(registered)));
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(hostId, 0), 0);
  }

  void ScheduleNow() { m_schedule = "NotifyBySMS=1\n" + CriticalScheduleThisMinute(); }

  std::string m_schedule;
  HWND m_list = nullptr;  // the risk table's list
};

TEST_P(MarginCallFailures, TheManagerIsToldAndTheLogNamesWhatDidNotGo) {
  const FailureCase& c = GetParam();
  MakeDeep();
  std::vector<RoadClient> clients = {{"A1", "RIZ6", 1, 10000, 17, c.email}};
  if (c.way == Way::kScheduleStop) ScheduleNow();
  if (c.way == Way::kScheduleStop || c.way == Way::kAllClients) {
    clients.push_back({"B1", "RIZ6", 1, 10000, 18, ""});
    clients.push_back({"C1", "RIZ6", 1, 10000, 19, ""});
  }
  // At the futures' bid of 150 a net position of 40000 is a funds
  // sufficiency of 0.375, one of 10000 is 1.5.
  if (c.way == Way::kSfrToAllClients)
    clients = {{"A1", "RIZ6", 1, 40000, 17, ""},
               {"B1", "RIZ6", 1, 10000, 18, ""},
               {"C1", "RIZ6", 1, 40000, 19, ""},
               {"D1", "RIZ6", 1, 10000, 20, ""}};
  if (c.stopInSms > 0) {
    ScriptedTransactions::Install(host);
    ScriptedTransactions::whileSending = [this, &c](int32_t) {
      if (ScriptedTransactions::sent.size() == static_cast<size_t>(c.stopInSms)) Stop();
    };
  }
  std::map<std::string, DialogDriver::Action> actions;
  if (c.closeTableIn != nullptr) actions[c.closeTableIn] = [this](HWND) { CloseTable(); };
  if (c.stopIn != nullptr) {
    const DialogDriver::Action before = actions[c.stopIn];
    actions[c.stopIn] = [this, before](HWND dialog) {
      if (before) before(dialog);
      Stop();
    };
  }
  actions[kMailingSettings] = [](HWND dialog) { SetDlgItemTextA(dialog, 1044, "desk"); };  // the database login
  const EveryDialog dialogs(actions);
  timerRuns = c.way == Way::kTimer || c.way == Way::kScheduleStop;
  Start(Expand(c.settings) + m_schedule, clients, {"RIZ6"});
  if (timerRuns) {
    SetBid("RIZ6", 40);  // every client below the critical level
    RunTimerOnce();
  }
  switch (c.way) {
    case Way::kOneClient:
    case Way::kAllClients:
    case Way::kSfrToAllClients: {
      m_list = OpenTable();
      ASSERT_NE(m_list, nullptr);
      ASSERT_EQ(SetSelection(m_list, 1, 1), 1);
      // 40006, 40013: low funds; 40014: funds sufficiency
      TableCommand(m_list, c.way == Way::kOneClient ? 1 : c.way == Way::kAllClients ? 10 : 11);
      break;
    }
    case Way::kTransportOk:
      plugin.Callback<2>(host.Frame(), WM_COMMAND,
                         MAKEWPARAM(GetMenuItemID(host.MenuByCaption("VanTrel FM", false), 5), 0), 0);
      break;
    case Way::kTimer:
      break;
    case Way::kScheduleStop:
      for (int tick = 0; tick < 30; ++tick) plugin.Callback<29>(0, 0);
      break;
  }
  Pump(100);
  EXPECT_EQ(dialogs.Shown(), c.shown);
  const std::string log = Log();
  for (const char* line : c.logged) EXPECT_NE(log.find(Expand(line)), std::string::npos) << Expand(line) << "\n" << log;
  for (const char* line : c.notLogged) EXPECT_EQ(log.find(Expand(line)), std::string::npos) << Expand(line) << "\n" << log;
  if (!c.told.empty()) EXPECT_EQ(dialogs.TextOf("Внимание"), c.told);
  EXPECT_TRUE(EveryHeapIsValid());
}

INSTANTIATE_TEST_SUITE_P(Failures, MarginCallFailures, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
