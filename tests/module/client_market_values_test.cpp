// A client's spot value and client values as the stand-in host computes them.
#include "market_fixture.h"
#include "market_text.h"
#include "module/client_market_values.h"

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

TEST_F(ClientMarketValuesTest, ClientValuesAreAskedAsTheHostExpects) {
  host.Install<134>(ValueWhenAskedRight);
  Initialise();
  const TClientMarketKey key = Key("C9");
  EXPECT_TRUE(HasUnitedPositionValues(&key));
}
}  // namespace
