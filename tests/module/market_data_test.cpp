// Classes, securities, quotes and subscriptions, over the stand-in host's market.
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"
#include "module/quote_subscriptions.h"
#include "module/security_params.h"

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {
// The host counts one record fewer than it holds, so a read past the count shows.
int __stdcall CountOneShort(int kind) { return StandInHost::Current()->Records().Count(kind) - 1; }
int __stdcall FormCountOneShort(int classIndex) {
  return StandInHost::Current()->Records().FormCount(classIndex) - 1;
}

class MarketRecordsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("market_records.ini"));
  }
};

TEST_F(MarketRecordsTest, RecordsByIndexAndByCode) {
  EXPECT_STREQ(ClassCodeOf(GetClassInfoByIndex(1)), "SPBFUT");
  EXPECT_STREQ(SecurityCodeOf(GetSecurityInfoByIndex(2)), "RI100Z6");
  const std::pair<const uint8_t*, const uint8_t*> found[] = {
      {GetClassInfoByIndex(-1), nullptr},     {GetClassInfoByIndex(0), nullptr},  // an empty slot
      {GetClassInfoByIndex(99), nullptr},     {GetSecurityInfoByIndex(-1), nullptr},
      {GetSecurityInfoByIndex(8), nullptr},   {FindClassByCode("SPBFUT"), GetClassInfoByIndex(1)},
      {FindClassByCode("SPBFU"), nullptr},    {FindClassByCode("spbfut"), nullptr},
      {FindClassByCode("EMPTY"), nullptr},    {FindClassByCode(nullptr), nullptr},
      {FindSecurityByCode("RIZ"), nullptr},   {FindSecurityByCode("RIZ6RIZ6RIZ6RIZ6"), nullptr},
      {FindSecurityByCode("RIZ6"), GetSecurityInfoByIndex(0)},  // the first of any class
  };
  for (std::size_t i = 0; i < std::size(found); ++i)
    EXPECT_EQ(found[i].first, found[i].second) << i;
  host.Install<32>(CountOneShort);
  Initialise();
  EXPECT_EQ(FindClassByCode("SPBOPT"), nullptr) << "only the classes the host counts";
  EXPECT_EQ(FindSecurityByCode("H12"), nullptr);
  EXPECT_EQ(FindSecurityInClasses("SiH7", 0x40, 0, nullptr), nullptr) << "SPBOPT comes last";
}

TEST_F(MarketRecordsTest, SecurityInClassesFollowsTheMasks) {
  struct Case { const char* code; uint32_t include, exclude; int expected; };  // index; -1 none
  const Case cases[] = {
      {"RIZ6", 0x48, 0, 1},  {"RIZ6", 0x1, 0, 0},     // TQBR lacks 0x48; SPBFUT has it
      {"RIZ6", 0, 0, -1},                             // include mask 0 finds nothing
      {"RI100Z6", 0x48, 0, 2}, {"RI100Z6", 0x48, 0x900, -1},  // OPTEXP 0x848; excluded by 0x800
      {"SiH7", 0x40, 0, 5},  {"SiH7", 0x48, 0, -1},   // SPBOPT lacks 0x08
      {"NONE", 0x48, 0, -1},
  };
  for (const Case& c : cases) {
    int index = -7;  // left alone when nothing is found
    const uint8_t* found = FindSecurityInClasses(c.code, c.include, c.exclude, &index);
    EXPECT_EQ(found, c.expected < 0 ? nullptr : GetSecurityInfoByIndex(c.expected)) << c.code;
    EXPECT_EQ(index, c.expected < 0 ? -7 : c.expected) << c.code << " " << c.include;
  }
  EXPECT_NE(FindSecurityInClasses("RIZ6", 0x48, 0, nullptr), nullptr);
}

TEST_F(MarketRecordsTest, TransactionFormMustBeUsableAndHoldTheMask) {
  EXPECT_EQ(FindTransactionForm(1, 0x10), 1) << "form 0 has the bit but is not usable";
  EXPECT_EQ(FindTransactionForm(1, 0x20), 1);
  EXPECT_EQ(FindTransactionForm(1, 0x40), -1);
  EXPECT_EQ(FindTransactionForm(3, 0), -1) << "a class without forms";
  host.Install<35>(FormCountOneShort);
  Initialise();
  EXPECT_EQ(FindTransactionForm(1, 0x20), -1) << "only the forms the host counts";
}

TEST_F(MarketRecordsTest, KindTestsOfSecurities) {
  struct Case { int index; bool derivative, option, futures, optionClass; };
  const Case cases[] = {
      {0, false, false, false, false},  // TQBR RIZ6: not a derivative
      {1, true, false, true, false},    // SPBFUT RIZ6: futures, month letter I
      {2, true, true, false, true},     // OPTEXP: an option class whatever its code
      {3, true, false, true, true},     {7, true, false, true, true},  // codes ending B12, H12
      {4, true, false, true, false},    // code ending in Z12
      {5, true, false, true, true},     // SPBOPT is an option class
      {6, true, false, true, false},    // a code shorter than three characters
  };
  for (const Case& c : cases) {
    const uint8_t* security = GetSecurityInfoByIndex(c.index);
    ASSERT_NE(security, nullptr);
    EXPECT_EQ(std::vector<bool>({IsDerivativeSecurity(security), IsOptionSecurity(security),
                                 IsFuturesSecurity(security), IsOptionClass(security)}),
              std::vector<bool>({c.derivative, c.option, c.futures, c.optionClass}))
        << c.index;
  }
  EXPECT_FALSE(IsDerivativeSecurity(nullptr) || IsOptionSecurity(nullptr) ||
               IsFuturesSecurity(nullptr) || IsOptionClass(nullptr));
}

TEST_F(MarketRecordsTest, OptionClassNeedsTheSecuritysClass) {
  uint8_t security[host::record::kSecuritySize];
  std::memcpy(security, GetSecurityInfoByIndex(3), sizeof security);
  const int16_t noClass = -1;
  std::memcpy(security + host::record::kSecurityClassIndex, &noClass, sizeof noClass);
  EXPECT_TRUE(IsFuturesSecurity(security));
  EXPECT_FALSE(IsOptionClass(security)) << "B12, but the class is unknown";
}

TEST(ResetMark, BothWordsMustHoldTheirMark) {
  struct Case { int32_t a, b; bool marked; };
  for (const Case& c : {Case{-111, -333, true}, Case{-111, 0, false}, Case{0, -333, false},
                        Case{-333, -111, false}}) {
    uint8_t record[96] = {};
    std::memcpy(record + 88, &c.a, 4);
    std::memcpy(record + 92, &c.b, 4);
    EXPECT_EQ(IsResetMarked(record), c.marked) << c.a << " " << c.b;
  }
  EXPECT_FALSE(IsResetMarked(nullptr));
}


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
  SetParameter("RIZ6", "SPBFUT", "clstate", 2.0);
  EXPECT_TRUE(HasClassInBlockedState()) << "the first security counts";
  host.Market().Clear();
  SetParameter("SRZ6", "SPBFUT", "clstate", 4.0);
  EXPECT_TRUE(HasClassInBlockedState()) << "the last security counts too";
  host.Install<32>(CountOneShort);
  Initialise();
  EXPECT_FALSE(HasClassInBlockedState()) << "only the securities the host counts";
}

TEST_F(MarketTest, DerivativesClassesAreSubscribedWithTheirSecurities) {
  LoadMarket(MarketText("quote_subscriptions.ini"));
  SubscribeQuoteParams();
  const std::vector<std::string> futures = {"last", "prevprice", "offer", "bid", "buydepo",
                                            "selldepo"};
  std::vector<std::string> parameters;
  for (const std::string& parameter : futures) parameters.push_back("SPBFUT " + parameter);
  for (const std::string& parameter : futures) parameters.push_back("OPTX " + parameter);
  parameters.push_back("OPTX theorprice");
  EXPECT_EQ(host.Log().Details(154), parameters);
  EXPECT_EQ(host.Log().Details(153), (std::vector<std::string>{"SPBFUT RIZ6", "SPBFUT SiZ6",
                                                               "SPBFUT LAST", "OPTX RI100BL6"}));
}

TEST_F(MarketTest, OnlyTheSecuritiesTheHostCountsAreSubscribed) {
  host.Install<32>(CountOneShort);
  LoadMarket(MarketText("quote_subscriptions.ini"));
  SubscribeQuoteParams();
  EXPECT_EQ(host.Log().Details(153),
            (std::vector<std::string>{"SPBFUT RIZ6", "SPBFUT SiZ6", "OPTX RI100BL6"}));
}

TEST_F(MarketTest, NoDerivativesClassesSubscribeNothing) {
  LoadMarket("[Class1]\nCode=TQBR\nFlags=0x8\n[Security1]\nClass=TQBR\nCode=SBER\n");
  SubscribeQuoteParams();
  EXPECT_EQ(host.Log().Count(154), 0);
  EXPECT_EQ(host.Log().Count(153), 0);
}
}  // namespace
