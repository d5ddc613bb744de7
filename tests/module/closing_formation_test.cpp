// Closing orders formed for a client by a pattern over the stand-in host's
// market; the cases are in cases/closing_orders.txt.
#include "case_table.h"
#include "host/standin/host_records.h"
#include "host_record_builders.h"
#include "market_fixture.h"
#include "market_text.h"
#include "module/closing/closing_formation.h"
#include "module/host_data/client_book.h"
#include "module/log/vantrel_log.h"
#include "module/market_records.h"
#include "module/security_params.h"
#include "module/settings/module_settings.h"
#include "temp_folder.h"

#include <algorithm>
#include <iomanip>
#include <map>
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

  // "name=value" words of the client, the pattern and the module; every
  // name not given keeps its default.
  void ApplyValues(const std::string& text, double planned, double current) {
    std::istringstream words(text);
    std::map<std::string, std::string> values;
    std::vector<std::string> sentLines;
    for (std::string word; words >> word;) {
      const size_t equals = word.find('=');
      ASSERT_NE(equals, std::string::npos) << word;
      if (word.compare(0, equals, "sent") == 0) sentLines.push_back(word.substr(equals + 1));
      else values[word.substr(0, equals)] = word.substr(equals + 1);
    }
    auto number = [&](const char* name, double otherwise) {
      const auto found = values.find(name);
      return found == values.end() ? otherwise : CaseRow{{found->second}}[0];
    };
    client.realVariationMargin = number("real", 0), client.variationMargin = number("varmargin", 0);
    client.currentNetPositionOpen = number("open", current);
    client.dayStartLimit = number("limit", 0), client.accruedIncome = number("income", 0);
    // What the risk table showed before: the record's ratios.
    client.sfr = client.sfrOpenPositions = client.clgo = client.eclgo = client.modifiedMarginLevel =
        number("x", (planned + current) / current);
    client.united = number("united", 0) != 0;
    lstrcpynA(client.clientCode, client.united ? "C1" : "", sizeof client.clientCode);
    host.Market().SetClientValue("FIRM1", "C1", 6, {number("v6", 0), 0});
    host.Market().SetClientValue("FIRM1", "C1", 5, {number("v5", 0), 0});
    pattern.ParamIdx2 = int(number("idx2", -1)), pattern.MinMarginLvl = number("min", 0.5);
    pattern.UseVarMargin = int(number("pattern", 4));
    modes.useVarMargin = int(number("module", 2));
    // "CODE:B|S:lots:state", a line the host has taken: the window keeps it,
    // the module's book follows what the host reports of it.
    for (std::string sentLine : sentLines) {
      std::replace(sentLine.begin(), sentLine.end(), ':', ' ');
      std::istringstream fields(sentLine);
      std::string code, side;
      double lots = 0;
      int32_t state = 0;
      int64_t balance = -1;
      fields >> code >> side >> lots >> state >> balance;
      const uint8_t* security = FindSecurityInClasses(code.c_str(), 0x48, 0x900, nullptr);
      ASSERT_NE(security, nullptr) << code;
      TOrderLine& line = store.Add(MakeOrderLine(client, security, side == "B", GetLastPrice(security), lots, 0));
      line.TransId = 9000 + static_cast<int32_t>(++sent), line.State = state;
      // The position the order was sent from, reported before the order's
      // record with the case's lots already.
      const bool before = values.count("before") != 0;
      if (before) {
        std::vector<uint8_t> earlier = Held(code);
        PutField(earlier, 68, int32_t(number("before", 0)));
        book.OnPositionRecord(earlier.data());
      }
      book.NoteSentOrder(line);
      if (before) Report(line, 1u, static_cast<int64_t>(lots)), book.OnPositionRecord(Held(code).data());
      if (state != kLinePrepared) Report(line, state == kLineActive ? 1u : state == kLineWithdrawn ? 2u : 0u, balance);
      // Else the host's position record follows the order's, unless the
      // case says it has not come yet.
      if (!before && number("unseen", 0) == 0) book.OnPositionRecord(Held(code).data());
    }
  }

  // The client's position record in the security.
  const std::vector<uint8_t>& Held(const std::string& code) const {
    return *std::find_if(records.begin(), records.end(),
                         [&code](const auto& record) { return RecordSecurityCode(record.data()) == code; });
  }

  // The host's order record of a sent line, its balance the lots left.
  void Report(const TOrderLine& line, uint32_t flags, int64_t balance = -1) {
    OrderSpec order;
    order.key = order.transactionId = line.TransId;
    order.flags = flags;
    order.quantity = static_cast<int64_t>(line.Quantity);
    order.balance = balance < 0 ? order.quantity : balance;
    ASSERT_NE(book.OnOrderRecord(BuildOrder(order).bytes.data()), nullptr);
  }

  std::string Lines() const {
    std::ostringstream text;
    if (const COrderStore::Lines* lines = store.Find(COrderStore::KeyOf("ACC1", "FIRM1")))
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
  TFormulaModes modes;
  TModuleSettings settings;
  COrderStore store;
  CClosingOrderBook book;
  CTempFolder folder;
  CVantrelLog log{folder.Path(), settings};
  int sent = 0;
};

TEST_F(ClosingFormationTest, EachCaseOfTheTable) {
  RunCaseTable("closing_orders.txt", {
    {"Form", [&](const CaseRow& c) {
       client.positions.clear(), records.clear(), store = COrderStore(), book = CClosingOrderBook(), sent = 0;
       AddPositions(c.Text(0));
       client.plannedNetPosition = c[1], client.currentNetPosition = c[2];
       ApplyValues(c.words.size() > 13 ? c.Text(13) : "", c[1], c[2]);
       // A limit of type 0 scales the lots' margin (the value in hundredths).
       client.limits.assign(c.words.size() > 11 ? 1 : 0, limit.data());
       PutField<int32_t>(limit, 128, c.words.size() > 11 ? int32_t(c[11]) : 0);
       pattern.NotMoreThanPlanned = c.words.size() > 12 && c[12] != 0;
       pattern.ParamIdx = int(c[3]), pattern.BoundaryValue = c[4];
       closing.Spread = c[5], closing.ConsiderActiveOrders = c[6] != 0, closing.UseBaseActive = c[7] != 0;
       (closing.UseBaseActive ? closing.BaseActiveForClosing : closing.SecsForClosing) = Split(c.Text(8), ',');
       CClosingFormation formation(store, book, closing, modes, log);
       const int formed = formation.PrepareClosingOrders(client, pattern);
       EXPECT_EQ(Lines(), c.Text(9));
       EXPECT_EQ(formed, static_cast<int>(Split(c.Text(9), ';').size()) - sent);
       // As the preparation window shows it.
       const TClosingGoal goal(client, pattern);
       EXPECT_NEAR(formation.CalcLevelAfterOrders(client, goal.parameter, pattern.UseVarMargin, goal.united), c[10],
                   1e-9);
       closing.SecsForClosing.clear(), closing.BaseActiveForClosing.clear(); }},
  });
}

// A security without a last price forms no order: the log names it and the
// client whatever its level, the default 0 among them.
TEST_F(ClosingFormationTest, ASecurityWithoutALastPriceIsNamedInTheLog) {
  AddPositions("NGZ6 4");
  lstrcpynA(client.clientCode, "C9", sizeof client.clientCode);
  client.plannedNetPosition = -10000, client.currentNetPosition = client.currentNetPositionOpen = 20000;
  client.sfr = 0.5;
  closing.SecsForClosing = {"NGZ6"};
  pattern.BoundaryValue = 1.3;
  CClosingFormation formation(store, book, closing, modes, log);
  EXPECT_EQ(formation.PrepareClosingOrders(client, pattern), 0);
  EXPECT_EQ(LogMessages(ReadFileBytes(log.Path()), "ERROR:"),
            "ERROR: no last price of NGZ6, no closing order formed for client C9 (ACC1, FIRM1).\n");
}

}  // namespace
