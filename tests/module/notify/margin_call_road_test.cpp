// One client's funds sufficiency over a sequence of timer runs through the
// real DLL, against the calls the rules give, as they arrive by message
// file, trader message and SMS; then the schedule, the connection gate and
// failing channels.
#include "module/notify/margin_call_road.h"
#include "support/dialog_driver.h"

namespace {

// One timer run: the futures' bid before it (the client's funds sufficiency
// is bid / 100, for open positions bid / 50), then the calls' bodies (the
// values with the user's decimal comma).
struct TimerRun {
  double bid;
  std::vector<std::string> calls;
};

struct PathCase {
  const char* name;
  IniValues settings;
  std::vector<TimerRun> runs;
};

const PathCase kPaths[] = {
    {"CrossingWarningThenCriticalRecoveringRearms",
     {},
     {{150, {}},
      {90, {"A1 SFR 0,900000"}},
      {90, {}},  // not worse than the last call
      {40, {"A1 SFR! 0,400000"}},
      {150, {}},  // back above the warning level: re-armed
      {90, {"A1 SFR 0,900000"}}}},
    {"WorseningByNoMoreThanTheMinimumChangeWaits",
     {{"MinParamChange", "0.1"}},
     {{90, {"A1 SFR 0,900000"}}, {85, {}}, {80, {}}, {79, {"A1 SFR 0,790000"}}}},
    {"NothingRepeatsWithinMinTime",
     {{"MinTime", "3600"}},
     {{90, {"A1 SFR 0,900000"}}, {40, {}}, {150, {}}, {90, {}}}},
    {"CriticalSendingOffGivesTheWarningCall",
     {{"SendSFRCriticalMsg", "0"}},
     {{40, {"A1 SFR 0,400000"}}, {30, {"A1 SFR 0,300000"}}}},
    // The critical call stamps the time both kinds share: the warning for
    // open positions waits for the next run, a second later.
    {"FundsSufficiencyKindsShareOneSendingTime",
     {{"SendSFRWarningMsg_fp", "1"}, {"SendSFRCriticalMsg_fp", "1"}},
     {{40, {"A1 SFR! 0,400000"}}, {40, {"A1 FP 0,800000"}}, {40, {}}, {20, {"A1 SFR! 0,200000"}},
      {20, {"A1 FP! 0,400000"}}}},
};

class MarginCallPathTest : public MarginCallRoad, public ::testing::WithParamInterface<PathCase> {
 protected:
  // What arrived since the last look on each channel, as body lines.
  std::vector<std::string> FileCalls() {
    std::vector<std::string> calls;
    for (const std::string& content : NewFiles()) {
      EXPECT_EQ(content.substr(0, 7), "UID=17\r") << content;
      calls.push_back(Line(content, 1));
    }
    return calls;
  }
  static std::string Line(const std::string& text, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(start, text.find("\r\n", start) - start);
  }
};

// Each call reaches the client's UID by all three channels: the SMS text
// cleaned of its line break.
TEST_P(MarginCallPathTest, EachRunSendsWhatTheRulesSay) {
  IniValues settings = GetParam().settings;
  settings.push_back({"NotifyBySMS", "1"});
  Start(settings, {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  size_t traderSeen = 0, smsSeen = 0;
  int run = 0;
  for (const TimerRun& step : GetParam().runs) {
    SetBid("RIZ6", step.bid);
    RunTimerOnce(1);
    SCOPED_TRACE("run " + std::to_string(++run));
    EXPECT_EQ(FileCalls(), step.calls);
    std::vector<std::string> trader, sms, expectedTrader, expectedSms;
    for (const std::string& call : step.calls) {
      expectedTrader.push_back("17 " + call + "\n");
      expectedSms.push_back("UID=17[]|Message=" + call + " []");
    }
    const auto messages = host.Log().Details(156);
    for (; traderSeen < messages.size(); ++traderSeen) trader.push_back(messages[traderSeen]);
    const auto transactions = host.Log().Details(48);
    for (; smsSeen < transactions.size(); ++smsSeen)
      sms.push_back(transactions[smsSeen].substr(transactions[smsSeen].find("UID=")));
    EXPECT_EQ(trader, expectedTrader);
    EXPECT_EQ(sms, expectedSms);
    Sleep(1100);  // the next run in the next second
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, MarginCallPathTest, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

class MarginCallRoadTest : public MarginCallRoad {
 protected:
  std::vector<std::string> FileCalls() {
    std::vector<std::string> calls;
    for (const std::string& content : NewFiles()) calls.push_back(content.substr(content.find('\n') + 1));
    return calls;
  }
};

TEST_F(MarginCallRoadTest, NoCheckWhileTheHostIsNotConnected) {
  Start({}, {{"A1", "RIZ6", 1, 10000, 17, ""}}, {"RIZ6"});
  SetBid("RIZ6", 40);
  host.Clients().SetConnected(false);
  RunTimerOnce(1);
  EXPECT_TRUE(FileCalls().empty());
  host.Clients().SetConnected(true);
  RunTimerOnce(1);
  EXPECT_EQ(FileCalls(), std::vector<std::string>{"A1 SFR! 0,400000\r\n\r\n"});
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
  char schedule[32];
  std::snprintf(schedule, sizeof schedule, "%02d:%02d, %02d:%02d", (minutes - 2) / 60,
                (minutes - 2) % 60, minutes / 60, minutes % 60);
  Start({{"SendSFRWarningMsg", "0"}, {"SendSFRCriticalMsg", "0"}, {"UseSFRCritSchedule", "1"},
         {"SFRSchedule", schedule}},
        {{"A1", "RIZ6", 1, 10000, 17, ""}, {"B1", "SIZ6", 1, 10000, 18, ""}}, {"RIZ6", "SIZ6"});
  SetBid("RIZ6", 40);  // A1 below the critical level, B1 safe
  RunTimerOnce(2);
  EXPECT_TRUE(FileCalls().empty()) << "critical sending is off";
  for (int tick = 0; tick < 29; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(FileCalls().empty()) << "only every 30th tick";
  plugin.Callback<29>(0, 0);
  EXPECT_EQ(FileCalls(), std::vector<std::string>{"A1 SFR! 0,400000\r\n\r\n"});
  for (int tick = 0; tick < 60; ++tick) plugin.Callback<29>(0, 0);
  EXPECT_TRUE(FileCalls().empty()) << "the entry before the start never fires, the other fired today";
  EXPECT_NE(Log().find("Sending margin calls by schedule: done."), std::string::npos);
}

// The mail server is down, one of the two file directories is missing and
// the database cannot be reached: each is logged, the other channels carry
// every call, and the mail library starts afresh after its error.
TEST_F(MarginCallRoadTest, FailingChannelsAreLoggedAndTheOthersStillDeliver) {
  DialogDriver refusedDatabase([](HWND box) { DialogDriver::Press(box, IDOK); });
  Start({{"NotifyByEmail", "1"}, {"SMTPServer", "127.0.0.1"}, {"Port", Env("VANTREL_SMTP_DOWN_PORT")},
         {"SenderAddress", "risk@broker.ru"}, {"MC2ZDirectories", temp.File("missing") + ";" + Files()},
         {"NeedSaveToDB", "1"}, {"DSN", "VanTrelGone"}},
        {{"A1", "RIZ6", 1, 10000, 17, "a1@client.ru"}}, {"RIZ6"});
  EXPECT_TRUE(refusedDatabase.Ran());
  EXPECT_EQ(refusedDatabase.Caption(), "Vantrel FM");
  for (double bid : {40, 30}) {
    SetBid("RIZ6", bid);
    DialogDriver mailError([](HWND box) { DialogDriver::Press(box, IDOK); });
    RunTimerOnce(1);
    for (int waited = 0; waited < 10000 && !mailError.Ran(); waited += 100) Pump(100);
    EXPECT_TRUE(mailError.Ran());
    EXPECT_EQ(mailError.Caption(), "Ошибка");
    EXPECT_EQ(FileCalls().size(), 1u) << "bid " << bid;
    Sleep(1100);
  }
  EXPECT_EQ(host.Log().Count(156), 2);
  const std::string log = Log();
  for (const char* line : {"ERROR: Can not connect to database.", "ERROR: MC2Z directory",
                           "ZMail error: ", "Margin call sent by MC2Z to UID=17."})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  // Stopped after the error's callback returned, before the second start.
  const size_t error = log.find("ZMail error: ");
  const size_t stop = log.find("ZMLStop called.", error);
  EXPECT_LT(stop, log.find("ZMLStart called.", error));
  EXPECT_NE(stop, std::string::npos);
}

}  // namespace
