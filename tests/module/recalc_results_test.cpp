// Every client's recalculated values on the demo's brokerage and on the
// recalculation benchmark's, held to the values the plug-in gave before its
// host questions were cut to one per fact and pass (golden/recalc_*.txt):
// making the pass cheaper must not change one of them.
#include "host/standin/bench_brokerage.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "module/vantrel_module.h"
#include "support/host_program_folder.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {
// One line per client: its texts and flags, then fields 11 to 30.
std::string ClientLine(const TClientRiskRecord& r) {
  char line[1024];
  int n = std::snprintf(line, sizeof line, "%s|%s|%s|%s|%s|%s|%d%d%d|%d", r.firm, r.account,
                        r.clientCode, r.secondFirm, r.boardTag, r.currency, r.united, r.qualified,
                        r.specialPortfolio, r.portfolioId);
  for (double value : {r.dayStartLimit, r.openPositionLimit, r.plannedNetPosition,
                       r.currentNetPosition, r.currentNetPositionOpen, r.realVariationMargin,
                       r.variationMargin, r.interimVariationMargin, r.accruedIncome,
                       r.optionLiquidationValue, r.derivativesAssets, r.totalAssets, r.currentDebt,
                       r.sfr, r.sfrOpenPositions, r.clgo, r.eclgo, r.marginLevel,
                       r.modifiedMarginLevel, r.cashLeverage})
    n += std::snprintf(line + n, sizeof line - n, " %.17g", value);
  return line;
}

// FNV-1a over the lines, for a brokerage too large to keep whole.
uint64_t Digest(const std::vector<std::string>& lines) {
  uint64_t hash = 14695981039346656037ull;
  for (const std::string& line : lines)
    for (char c : line + "\n") hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
  return hash;
}

class RecalcResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateFrame("test host", false));
    uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "",
                                      CVantrelModule::kHostVersion, 0, &code, text, sizeof text))
        << text;
  }

  // The host's start, its records, then each firm announced: a full run each.
  void Feed(const std::vector<PushedRecord>& records, const std::vector<std::string>& firms) {
    module.OnHostEvent(1, nullptr, 0, 0);
    for (const PushedRecord& record : records)
      module.OnHostCommand(1, record.code, record.bytes.data(), static_cast<uint32_t>(record.bytes.size()));
    for (const std::string& firm : firms) module.OnHostEvent(4, firm.c_str(), 0, 0);
  }

  // A timer run once every client's data is old enough.
  void TimerRun() {
    for (auto& client : module.Clients().Clients()) client.second->dataTime -= 5;
    module.RecalcRiskParams(false);
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const auto& client : module.Clients().Clients()) lines.push_back(ClientLine(*client.second));
    return lines;
  }

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
};

// The golden file's lines that do not start with '#'.
std::vector<std::string> Golden(const char* name) {
  std::istringstream text(ReadFileBytes(std::string(VANTREL_GOLDEN_DIR) + "/" + name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
  return lines;
}

void ExpectSameLines(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << "line " << i;
}

TEST_F(RecalcResultsTest, TheDemosBrokerageBeforeAndAfterThePricesMove) {
  ScenarioHost settings;
  ASSERT_TRUE(LoadScenario(std::string(VANTREL_SCENARIOS_DIR) + "/demo.ini", host, &settings));
  Feed(host.Feed().startRecords, host.Feed().firms);
  std::vector<std::string> lines = Lines();
  for (const HostStep& step : host.Feed().steps)
    for (const ParameterChange& change : step.parameters)
      host.Market().SetParameter(host.Records().FindSecurityByCode(change.security), change.name,
                                 change.value);
  TimerRun();
  for (const std::string& line : Lines()) lines.push_back(line);
  ExpectSameLines(Golden("recalc_demo.txt"), lines);
}

// Every client after the full runs and after a timer run, as a digest and
// every hundredth client in full.
TEST_F(RecalcResultsTest, TheBenchmarksBrokerageAfterFullAndTimerRuns) {
  BenchBrokerage::AddMarket(host);
  std::vector<std::string> firms;
  for (int firm = 0; firm < BenchBrokerage::kFirms; ++firm) firms.push_back(BenchBrokerage::FirmName(firm));
  Feed(BenchBrokerage::AddClients(host, 10000), firms);
  std::vector<std::string> full = Lines();
  TimerRun();
  std::vector<std::string> timer = Lines();
  std::vector<std::string> lines;
  for (const auto* run : {&full, &timer}) {
    char digest[64];
    std::snprintf(digest, sizeof digest, "digest %016llx of %zu clients",
                  static_cast<unsigned long long>(Digest(*run)), run->size());
    lines.push_back(digest);
    for (size_t i = 0; i < run->size(); i += 100) lines.push_back((*run)[i]);
  }
  ExpectSameLines(Golden("recalc_bench.txt"), lines);
}
}  // namespace
