// Closing targets: the level a pattern closes a client down to and whether a
// value has reached it; the united tests ask the stand-in host's client values.
#include "market_fixture.h"
#include "market_text.h"
#include "module/risk/closing_targets.h"

namespace {
TEST(ClosingTargets, LevelReachedForParam) {
  struct Case {
    double value, level;
    bool united;
    int id;
    bool notMoreThanPlanned;
    double planned;
    bool reached;
  };
  const Case cases[] = {
      {5, 4, true, 6, false, 0, true},    // united: above the level
      {4, 4, true, 6, true, 100, false},  // united: the planned flag does not count
      {5, 4, false, 8, false, 0, true}, {4, 4, false, 8, true, 100, false},
      {3, 4, false, 6, false, 0, true},   // net positions: below the level
      {4, 4, false, 6, false, 0, false},
      {4, 4, false, 6, true, 0, true},    // planned net position not negative
      {4, 4, false, 6, true, -1, false}, {5, 4, false, 7, false, 0, false},
      {5, 4, false, 18, false, 0, true},  // others: above the level
      {4, 4, false, 18, false, 0, false}, {3, 4, false, 18, true, 10, true},
      {3, 4, false, 18, false, 10, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsLevelReachedForParam(c.value, c.level, c.united, c.id, c.notMoreThanPlanned,
                                     c.planned),
              c.reached)
        << c.value << " " << c.level << " united " << c.united << " id " << c.id;
}


class ClosingTargetsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("closing_targets.ini"));
    pattern.ParamIdx2 = 23, pattern.BoundaryValue = 1.3;
    pattern.MinMarginLvl = 0.4, pattern.MinMarginForQualClients = 0.2;
    pattern.ConsiderQualClient = true;
    pattern.ActWithoutSpotPos = false;  // the host's values decide
  }
  static TClientRiskRecord Client(const char* code, bool united, bool qualified = false) {
    TClientRiskRecord record("FIRM1", "ACC");
    lstrcpynA(record.clientCode, code, sizeof record.clientCode);
    record.united = united, record.qualified = qualified;
    return record;
  }
  TClosingPattern pattern;
};

TEST_F(ClosingTargetsTest, UnitedParamApplicable) {
  EXPECT_TRUE(IsUnitedParamApplicable(Client("C1", true), pattern)) << "value 6 reported";
  EXPECT_TRUE(IsUnitedParamApplicable(Client("C3", true), pattern)) << "value 5 reported";
  EXPECT_FALSE(IsUnitedParamApplicable(Client("C2", true), pattern)) << "no values";
  EXPECT_FALSE(IsUnitedParamApplicable(Client("C1", false), pattern)) << "not united";
  pattern.ParamIdx2 = 18;
  EXPECT_FALSE(IsUnitedParamApplicable(Client("C1", true), pattern));
  EXPECT_TRUE(IsUnitedParamApplicableByIdx(Client("C1", true), pattern, 23));
  EXPECT_FALSE(IsUnitedParamApplicableByIdx(Client("C1", true), pattern, 22));
}

TEST_F(ClosingTargetsTest, ActingWithoutSpotPositionNeedsNoHostValues) {
  pattern.ActWithoutSpotPos = true;
  EXPECT_TRUE(IsUnitedParamApplicable(Client("C2", true), pattern));
  EXPECT_EQ(host.Log().Count(134), 0);
  EXPECT_FALSE(IsUnitedParamApplicable(Client("C2", false), pattern));
}

TEST_F(ClosingTargetsTest, PatternTargetLevel) {
  struct Case {
    const char* client;
    bool united, qualified, patternConsidersQual;
    int paramIdx2;
    double expected;
  };
  const Case cases[] = {
      {"C1", true, true, true, 23, 0.2},    // qualified client's minimum margin
      {"C1", true, false, true, 23, 0.4}, {"C1", true, true, false, 23, 0.4},
      {"C2", true, true, true, 23, 1.3},    // no united values: the boundary
      {"C2", true, false, true, 18, 0.4},   // united, other parameter: minimum margin
      {"C1", true, true, true, 18, 0.4},
      {"C1", false, true, true, 23, 1.3},   // not united: the boundary
      {"C1", false, false, true, 18, 1.3},
  };
  for (const Case& c : cases) {
    pattern.ConsiderQualClient = c.patternConsidersQual, pattern.ParamIdx2 = c.paramIdx2;
    EXPECT_DOUBLE_EQ(GetPatternTargetLevel(pattern, Client(c.client, c.united, c.qualified)),
                     c.expected)
        << c.client << c.united << c.qualified << c.patternConsidersQual << c.paramIdx2;
  }
}
}  // namespace
