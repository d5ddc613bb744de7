// The demo's sample brokerage (host/scenarios/demo.ini): three firms with
// their broker settings, 300 generated clients and one written by hand, the
// same every time, and price steps that push some clients' funds sufficiency
// below the warning (1.0) and critical (0.5) levels while most stay covered.
#include "host/standin/client_generator.h"
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"
#include "host/standin/standin_host.h"

#include "fake_plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace {
std::string DemoScenario() {
  const std::string path = VANTREL_SCENARIOS_DIR "/demo.ini";
  return path[0] == '/' ? "Z:" + path : path;  // a Unix path as Wine sees it
}

template <typename T>
T Field(const std::vector<uint8_t>& record, int offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

std::string Text(const std::vector<uint8_t>& record, int offset) {
  return reinterpret_cast<const char*>(record.data() + offset);
}

struct Client {
  std::string firm, account;
  double planned = 0, margin = 0, variationMargin = 0;
  std::vector<std::pair<std::string, int32_t>> positions;
};
using Book = std::map<std::pair<std::string, std::string>, Client>;

Book ClientsOf(const HostFeed& feed) {
  Book book;
  for (const PushedRecord& record : feed.startRecords) {
    Client& client = book[{Text(record.bytes, 4), Text(record.bytes, 17)}];
    client.firm = Text(record.bytes, 4);
    client.account = Text(record.bytes, 17);
    if (record.code == host_data::kLimitCode) {
      client.planned = Field<double>(record.bytes, host_data::limit::kPlannedValue);
      client.margin = Field<double>(record.bytes, host_data::limit::kNetPosition);
      client.variationMargin = Field<double>(record.bytes, host_data::limit::kRealVariationMargin);
    } else {
      client.positions.emplace_back(Text(record.bytes, host_data::position::kSecurityCodes),
                                    Field<int32_t>(record.bytes, host_data::position::kQuantity));
    }
  }
  return book;
}

// Funds sufficiency as the plug-in reckons it with its default settings:
// (planned + margin + variation margin + futures valued at the offer) / margin,
// amounts x100; a united client's planned net position is the host's value 16.
double Sufficiency(StandInHost& host, const Client& client) {
  double planned = client.planned;
  if (const std::string* code = host.Clients().ClientCode(client.firm, client.account)) {
    const ClientValue* value = host.Market().FindClientValue(client.firm, *code, 16);
    if (value != nullptr) planned = value->value * 100;
  }
  double liquidation = 0;
  for (const auto& [security, quantity] : client.positions) {
    if (security.size() > 4) continue;  // options are not valued here
    double offer = 0;
    host.Market().Parameter(host.Records().FindSecurityByCode(security), "offer", &offer);
    liquidation += offer * quantity * 100;
  }
  return (planned + client.margin + client.variationMargin + liquidation) / client.margin;
}

class SampleBrokerageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadScenario(DemoScenario(), host, nullptr)) << DemoScenario(); }
  StandInHost host;
};

TEST_F(SampleBrokerageTest, ThreeFirmsWithTheirPortfolioRiskConfiguration) {
  ASSERT_EQ(host.Feed().firms, (std::vector<std::string>{"MC0001", "MC0002", "MC0003"}));
  for (const std::string& firm : host.Feed().firms) {
    const std::string* text = host.Records().FirmText(firm);
    ASSERT_NE(text, nullptr) << firm;
    EXPECT_NE(text->find("[PORTFOLIORISKCONFIG]\r\nBOARDTAG=EQTV\r\nCURRENCY=SUR"), std::string::npos)
        << firm;
  }
}

TEST_F(SampleBrokerageTest, HundredsOfClientsEachWithALimitAndPositions) {
  const Book book = ClientsOf(host.Feed());
  EXPECT_EQ(book.size(), 301u);
  std::map<std::string, int> perFirm;
  int options = 0;
  for (const auto& [key, client] : book) {
    ++perFirm[client.firm];
    EXPECT_GT(client.margin, 0) << client.account;
    EXPECT_FALSE(client.positions.empty()) << client.account;
    for (const auto& position : client.positions) {
      EXPECT_GE(host.Records().FindSecurityByCode(position.first), 0) << position.first;
      EXPECT_NE(position.second, 0);
      options += position.first == "RI105000BL6";
    }
  }
  EXPECT_EQ(perFirm["MC0001"], 101);
  EXPECT_EQ(perFirm["MC0002"], 100);
  EXPECT_EQ(perFirm["MC0003"], 100);
  EXPECT_GT(options, 20);
}

TEST_F(SampleBrokerageTest, UnitedClientsHaveSpotRecordsAndClientValues) {
  EXPECT_EQ(host.Clients().AccountCount(), 76u) << "every fourth of 300, and the one by hand";
  int qualified = 0, special = 0, withPortfolios = 0;
  for (const auto& [key, client] : ClientsOf(host.Feed())) {
    const std::string* code = host.Clients().ClientCode(client.firm, client.account);
    if (code == nullptr) continue;
    EXPECT_GE(host.Records().FindSpot(client.firm, *code, "EQTV", "SUR"), 0) << *code;
    for (int number : {16, 7, 8, 6, 5, 40})
      EXPECT_NE(host.Market().FindClientValue(client.firm, *code, number), nullptr) << number;
    double value = 0;
    qualified += host.Clients().Qualification(client.firm, *code, &value) && value != 0;
    special += host.Clients().Parameter(client.firm, *code, 0, 58, &value) && value == 4.0;
    withPortfolios += !host.Clients().Portfolios(client.firm, *code).empty();
  }
  EXPECT_GT(qualified, 5);
  EXPECT_GT(special, 5);
  EXPECT_GT(withPortfolios, special);
}

TEST_F(SampleBrokerageTest, TheSameSeedGivesTheSameBrokerage) {
  StandInHost again;
  ASSERT_TRUE(LoadScenario(DemoScenario(), again, nullptr));
  ASSERT_EQ(again.Feed().startRecords.size(), host.Feed().startRecords.size());
  for (size_t i = 0; i < host.Feed().startRecords.size(); ++i)
    ASSERT_EQ(again.Feed().startRecords[i].bytes, host.Feed().startRecords[i].bytes) << i;
}

TEST_F(SampleBrokerageTest, PriceStepsPushSomeClientsBelowTheLevels) {
  const Book book = ClientsOf(host.Feed());
  for (const auto& [key, client] : book)
    EXPECT_GE(Sufficiency(host, client), 1.0) << client.account << " starts covered";

  PluginLibrary library(host);
  FakePlugin plugin(library);
  ScenarioPlayer player(host, library);
  player.Start();
  player.PlayDue(1 << 30);
  ASSERT_TRUE(player.Finished());
  int warning = 0, critical = 0;
  for (const auto& [key, client] : book) {
    const double sufficiency = Sufficiency(host, client);
    warning += sufficiency < 1.0;
    critical += sufficiency < 0.5;
  }
  EXPECT_GE(critical, 3);
  EXPECT_GE(warning - critical, 10);
  EXPECT_LT(warning, static_cast<int>(book.size()) / 4) << "most clients stay covered";
}

TEST_F(SampleBrokerageTest, TheDemoScenarioHasNoProblems) {
  EXPECT_TRUE(host.Feed().problems.empty()) << host.Feed().problems.front();
  EXPECT_EQ(host.Feed().steps.size(), 8u);
}

TEST(ClientGenerator, NothingWithoutFirmsOrKnownFutures) {
  StandInHost host;
  SecuritySpec security;
  security.classCode = "SPBFUT";
  security.code = "RIZ6";
  host.Records().AddSecurity(security);
  GeneratedClientsSpec fields;
  fields.count = 10;
  fields.futures = {"RIZ6"};
  EXPECT_EQ(GenerateClients(fields, host), 0) << "no firms";
  fields.firms = {"F1"};
  fields.futures = {"NOSUCH"};
  EXPECT_EQ(GenerateClients(fields, host), 0) << "no known futures";
  EXPECT_TRUE(host.Feed().startRecords.empty());
  EXPECT_EQ(host.Feed().problems,
            (std::vector<std::string>{"[GeneratedClients] needs Firms and Futures",
                                      "[GeneratedClients] no security NOSUCH",
                                      "[GeneratedClients] needs Firms and Futures"}));
  fields.futures = {"RIZ6", "NOSUCH"};
  EXPECT_EQ(GenerateClients(fields, host), 10) << "the unknown one is left out";
}
}  // namespace
