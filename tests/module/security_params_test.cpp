// Security parameters by name, cross rates and the trading state, as the
// stand-in host quotes them.
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"
#include "module/security_params.h"

#include <cstring>
#include <string>

namespace {
// The host counts one record fewer than it holds, so a read past the count shows.
int __stdcall CountOneShort(int kind) { return StandInHost::Current()->Records().Count(kind) - 1; }

class SecurityParamsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("security_params.ini"));
  }
  void SetParameter(const char* code, const char* classCode, const char* name, double value) {
    host.Market().SetParameter(host.Records().FindSecurity(code, classCode), name, value);
  }
};

// Each quote with the host's value for RIZ6, in the order they are asked.
const std::pair<double (*)(const uint8_t*), double> kQuotes[] = {
    {GetBidPrice, 104990}, {GetOfferPrice, 105010}, {GetTheorPrice, 105003}, {GetStepPriceT, 1.5},
    {[](const uint8_t* s) { return GetDepoRequirement(s, true); }, 15000},
    {[](const uint8_t* s) { return GetDepoRequirement(s, false); }, 14000},
    {GetLastPrice, 105000}};

TEST_F(SecurityParamsTest, QuotesAreAskedByNameAndAreZeroWithoutAClass) {
  for (auto& quote : kQuotes)
    EXPECT_DOUBLE_EQ(quote.first(GetSecurityInfoByIndex(0)), quote.second);
  const std::vector<std::string> asked = host.Log().Details(43);
  EXPECT_EQ(asked, (std::vector<std::string>{"0 bid", "0 offer", "0 theorprice", "0 steppricet",
                                             "0 buydepo", "0 selldepo", "0 last"}));
  uint8_t security[host::record::kSecuritySize];
  std::memcpy(security, GetSecurityInfoByIndex(0), sizeof security);
  const int16_t noClass = -1;
  std::memcpy(security + host::record::kSecurityClassIndex, &noClass, sizeof noClass);
  for (auto& quote : kQuotes) EXPECT_DOUBLE_EQ(quote.first(security), 0.0);
  EXPECT_EQ(host.Log().Count(43), 7) << "a security without class asks nothing";
  EXPECT_DOUBLE_EQ(GetTheorPrice(GetSecurityInfoByIndex(1)), 0.0) << "not given by the host";
  EXPECT_DOUBLE_EQ(GetBidPrice(nullptr), 0.0);
}

TEST_F(SecurityParamsTest, LastPriceFallsBackToPreviousBelowOneMillionth) {
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "last 0.0000005";
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(2)), 0.000001) << "last 0.000001";
  SetParameter("SiZ6", "SPBFUT", "last", -0.0000009);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "the size counts";
  host.Market().Clear();
  SetParameter("SiZ6", "SPBFUT", "last", 0.0000003);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 0.0000003) << "no previous price";
}

TEST_F(SecurityParamsTest, CrossRateOfTheSecuritysCurrencyAgainstRoubles) {
  struct Case { double roubleRate; int security; double expected; };
  const Case cases[] = {{1, 0, 1.0}, {1, 1, 90.0}, {1, 2, 1.0},  // SUR; USD; EUR has no rate
                        {2, 1, 45.0}, {0, 1, 1.0}, {1e-8, 1, 1.0}};  // a rouble rate of 0: 1
  for (const Case& c : cases) {
    SetParameter("SUR", "CROSS", "crossrate", c.roubleRate);
    EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(c.security)), c.expected)
        << c.roubleRate << " " << c.security;
  }
  EXPECT_DOUBLE_EQ(GetCrossRate(nullptr), 1.0);
}

TEST_F(SecurityParamsTest, CrossRateWithoutACrossRateClassIsOne) {
  host.Records().Clear();
  host.Records().AddClass({"SPBFUT", 0x48});
  SecuritySpec fields;
  fields.classCode = "SPBFUT", fields.code = "SiZ6", fields.currency = "USD";
  host.Records().AddSecurity(fields);
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(0)), 1.0);
}

TEST_F(SecurityParamsTest, BlockedStateIsTwoOrFourExactly) {
  struct Case { double state; bool blocked; };
  const Case cases[] = {{4.0, true}, {2.0, true}, {3.0, false}, {2.0000001, false}, {0.0, false}};
  for (const Case& c : cases) {
    host.Market().Clear();
    SetParameter("EuZ6", "SPBFUT", "clstate", c.state);
    EXPECT_EQ(HasClassInBlockedState(), c.blocked) << c.state;
  }
  host.Market().Clear();
  EXPECT_FALSE(HasClassInBlockedState()) << "no security reports a state";
  SetParameter("SRZ6", "SPBFUT", "clstate", 4.0);
  EXPECT_TRUE(HasClassInBlockedState()) << "the last security counts too";
  host.Install<32>(CountOneShort);
  Initialise();
  EXPECT_FALSE(HasClassInBlockedState()) << "only the securities the host counts";
}
}  // namespace
