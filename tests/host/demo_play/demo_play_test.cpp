// The demo's scenario (host/scenarios/demo.ini), the same every time, played
// into the real plug-in: every record goes through callback entry 22 and every
// event through entry 25 with the argument counts the plug-in expects, the
// plug-in is still there to be stopped, and the price steps push some of the
// 301 clients' funds sufficiency below the warning (1.0) and critical (0.5)
// levels while most stay covered.
#include "host/standin/scenario.h"
#include "host/standin/scenario_player.h"
#include "sdk/zlist_api.h"
#include "support/host_program_folder.h"

#include "../host_test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace {
struct Client {
  std::string firm, account;
  double planned = 0, margin = 0, variationMargin = 0;
  std::vector<std::pair<std::string, int32_t>> positions;
};
using Book = std::map<std::pair<std::string, std::string>, Client>;

Book ClientsOf(const HostFeed& feed) {
  Book book;
  for (const PushedRecord& record : feed.startRecords) {
    const uint8_t* bytes = record.bytes.data();
    Client& client = book[{TextAt(bytes, 4), TextAt(bytes, 17)}];
    client.firm = TextAt(bytes, 4);
    client.account = TextAt(bytes, 17);
    if (record.code == 32985) {
      client.planned = Field<double>(bytes, 64);
      client.margin = Field<double>(bytes, 56);
      client.variationMargin = Field<double>(bytes, 72);
    } else {
      client.positions.emplace_back(TextAt(bytes, 30), Field<int32_t>(bytes, 68));
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

TEST(DemoPlay, ThePluginTakesTheWholeFeedAndSomeClientsFallBelowTheLevels) {
  std::vector<PushedRecord> earlier;
  {
    StandInHost first;  // one host at a time
    ASSERT_TRUE(LoadScenario(DemoScenario(), first, nullptr));
    earlier = first.Feed().startRecords;
  }
  StandInHost host;
  ASSERT_TRUE(LoadScenario(DemoScenario(), host, nullptr));
  EXPECT_TRUE(host.Feed().problems.empty()) << host.Feed().problems.front();
  ASSERT_EQ(earlier.size(), host.Feed().startRecords.size());
  for (size_t i = 0; i < earlier.size(); ++i) ASSERT_EQ(earlier[i].bytes, host.Feed().startRecords[i].bytes) << i;
  const Book book = ClientsOf(host.Feed());
  EXPECT_EQ(book.size(), 301u);
  for (const auto& [key, client] : book)
    EXPECT_GE(Sufficiency(host, client), 1.0) << client.account << " starts covered";

  ASSERT_TRUE(host.CreateFrame("test host", false));
  // The demo's own settings, where scripts/demo puts them: their closing
  // pattern lets the menu step confirm the risk table.
  CleanHostProgramFolder folder;
  const std::string settings = DemoScenario().substr(0, DemoScenario().size() - 8) + "demo-info.ini";
  ASSERT_TRUE(CopyFileA(settings.c_str(), folder.File("info.ini").c_str(), FALSE)) << settings;
  PluginLibrary plugin(host);
  ASSERT_TRUE(plugin.Load()) << "VanTrel.dll not found beside the test";
  ASSERT_TRUE(plugin.InitEx().ok);
  plugin.SendUiInfo();
  ScenarioPlayer player(host, plugin);
  EXPECT_EQ(player.Start(), static_cast<int>(host.Feed().startRecords.size()));
  EXPECT_EQ(player.PlayDue(1 << 30).size(), host.Feed().steps.size());
  EXPECT_TRUE(player.Finished());
  HWND table = FindWindowExA(host.MdiClient(), nullptr, nullptr, "Риск-параметры срочного рынка");
  ASSERT_NE(table, nullptr) << "the menu step opened the risk table";
  EXPECT_EQ(GetNRows(FindWindowExA(table, nullptr, "ZListClient", nullptr)), 302) << "the header and every client";
  int warning = 0, critical = 0;
  for (const auto& [key, client] : book) {
    const double sufficiency = Sufficiency(host, client);
    warning += sufficiency < 1.0;
    critical += sufficiency < 0.5;
  }
  EXPECT_GE(critical, 3);
  EXPECT_GE(warning - critical, 10);
  EXPECT_LT(warning, static_cast<int>(book.size()) / 4) << "most clients stay covered";
  plugin.Shutdown();
  plugin.Unload();
}
}  // namespace
