// One client's funds sufficiency over a sequence of timer runs through the
// real DLL, against the calls the rules give, as they arrive by message
// file, trader message and SMS; then the schedule, the connection gate and
// failing channels.
#include "module/notify/margin_call_road.h"
#include "support/dialog_driver.h"

namespace {

// One timer run: the futures' bid before it (the client's funds sufficiency
// is bid / 100, for open positions bid / 50), then the calls' bodies, the
// values with the user's decimal comma.
struct TimerRun {
  double bid;
  std::vector<std::string> calls;
};

struct PathCase {
  const char* name;
  const char* settings;
  std::vector<TimerRun> runs;
};

const PathCase kPaths[] = {
    {"CrossingWarningThenCriticalRecoveringRearms", "",
     {{150, {}}, {90, {"A1 SFR 0,900000"}}, {90, {}},  // not worse than the last call
      {40, {"A1 SFR! 0,400000"}}, {150, {}},           // back above the warning: re-armed
      {90, {"A1 SFR 0,900000"}}}},
    {"WorseningByNoMoreThanTheMinimumChangeWaits", "MinParamChange=0.1\n",
     {{90, {"A1 SFR 0,900000"}}, {85, {}}, {80, {}}, {79, {"A1 SFR 0,790000"}}}},
    {"NothingRepeatsWithinMinTime", "MinTime=3600\n",
     {{90, {"A1 SFR 0,900000"}}, {40, {}}, {150, {}}, {90, {}}}},
    {"CriticalSendingOffGivesTheWarningCall", "SendSFRCriticalMsg=0\n",
     {{40, {"A1 SFR 0,400000"}}, {30, {"A1 SFR 0,300000"}}}},
    // The critical call stamps the time both kinds share: the warning for
    // open positions waits for the next run, a second later.
    {"FundsSufficiencyKindsShareOneSendingTime", "SendSFRWarningMsg_fp=1\nSendSFRCriticalMsg_fp=1\n",
     {{40, {"A1 SFR! 0,400000"}}, {40, {"A1 FP 0,800000"}}, {40, {}}, {20, {"A1 SFR! 0,200000"}},
      {20, {"A1 FP! 0,400000"}}}},
};

class MarginCallPathTest : public MarginCallRoad, public ::testing::WithParamInterface<PathCase> {
 protected:
  // The host's records of a function since the last look.
  std::vector<std::string> NewHostCalls(int function, size_t* seen) {
    const auto all = host.Log().Details(function);
    std::vector<std::string> calls(all.begin() + *seen, all.end());
    *seen = all.size();
    return calls;
  }
};

// Each call reaches the client's UID by all three channels, the SMS text
// cleaned of its line break.
TEST_P(MarginCallPathTest, EachRunSendsWhatTheRulesSay) {
  Start(GetParam().settings + std::string("NotifyBySMS=1\n"), {{"A1", "RIZ6", 1, 10000, 17, ""}},
        {"RIZ6"});
  size_t traderSeen = 0, smsSeen = 0;
  for (const TimerRun& run : GetParam().runs) {
    SCOPED_TRACE("bid " + std::to_string(run.bid));
    SetBid("RIZ6", run.bid);
    RunTimerOnce(1);
    std::vector<std::string> files, trader, sms;
    for (const std::string& call : run.calls) {
      files.push_back("UID=17|" + call);
      trader.push_back("17 " + call + "\n");
      sms.push_back("1 0 UID=17[]|Message=" + call + " []");
    }
    EXPECT_EQ(NewFiles(), files);
    EXPECT_EQ(NewHostCalls(156, &traderSeen), trader);
    EXPECT_EQ(NewHostCalls(48, &smsSeen), sms);
    Sleep(1100);  // the next run in the next second
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, MarginCallPathTest, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

using MarginCallRoadTest = MarginCallRoad;
const std::vector<std::string> kCriticalCall = {"UID=17|A1 SFR! 0,400000"};

TEST_F(MarginCallRoadTest, NoCheckWhileTheHostIsNotConnected) {
  Start("", {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  SetBid("RIZ6", 40);
  host.Clients().SetConnected(false);
  RunTimerOnce(1);
  EXPECT_TRUE(NewFiles().empty());
  host.Clients().SetConnected(true);
  RunTimerOnce(1);
  EXPECT_EQ(NewFiles(), kCriticalCall);
}

// The schedule sends whatever the sending switches say, once a day per
// entry, and only for entries from the host's start of work on.
TEST_F(MarginCallRoadTest, TheScheduleSendsOnceADayFromTheStartOn) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (now.wSecond > 50) Sleep((61 - now.wSecond) * 1000);  // start and entry in one minute
  GetLocalTime(&now);
  const int minutes = now.wHour * 60 + now.wMinute;
  if (minutes < 2) GTEST_SKIP() << "no earlier entry today";
  char settings[160];
  std::snprintf(settings, sizeof settings,
                "SendSFRWarningMsg=0\nSendSFRCriticalMsg=0\nUseSFRCritSchedule=1\n"
                "SFRSchedule=%02d:%02d, %02d:%02d\n",
                (minutes - 2) / 60, (minutes - 2) % 60, minutes / 60, minutes % 60);
  Start(settings, {{"A1", "RIZ6", 1, 10000, 17, ""}, {"B1", "SIZ6", 1, 10000, 18, ""}},
        {"RIZ6", "SIZ6"});
  SetBid("RIZ6", 40);  // A1 below the critical level, B1 safe
  RunTimerOnce(2);
  for (int tick = 0; tick < 29; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(NewFiles().empty()) << "critical sending is off, the schedule waits for tick 30";
  plugin.Callback<29>(0, 0);
  EXPECT_EQ(NewFiles(), kCriticalCall);
  for (int tick = 0; tick < 60; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(NewFiles().empty()) << "the entry before the start never fires, the other fired today";
  EXPECT_NE(Log().find("Sending margin calls by schedule: done."), std::string::npos);
}

// The mail server is down, one of the two file directories is missing and
// the database cannot be reached: each is logged, the other channels carry
// every call, and the mail library is stopped only after its error callback
// returned, before it starts again.
TEST_F(MarginCallRoadTest, FailingChannelsAreLoggedAndTheOthersStillDeliver) {
  DialogDriver refusedDatabase([](HWND box) { DialogDriver::Press(box, IDOK); });
  Start("NotifyByEmail=1\nSMTPServer=127.0.0.1\nPort=" + Env("VANTREL_SMTP_DOWN_PORT") +
            "\nSenderAddress=risk@broker.ru\nNeedSaveToDB=1\nDSN=VanTrelGone\nMC2ZDirectories=" +
            temp.File("missing") + ";" + Files() + "\n",
        {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru"}}, {"RIZ6"});
  EXPECT_EQ(refusedDatabase.Caption(), "Vantrel FM");
  for (double bid : {40, 30}) {
    SetBid("RIZ6", bid);
    DialogDriver mailError([](HWND box) { DialogDriver::Press(box, IDOK); });
    RunTimerOnce(1);
    for (int waited = 0; waited < 10000 && !mailError.Ran(); waited += 100) Pump(100);
    EXPECT_EQ(mailError.Caption(), "Ошибка");
    EXPECT_EQ(NewFiles().size(), 1u) << "bid " << bid;
    Sleep(1100);
  }
  EXPECT_EQ(host.Log().Count(156), 2);
  const std::string log = Log();
  for (const char* line : {"ERROR: Can not connect to database.", "ERROR: MC2Z directory",
                           "Margin call sent by MC2Z to UID=17."})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  const size_t error = log.find("ZMail error: ");
  ASSERT_NE(error, std::string::npos);
  EXPECT_LT(log.find("ZMLStop called.", error), log.find("ZMLStart called.", error));
}

}  // namespace
