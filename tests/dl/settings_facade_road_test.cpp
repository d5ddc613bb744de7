// The module's road through the library: a facade over the firm's settings
// text with mode 2 and locking on, the DEFAULT portfolio risk configuration
// asked twice, the facade destroyed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "dl/engine/settings_facade.h"

namespace DL {
namespace {

TEST(SettingsFacadeRoad, DefaultConfigurationOfTheText) {
  const std::string text =
      "[GENERAL]\nCLIENTCVAL=3\n[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n";
  auto facade = std::make_unique<TSettingsFacade>(text.c_str(), 2, true);
  const TPortfolioRiskConfig first = facade->GetPortfolioRiskConfig("", nullptr);
  const TPortfolioRiskConfig second = facade->GetPortfolioRiskConfig("", nullptr);
  facade.reset();
  EXPECT_STREQ(first.BOARDTAG, "TQBR");
  EXPECT_STREQ(second.CURRENCY, "USD");
}

TEST(SettingsFacadeRoad, EmptySectionTakesBuiltInBoardTagAndCurrency) {
  TSettingsFacade facade("[PORTFOLIORISKCONFIG]\n", 2, true);
  const TPortfolioRiskConfig config = facade.GetPortfolioRiskConfig("", nullptr);
  EXPECT_STREQ(config.BOARDTAG, "EQTV");
  EXPECT_STREQ(config.CURRENCY, "SUR");
}

TEST(SettingsFacadeRoad, NoTextAtAllStillAnswers) {
  for (const char* text : {static_cast<const char*>(nullptr), "", "[broken\n\x01\x02=\xff"}) {
    TSettingsFacade facade(text, 2, true);
    const TPortfolioRiskConfig config = facade.GetPortfolioRiskConfig(nullptr, nullptr);
    EXPECT_STREQ(config.BOARDTAG, "EQTV");
    EXPECT_STREQ(config.CURRENCY, "SUR");
    EXPECT_EQ(facade.GetClientCVal(), 1);
  }
}

TEST(SettingsFacadeRoad, ModeOneReadsTheNamedFile) {
  const std::string path = ::testing::TempDir() + "dl_facade_mode1.ini";
  {
    std::ofstream file(path, std::ios::binary);
    file << "[PORTFOLIORISKCONFIG]\nBOARDTAG=SPBFUT\n";
  }
  TSettingsFacade fromFile(path.c_str(), 1, true);
  EXPECT_STREQ(fromFile.GetPortfolioRiskConfig("", nullptr).BOARDTAG, "SPBFUT");
  std::remove(path.c_str());

  // A file that cannot be read gives the defaults, not a failure.
  TSettingsFacade missing((path + ".absent").c_str(), 1, true);
  EXPECT_STREQ(missing.GetPortfolioRiskConfig("", nullptr).BOARDTAG, "EQTV");
  EXPECT_TRUE(missing.GetLimitsInLots());
}

}  // namespace
}  // namespace DL
