#include "engine_recorder.h"
#include "module/notify/engine_client_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One run of the check: the time, the client's value and the calls expected.
struct CheckRun {
  int64_t t;
  double v;
  const char* calls;
  bool fails = false;  // the channels fail this time
};

struct MarketPath {
  const char* name;
  void (*move)(TClientRiskRecord&, double v);
  std::vector<CheckRun> runs;
};

// Every kind is sent. SFR warning 1.0, critical 0.5; CLGO and ML levels 1.0;
// cash leverage level 5.0. MinTime 60 s, MinParamChange 0.1.
const MarketPath kPaths[] = {
    {"SfrWarningCriticalRecoveringWorsening", [](TClientRiskRecord& r, double v) { r.sfr = v; },
     {{1000, 1.2, ""}, {1010, 0.9, "2@1"}, {1020, 0.7, ""}, {1100, 0.85, ""},
      {1110, 0.75, "2@1"}, {1200, 0.4, "2@0.5"}, {1300, 0.45, ""}, {1400, 1.0, ""},
      {1410, 0.7, ""}, {1420, 1.1, ""}, {1430, 0.95, "2@1"}, {1440, 0.5, ""},
      {1500, 0.45, "2@0.5", true}, {1501, 0.45, "2@0.5"}, {1502, 0.2, ""}}},
    {"SfrSharesItsTimeWithSfrForOpenPositions",
     [](TClientRiskRecord& r, double v) { r.sfr = r.sfrOpenPositions = v; },
     {{1000, 0.9, "2@1"}, {1060, 0.9, ""}, {1061, 0.9, "9@1"}, {1200, 0.7, "2@1"},
      {1261, 0.7, "9@1"}}},
    {"CashLeverageBreaksUpwards", [](TClientRiskRecord& r, double v) { r.cashLeverage = v; },
     {{1000, 4.0, ""}, {1010, 6.0, "6@5"}, {1100, 6.05, ""}, {1110, 5.5, ""},
      {1120, 6.3, "6@5"}, {1130, 7.0, ""}, {1200, 4.9, ""}, {1210, 5.2, "6@5"}}},
    // Low funds counts MinParamChange in hundredths; the margin level of a
    // client without a united position ignores it.
    {"LowFundsAndMarginLevelOnThePlannedPosition",
     [](TClientRiskRecord& r, double v) { r.currentNetPosition = 100, r.plannedNetPosition = v; },
     {{1000, -100.0, "1@0 5@0"}, {1100, -100.05, "5@0"}, {1110, 0.0, ""},
      {1200, -100.05, "5@0"}, {1210, -100.2, "1@0"}, {1300, 50.0, ""}, {1310, -1.0, "1@0 5@0"}}},
    {"ClgoNamesANegativeOpenPositionLimit",
     [](TClientRiskRecord& r, double v) { r.clgo = r.openPositionLimit = v; },
     {{1000, 2.0, ""}, {1010, 0.8, "3@0"}, {1100, -10.0, "3@1"}, {1110, 2.0, ""},
      {1200, 0.95, "3@0"}}},
};

class MarketPathTest : public testing::TestWithParam<MarketPath> {};

TEST_P(MarketPathTest, SendsTheCallsOfEachRun) {
  TModuleSettings s;
  s.SendSFRWarningMsg = s.SendSFRCriticalMsg = s.SendSFRWarningMsg_fp = false;
  s.SendSFRCriticalMsg_fp = s.SendLowFundsMsg = s.SendCLGOMsg = s.SendECLGOMsg = false;
  s.SendMLMsg = s.SendUPMsg = s.SendML2Msg = false;
  s.UPParam = kCashLeverageId, s.UPLevel = 5.0;
  TClientRiskRecord record;
  for (const CheckRun& run : GetParam().runs) {
    GetParam().move(record, run.v);
    CRecordingSender sender;
    sender.delivers = !run.fails;
    CheckClientRiskParams(record, s, TRepeatLimits{60, 0.1}, run.t, sender);
    EXPECT_EQ(sender.calls, run.calls) << "at " << run.t;
    s.NotificationsOn = false;  // and the same run again sends nothing
    CheckClientRiskParams(record, s, TRepeatLimits{0, 0.0}, run.t + 1000, sender);
    s.NotificationsOn = true;
    EXPECT_EQ(sender.calls, run.calls) << "at " << run.t << " with notifications off";
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, MarketPathTest, testing::ValuesIn(kPaths),
                         [](const testing::TestParamInfo<MarketPath>& p) { return p.param.name; });

}  // namespace
