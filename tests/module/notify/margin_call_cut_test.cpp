// The host stops the plug-in (entry 7) or is done with it (entry 3) while a
// margin call is on its way, through the real VanTrel.dll: in the box of a
// mail server that does not start, while an SMS is with the host, during the
// schedule's send, in the mail library's delivery-error box. Nothing more of
// the call goes, no later client gets one, nothing freed is touched
// (module_tests_heap_checked plays these under Wine's heap checks), and
// after a start again the timer's runs send as before.
//
// A1 (UIDs 17 and 18) and B1 (UID 19) are both below the critical level; a
// call goes by trader message, SMS, message file and a row in SQLite, in
// this order, A1's before B1's.
#include "host/standin/scripted_transactions.h"
#include "module/notify/margin_call_road.h"
#include "support/every_heap.h"

#include <functional>
#include <string>
#include <vector>

namespace {

enum class Moment { kMailStartBox, kSms, kScheduledSms };
enum class Act { kDone, kStop, kStopThenStart };

struct CutCase {
  const char* name;
  Moment moment;
  Act act;
  // What went out in all: trader messages, SMS, message files and rows.
  int traderMessages, sms, files;
  const char* rows;
  // What the error line says of A1's call.
  const char* cut;
};

constexpr char kDoneCut[] = "ERROR: margin call (type: 2) to client A1 cut, the host is done with the plug-in: ";
constexpr char kStopCut[] = "ERROR: margin call (type: 2) to client A1 cut, the host stopped the plug-in's work: ";
constexpr char kAllOfA1[] =
    "not sent: trader message to UID 17, trader message to UID 18, SMS to UID 17, SMS to UID 18, message "
    "files, database row.";
constexpr char kRestOfA1[] = "not sent: SMS to UID 18, message files, database row.";

const CutCase kCases[] = {
    {"DoneInTheMailStartBox", Moment::kMailStartBox, Act::kDone, 0, 0, 0, "", kDoneCut},
    {"StopInTheMailStartBox", Moment::kMailStartBox, Act::kStop, 0, 0, 0, "", kStopCut},
    {"DoneWhileAnSmsIsWithTheHost", Moment::kSms, Act::kDone, 2, 1, 0, "", kDoneCut},
    {"StopWhileAnSmsIsWithTheHost", Moment::kSms, Act::kStop, 2, 1, 0, "", kStopCut},
    {"StopDuringTheScheduledSend", Moment::kScheduledSms, Act::kStop, 2, 1, 0, "", kStopCut},
    // The next run after the start sends both clients' calls whole.
    {"StopInTheMailStartBoxThenStartAgain", Moment::kMailStartBox, Act::kStopThenStart, 3, 3, 2, "A1\nB1\n",
     kStopCut},
};

class MarginCallCut : public MarginCallRoad, public ::testing::WithParamInterface<CutCase> {
 protected:
  void TearDown() override {
    ScriptedTransactions::Clear();
    MarginCallRoad::TearDown();
  }

  void StartWith(const std::string& settings, const std::vector<RoadClient>& clients) {
    ASSERT_EQ(SqliteQuery(kCreateRoadCalls), "");
    // The plug-in keeps the host's functions as they are when it starts.
    ScriptedTransactions::Install(host);
    Start(settings + "NotifyBySMS=1\nNeedSaveToDB=1\nDSN=VanTrelLite\nDBTable=RoadCalls\n", clients,
          {"RIZ6", "SIZ6"});
  }

  void Do(Act act) {
    if (act == Act::kDone) {
      plugin.Callback<3>();
      started = false;  // done: the host only unloads it now
    } else {
      plugin.Callback<7>();
    }
  }

  std::string Rows() { return SqliteQuery("select CCode from RoadCalls order by 1"); }
  // Whether the log tells of an attempt to send B1 a call.
  bool TriedB1() { return Log().find("clientcode: B1") != std::string::npos; }
};

// Only A1 has an e-mail address: a mail server that does not start shows
// one box a run.
const std::vector<RoadClient> kTwoClients = {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru", ",18"},
                                             {"B1", "SIZ6", 1, 10000, 19, ""}};

TEST_P(MarginCallCut, NothingMoreGoesAndTheTimerRunsAgainAfterAStart) {
  const CutCase& c = GetParam();
  std::string settings;
  if (c.moment == Moment::kMailStartBox) settings = "NotifyByEmail=1\nSMTPServer=\nSenderAddress=risk@broker.ru\n";
  if (c.moment == Moment::kScheduledSms) {
    settings = CriticalScheduleThisMinute();
  }
  StartWith(settings, kTwoClients);
  bool acted = false;
  if (c.moment != Moment::kMailStartBox)
    ScriptedTransactions::whileSending = [&](int32_t) {
      if (!acted) Do(c.act);
      acted = true;
    };
  {
    DialogDriver box([&](HWND window) {
      Do(c.act);
      acted = true;
      if (IsWindow(window)) DialogDriver::Press(window, IDOK);
    });
    SetBid("RIZ6", 40);
    SetBid("SIZ6", 40);
    RunTimerOnce();
    if (c.moment == Moment::kScheduledSms)
      for (int tick = 0; tick < 30; ++tick) plugin.Callback<29>(0, 0);
    EXPECT_EQ(box.Caption(), c.moment == Moment::kMailStartBox ? "Error" : "");
  }
  ASSERT_TRUE(acted);
  EXPECT_NE(Log().find(std::string(c.cut) + (c.moment == Moment::kMailStartBox ? kAllOfA1 : kRestOfA1)),
            std::string::npos)
      << Log();
  EXPECT_FALSE(TriedB1()) << "the run ended before the next client";
  if (c.act == Act::kStopThenStart) {
    StartOfWork(kTwoClients);
    DialogDriver again([](HWND box) { DialogDriver::Press(box, IDOK); });
    RunTimerOnce();
    EXPECT_TRUE(again.Ran()) << "the mail server still does not start";
  }
  Pump(100);
  EXPECT_EQ(host.Log().Count(156), c.traderMessages);
  EXPECT_EQ(static_cast<int>(ScriptedTransactions::sent.size()), c.sms);
  EXPECT_EQ(static_cast<int>(NewFiles().size()), c.files);
  EXPECT_EQ(Rows(), c.rows);
  EXPECT_TRUE(EveryHeapIsValid());
}

INSTANTIATE_TEST_SUITE_P(Moments, MarginCallCut, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using MarginCallCutTest = MarginCallCut;

// The mail library reports a failed delivery from its own message handler,
// and the host is done with the plug-in in the box that tells of it: the
// library stays loaded until the plug-in is unloaded, and the box returns
// into it safely.
TEST_F(MarginCallCutTest, DoneInTheDeliveryErrorBoxLeavesTheMailLibraryLoadedUntilUnload) {
  StartWith("NotifyByEmail=1\nSMTPServer=127.0.0.1\nSenderAddress=risk@broker.ru\nPort=" +
                Env("VANTREL_SMTP_DOWN_PORT") + "\n",
            kTwoClients);
  DialogDriver deliveryError([&](HWND) { Do(Act::kDone); });
  SetBid("RIZ6", 40);
  SetBid("SIZ6", 40);
  RunTimerOnce();
  for (int waited = 0; waited < 10000 && !deliveryError.Ran(); waited += 100) Pump(100);
  ASSERT_EQ(deliveryError.Caption(), "Ошибка");
  Pump(300);
  EXPECT_NE(GetModuleHandleA("ZMAIL.DLL"), nullptr);
  EXPECT_EQ(host.Log().Count(156), 3) << "every call went before the box";
  EXPECT_EQ(Rows(), "A1\nB1\n");
  EXPECT_TRUE(EveryHeapIsValid());
  plugin.Unload();
  EXPECT_EQ(GetModuleHandleA("ZMAIL.DLL"), nullptr);
}

}  // namespace
