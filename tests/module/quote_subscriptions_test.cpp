// Quote subscriptions asked of the stand-in host.
#include "market_fixture.h"
#include "module/quote_subscriptions.h"

#include <string>
#include <vector>

namespace {
constexpr char kMarket[] = R"(
[Class1]
Code=SPBFUT
Flags=0x48
[Class2]
Code=TQBR
Flags=0x1
[Class3]
Code=OPTX
Flags=0x800
[Class4]
Code=GONE
Flags=0x40
Id=-1
[Security1]
Class=SPBFUT
Code=RIZ6
[Security2]
Class=TQBR
Code=SBER
[Security3]
Class=OPTX
Code=RI100BL6
[Security4]
Class=SPBFUT
Code=SiZ6
[Security5]
Class=SPBFUT
Code=EMPTY
Id=-1
[Security6]
Class=GONE
Code=OLD
)";

TEST_F(MarketTest, DerivativesClassesAreSubscribedWithTheirSecurities) {
  LoadMarket(kMarket);
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
