// Closing orders formed for a client by a pattern over the stand-in host's
// market; the cases are in cases/closing_orders.txt.
#include "case_table.h"
#include "host_record_builders.h"
#include "market_fixture.h"
#include "market_text.h"
#include "module/closing/closing_formation.h"

#include <iomanip>
#include <sstream>

namespace {
std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::istringstream stream(text);
  for (std::string item; std::getline(stream >> std::ws, item, separator);) items.push_back(item);
  return items;
}

class ClosingFormationTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("closing_orders.ini"));
    pattern.ParamIdx = 18;
  }

  // "CODE lots [lots in buy orders [lots in sell orders]]" each.
  void AddPositions(const std::string& text) {
    for (const std::string& item : Split(text, ',')) {
      std::istringstream words(item);
      PositionFields fields{"FIRM1", "ACC1", ""};
      int32_t inBuyOrders = 0, inSellOrders = 0;
      words >> fields.security >> fields.quantity >> inBuyOrders >> inSellOrders;
      records.push_back(PositionRecord(fields));
      PutField(records.back(), 72, inBuyOrders);
      PutField(records.back(), 76, inSellOrders);
    }
    for (auto& record : records) client.positions.push_back(record.data());
  }

  std::string Lines() const {
    std::ostringstream text;
    if (const COrderStore::Lines* lines = store.Find("ACC1FIRM1"))
      for (const auto& line : *lines)
        text << (text.tellp() > 0 ? "; " : "") << line->SecCode << (line->IsBuy ? " B " : " S ") << line->Quantity
             << " " << std::setprecision(10) << line->Price;
    return text.str();
  }

  TClientRiskRecord client{"FIRM1", "ACC1"};
  std::vector<uint8_t> limit = LimitRecord({"FIRM1", "ACC1"});
  std::vector<std::vector<uint8_t>> records;
  TClosingPattern pattern;
  TClosingSettings closing;
  COrderStore store;
};

TEST_F(ClosingFormationTest, EachCaseOfTheTable) {
  RunCaseTable("closing_orders.txt", {
    {"Form", [&](const CaseRow& c) {
       client.positions.clear(), records.clear(), store = COrderStore();
       AddPositions(c.Text(0));
       client.plannedNetPosition = c[1], client.currentNetPosition = client.currentNetPositionOpen = c[2];
       client.sfr = (c[1] + c[2]) / c[2];
       // A limit of type 0 scales the lots' margin (the value in hundredths).
       client.limits.assign(c.words.size() > 11 ? 1 : 0, limit.data());
       PutField<int32_t>(limit, 128, c.words.size() > 11 ? int32_t(c[11]) : 0);
       pattern.NotMoreThanPlanned = c.words.size() > 12 && c[12] != 0;
       pattern.ParamIdx = int(c[3]), pattern.BoundaryValue = c[4];
       closing.Spread = c[5], closing.ConsiderActiveOrders = c[6] != 0, closing.UseBaseActive = c[7] != 0;
       (closing.UseBaseActive ? closing.BaseActiveForClosing : closing.SecsForClosing) = Split(c.Text(8), ',');
       CClosingFormation formation(store, closing, false);
       const int formed = formation.PrepareClosingOrders(client, pattern);
       EXPECT_EQ(Lines(), c.Text(9));
       EXPECT_EQ(formed, static_cast<int>(Split(c.Text(9), ';').size()));
       EXPECT_NEAR(formation.CalcLevelAfterOrders(client, pattern.ParamIdx, 0, false), c[10], 1e-9);
       closing.SecsForClosing.clear(), closing.BaseActiveForClosing.clear(); }},
  });
}

}  // namespace
