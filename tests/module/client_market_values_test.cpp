// A client's spot value and client values as the stand-in host computes them.
#include "market_fixture.h"
#include "market_text.h"
#include "module/client_market_values.h"

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
    key.firm = record.firm;
    key.clientCode = record.clientCode;
    key.boardTag = "EQTV";
    key.currency = "SUR";
    key.united = united;
    return key;
  }
  ClientRecord record = {};
};

TEST_F(ClientMarketValuesTest, SpotValueAndClientValuesInHundredths) {
  double spot = -1, value6 = -1, value5 = -1, value40 = -1;
  GetSpotPortfolioValues(Key("C1"), &spot, &value6, &value5, &value40);
  EXPECT_DOUBLE_EQ(spot, 500 + 250 - 100);
  EXPECT_DOUBLE_EQ(value6, 1250);
  EXPECT_DOUBLE_EQ(value5, -325);
  EXPECT_DOUBLE_EQ(value40, 700);
  ASSERT_EQ(host.Log().Count(149), 1);
  EXPECT_EQ(host.Log().Details(149)[0], "FIRM1 C1 EQTV SUR");
  EXPECT_EQ(host.Log().Details(134).size(), 3u);
}

TEST_F(ClientMarketValuesTest, ASpotRecordNotInUseGivesZero) {
  double spot = -1;
  GetSpotPortfolioValues(Key("C2"), &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 0.0);
  EXPECT_EQ(host.Log().Count(134), 3) << "the client values are always asked";
}

TEST_F(ClientMarketValuesTest, NoSpotRecordGivesZero) {
  double spot = -1;
  TClientMarketKey key = Key("C1");
  key.boardTag = "TQBR";
  GetSpotPortfolioValues(key, &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 0.0);
  EXPECT_EQ(host.Log().Count(34), 0) << "index -1 is not read";
}

TEST_F(ClientMarketValuesTest, ASpotRecordTheHostCannotCopyGivesZero) {
  host.Remove(34);
  Initialise();
  double spot = -1;
  GetSpotPortfolioValues(Key("C1"), &spot, nullptr, nullptr, nullptr);
  EXPECT_DOUBLE_EQ(spot, 0.0);
}

TEST_F(ClientMarketValuesTest, ClientValuesAreTakenOnlyWhenTheHostSucceeds) {
  double spot = -1, value6 = -1, value5 = -1, value40 = -1;
  GetSpotPortfolioValues(Key("C2"), &spot, &value6, &value5, &value40);
  EXPECT_DOUBLE_EQ(value6, 0.0) << "the host wrote 777 but reported a failure";
  EXPECT_DOUBLE_EQ(value5, 0.0) << "the host does not know it";
  EXPECT_DOUBLE_EQ(value40, 0.0);
}

TEST_F(ClientMarketValuesTest, UnitedPositionValuesFromOneMillionth) {
  struct Case { const char* client; bool united, expected; };
  const Case cases[] = {
      {"C1", true, true},    // value 6 is 12.5
      {"C1", false, false},  // not united: the host is not asked
      {"C2", true, false},   // value 6 came with a failure
      {"C3", true, true},    // value 5 is exactly 0.000001
      {"C4", true, false},   // value 6 is below 0.000001
      {"C9", true, false},   // unknown client
  };
  for (const Case& c : cases) {
    const TClientMarketKey key = Key(c.client, c.united);
    EXPECT_EQ(HasUnitedPositionValues(&key), c.expected) << c.client << " " << c.united;
  }
  EXPECT_FALSE(HasUnitedPositionValues(nullptr));
}

TEST_F(ClientMarketValuesTest, NotUnitedAsksNothing) {
  const TClientMarketKey key = Key("C1", false);
  EXPECT_FALSE(HasUnitedPositionValues(&key));
  EXPECT_EQ(host.Log().Count(134), 0);
}
}  // namespace
