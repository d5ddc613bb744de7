#include "module/log/vantrel_log.h"
#include "module/notify/engine_client_check.h"
#include "module/notify/engine_schedule.h"
#include "module/temp_folder.h"
#include "sdk/numeric.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// A sender that writes down each margin call as "kind@level" and can be told
// that the channels failed, or that the host stops the plug-in during its
// n-th call, cutting it or once all of it went. The engine's calls always ask
// for the kind's own body.
struct CRecordingSender : IMarginCallSender {
  EMarginCallOutcome SendMarginCall(int kind, TClientRiskRecord& record, double level,
                                    const std::string& bodyText, bool composeBody) override {
    EXPECT_TRUE(bodyText.empty() && composeBody);
    char call[64];
    std::snprintf(call, sizeof(call), "%s%s%d@%g", calls.empty() ? "" : " ", record.clientCode,
                  kind, level);
    calls += call;
    if (--callsBeforeStop == 0) return wholeAtStop ? EMarginCallOutcome::kWholeAtStop : EMarginCallOutcome::kCut;
    return delivers ? EMarginCallOutcome::kSent : EMarginCallOutcome::kNotSent;
  }
  std::string calls;
  bool delivers = true;
  int callsBeforeStop = -1;
  bool wholeAtStop = false;
};

// One run of the check: the time, the client's value and the calls expected.
struct CheckRun {
  int64_t t;
  double v;
  const char* calls;
  bool fails = false;  // the channels fail this time
  const char* logged = "";  // a line the run writes to the log
};

struct MarketPath {
  const char* name;
  void (*move)(TClientRiskRecord&, double v);
  std::vector<CheckRun> runs;
};

// Every kind is sent. SFR warning 1.0, critical 0.5; CLGO and ML levels 1.0;
// cash leverage level 5.0. MinTime 60 s, MinParamChange 0.125.
const MarketPath kPaths[] = {
    {"SfrWarningCriticalRecoveringWorsening", [](TClientRiskRecord& r, double v) { r.sfr = v; },
     {{1000, 1.2, ""}, {1010, 0.9, "2@1"}, {1020, 0.7, ""}, {1100, 0.85, ""},
      {1110, 0.75, "2@1"}, {1200, 0.4, "2@0.5"}, {1300, 0.45, ""}, {1400, 1.0, ""},
      {1410, 0.7, ""}, {1420, 1.1, ""}, {1430, 0.95, "2@1"}, {1440, 0.5, ""},
      // A call no channel took counts as sent: nothing again within MinTime.
      {1500, 0.375, "2@0.5", true}, {1501, 0.375, ""}, {1502, 0.2, ""},
      {1600, 0.25, ""}, {1610, 0.125, "2@0.5"}}},
    {"SfrSharesItsTimeWithSfrForOpenPositions",
     [](TClientRiskRecord& r, double v) { r.sfr = r.sfrOpenPositions = v; },
     {{1000, 0.9, "2@1"}, {1060, 0.9, ""}, {1061, 0.9, "9@1"}, {1200, 0.7, "2@1"},
      {1261, 0.7, "9@1"}}},
    {"CashLeverageBreaksUpwards", [](TClientRiskRecord& r, double v) { r.cashLeverage = v; },
     {{1000, 4.0, ""}, {1010, 6.0, "6@5"}, {1100, 6.05, ""}, {1110, 5.5, ""},
      {1120, 6.3, "6@5"}, {1130, 7.0, ""}, {1200, 4.9, ""}, {1210, 5.25, "6@5"}, {1300, 5.375, ""},
      {1310, 5.5, "6@5"}}},
    // Without total assets the cash leverage is not set, the largest value
    // there is: called once, then only after it was back below the level.
    {"CashLeverageWithoutAssetsIsCalledOnce",
     [](TClientRiskRecord& r, double v) { r.cashLeverage = v; },
     {{1000, 1e30, "6@5"}, {1061, 1e30, ""}, {1200, 1e30, ""}, {1300, 4.0, ""},
      {1310, 1e30, "6@5"}, {1400, 1e30, ""}, {1500, 7.0, ""}}},
    // Low funds counts MinParamChange in hundredths, is logged in money and
    // re-arms on a planned position of a single hundredth; the margin level
    // of a client without a united position ignores MinParamChange.
    {"LowFundsAndMarginLevelOnThePlannedPosition",
     [](TClientRiskRecord& r, double v) { r.currentNetPosition = 1, r.plannedNetPosition = v; },
     {{1000, -100.0, "1@0 5@0"},
      {1100, -100.05, "5@0", false,
       "Checking last sent value for LF (last value: -1.000000, current value: -1.000500)"},
      {1161, -100.05, ""}, {1170, 0.0, ""},
      {1200, -100.05, "5@0"}, {1210, -100.2, "1@0"}, {1300, 1.0, ""}, {1310, -1.0, "1@0 5@0"}}},
    {"ClgoAndEclgoNameANegativeOpenPositionLimit",
     [](TClientRiskRecord& r, double v) { r.eclgo = r.openPositionLimit = v, r.clgo = v + 2; },
     {{1000, 2.0, ""}, {1005, 1.0, ""}, {1010, 0.8, "4@0"}, {1100, -10.0, "3@1 4@1"},
      {1110, 2.0, ""}, {1200, 0.0, "4@0"}, {1210, -0.5, "3@1"}}},
    // Exactly at its level the CLGO is not broken, and re-arms.
    {"ClgoAtItsLevelIsSafe", [](TClientRiskRecord& r, double v) { r.clgo = v; },
     {{1000, 1.0, ""}, {1010, 0.9, "3@0"}, {1100, 1.0, ""}, {1110, 0.9, "3@0"}}},
    {"UnitedClientMarginLevels",
     [](TClientRiskRecord& r, double v) {
       r.united = true, r.currentNetPosition = 1, r.marginLevel = v;
       r.modifiedMarginLevel = v - 0.5;
     },
     {{1000, 2.0, ""}, {1010, 1.2, "7@1"}, {1020, 1.0, ""}, {1030, 0.8, "5@1"},
      {1100, 0.75, "7@1"}, {1200, 2.0, ""}}},
};

TModuleSettings EveryKindSent() {
  TModuleSettings s;
  s.SendSFRWarningMsg = s.SendSFRCriticalMsg = s.SendSFRWarningMsg_fp = s.SendSFRCriticalMsg_fp = false;
  s.SendLowFundsMsg = s.SendCLGOMsg = s.SendECLGOMsg = s.SendMLMsg = s.SendUPMsg = s.SendML2Msg = false;
  s.UPParam = kCashLeverageId, s.UPLevel = 5.0, s.ML2Param = kModifiedMarginLevelId;
  return s;
}

class MarketPathTest : public testing::TestWithParam<MarketPath> {};

TEST_P(MarketPathTest, SendsTheCallsOfEachRun) {
  TModuleSettings s = EveryKindSent();
  s.TraceLogLevel = 3;
  CTempFolder folder;
  CVantrelLog log(folder.Path(), s);
  TClientRiskRecord record;
  for (const CheckRun& run : GetParam().runs) {
    GetParam().move(record, run.v);
    CRecordingSender sender;
    sender.delivers = !run.fails;
    const size_t logged = ReadFileBytes(log.Path()).size();
    CheckClientRiskParams(record, s, TRepeatLimits{60, 0.125}, run.t, sender, &log);
    EXPECT_EQ(sender.calls, run.calls) << "at " << run.t;
    const std::string lines = ReadFileBytes(log.Path()).substr(logged);
    EXPECT_NE(lines.find(run.logged), std::string::npos) << "at " << run.t << ", logged:\n" << lines;
    s.NotificationsOn = false;  // and the same run again sends nothing
    CheckClientRiskParams(record, s, TRepeatLimits{0, 0.0}, run.t + 1000, sender);
    s.NotificationsOn = true;
    EXPECT_EQ(sender.calls, run.calls) << "at " << run.t << " with notifications off";
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, MarketPathTest, testing::ValuesIn(kPaths),
                         [](const testing::TestParamInfo<MarketPath>& p) { return p.param.name; });

// The rules in the risk manager's words, for the funds sufficiency and the
// cash leverage: a breach is called at once; while it lasts, again only after
// MinTime (60 s) and when worse than the value last sent by more than
// MinParamChange (0.05); back on the safe side, the next breach counts as new.
// A call counts as sent whether or not a channel took it.
struct Memory {
  double sent = 0.0;
  bool armed = true;
  int64_t at = -1000;
};

TEST(EngineRandomTest, MatchesTheRulesOverManyRuns) {
  const TModuleSettings s = EveryKindSent();  // SFR warning 1.0, critical 0.5
  std::mt19937 random(20261206);
  std::uniform_real_distribution<double> step(-0.08, 0.08);
  std::vector<TClientRiskRecord> clients(300);
  std::vector<Memory> sfr(300), up(300);
  int calls = 0;
  for (int64_t now = 1000; now < 3800; now += 1 + random() % 13) {
    for (size_t i = 0; i < clients.size(); ++i) {
      TClientRiskRecord& c = clients[i];
      c.sfr = now == 1000 ? 1.1 : c.sfr + step(random);
      c.cashLeverage = now == 1000 ? 4.9 : c.cashLeverage - 4 * step(random);
      CRecordingSender sender;
      sender.delivers = random() % 10 != 0;
      std::string expected;
      auto expect = [&](Memory& m, bool broken, bool safe, double v, double worse,
                        const char* call) {
        m.armed = m.armed || safe;
        if (!broken || now - m.at <= 60 || !(m.armed || worse > 0.05)) return;
        expected += (expected.empty() ? "" : " ") + std::string(call);
        m.sent = v, m.armed = false, m.at = now;
      };
      const double v = c.sfr, leverage = c.cashLeverage;
      expect(sfr[i], v < 1.0, v > 1.0, v, sfr[i].sent - v, v < 0.5 ? "2@0.5" : "2@1");
      expect(up[i], leverage > 5.0, leverage <= 5.0, leverage, leverage - up[i].sent, "6@5");
      CheckClientRiskParams(c, s, TRepeatLimits{60, 0.05}, now, sender);
      ASSERT_EQ(sender.calls, expected) << "client " << i << " at " << now;
      calls += !expected.empty();
    }
  }
  EXPECT_GT(calls, 1000);
}

TEST(ScheduleSendingTest, BrokenClientsGetEachDueKindOnceInItsOrder) {
  TModuleSettings s;  // every sending switch off: they play no part here
  for (int kind : {1, 2, 3, 4, 5, 6, 7, 9}) ASSERT_TRUE(s.ParseScheduleTextAt(kind, "10:00", 0));
  ASSERT_TRUE(s.ParseScheduleTextAt(9, "10:00, 11:00", 0));
  s.UseLFSchedule = s.UseSFRWarnSchedule = s.UseSFRCritSchedule = s.UseCLGOSchedule = true;
  s.UseSFRWarnSchedule_fp = s.UseECLGOSchedule = s.UseMLSchedule = s.UseUPSchedule = true;
  s.UseML2Schedule = s.ConsiderQualClient = s.CLGOUseVMAI = true;
  s.UPParam = kCashLeverageId, s.UPLevel = 5.0, s.ML2Param = kModifiedMarginLevelId;
  // c: every level broken, the CLGO one only by the limit with income and margin;
  // d: only the funds sufficiency for open positions, below its critical level.
  TClientRiskRecord c, d, excluded, fine;
  d.clientCode[0] = 'D', d.sfrOpenPositions = 0.3;
  c.united = c.qualified = true, c.clientCode[0] = 'C';
  c.sfr = 0.3, c.sfrOpenPositions = 0.9, c.plannedNetPosition = -1, c.clgo = 1.0;
  c.openPositionLimit = 1, c.accruedIncome = 1, c.realVariationMargin = -3, c.eclgo = 0.5;
  c.currentNetPosition = 1, c.cashLeverage = 6;
  excluded = c, excluded.ExclusionMark = kRuleExcluded;
  const std::vector<TClientRiskRecord*> clients{&fine, &excluded, &c, &d};
  const TEngineClock start{1000, 9 * 3600}, morning{5000, 10 * 3600};
  CRecordingSender sender;
  EXPECT_FALSE(SendMarginCallsBySchedule(s, clients, TEngineClock{}, morning, sender).due);
  EXPECT_TRUE(SendMarginCallsBySchedule(s, clients, start, morning, sender).due);
  EXPECT_FALSE(SendMarginCallsBySchedule(s, clients, start, morning, sender).due);
  EXPECT_TRUE(SendMarginCallsBySchedule(s, clients, start, {6000, 11 * 3600}, sender).due);
  // With both funds-sufficiency schedules on only the critical call goes out.
  EXPECT_EQ(sender.calls, "C9@1 C2@0.5 C1@0 C3@1 C4@1 C5@1 C6@5 C7@0.5 D9@1 C9@1 D9@1");
  EXPECT_EQ(c.lastSentTimeSfr, 6000);
  // What the automatic check compares with is its own: still re-armed.
  EXPECT_TRUE(c.rearmedSfr && c.rearmedUp);
  EXPECT_EQ(c.lastSentSfr, kValueNotSet);
}

// The host stops the plug-in during a call: no further kind, no further
// client, and the call stamps nothing. The schedule's send names every call
// it kept back, and is cut only when a call was.
TEST(EngineStopTest, ACallDuringAStopEndsTheRun) {
  const struct {
    int callsBeforeStop;
    bool wholeAtStop;       // the call at the stop went whole
    const char* checked;    // the automatic check of one client, every kind broken
    const char* scheduled;  // the schedule's send of two such clients
    const char* notReached;
  } rows[] = {{1, false, "C2@0.5", "C2@0.5", "C (type: 9)|C (type: 1)|D (type: 2)|D (type: 9)|D (type: 1)|"},
              {2, false, "C2@0.5 C1@0", "C2@0.5 C9@0.5", "C (type: 1)|D (type: 2)|D (type: 9)|D (type: 1)|"},
              {6, false, "C2@0.5 C1@0 C6@5", "C2@0.5 C9@0.5 C1@0 D2@0.5 D9@0.5 D1@0", "|"},
              {-1, false, "C2@0.5 C1@0 C6@5", "C2@0.5 C9@0.5 C1@0 D2@0.5 D9@0.5 D1@0", ""},
              {1, true, "C2@0.5", "C2@0.5", "C (type: 9)|C (type: 1)|D (type: 2)|D (type: 9)|D (type: 1)|"},
              {6, true, "C2@0.5 C1@0 C6@5", "C2@0.5 C9@0.5 C1@0 D2@0.5 D9@0.5 D1@0", ""}};
  TModuleSettings s = EveryKindSent();
  s.SendCLGOMsg = s.SendECLGOMsg = s.SendMLMsg = s.SendML2Msg = false;
  ASSERT_TRUE(s.ParseScheduleTextAt(2, "10:00", 0) && s.ParseScheduleTextAt(9, "10:00", 0) &&
              s.ParseScheduleTextAt(1, "10:00", 0));
  s.UseLFSchedule = s.UseSFRCritSchedule = s.UseSFRCritSchedule_fp = true;
  for (const auto& row : rows) {
    TClientRiskRecord c, d;
    for (TClientRiskRecord* r : {&c, &d})
      r->sfr = r->sfrOpenPositions = 0.3, r->plannedNetPosition = -1, r->cashLeverage = 6;
    c.clientCode[0] = 'C', d.clientCode[0] = 'D';
    CRecordingSender check;
    check.callsBeforeStop = row.callsBeforeStop;
    check.wholeAtStop = row.wholeAtStop;
    CheckClientRiskParams(c, s, TRepeatLimits{60, 0.125}, 1000, check);
    EXPECT_EQ(check.calls, row.checked) << row.callsBeforeStop;
    TModuleSettings schedule = s;
    CRecordingSender sender;
    sender.callsBeforeStop = row.callsBeforeStop;
    sender.wholeAtStop = row.wholeAtStop;
    const std::vector<TClientRiskRecord*> clients{&c, &d};
    c.lastSentTimeSfr = c.lastSentTimeLowFunds = 0;
    const TScheduleSend send =
        SendMarginCallsBySchedule(schedule, clients, {1000, 9 * 3600}, {5000, 10 * 3600}, sender);
    EXPECT_TRUE(send.due);
    EXPECT_EQ(sender.calls, row.scheduled) << row.callsBeforeStop;
    // "|" alone: cut in the last call, nothing left.
    std::string notReached = send.cut && send.notReached.empty() ? "|" : "";
    for (const std::string& call : send.notReached) notReached += call + "|";
    EXPECT_EQ(notReached, row.notReached) << row.callsBeforeStop;
    EXPECT_EQ(c.lastSentTimeSfr, row.callsBeforeStop == 1 ? 0 : 5000) << row.callsBeforeStop;
  }
}

}  // namespace
