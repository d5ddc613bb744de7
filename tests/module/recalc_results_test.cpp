// Every client's recalculated values on the demo's brokerage and on the
// recalculation benchmark's, held to the values the plug-in gave before its
// host questions were cut to one per fact and pass (golden/recalc_*.txt):
// making the pass cheaper must not change one of them. Then what a pass asks
// the host, function by function (cases/recalc_host_calls.txt), and how
// firms' texts are fetched and read (cases/firm_default_configs.txt).
#include "case_table.h"
#include "host/standin/bench_brokerage.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "module/recalc/firm_default_configs.h"
#include "module/vantrel_module.h"
#include "support/host_program_folder.h"
#include "support/plugin_start.h"

#include <cstring>

namespace {
// A client's texts and flags, then its values from the day-start limit to the cash leverage.
std::string ClientLine(const TClientRiskRecord& r) {
  char line[1024];
  int n = std::snprintf(line, sizeof line, "%s|%s|%s|%s|%s|%s|%d%d%d|%d", r.firm, r.account, r.clientCode,
                        r.secondFirm, r.boardTag, r.currency, r.united, r.qualified, r.specialPortfolio, r.portfolioId);
  for (double value : {r.dayStartLimit, r.openPositionLimit, r.plannedNetPosition, r.currentNetPosition,
                       r.currentNetPositionOpen, r.realVariationMargin, r.variationMargin, r.interimVariationMargin,
                       r.accruedIncome, r.optionLiquidationValue, r.derivativesAssets, r.totalAssets, r.currentDebt,
                       r.sfr, r.sfrOpenPositions, r.clgo, r.eclgo, r.marginLevel, r.modifiedMarginLevel, r.cashLeverage})
    n += std::snprintf(line + n, sizeof line - n, " %.17g", value);
  return line;
}

class RecalcResultsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }

  // The module starts with the host's functions as they are then; the host's
  // start, its records, then each firm announced: a full run each.
  void Feed(const std::vector<PushedRecord>& records, const std::vector<std::string>& firms) {
    ASSERT_TRUE(StartPlugin(module, host, CVantrelModule::kHostVersion));
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

  // An FNV-1a digest of every client's line, then every nth line.
  void Snapshot(size_t every) {
    uint64_t digest = 14695981039346656037ull;
    std::vector<std::string> lines;
    for (const auto& client : module.Clients().Clients()) {
      lines.push_back(ClientLine(*client.second));
      for (char c : lines.back() + "\n") digest = (digest ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    }
    char text[64];
    std::snprintf(text, sizeof text, "digest %016llx of %zu clients", static_cast<unsigned long long>(digest),
                  lines.size());
    snapshots += std::string(text) + "\n";
    for (size_t i = 0; i < lines.size(); i += every) snapshots += lines[i] + "\n";
  }

  void LoadScenario(const std::string& path) { ASSERT_TRUE(::LoadScenario(path, host, nullptr)); }

  CleanHostProgramFolder folder;
  StandInHost host;
  CVantrelModule module{GetModuleHandleA(nullptr)};
  std::string snapshots;
};

// The golden file without its comment lines and carriage returns.
std::string Golden(const char* name) {
  std::istringstream text(ReadFileBytes(std::string(VANTREL_GOLDEN_DIR) + "/" + name));
  std::string lines;
  for (std::string line; std::getline(text, line);)
    if (!line.empty() && line[0] != '#') lines += line.substr(0, line.find('\r')) + "\n";
  return lines;
}

TEST_F(RecalcResultsTest, TheDemosBrokerageBeforeAndAfterThePricesMove) {
  LoadScenario(std::string(VANTREL_SCENARIOS_DIR) + "/demo.ini");
  Feed(host.Feed().startRecords, host.Feed().firms);
  Snapshot(1);
  for (const HostStep& step : host.Feed().steps)
    for (const ParameterChange& change : step.parameters)
      host.Market().SetParameter(host.Records().FindSecurityByCode(change.security), change.name, change.value);
  TimerRun();
  Snapshot(1);
  EXPECT_EQ(snapshots, Golden("recalc_demo.txt"));
}

TEST_F(RecalcResultsTest, TheBenchmarksBrokerageAfterFullAndTimerRuns) {
  BenchBrokerage::AddMarket(host);
  std::vector<std::string> firms;
  for (int firm = 0; firm < BenchBrokerage::kFirms; ++firm) firms.push_back(BenchBrokerage::FirmName(firm));
  Feed(BenchBrokerage::AddClients(host, 10000), firms);
  Snapshot(100);
  TimerRun();
  Snapshot(100);
  EXPECT_EQ(snapshots, Golden("recalc_bench.txt"));
}

TEST_F(RecalcResultsTest, APassAsksTheHostEachFactOnce) {
  LoadScenario(std::string(VANTREL_MARKETS_DIR) + "/small_brokerage.ini");
  Feed(host.Feed().startRecords, {});
  const std::map<std::string, std::function<void()>> steps = {
      {"announce", [&] { module.OnHostEvent(4, "FIRM1", 0, 0); }},
      {"timer", [&] { TimerRun(); }},
      {"done", [&] { module.OnModuleDone(); }}};
  RunCaseTable("recalc_host_calls.txt", {{"Calls", [&](const CaseRow& c) {
    host.Log().Clear();
    steps.at(c.Text(0))();
    std::map<int, int> expected;
    std::istringstream calls(c.Text(1));
    for (int function, count; calls >> function && calls.ignore(1) >> count;) expected[function] = count;
    std::map<int, int> actual = host.Log().Counts();
    if (c.Text(0) == std::string("done"))  // only the buffer: the plug-in's menus go too
      for (auto it = actual.begin(); it != actual.end();) it = expected.count(it->first) ? std::next(it) : actual.erase(it);
    EXPECT_EQ(actual, expected); }}});
}

// A host that writes its texts in turn without a terminator, into buffers
// full of what was there before.
const char* const kTexts[] = {"[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n[CHANGEFUTCLIENTCODES_MC7]\n1=U3",
                              "[PORTFOLIORISKCONFIG]\nBOARDTAG=TQ"};  // whatever follows would extend the tag
int g_nextText = 0;
int __stdcall UnterminatedText(const char*, char* buffer, int) {
  const char* text = kTexts[g_nextText++ % 2];
  std::memcpy(buffer, text, std::strlen(text));
  return 1;
}
void* __stdcall UsedBuffer(uint32_t size) {
  static std::vector<char> buffer;
  buffer.assign(size, 'X');
  return buffer.data();
}
void __stdcall KeepBuffer(void*) {}

TEST_F(RecalcResultsTest, AShorterTextDoesNotKeepTheTailOfTheOneBefore) {
  LoadScenario(std::string(VANTREL_MARKETS_DIR) + "/small_brokerage.ini");
  host.Install<130>(UnterminatedText);
  host.Install<3>(UsedBuffer);
  host.Install<4>(KeepBuffer);
  Feed(host.Feed().startRecords, {"FIRM1"});  // the first text for the rules, the second for the board tag
  const TClientRiskRecord* united = module.Clients().Find("FIRM1", "U3");
  EXPECT_EQ(std::string(united->boardTag) + " " + united->currency + " " + united->secondFirm, "TQ SUR MC7");
}

TEST(FirmDefaultConfigs, ATextIsReadAgainOnlyWhenItChanged) {
  CFirmDefaultConfigs configs;
  RunCaseTable("firm_default_configs.txt", {{"Config", [&](const CaseRow& c) {
    std::string text = c.Text(1);
    for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at)) text.replace(at, 2, "\n");
    const TFirmDefaultConfig& config = configs.Of(c.Text(0), text);
    EXPECT_EQ(config.boardTag + " " + config.currency, std::string(c.Text(2)) + " " + c.Text(3));
    EXPECT_EQ(configs.TextsRead(), int(c[4])); }}});
}
}  // namespace
