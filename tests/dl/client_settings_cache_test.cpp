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

using TRates = std::map<std::string, double>;
using TPairs = std::map<std::string, std::pair<double, double>>;

struct Fixture {
  explicit Fixture(const std::string& text)
      : ini(std::make_unique<TIniFile>(text.c_str(), 2, ';', 1)), cache(ini.get()) {}
  const TClientCommSettings& Get(const char* client) {
    return *cache.Get(TIniCacheItemID(client, "", ""));
  }
  std::unique_ptr<TIniFile> ini;
  TCacheOfClientSettings cache;
};

TEST(ClientSettingsCache, GeneralSettings) {
  struct Case {
    const char* text;
    int type;
    double broker;
    double repo;
    bool jump;
    bool round;
  };
  const Case cases[] = {
      {"", 1, 0.5, 0, false, false},
      {"[GENERAL]\nUSECOMMISSIONSCALE=1\nCOMMISSIONSCALEJUMP=1\n[COMMISSION]\nBROKER=3\n", 2, 0,
       0, true, false},
      {"[GENERAL]\nUSECOMMISSIONSCALE=2\nROUNDSCALECOMMISSIONONDAYVALUE=1\n[COMMISSION]\nBROKER=3\n"
       "REPOBROKER=4\n",
       1, 3, 4, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Fixture f(c.text);
    const TClientCommSettings& d = *f.cache.GetDefault();
    EXPECT_EQ(d.CommissionType, c.type);
    EXPECT_EQ(d.BrokerCommission, c.broker);
    EXPECT_EQ(d.RepoBrokerCommission, c.repo);
    EXPECT_EQ(d.CommissionScaleJump, c.jump);
    EXPECT_EQ(d.RoundScaleCommissionOnDayValue, c.round);
    EXPECT_FALSE(d.HasBoardCommissions || d.IgnoreUserCommission);
    EXPECT_EQ(d.TradeCommission + d.OneSecCommission + d.TradeLotCommission, 0.0);
  }
}

TEST(ClientSettingsCache, BoardKeysOfTheGeneralSection) {
  Fixture f("[COMMISSION]\nTQBR_TRADE=0.01\nEQBR_TRADE_MAX=0.01, 5\nCETS_TRADE_MAX=0.01\n"
            "SPB_TRADE_MAX_1SEC=0.01,0.02\ntqbr_fixed=3\nBROKERCOMMISSION=7\nMOEX_TRADELOT=0.02\n"
            "X_FIXED=2\nREPOBROKER_30=0.1\nREPOBROKER_7=0.2\nREPOBROKER_=0.3\nREPOBROKER=4\n");
  const TClientCommSettings& d = *f.cache.GetDefault();
  EXPECT_TRUE(d.HasBoardCommissions);
  EXPECT_EQ(d.TradeByBoard, (TRates{{"TQBR", 1.0}}));
  EXPECT_EQ(d.TradeMaxByBoard, (TPairs{{"EQBR", {1.0, 5.0}}}));
  EXPECT_EQ(d.TradeMaxOneSecByBoard, (TPairs{{"SPB", {1.0, 2.0}}}));
  // The "_1SEC" suffix takes the same key with the board "SPB_TRADE_MAX".
  EXPECT_EQ(d.OneSecByBoard, (TRates{{"SPB_TRADE_MAX", 1.0}}));
  EXPECT_EQ(d.TradeLotByBoard, (TRates{{"MOEX", 2.0}}));
  // Suffixes are case-sensitive; the general section has no "DEFAULT" entries.
  EXPECT_EQ(d.FixedByBoard, (TRates{{"X", 2.0}}));
  EXPECT_EQ(d.RepoBrokerCommission, 4.0);
  EXPECT_EQ(d.RepoBrokerByTerm, (std::vector<std::pair<int, double>>{{0, 0.3}, {7, 0.2}, {30, 0.1}}));
}

TEST(ClientSettingsCache, ClientSection) {
  Fixture f("[GENERAL]\nUSECOMMISSIONSCALE=1\nCOMMISSIONSCALEJUMP=1\nROUNDSCALECOMMISSIONONDAYVALUE=1\n"
            "[COMMISSION]\nREPOBROKER=9\n"
            "[CL123]\nBROKERCOMMISSION=2\nTRADELOTCOMMISSION=0.03\n"
            "[CL124]\nCOMMISSIONTYPE=5\nTPNAME=TP1\nTRADECOMMISSION=0.02\nDEFAULT_TRADE=0.05\n"
            "1SECCOMMISSION=0.03\nDEFAULT_1SEC=0.04\nCOMMISSIONSCALEJUMP=2\nREPOBROKER=1.5\n"
            "IGNOREUSERCOMMISSION=1\nREPOBROKER_99999999999=1\nROUNDSCALECOMMISSIONONDAYVALUE=1\n"
            "[CL125]\nCOMMISSIONSCALEJUMP=\n[CL126]\nCOMMISSIONSCALEJUMP=1\n");
  const TClientCommSettings& a = f.Get("123");
  EXPECT_EQ(a.CommissionType, 2);
  EXPECT_EQ(a.BrokerCommission, 2.0);
  EXPECT_DOUBLE_EQ(a.TradeLotCommission, 3.0);
  EXPECT_EQ(a.FixedByBoard, (TRates{{"DEFAULT", 2.0}}));
  EXPECT_DOUBLE_EQ(a.TradeLotByBoard.at("DEFAULT"), 3.0);
  EXPECT_FALSE(a.HasBoardCommissions);
  EXPECT_EQ(a.RepoBrokerCommission, 0.0);  // no fallback to the general value
  EXPECT_TRUE(a.CommissionScaleJump);      // falls back
  EXPECT_FALSE(a.RoundScaleCommissionOnDayValue);

  const TClientCommSettings& b = f.Get("124");
  EXPECT_EQ(b.CommissionType, 5);
  EXPECT_EQ(b.TpName, "TP1");
  EXPECT_DOUBLE_EQ(b.TradeCommission, 2.0);
  EXPECT_DOUBLE_EQ(b.OneSecCommission, 3.0);
  // Key order decides: DEFAULT_TRADE sorts before TRADECOMMISSION,
  // 1SECCOMMISSION before DEFAULT_1SEC.
  EXPECT_DOUBLE_EQ(b.TradeByBoard.at("DEFAULT"), 5.0);
  EXPECT_DOUBLE_EQ(b.OneSecByBoard.at("DEFAULT"), 3.0);
  EXPECT_TRUE(b.HasBoardCommissions);
  EXPECT_FALSE(b.CommissionScaleJump);
  EXPECT_TRUE(b.IgnoreUserCommission);
  EXPECT_TRUE(b.RoundScaleCommissionOnDayValue);
  EXPECT_EQ(b.RepoBrokerCommission, 1.5);
  EXPECT_EQ(b.RepoBrokerByTerm, (std::vector<std::pair<int, double>>{{2147483647, 1}}));

  EXPECT_TRUE(f.Get("125").CommissionScaleJump);
  EXPECT_TRUE(f.Get("126").CommissionScaleJump);
}

TEST(ClientSettingsCache, ClientsWithoutSectionShareTheDefault) {
  Fixture f("[CLA_CLIENT_TEMPLATE]\nCLIENTS=T1,T2\nCOMMISSIONTYPE=3\n[CLM*]\nCOMMISSIONTYPE=4\n");
  for (const char* client : {"X", "Y", ""}) EXPECT_EQ(&f.Get(client), f.cache.GetDefault()) << client;
  EXPECT_EQ(f.Get("T1").CommissionType, 3);
  EXPECT_EQ(&f.Get("T2"), &f.Get("T1"));  // one record per section
  EXPECT_EQ(f.Get("M7").CommissionType, 4);
  EXPECT_EQ(f.Get("m7").CommissionType, 4);
}

}  // namespace
}  // namespace DL
