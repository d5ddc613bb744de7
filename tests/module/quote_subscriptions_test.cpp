// Quote subscriptions asked of the stand-in host.
#include "market_fixture.h"
#include "market_text.h"
#include "module/quote_subscriptions.h"

#include <string>
#include <vector>

namespace {

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
