// Closing orders formed for every client of a risk table: 2,000 clients with
// 5 futures positions each, every client short of its funds sufficiency
// target, over the stand-in host's market in this process.
//
// Method: one formation run goes over all clients with a fresh order store,
// as a window for the whole table does, beside a book of the plug-in's sent
// orders that holds an executed one of every client; the best and median of the runs are
// printed with the time per client. The time includes the stand-in's host
// functions (security lookups, quotes), so the plug-in's own share is, if
// anything, smaller. Target: the whole table in under 200 ms.
#include "bench/bench_timing.h"
#include "host/standin/host_records.h"
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"
#include "module/closing/closing_formation.h"
#include "module/log/vantrel_log.h"
#include "module/market_records.h"
#include "module/settings/module_settings.h"
#include "sdk/plugin_module.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kClients = 2000;
constexpr int kPositionsPerClient = 5;
constexpr int kSecurities = 20;
constexpr int kRuns = 20;
constexpr double kTargetMs = 200.0;

class BenchModule : public CZenkPluginModule {
 public:
  BenchModule() : CZenkPluginModule(GetModuleHandleA(nullptr)) {}
  bool CheckHostCompatibility(uint32_t, uint32_t, int*, char*, int) override { return true; }
};

std::string SecurityCode(int index) { return "F" + std::to_string(100 + index); }

std::string MarketText() {
  std::string text = "[Class1]\nCode=SPBFUT\nFlags=0x48\n";
  for (int i = 0; i < kSecurities; ++i)
    text += "[Security" + std::to_string(i + 1) + "]\nClass=SPBFUT\nCode=" + SecurityCode(i) +
            "\nType=4\nBaseAsset=RTS\nDecimals=2\nPriceStep=0.05\nlast=" + std::to_string(100 + i) +
            ".37\nbuydepo=" + std::to_string(10 + i) + "\nselldepo=" + std::to_string(12 + i) + "\n";
  return text;
}

std::vector<uint8_t> Position(const TClientRiskRecord& client, int security, int32_t quantity) {
  std::vector<uint8_t> record(144, 0);
  std::memcpy(record.data() + 4, client.firm, std::strlen(client.firm));
  std::memcpy(record.data() + 17, client.account, std::strlen(client.account));
  const std::string code = SecurityCode(security);
  std::memcpy(record.data() + 30, code.data(), code.size());
  std::memcpy(record.data() + 68, &quantity, sizeof quantity);
  return record;
}
}  // namespace

int main() {
  StandInHost host;
  if (!host.CreateFrame("bench host", false)) return 1;
  char folder[MAX_PATH], path[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  GetTempFileNameA(folder, "mkt", 0, path);
  const std::string market = MarketText();
  FILE* file = std::fopen(path, "wb");
  std::fwrite(market.data(), 1, market.size(), file);
  std::fclose(file);
  const bool loaded = LoadScenario(path, host, nullptr);
  DeleteFileA(path);
  if (!loaded) return 1;
  BenchModule module;
  uint32_t callbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
  int code = 0;
  char error[256];
  if (!module.OnPluginInitEx(1, host.FunctionTable(), callbacks, "", 0, 0, &code, error, sizeof error)) return 1;

  std::vector<std::unique_ptr<TClientRiskRecord>> clients;
  std::vector<std::vector<uint8_t>> positions;
  positions.reserve(kClients * kPositionsPerClient);
  for (int c = 0; c < kClients; ++c) {
    char account[16];
    std::snprintf(account, sizeof account, "A%05d", c);
    auto client = std::make_unique<TClientRiskRecord>("FIRM1", account);
    double current = 0;
    for (int p = 0; p < kPositionsPerClient; ++p) {
      const int security = (c * 7 + p * 3) % kSecurities;
      const int32_t lots = (p % 2 == 0 ? 1 : -1) * (5 + (c + p) % 40);
      positions.push_back(Position(*client, security, lots));
      client->positions.push_back(positions.back().data());
      current += std::abs(lots) * (lots > 0 ? 10 + security : 12 + security) * 100.0;
    }
    client->currentNetPosition = client->currentNetPositionOpen = current;
    client->plannedNetPosition = -0.6 * current;  // funds sufficiency 0.4
    client->sfr = 0.4;
    clients.push_back(std::move(client));
  }
  TClosingSettings closing;
  for (int i = 0; i < kSecurities; ++i) closing.SecsForClosing.push_back(SecurityCode(i));
  TClosingPattern pattern;
  pattern.ParamIdx = 18, pattern.BoundaryValue = 1.3;

  CClosingOrderBook book;
  for (const auto& client : clients) {
    TOrderLine line = MakeOrderLine(*client, FindSecurityInClasses(SecurityCode(0).c_str(), 0x48, 0x900, nullptr),
                                    false, 100, 1, 0);
    line.TransId = static_cast<int32_t>(book.Records().size()) + 1;
    book.NoteSentOrder(line);
    OrderSpec executed;
    executed.key = executed.transactionId = line.TransId;
    book.OnOrderRecord(BuildOrder(executed).bytes.data());
  }
  TModuleSettings settings;
  CVantrelLog log("", settings);

  int formed = 0;
  const DL::Bench::TTiming timing = DL::Bench::Measure(kRuns, [&] {
    COrderStore store;
    CClosingFormation formation(store, book, closing, TFormulaModes(), log);
    formed = 0;
    for (const auto& client : clients) formed += formation.PrepareWhenMissed(*client, pattern);
  });
  std::printf("closing orders formed for %d clients x %d positions: %d lines\n", kClients, kPositionsPerClient,
              formed);
  std::printf("whole table: best %.2f ms, median %.2f ms; per client: best %.1f us, median %.1f us\n",
              timing.bestMs, timing.medianMs, timing.bestMs * 1000.0 / kClients,
              timing.medianMs * 1000.0 / kClients);
  std::printf("target: whole table under %.0f ms: %s\n", kTargetMs, timing.medianMs < kTargetMs ? "met" : "MISSED");
  return 0;
}
