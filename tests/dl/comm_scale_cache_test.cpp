// Commission scales: the section format and the chain of scale sections.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"

namespace DL {
namespace {

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

TEST(CommScaleCache, DefaultScale) {
  struct Case {
    const char* text;
    double minVolume, minValue, maxValue, tradeCommission;
    std::map<double, double> rates;
  };
  const Case cases[] = {
      {"", 0, 0, 0, 0, {}},
      {"[COMMISSIONSCALE]\n", 0, 0, 0, 0, {}},
      {"[COMMISSIONSCALE]\nMINVALUE=10\nMAXVALUE=100\nMINVOLUME=10\nTRADECOMMISSION=0.05\n100=0.04\n",
       1000, 1000, 10000, 5, {{10000, 0.04}}},
      {"[commissionscale]\nminvalue=10\n10=0.05\n100=0.03\n", 0, 1000, 0, 0, {{1000, 0.05}, {10000, 0.03}}},
      // Keys reading as one volume leave one row, the later key in key order.
      {"[COMMISSIONSCALE]\n100.0=0.2\n100=0.1\n", 0, 0, 0, 0, {{10000, 0.2}}},
      // A key that is no number is volume 0; CLIENTS is no row.
      {"[COMMISSIONSCALE]\nCOMMENT=0.3\nCLIENTS=A\n", 0, 0, 0, 0, {{0, 0.3}}},
      // A volume that is not a number has no place in the order.
      {"[COMMISSIONSCALE]\nNAN=0.3\n5=0.1\nINF=0.2\n", 0, 0, 0, 0, {{500, 0.1}, {1.0 / 0.0, 0.2}}},
  };
  for (const Case& c : cases) {
    auto ini = Parse(c.text);
    TCacheOfCommScales cache(ini.get());
    const TCommScale& scale = *cache.GetDefault();
    EXPECT_EQ((std::vector<double>{scale.MinVolume, scale.MinValue, scale.MaxValue}),
              (std::vector<double>{c.minVolume, c.minValue, c.maxValue})) << c.text;
    EXPECT_DOUBLE_EQ(scale.TradeCommission, c.tradeCommission) << c.text;
    EXPECT_EQ(scale.Rates, c.rates) << c.text;
  }
}

// Each scale section names itself by its MINVALUE.
const char kScales[] =
    "[COMMISSIONSCALE]\nMINVALUE=1\n"
    "[CLABC_COMMISSIONSCALE]\n"
    "[CLVIP_COMMISSIONSCALE_TEMPLATE]\nCLIENTS=ABC, DEF,G,H\nMINVALUE=2\n"
    "[CLAB*_COMMISSIONSCALE]\nMINVALUE=3\n[CLA*_COMMISSIONSCALE]\nMINVALUE=10\n"
    "[CLXY*_COMMISSIONSCALE]\n[CLX*_COMMISSIONSCALE]\nMINVALUE=4\n"
    "[CLOWN_COMMISSIONSCALE]\nMINVALUE=5\n[BDTQBR_COMMISSIONSCALE]\nMINVALUE=6\n"
    "[BDEQBR_COMMISSIONSCALE]\nMINVALUE=7\n[TPT2_BDTQBR_COMMISSIONSCALE]\nMINVALUE=8\n"
    "[BD_COMMISSIONSCALE]\nMINVALUE=9\n[CLVIP2_COMMISSIONSCALE_TEMPLATE]\nCLIENTS=A, B,C\nMINVALUE=11\n";

TEST(CommScaleCache, SectionChain) {
  struct Case {
    const char* client;
    const char* board;
    const char* tradingPoint;
    double minValue;  // 100 x the number of the section that answers
  };
  const Case cases[] = {
      {"OWN", "TQBR", "", 500}, {"own", "TQBR", "", 500}, {"DEF", "TQBR", "", 200},  // template
      {"G", "TQBR", "", 200},
      {"ABC", "TQBR", "", 200},  // its own scale has no key: the template answers
      {"DE", "TQBR", "", 600},   // not listed: the board
      {"ABZ", "TQBR", "", 300},  // mask
      {"XYZ", "TQBR", "", 600},  // the longest mask is empty: no shorter mask, the board
      {"XQ", "TQBR", "", 400},  {"Q", "TQBR", "", 600},  {"Q", "EQBR", "", 700},
      {"Q", "TQBR", "T2", 800}, {"Q", "TQBR", "T1", 100},  // no scale at that point: the general one
      {"Q", "", "", 900},       {"Q", "CETS", "", 100},
      // A code with a comma matches a run of list items.
      {"A,B", "X", "", 1100},   {"B,C", "X", "", 1100}, {"Q,A", "X", "", 100}, {"C,", "X", "", 100},
  };
  auto ini = Parse(kScales);
  TCacheOfCommScales cache(ini.get());
  for (const Case& c : cases)
    EXPECT_EQ(cache.Get(TIniCacheItemID(c.client, c.board, c.tradingPoint))->MinValue, c.minValue)
        << c.client << " " << c.board << " " << c.tradingPoint;
  EXPECT_EQ(cache.Get(TIniCacheItemID("R", "CETS", "")), cache.GetDefault());

  TSectionIndex index(*ini);
  const TCommScaleReader reader(ini.get(), &index);
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 3), nullptr);
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 2)->MinValue, 1000);  // shortest first
  EXPECT_EQ(reader.FindMaskCommScale("ABC", 1)->MinValue, 300);
}

}  // namespace
}  // namespace DL
