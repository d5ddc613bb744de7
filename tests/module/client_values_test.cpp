// A client's values from the host: spot and client values, position values and
// closing targets; the cases are in cases/client_values.txt, closing.txt and
// position_values.txt.
#include "case_table.h"
#include "market_fixture.h"
#include "market_text.h"
#include "module/client_market_values.h"
#include "module/market_records.h"
#include "module/recalc/pass_market_facts.h"
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

TEST_F(ClientMarketValuesTest, SpotValueClientValuesAndUnitedPositionValues) {
  RunCaseTable("client_values.txt", {
    {"Spot", [&](const CaseRow& c) {
       TClientMarketKey key = Key(c.Text(0));
       key.boardTag = c.Text(1);
       double spot = -1, value6 = -1, value5 = -1, value40 = -1;
       GetSpotPortfolioValues(key, &spot, &value6, &value5, &value40);
       EXPECT_EQ(std::vector<double>({spot, value6, value5, value40}),
                 std::vector<double>({c[2], c[3], c[4], c[5]})); }},
    {"United", [&](const CaseRow& c) {
       const TClientMarketKey key = Key(c.Text(0), c[1] != 0);
       EXPECT_EQ(HasUnitedPositionValues(&key), c[2] != 0); }},
  });
  EXPECT_FALSE(HasUnitedPositionValues(nullptr));
  EXPECT_EQ(host.Log().Details(149)[0], "FIRM1 C1 EQTV SUR");
  EXPECT_EQ(host.Log().Count(134), 9 + 9) << "the client values always, not united nothing";
  EXPECT_EQ(host.Log().Count(34), 2) << "index -1 is not read";
  host.Remove(34);
  Initialise();
  double spot = -1;
  GetSpotPortfolioValues(Key("C1"), &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 0.0) << "a spot record the host cannot copy";
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

TEST_F(MarketTest, PositionValues) {
  LoadMarket(MarketText("position_values.ini"));
  RunCaseTable("position_values.txt", {
    {"Leverage", [](const CaseRow& c) {
       const uint8_t* security = FindSecurityByCode(c.Text(0));
       ASSERT_NE(security, nullptr);
       CPassMarketFacts market(0x48);
       EXPECT_DOUBLE_EQ(CashLeverageAddend(market, security, int32_t(c[1])), c[2]); }},
    {"Option", [](const CaseRow& c) {
       CPassMarketFacts market(0x48);
       EXPECT_DOUBLE_EQ(OptionLiquidationAddend(market, FindSecurityByCode(c.Text(0)), int32_t(c[1]),
                                                int(c[2])), c[3]); }},
  });
  CPassMarketFacts market(0x48);
  EXPECT_EQ(CashLeverageAddend(market, nullptr, 5), 0.0);
  EXPECT_EQ(OptionLiquidationAddend(market, nullptr, 2, 1), 0.0);
  const int asked = host.Log().Count(43);
  EXPECT_EQ(CashLeverageAddend(market, FindSecurityByCode("SiZ6"), 5), 0.0);
  EXPECT_EQ(host.Log().Count(43), asked) << "no divisor asks no quotes";
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

TEST_F(ClosingTargetsTest, EachCaseOfTheTable) {
  RunCaseTable("closing.txt", {
    {"OptionPrice", [](const CaseRow& c) {
       EXPECT_DOUBLE_EQ(OptionLiquidationPrice(int32_t(c[0]), int(c[1]), c[2], c[3], c[4]), c[5]); }},
    {"Reached", [](const CaseRow& c) {
       EXPECT_EQ(IsLevelReachedForParam(c[0], c[1], c[2] != 0, int(c[3]), c[4] != 0, c[5]),
                 c[6] != 0); }},
    {"Target", [&](const CaseRow& c) {
       pattern.ConsiderQualClient = c[3] != 0, pattern.ParamIdx2 = int(c[4]);
       EXPECT_DOUBLE_EQ(GetPatternTargetLevel(pattern, Client(c.Text(0), c[1] != 0, c[2] != 0)),
                        c[5]); }},
    {"Applicable", [&](const CaseRow& c) {
       pattern.ParamIdx2 = int(c[2]);
       EXPECT_EQ(IsUnitedParamApplicable(Client(c.Text(0), c[1] != 0), pattern), c[3] != 0); }},
  });
  EXPECT_TRUE(IsUnitedParamApplicableByIdx(Client("C1", true), pattern, 23));
  EXPECT_FALSE(IsUnitedParamApplicableByIdx(Client("C1", true), pattern, 22));
}

TEST_F(ClosingTargetsTest, ActingWithoutSpotPositionNeedsNoHostValues) {
  pattern.ActWithoutSpotPos = true;
  EXPECT_TRUE(IsUnitedParamApplicable(Client("C2", true), pattern));
  EXPECT_EQ(host.Log().Count(134), 0);
  EXPECT_FALSE(IsUnitedParamApplicable(Client("C2", false), pattern));
}
}  // namespace
