// Client commission settings: the general settings and client sections.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dl/store/client_comm_settings.h"
#include "dl/store/ini_file.h"

namespace DL {
namespace {

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

TEST(ClientSettingsCache, DefaultsWithoutSections) {
  auto ini = Parse("");
  TCacheOfClientSettings cache(ini.get());
  const TClientCommSettings& d = *cache.GetDefault();
  EXPECT_EQ(d.CommissionType, 1);
  EXPECT_EQ(d.BrokerCommission, 0.5);
  EXPECT_EQ(d.RepoBrokerCommission, 0.0);
  EXPECT_EQ(d.TradeCommission, 0.0);
  EXPECT_FALSE(d.HasBoardCommissions);
  EXPECT_FALSE(d.CommissionScaleJump);
  EXPECT_FALSE(d.RoundScaleCommissionOnDayValue);
  EXPECT_FALSE(d.IgnoreUserCommission);
  EXPECT_TRUE(d.FixedByBoard.empty() && d.TradeByBoard.empty() && d.RepoBrokerByTerm.empty());
}

TEST(ClientSettingsCache, GeneralCommissionType) {
  struct Case {
    const char* text;
    int type;
    double broker;
  };
  const Case cases[] = {
      {"[GENERAL]\nUSECOMMISSIONSCALE=1\n[COMMISSION]\nBROKER=3\n", 2, 0.0},
      {"[GENERAL]\nUSECOMMISSIONSCALE=2\n[COMMISSION]\nBROKER=3\n", 1, 3.0},
      {"[GENERAL]\nUSECOMMISSIONSCALE=0\n", 1, 0.5},
  };
  for (const Case& c : cases) {
    auto ini = Parse(c.text);
    TCacheOfClientSettings cache(ini.get());
    EXPECT_EQ(cache.GetDefault()->CommissionType, c.type) << c.text;
    EXPECT_EQ(cache.GetDefault()->BrokerCommission, c.broker) << c.text;
  }
}

TEST(ClientSettingsCache, BoardKeysOfTheGeneralSection) {
  auto ini = Parse(
      "[COMMISSION]\nTQBR_TRADE=0.01\nEQBR_TRADE_MAX=0.01, 5\nCETS_TRADE_MAX=0.01\n"
      "SPB_TRADE_MAX_1SEC=0.01,0.02\ntqbr_fixed=3\nBROKERCOMMISSION=7\n"
      "REPOBROKER_30=0.1\nREPOBROKER_7=0.2\nREPOBROKER_=0.3\nREPOBROKER=4\n");
  TCacheOfClientSettings cache(ini.get());
  const TClientCommSettings& d = *cache.GetDefault();
  EXPECT_TRUE(d.HasBoardCommissions);
  EXPECT_EQ(d.TradeByBoard, (std::map<std::string, double>{{"TQBR", 1.0}}));
  EXPECT_EQ(d.TradeMaxByBoard,
            (std::map<std::string, std::pair<double, double>>{{"EQBR", {1.0, 5.0}}}));
  EXPECT_EQ(d.TradeMaxOneSecByBoard,
            (std::map<std::string, std::pair<double, double>>{{"SPB", {1.0, 2.0}}}));
  // The "_1SEC" suffix takes the same key with the board "SPB_TRADE_MAX".
  EXPECT_EQ(d.OneSecByBoard, (std::map<std::string, double>{{"SPB_TRADE_MAX", 1.0}}));
  // Suffixes are case-sensitive; the general section has no "DEFAULT" entries.
  EXPECT_TRUE(d.FixedByBoard.empty());
  EXPECT_EQ(d.RepoBrokerCommission, 4.0);
  EXPECT_EQ(d.RepoBrokerByTerm, (std::vector<std::pair<int, double>>{{0, 0.3}, {7, 0.2}, {30, 0.1}}));
}

TEST(ClientSettingsCache, ClientSection) {
  auto ini = Parse(
      "[GENERAL]\nUSECOMMISSIONSCALE=1\nCOMMISSIONSCALEJUMP=1\nROUNDSCALECOMMISSIONONDAYVALUE=1\n"
      "[COMMISSION]\nREPOBROKER=9\n"
      "[CL123]\nBROKERCOMMISSION=2\n"
      "[CL124]\nCOMMISSIONTYPE=5\nTPNAME=TP1\nTRADECOMMISSION=0.02\nDEFAULT_TRADE=0.05\n"
      "1SECCOMMISSION=0.03\nDEFAULT_1SEC=0.04\nCOMMISSIONSCALEJUMP=2\nREPOBROKER=1.5\n"
      "IGNOREUSERCOMMISSION=1\nREPOBROKER_99999999999=1\n"
      "[CL125]\nCOMMISSIONSCALEJUMP=\n");
  TCacheOfClientSettings cache(ini.get());
  const TClientCommSettings& a = *cache.Get(TIniCacheItemID("123", "", ""));
  EXPECT_EQ(a.CommissionType, 2);
  EXPECT_EQ(a.BrokerCommission, 2.0);
  EXPECT_EQ(a.FixedByBoard, (std::map<std::string, double>{{"DEFAULT", 2.0}}));
  EXPECT_FALSE(a.HasBoardCommissions);
  EXPECT_EQ(a.RepoBrokerCommission, 0.0);  // no fallback to the general value
  EXPECT_TRUE(a.CommissionScaleJump);      // falls back
  EXPECT_FALSE(a.RoundScaleCommissionOnDayValue);

  const TClientCommSettings& b = *cache.Get(TIniCacheItemID("124", "", ""));
  EXPECT_EQ(b.CommissionType, 5);
  EXPECT_EQ(b.TpName, "TP1");
  EXPECT_DOUBLE_EQ(b.TradeCommission, 2.0);
  // Key order decides: DEFAULT_TRADE sorts before TRADECOMMISSION,
  // 1SECCOMMISSION before DEFAULT_1SEC.
  EXPECT_DOUBLE_EQ(b.TradeByBoard.at("DEFAULT"), 5.0);
  EXPECT_DOUBLE_EQ(b.OneSecByBoard.at("DEFAULT"), 3.0);
  EXPECT_TRUE(b.HasBoardCommissions);
  EXPECT_FALSE(b.CommissionScaleJump);
  EXPECT_TRUE(b.IgnoreUserCommission);
  EXPECT_EQ(b.RepoBrokerCommission, 1.5);
  ASSERT_EQ(b.RepoBrokerByTerm.size(), 1u);
  EXPECT_EQ(b.RepoBrokerByTerm[0].first, 2147483647);  // clamped, not overflowed

  EXPECT_TRUE(cache.Get(TIniCacheItemID("125", "", ""))->CommissionScaleJump);
}

TEST(ClientSettingsCache, ClientsWithoutSectionShareTheDefault) {
  auto ini = Parse("[CLA_CLIENT_TEMPLATE]\nCLIENTS=T1\nCOMMISSIONTYPE=3\n[CLM*]\nCOMMISSIONTYPE=4\n");
  TCacheOfClientSettings cache(ini.get());
  EXPECT_EQ(cache.Get(TIniCacheItemID("X", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.Get(TIniCacheItemID("Y", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.Get(TIniCacheItemID("", "", "")), cache.GetDefault());
  EXPECT_EQ(cache.Get(TIniCacheItemID("T1", "", ""))->CommissionType, 3);
  EXPECT_EQ(cache.Get(TIniCacheItemID("M7", "", ""))->CommissionType, 4);
  EXPECT_EQ(cache.Get(TIniCacheItemID("m7", "", ""))->CommissionType, 4);
}

}  // namespace
}  // namespace DL
