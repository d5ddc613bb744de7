// Security parameters by name, cross rates and the trading state, as the
// stand-in host quotes them.
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"
#include "module/security_params.h"

#include <cstring>
#include <string>

namespace {

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

TEST_F(SecurityParamsTest, QuotesAreAskedByName) {
  const uint8_t* security = GetSecurityInfoByIndex(0);
  EXPECT_DOUBLE_EQ(GetBidPrice(security), 104990);
  EXPECT_DOUBLE_EQ(GetOfferPrice(security), 105010);
  EXPECT_DOUBLE_EQ(GetTheorPrice(security), 105003);
  EXPECT_DOUBLE_EQ(GetStepPriceT(security), 1.5);
  EXPECT_DOUBLE_EQ(GetDepoRequirement(security, true), 15000);
  EXPECT_DOUBLE_EQ(GetDepoRequirement(security, false), 14000);
  EXPECT_DOUBLE_EQ(GetLastPrice(security), 105000);
  const std::vector<std::string> asked = host.Log().Details(43);
  ASSERT_EQ(asked.size(), 7u);
  EXPECT_EQ(asked[0], "0 bid");
  EXPECT_EQ(asked[5], "0 selldepo");
}

TEST_F(SecurityParamsTest, AParameterTheHostDoesNotGiveIsZero) {
  EXPECT_DOUBLE_EQ(GetTheorPrice(GetSecurityInfoByIndex(1)), 0.0);
  EXPECT_DOUBLE_EQ(GetBidPrice(nullptr), 0.0);
}

TEST_F(SecurityParamsTest, ASecurityWithoutClassGivesZeroForEveryQuote) {
  uint8_t security[host::record::kSecuritySize];
  std::memcpy(security, GetSecurityInfoByIndex(0), sizeof security);
  const int16_t noClass = -1;
  std::memcpy(security + host::record::kSecurityClassIndex, &noClass, sizeof noClass);
  EXPECT_DOUBLE_EQ(GetBidPrice(security), 0.0);
  EXPECT_DOUBLE_EQ(GetOfferPrice(security), 0.0);
  EXPECT_DOUBLE_EQ(GetTheorPrice(security), 0.0);
  EXPECT_DOUBLE_EQ(GetStepPriceT(security), 0.0);
  EXPECT_DOUBLE_EQ(GetDepoRequirement(security, true), 0.0);
  EXPECT_DOUBLE_EQ(GetLastPrice(security), 0.0);
  EXPECT_EQ(host.Log().Count(43), 0);
}

TEST_F(SecurityParamsTest, LastPriceFallsBackToPreviousBelowOneMillionth) {
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "last 0.0000005";
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(2)), 0.000001) << "last 0.000001";
  SetParameter("SiZ6", "SPBFUT", "last", -0.0000009);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "the size counts, not the sign";
}

TEST_F(SecurityParamsTest, LastPriceKeepsLastWhenThereIsNoPreviousPrice) {
  host.Market().Clear();
  SetParameter("SiZ6", "SPBFUT", "last", 0.0000003);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 0.0000003);
}

TEST_F(SecurityParamsTest, CrossRateOfTheSecuritysCurrencyAgainstRoubles) {
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(0)), 1.0) << "SUR";
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(1)), 90.0) << "USD";
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(2)), 1.0) << "EUR has no rate";
  SetParameter("SUR", "CROSS", "crossrate", 2.0);
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(1)), 45.0);
  EXPECT_DOUBLE_EQ(GetCrossRate(nullptr), 1.0);
}

TEST_F(SecurityParamsTest, CrossRateWithARoubleRateOfZeroIsOne) {
  SetParameter("SUR", "CROSS", "crossrate", 0.0);
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(1)), 1.0);
  SetParameter("SUR", "CROSS", "crossrate", 0.00000001);
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(1)), 1.0);
}

TEST_F(SecurityParamsTest, CrossRateWithoutACrossRateClassIsOne) {
  host.Records().Clear();
  host.Records().AddClass({"SPBFUT", 0x48});
  SecuritySpec fields;
  fields.classCode = "SPBFUT";
  fields.code = "SiZ6";
  fields.currency = "USD";
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
}
}  // namespace
