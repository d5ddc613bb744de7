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
