// Every client's recalculated values on the demo's brokerage and on the
// recalculation benchmark's, held to the values the plug-in gave before its
// host questions were cut to one per fact and pass (golden/recalc_*.txt):
// making the pass cheaper must not change one of them. Then what a pass asks
// the host, function by function, and how firms' texts are fetched and read.
#include "host/standin/bench_brokerage.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "module/recalc/firm_default_configs.h"
#include "module/vantrel_module.h"
#include "support/host_program_folder.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
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
  void SetUp() override { ASSERT_TRUE(host.CreateFrame("test host", false)); }

  // The module starts with the host's functions as they are then; the host's
  // start, its records, then each firm announced: a full run each.
  void Feed(const std::vector<PushedRecord>& records, const std::vector<std::string>& firms) {
    uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
    int code = 0;
    char text[256];
    ASSERT_TRUE(module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "",
                                      CVantrelModule::kHostVersion, 0, &code, text, sizeof text))
        << text;
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

namespace {
void LoadSmallBrokerage(StandInHost& host) {
  ASSERT_TRUE(LoadScenario(std::string(VANTREL_MARKETS_DIR) + "/small_brokerage.ini", host, nullptr));
}

// The small brokerage (markets/small_brokerage.ini): a pass finds RIZ6 in
// SPBFUT (91 once), RI110BL6 in SPBOPT after SPBFUT (91 twice) and NONE in
// neither (91 twice); it reads the class count (32), both class records and
// the two securities' records (33 four times), and quotes the quotes its
// formulas use: RIZ6's step price, bid, offer and theoretical price, the
// option class's step price only (43 five times). Quotes are asked in the
// security's own class, which the lookup has already asked. The united
// client U3 adds its client values 16, 7, 8, 6, 5 and 40 (134), one spot
// index (149) and one spot record (34).
const std::map<int, int> kPassCalls = {{32, 1}, {33, 4}, {34, 1}, {43, 5}, {91, 5}, {134, 6}, {149, 1}};

TEST_F(RecalcResultsTest, APassAsksTheHostEachFactOnce) {
  LoadSmallBrokerage(host);
  Feed(host.Feed().startRecords, {});
  host.Log().Clear();
  module.OnHostEvent(4, "FIRM1", 0, 0);
  // A full run also identifies every client (148, the filter text 52; U3's
  // qualification 135, portfolio kind 202 and portfolio count 203) and reads
  // U3's firm's text, into the buffer (3) that took the text of the rules.
  std::map<int, int> fullRun = kPassCalls;
  fullRun.insert({{3, 1}, {130, 2}, {148, 3}, {52, 3}, {135, 1}, {202, 1}, {203, 1}});
  EXPECT_EQ(host.Log().Counts(), fullRun);
  host.Log().Clear();
  TimerRun();
  EXPECT_EQ(host.Log().Counts(), kPassCalls);
  host.Log().Clear();
  TimerRun();
  EXPECT_EQ(host.Log().Counts(), kPassCalls) << "a new pass asks afresh";
  host.Log().Clear();
  module.OnHostEvent(4, "FIRM1", 0, 0);  // the rules again, from the firms' objects
  fullRun.erase(3);
  fullRun.erase(52);  // the clients' filter texts are listed already
  fullRun[130] = 1;
  fullRun[32] = 2;  // and the firm objects' count
  fullRun[34] = 2;  // and the one firm object
  EXPECT_EQ(host.Log().Counts(), fullRun) << "the buffer is kept";
  host.Log().Clear();
  module.OnModuleDone();
  EXPECT_EQ(host.Log().Count(4), 1) << "and given back when the plug-in is let go";
}

// A host that writes each text of the list in turn, without its terminator.
std::vector<std::string> g_texts;
size_t g_nextText = 0;
int __stdcall UnterminatedText(const char*, char* buffer, int capacity) {
  const std::string& text = g_texts[g_nextText++ % g_texts.size()];
  std::memcpy(buffer, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(capacity)));
  return 1;
}

// A host whose buffers come full of whatever was there before.
void* __stdcall UsedBuffer(uint32_t size) {
  static std::vector<char> buffer;
  buffer.assign(size, 'X');
  return buffer.data();
}
void __stdcall KeepBuffer(void*) {}

TEST_F(RecalcResultsTest, AShorterTextDoesNotKeepTheTailOfTheOneBefore) {
  LoadSmallBrokerage(host);
  // The first text, for the rules, ends in an account; the second, for the
  // board tag, is shorter.
  g_texts = {"[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n[CHANGEFUTCLIENTCODES_MC7]\n1=U3",
             "[PORTFOLIORISKCONFIG]\nBOARDTAG=TQ\n"};
  g_nextText = 0;
  host.Install<130>(UnterminatedText);
  host.Install<3>(UsedBuffer);
  host.Install<4>(KeepBuffer);
  Feed(host.Feed().startRecords, {"FIRM1"});
  const TClientRiskRecord* united = module.Clients().Find("FIRM1", "U3");
  EXPECT_STREQ(united->boardTag, "TQ");
  EXPECT_STREQ(united->currency, "SUR") << "the library's default, not USD";
  EXPECT_STREQ(united->secondFirm, "MC7") << "the account U3, not U3 and what the buffer held";
}

// Each row: a firm's text comes again; the configuration it gives and how
// many texts have been read by then.
TEST(FirmDefaultConfigs, ATextIsReadAgainOnlyWhenItChanged) {
  const std::string tqbr = "[PORTFOLIORISKCONFIG]\nBOARDTAG=TQBR\nCURRENCY=USD\n";
  const std::string eqtv = "[PORTFOLIORISKCONFIG]\nBOARDTAG=EQTV\nCURRENCY=USD\n";
  const struct {
    const char* firm;
    std::string text;
    const char* boardTag;
    const char* currency;
    int textsRead;
  } rows[] = {
      {"FIRM1", tqbr, "TQBR", "USD", 1},
      {"FIRM1", std::string(tqbr), "TQBR", "USD", 1},  // the same bytes in another buffer
      {"FIRM2", tqbr, "TQBR", "USD", 2},               // another firm's
      {"FIRM1", eqtv, "EQTV", "USD", 3},               // one letter changed
      {"FIRM1", eqtv + "\n", "EQTV", "USD", 4},        // one line end more
      {"FIRM1", "", "EQTV", "SUR", 5},                 // none: the library's defaults
      {"FIRM2", tqbr, "TQBR", "USD", 5},
  };
  CFirmDefaultConfigs configs;
  for (const auto& row : rows) {
    const TFirmDefaultConfig& config = configs.Of(row.firm, row.text);
    EXPECT_EQ(config.boardTag, row.boardTag) << row.firm << " " << row.text;
    EXPECT_EQ(config.currency, row.currency) << row.firm << " " << row.text;
    EXPECT_EQ(configs.TextsRead(), row.textsRead) << row.firm << " " << row.text;
  }
}
}  // namespace
