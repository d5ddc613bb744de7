// A client's values from the host: spot and client values, position values and
// closing targets.
#include "market_fixture.h"
#include "market_text.h"
#include "module/client_market_values.h"
#include "module/market_records.h"
#include "module/risk/closing_targets.h"
#include "module/risk/position_values.h"

#include <vector>

namespace {
// The client record as the host sees it: the firm text leads it.
struct ClientRecord { char firm[33]; char clientCode[33]; };

class ClientMarketValuesTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("client_market_values.ini"));
  }
  TClientMarketKey Key(const char* client, bool united = true) {
    lstrcpynA(record.firm, "FIRM1", sizeof record.firm);
    lstrcpynA(record.clientCode, client, sizeof record.clientCode);
    TClientMarketKey key;
    key.firm = record.firm; key.clientCode = record.clientCode; key.boardTag = "EQTV";
    key.currency = "SUR"; key.united = united;
    return key;
  }
  ClientRecord record = {};
};

TEST_F(ClientMarketValuesTest, SpotValueAndClientValuesInHundredths) {
  struct Case { const char* client; const char* board; double spot, value6, value5, value40; };
  const Case cases[] = {
      {"C1", "EQTV", 500 + 250 - 100, 1250, -325, 700},
      {"C1", "TQBR", 0, 1250, -325, 700},  // no spot record on that board
      {"C2", "EQTV", 0, 0, 0, 0},  // spot record not in use; 777 came with a failure
  };
  for (const Case& c : cases) {
    TClientMarketKey key = Key(c.client);
    key.boardTag = c.board;
    double spot = -1, value6 = -1, value5 = -1, value40 = -1;
    GetSpotPortfolioValues(key, &spot, &value6, &value5, &value40);
    EXPECT_EQ(std::vector<double>({spot, value6, value5, value40}),
              std::vector<double>({c.spot, c.value6, c.value5, c.value40}))
        << c.client << " " << c.board;
  }
  EXPECT_EQ(host.Log().Details(149)[0], "FIRM1 C1 EQTV SUR");
  EXPECT_EQ(host.Log().Count(134), 9) << "the client values are always asked";
  EXPECT_EQ(host.Log().Count(34), 2) << "index -1 is not read";
  host.Remove(34);
  Initialise();
  double spot = -1;
  GetSpotPortfolioValues(Key("C1"), &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 0.0) << "a spot record the host cannot copy";
}

TEST_F(ClientMarketValuesTest, UnitedPositionValuesFromOneMillionth) {
  struct Case { const char* client; bool united, expected; };
  const Case cases[] = {
      {"C1", true, true},   {"C1", false, false},  // value 6 is 12.5; not united
      {"C2", true, false},  // value 6 came with a failure
      {"C3", true, true},   // value 5 is exactly 0.000001
      {"C4", true, false},  // value 6 is below 0.000001
      {"C9", true, false},  // unknown client
  };
  for (const Case& c : cases) {
    const TClientMarketKey key = Key(c.client, c.united);
    EXPECT_EQ(HasUnitedPositionValues(&key), c.expected) << c.client << " " << c.united;
  }
  EXPECT_FALSE(HasUnitedPositionValues(nullptr));
  EXPECT_EQ(host.Log().Count(134), 9) << "not united asks nothing";
}

// Value 6 of every client is 1, but only when asked the way the module must ask.
int __stdcall ValueWhenAskedRight(const void*, const char*, int number, double* value, int zero) {
  *value = 1;
  return number == 6 && zero == 0 ? 0 : 1;
}

// The first spot record, but only when asked the way the module must ask.
int __stdcall SpotIndexWhenAskedRight(const void*, const char*, const char*, const char*, int zero) {
  return zero == 0 ? 0 : -1;
}

TEST_F(ClientMarketValuesTest, ClientValuesAreAskedAsTheHostExpects) {
  host.Install<134>(ValueWhenAskedRight);
  host.Install<149>(SpotIndexWhenAskedRight);
  Initialise();
  const TClientMarketKey key = Key("C9");
  EXPECT_TRUE(HasUnitedPositionValues(&key));
  double spot = -1;
  GetSpotPortfolioValues(key, &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 500 + 250 - 100) << "C1's spot record";
}

class PositionValuesTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("position_values.ini"));
  }
  const uint8_t* Security(const char* code) { return FindSecurityByCode(code); }
};

TEST_F(PositionValuesTest, CashLeverageAddend) {
  struct Case { const char* code; int32_t quantity; double expected; };
  const Case cases[] = {
      // derivative: steppricet 2 × (3 × 100 × 10 units) / 4
      {"RIZ6", -3, 1500}, {"RIZ6", 3, 1500}, {"RIZ6", 0, 0},
      // other: steppricet 1 × last 250 × 7 × 100 / 10
      {"SBER", 7, 17500},
      // no trade today: the previous price, 1 × 5000 × 2 × 100 / 100
      {"LKOH", -2, 10000},
      // no divisor: nothing, rather than an endless value
      {"SiZ6", 5, 0}, {"GAZP", 5, 0},
  };
  for (const Case& c : cases) {
    const uint8_t* security = Security(c.code);
    ASSERT_NE(security, nullptr) << c.code;
    EXPECT_DOUBLE_EQ(CashLeverageAddend(security, c.quantity), c.expected)
        << c.code << " " << c.quantity;
  }
  EXPECT_EQ(CashLeverageAddend(nullptr, 5), 0.0);
  const int asked = host.Log().Count(43);
  EXPECT_EQ(CashLeverageAddend(Security("SiZ6"), 5), 0.0);
  EXPECT_EQ(host.Log().Count(43), asked) << "no divisor asks no quotes";
}

TEST(OptionLiquidationPrice, ByPositionSideAndSetting) {
  struct Case { int32_t quantity; int param; double bid, offer, theor, expected; };
  const Case cases[] = {
      {-2, 1, 90, 110, 100, 110},  // a short closes at the offer
      {-2, 0, 90, 110, 100, 100}, {-2, 0, 90, 95, 100, 95},  // or the smaller with theoretical
      {-2, 0, 90, 0, 100, 100},   {-2, 0, 90, 110, 0, 110},  {-2, 0, 90, 0, 0, 0},  // 0: none
      {-2, 0, 90, 1e-9, 0, 1e-9},  // the offer when there is no theoretical price
      {3, 1, 90, 110, 100, 90},    // a long closes at the bid
      {3, 0, 90, 110, 100, 110},  {3, 0, 90, 110, 120, 120},  // or the larger of the two
      {0, 2, 90, 110, 100, 110},   // no position counts as long
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(OptionLiquidationPrice(c.quantity, c.param, c.bid, c.offer, c.theor),
                     c.expected)
        << c.quantity << " param " << c.param << " offer " << c.offer << " theor " << c.theor;
}

TEST_F(PositionValuesTest, OptionLiquidationAddend) {
  // RIZ6 short 3 by offer 110 / theoretical 100: 100 × -3 × 100.
  EXPECT_DOUBLE_EQ(OptionLiquidationAddend(Security("RIZ6"), -3, 0), -30000);
  // Long 2 by the bid 90: 90 × 2 × 100.
  EXPECT_DOUBLE_EQ(OptionLiquidationAddend(Security("RIZ6"), 2, 1), 18000);
  // Only derivatives outside the option classes count.
  EXPECT_EQ(OptionLiquidationAddend(Security("RI100000BL6"), 2, 1), 0.0);
  EXPECT_EQ(OptionLiquidationAddend(Security("SBER"), 2, 1), 0.0);
  EXPECT_EQ(OptionLiquidationAddend(nullptr, 2, 1), 0.0);
}

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
