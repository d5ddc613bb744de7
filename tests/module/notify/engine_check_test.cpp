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
  void (*prepare)(TModuleSettings&, TClientRiskRecord&, double v);
  std::vector<CheckRun> runs;
};

void AllSendingOff(TModuleSettings& s) {
  s.SendSFRWarningMsg_fp = s.SendSFRCriticalMsg_fp = s.SendLowFundsMsg = s.SendCLGOMsg = true;
  s.SendECLGOMsg = s.SendMLMsg = s.SendUPMsg = s.SendML2Msg = true;
  s.SendSFRWarningMsg = s.SendSFRCriticalMsg = true;
}

const MarketPath kPaths[] = {
    {"SfrWarningCriticalRecoveringWorsening",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendSFRWarningMsg = s.SendSFRCriticalMsg = false;
       r.sfr = v;
     },
     // Warning 1.0, critical 0.5; MinTime 60 s, MinParamChange 0.1.
     {{1000, 1.2, ""}, {1010, 0.9, "2@1"}, {1020, 0.7, ""}, {1100, 0.85, ""},
      {1110, 0.75, "2@1"}, {1200, 0.4, "2@0.5"}, {1300, 0.45, ""}, {1400, 1.0, ""},
      {1410, 0.7, ""}, {1420, 1.1, ""}, {1430, 0.95, "2@1"}, {1440, 0.5, ""},
      {1500, 0.45, "2@0.5", true}, {1501, 0.45, "2@0.5"}, {1502, 0.2, ""}}},
    {"SfrSharesItsTimeWithSfrForOpenPositions",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendSFRWarningMsg = s.SendSFRWarningMsg_fp = false;
       r.sfr = r.sfrOpenPositions = v;
     },
     {{1000, 0.9, "2@1"}, {1060, 0.9, ""}, {1061, 0.9, "9@1"}, {1200, 0.7, "2@1"},
      {1261, 0.7, "9@1"}}},
    {"CashLeverageBreaksUpwards",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendUPMsg = false;
       s.UPParam = kCashLeverageId;
       s.UPLevel = 5.0;
       r.cashLeverage = v;
     },
     {{1000, 4.0, ""}, {1010, 6.0, "6@5"}, {1100, 6.05, ""}, {1110, 5.5, ""},
      {1120, 6.3, "6@5"}, {1130, 7.0, ""}, {1200, 4.9, ""}, {1210, 5.2, "6@5"}}},
    {"LowFundsCountsHundredthsAndZeroKeepsTheLastValue",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendLowFundsMsg = false;
       r.plannedNetPosition = v;
     },
     {{1000, -100.0, "1@0"}, {1100, -100.05, ""}, {1110, 0.0, ""}, {1200, -100.05, ""},
      {1210, -100.2, "1@0"}, {1300, 50.0, ""}, {1310, -1.0, "1@0"}}},
    {"ClgoNamesANegativeOpenPositionLimit",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendCLGOMsg = false;
       r.clgo = 2.0;
       r.openPositionLimit = r.dayStartLimit = v;
     },
     {{1000, 10.0, ""}, {1010, -10.0, "3@1"}, {1100, -20.0, ""}, {1110, 10.0, ""},
      {1120, -10.0, "3@1"}}},
    {"MarginLevelWithoutUnitedPositionNeedsNoMinimumChange",
     [](TModuleSettings& s, TClientRiskRecord& r, double v) {
       s.SendMLMsg = false;
       r.currentNetPosition = 100.0;
       r.plannedNetPosition = v;
     },
     {{1000, -1.0, "5@0"}, {1100, -1.01, "5@0"}, {1200, -1.0, ""}, {1300, 1.0, ""},
      {1310, -0.5, "5@0"}}},
};

class MarketPathTest : public testing::TestWithParam<MarketPath> {};

TEST_P(MarketPathTest, SendsTheCallsOfEachRun) {
  TModuleSettings settings;
  AllSendingOff(settings);
  TClientRiskRecord record;
  const TRepeatLimits limits{60, 0.1};
  for (const CheckRun& run : GetParam().runs) {
    GetParam().prepare(settings, record, run.v);
    CRecordingSender sender;
    sender.delivers = !run.fails;
    CheckClientRiskParams(record, settings, limits, run.t, sender);
    EXPECT_EQ(sender.calls, run.calls) << "at " << run.t;
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, MarketPathTest, testing::ValuesIn(kPaths),
                         [](const testing::TestParamInfo<MarketPath>& p) { return p.param.name; });

TEST(EngineCheckTest, NothingWhileNotificationsAreOff) {
  TModuleSettings settings;
  settings.SendSFRWarningMsg = false;
  settings.NotificationsOn = false;
  TClientRiskRecord record;
  record.sfr = 0.1;
  CRecordingSender sender;
  CheckClientRiskParams(record, settings, TRepeatLimits{}, 1000, sender);
  EXPECT_EQ(sender.calls, "");
}

}  // namespace
