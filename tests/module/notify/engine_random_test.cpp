#include "engine_recorder.h"
#include "module/notify/engine_client_check.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The rules in the risk manager's words, for one kind: a broken level is
// called at once; while it stays broken, again only when MinTime has passed
// and the value is worse than the one last sent by more than MinParamChange;
// back on the safe side, the next breach counts as new.
struct Reference {
  double sent = 0.0;
  bool armed = true;
  int64_t at = -1;  // never

  bool Expects(bool broken, bool safe, double worsening, int64_t now) {
    if (safe) armed = true;
    if (!broken) return false;
    if (at >= 0 && now - at <= 60) return false;
    return armed || worsening > 0.05;
  }
  void Sent(double v, int64_t now) { sent = v, armed = false, at = now; }
};

TEST(EngineRandomTest, MatchesTheRulesOverManyRuns) {
  TModuleSettings settings;  // warning 1.0, critical 0.5
  settings.SendSFRWarningMsg = settings.SendSFRCriticalMsg = settings.SendUPMsg = false;
  settings.UPParam = kCashLeverageId, settings.UPLevel = 5.0;
  std::mt19937 random(20261206);
  std::uniform_real_distribution<double> step(-0.08, 0.08);
  std::vector<TClientRiskRecord> clients(300);
  std::vector<Reference> sfr(300), up(300);
  int calls = 0;
  for (int64_t now = 1000; now < 1000 + 400 * 7; now += 1 + random() % 13) {
    for (size_t i = 0; i < clients.size(); ++i) {
      TClientRiskRecord& c = clients[i];
      c.sfr = now == 1000 ? 1.1 : c.sfr + step(random);
      c.cashLeverage = now == 1000 ? 4.9 : c.cashLeverage - 4 * step(random);
      CRecordingSender sender;
      sender.delivers = random() % 10 != 0;
      std::string expected;
      if (sfr[i].Expects(c.sfr < 1.0, c.sfr > 1.0, sfr[i].sent - c.sfr, now)) {
        expected = c.sfr < 0.5 ? "2@0.5" : "2@1";
        if (sender.delivers) sfr[i].Sent(c.sfr, now);
      }
      if (up[i].Expects(c.cashLeverage > 5.0, c.cashLeverage <= 5.0, c.cashLeverage - up[i].sent,
                        now)) {
        expected += expected.empty() ? "6@5" : " 6@5";
        if (sender.delivers) up[i].Sent(c.cashLeverage, now);
      }
      CheckClientRiskParams(c, settings, TRepeatLimits{60, 0.05}, now, sender);
      ASSERT_EQ(sender.calls, expected) << "client " << i << " at " << now;
      calls += !expected.empty();
    }
  }
  EXPECT_GT(calls, 1000);
}

}  // namespace
