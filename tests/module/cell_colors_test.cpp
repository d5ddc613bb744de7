// Row colours of the risk table and of the closing-orders table.
#include "module/cell_colors.h"
#include "sdk/host_api.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr uint32_t kNormal = 0x00FFFFFF, kWarning = 0x0000FFFF, kCritical = 0x000000FF;

TRiskColorSettings Settings() {
  TRiskColorSettings s;
  s.NormalColor = kNormal, s.WarningColor = kWarning, s.CriticalColor = kCritical;
  s.SFRWarningLevel = 1.5, s.SFRCriticalLevel = 1.0;
  s.SFRWarningLevel_fp = 1.2, s.SFRCriticalLevel_fp = 0.8;
  return s;
}

TEST(RiskCellColors, BackgroundByTheFirstLevelBrokenByMoreThanTheTolerance) {
  struct Case { double sfr, sfrOpen; uint32_t background; };
  const Case cases[] = {
      {2.0, 2.0, kNormal},            {1.5, 1.2, kNormal},  // equal to the levels
      {1.5 - 0.00005, 2.0, kNormal},  // within 0.0001 of the warning level
      {1.5 - 0.0002, 2.0, kWarning},  {2.0, 1.2 - 0.0002, kWarning},
      {1.0 - 0.0002, 2.0, kCritical}, {2.0, 0.8 - 0.0002, kCritical},  // either value
      {1.0 - 0.0002, 1.2 - 0.0002, kCritical},
      {1.0 - 0.00005, 2.0, kWarning},  // within the critical tolerance, below warning
  };
  for (const Case& c : cases) {
    TRowColors colors;
    colors.values[1] = 0x1234;
    const TFundsSufficiency client{c.sfr, c.sfrOpen};
    GetRiskCellColors(Settings(), &client, &colors);
    EXPECT_TRUE(colors.flags == 3 && colors.TextColor() == 0x80000008u);
    EXPECT_EQ(colors.Background(), c.background) << c.sfr << " " << c.sfrOpen;
    EXPECT_EQ(colors.values[1], 0x1234u) << "the other values are not touched";
  }
}

TEST(RiskCellColors, NoClientLeavesTheRecordAlone) {
  TRowColors colors;
  colors.flags = 77;
  GetRiskCellColors(Settings(), nullptr, &colors);
  EXPECT_EQ(colors.flags, 77u);
  const TFundsSufficiency client{2.0, 2.0};
  GetRiskCellColors(Settings(), &client, nullptr);  // no record to fill: no crash
}

TEST(OrderRowColors, TextByTheOrdersStateOnTheWindowBackground) {
  struct Case { uint32_t flags, text; };
  const Case cases[] = {{0x1, 0x000000FF}, {0x3, 0x000000FF}, {0x2, 0x80000008}, {0x0, 0x00FF0000},
                        {0x4, 0x00FF0000}};
  for (const Case& c : cases) {
    uint8_t order[host::record::kOrderSize] = {};
    std::memcpy(order + host::record::kOrderFlags, &c.flags, sizeof c.flags);
    TRowColors colors;
    colors.values[4] = 99;
    GetOrderRowColors(order, &colors);
    EXPECT_TRUE(colors.flags == 3 && colors.Background() == 0x80000005u);
    EXPECT_EQ(colors.TextColor(), c.text) << c.flags;
    EXPECT_EQ(colors.values[4], 0u) << "the record is zeroed first";
  }
  TRowColors colors;
  colors.flags = 3;
  GetOrderRowColors(nullptr, &colors);
  EXPECT_EQ(colors.flags, 0u) << "no row: an empty record";
}

}  // namespace
