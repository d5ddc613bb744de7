// The realistic settings text of the benchmarks: its size, its content and
// its agreement with the reference reader.
#include <gtest/gtest.h>

#include "dl/engine/portfolio_risk_configs.h"
#include "dl/store/ini_file.h"
#include "dl/support/broker_settings_generator.h"
#include "dl/support/ini_dump.h"
#include "dl/support/reference_ini.h"

namespace DL {
namespace {

using Testing::GenerateBrokerSettings;

TEST(BrokerSettingsGeneratorTest, StaysWithinAndCloseToTheTargetSize) {
  for (std::size_t target : {std::size_t(0), std::size_t(1), std::size_t(100), std::size_t(5000),
                             std::size_t(300000), Testing::kMaxBrokerSettingsSize}) {
    SCOPED_TRACE(target);
    std::string text = GenerateBrokerSettings(target);
    EXPECT_LE(text.size(), target);
    if (target >= 300000) {
      EXPECT_GT(text.size(), target - 4000);
    }
    if (!text.empty()) {
      EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    }
  }
}

TEST(BrokerSettingsGeneratorTest, IsDeterministic) {
  EXPECT_EQ(GenerateBrokerSettings(200000), GenerateBrokerSettings(200000));
  EXPECT_NE(GenerateBrokerSettings(200000, 1), GenerateBrokerSettings(200000, 2));
}

TEST(BrokerSettingsGeneratorTest, GivesTheSameTextWithEveryCompiler) {
  // The benchmarks compare figures of the native and the Windows build, so
  // both must see the same text: a fingerprint taken from the native build.
  std::string text = GenerateBrokerSettings(300000, 5);
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  EXPECT_EQ(text.size(), 299972u);
  EXPECT_EQ(hash, 3599194052u);
}

TEST(BrokerSettingsGeneratorTest, FullSizeTextHoldsTheExpectedSections) {
  std::string text = GenerateBrokerSettings(Testing::kMaxBrokerSettingsSize);
  TIniFile ini(text.c_str(), TIniFile::kSourceText, ';', 1);
  EXPECT_GT(ini.GetSectionNames().size(), 20000u);
  EXPECT_EQ(ini.ReadString("GENERAL", "LIMITKINDS", ""), "0,1,2,365");
  EXPECT_EQ(ini.ReadString("CLMC100000", "TQBR_TRADE", "").substr(6), "  ");
  EXPECT_EQ(ini.FindSection("CLmc100017", ""), "CLMC100017");
  EXPECT_TRUE(ini.SectionExists("CLMC100010_MARGIN_LIMITKIND_2"));
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{0, 1, 2, 365}));

  TPortfolioRiskConfigs configs;
  configs.LoadPortfolioRiskConfigs(ini);
  EXPECT_EQ(configs.Configs().size(), 6u);
  EXPECT_STREQ(configs.GetPortfolioRiskConfig("", nullptr)->BOARDTAG, "TQBR");
  EXPECT_STREQ(configs.GetPortfolioRiskConfig("", nullptr)->CURRENCY, "SUR");
  EXPECT_STREQ(configs.GetPortfolioRiskConfig("SiA", "Si")->CONFIGNAME, "Bonds");
  EXPECT_EQ(configs.GetPortfolioRiskConfig("LongNameConf", "RI")->SPREADS.size(), 11u);
}

TEST(BrokerSettingsGeneratorTest, ReferenceReaderAgrees) {
  std::string text = GenerateBrokerSettings(400000, 3);
  TIniFile ini(text.c_str(), TIniFile::kSourceText, ';', 1);
  EXPECT_EQ(Testing::DumpIni(ini), Testing::ReferenceIniDump(text, ';'));
}

}  // namespace
}  // namespace DL
