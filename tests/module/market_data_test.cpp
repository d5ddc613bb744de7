// Classes, securities, quotes and subscriptions, over the stand-in host's market.
#include "case_table.h"
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"
#include "module/quote_subscriptions.h"
#include "module/security_params.h"

#include <cstring>
#include <string>
#include <vector>

namespace {
// The host counts one record fewer than it holds, so a read past the count shows.
int __stdcall CountOneShort(int kind) { return StandInHost::Current()->Records().Count(kind) - 1; }
int __stdcall FormCountOneShort(int classIndex) {
  return StandInHost::Current()->Records().FormCount(classIndex) - 1;
}

// A copy of a security record whose class index is unknown.
std::vector<uint8_t> WithoutClass(const uint8_t* security) {
  std::vector<uint8_t> copy(security, security + host::record::kSecuritySize);
  const int16_t noClass = -1;
  std::memcpy(copy.data() + host::record::kSecurityClassIndex, &noClass, sizeof noClass);
  return copy;
}

class MarketRecordsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("market_records.ini"));
  }
};

TEST_F(MarketRecordsTest, RecordsByIndexByCodeAndByClassMasks) {
  EXPECT_STREQ(ClassCodeOf(GetClassInfoByIndex(1)), "SPBFUT");
  EXPECT_STREQ(SecurityCodeOf(GetSecurityInfoByIndex(2)), "RI100Z6");
  // The record a case expects by its index; "-" (not set) expects none.
  const auto classAt = [](double at) { return at == 1e30 ? nullptr : GetClassInfoByIndex(int(at)); };
  const auto securityAt = [](double at) {
    return at == 1e30 ? nullptr : GetSecurityInfoByIndex(int(at));
  };
  RunCaseTable("market_records.txt", {
    {"ClassAt", [&](const CaseRow& c) { EXPECT_EQ(GetClassInfoByIndex(int(c[0])), classAt(c[1])); }},
    {"ClassCode", [&](const CaseRow& c) { EXPECT_EQ(FindClassByCode(c.Text(0)), classAt(c[1])); }},
    {"SecurityAt", [&](const CaseRow& c) {
       EXPECT_EQ(GetSecurityInfoByIndex(int(c[0])), securityAt(c[1])); }},
    {"SecurityCode", [&](const CaseRow& c) {
       EXPECT_EQ(FindSecurityByCode(c.Text(0)), securityAt(c[1])); }},
    {"InClasses", [&](const CaseRow& c) {
       int index = -7;  // left alone when nothing is found
       const uint8_t* found = FindSecurityInClasses(c.Text(0), uint32_t(c[1]), uint32_t(c[2]), &index);
       EXPECT_EQ(found, securityAt(c[3]));
       EXPECT_EQ(index, found ? int(c[3]) : -7); }},
    {"Kinds", [](const CaseRow& c) {
       const uint8_t* security = GetSecurityInfoByIndex(int(c[0]));
       ASSERT_NE(security, nullptr);
       EXPECT_EQ(std::vector<bool>({IsDerivativeSecurity(security), IsOptionSecurity(security),
                                    IsFuturesSecurity(security), IsOptionClass(security)}),
                 std::vector<bool>({c[1] != 0, c[2] != 0, c[3] != 0, c[4] != 0})); }},
  });
  EXPECT_EQ(FindClassByCode(nullptr), nullptr);
  EXPECT_NE(FindSecurityInClasses("RIZ6", 0x48, 0, nullptr), nullptr);
  EXPECT_FALSE(IsDerivativeSecurity(nullptr) || IsOptionSecurity(nullptr) ||
               IsFuturesSecurity(nullptr) || IsOptionClass(nullptr));
  const std::vector<uint8_t> security = WithoutClass(GetSecurityInfoByIndex(3));
  EXPECT_TRUE(IsFuturesSecurity(security.data()));
  EXPECT_FALSE(IsOptionClass(security.data())) << "B12, but the class is unknown";
  host.Install<32>(CountOneShort);
  Initialise();
  EXPECT_EQ(FindClassByCode("SPBOPT"), nullptr) << "only the classes the host counts";
  EXPECT_EQ(FindSecurityByCode("H12"), nullptr);
  EXPECT_EQ(FindSecurityInClasses("SiH7", 0x40, 0, nullptr), nullptr) << "SPBOPT comes last";
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

TEST_F(SecurityParamsTest, QuotesAreAskedByNameAndAreZeroWithoutAClassAndLastFallsBack) {
  for (auto& quote : kQuotes)
    EXPECT_DOUBLE_EQ(quote.first(GetSecurityInfoByIndex(0)), quote.second);
  const std::vector<std::string> asked = host.Log().Details(43);
  EXPECT_EQ(asked, (std::vector<std::string>{"0 bid", "0 offer", "0 theorprice", "0 steppricet",
                                             "0 buydepo", "0 selldepo", "0 last"}));
  const std::vector<uint8_t> security = WithoutClass(GetSecurityInfoByIndex(0));
  for (auto& quote : kQuotes) EXPECT_DOUBLE_EQ(quote.first(security.data()), 0.0);
  EXPECT_EQ(host.Log().Count(43), 7) << "a security without class asks nothing";
  EXPECT_DOUBLE_EQ(GetTheorPrice(GetSecurityInfoByIndex(1)), 0.0) << "not given by the host";
  EXPECT_DOUBLE_EQ(GetBidPrice(nullptr), 0.0);
  // The last price falls back to the previous one below one millionth.
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "last 0.0000005";
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(2)), 0.000001) << "last 0.000001";
  SetParameter("SiZ6", "SPBFUT", "last", -0.0000009);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 91.5) << "the size counts";
  host.Market().Clear();
  SetParameter("SiZ6", "SPBFUT", "last", 0.0000003);
  EXPECT_DOUBLE_EQ(GetLastPrice(GetSecurityInfoByIndex(1)), 0.0000003) << "no previous price";
}

TEST_F(SecurityParamsTest, CrossRateAgainstRoublesAndBlockedState) {
  RunCaseTable("security_params.txt", {
    {"CrossRate", [&](const CaseRow& c) {
       SetParameter("SUR", "CROSS", "crossrate", c[0]);
       EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(int(c[1]))), c[2]); }},
    {"Blocked", [&](const CaseRow& c) {
       host.Market().Clear();
       SetParameter("EuZ6", "SPBFUT", "clstate", c[0]);
       EXPECT_EQ(HasClassInBlockedState(), c[1] != 0); }},
  });
  EXPECT_DOUBLE_EQ(GetCrossRate(nullptr), 1.0);
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

TEST_F(SecurityParamsTest, CrossRateWithoutACrossRateClassIsOne) {
  host.Records().Clear();
  host.Records().AddClass({"SPBFUT", 0x48});
  SecuritySpec fields;
  fields.classCode = "SPBFUT", fields.code = "SiZ6", fields.currency = "USD";
  host.Records().AddSecurity(fields);
  EXPECT_DOUBLE_EQ(GetCrossRate(GetSecurityInfoByIndex(0)), 1.0);
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
