// What a position adds to the cash leverage and to the option liquidation
// value, with the securities and quotes of the stand-in host.
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"
#include "module/risk/position_values.h"

namespace {

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
}  // namespace
