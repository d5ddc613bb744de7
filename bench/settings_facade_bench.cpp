// Native benchmark of the module's road through the library: a facade built
// over the full-size broker settings text (mode 2, locking on), the DEFAULT
// portfolio risk configuration asked twice, the facade destroyed; against the
// bare parse of the same text in the same run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_timing.h"
#include "dl/engine/settings_facade.h"
#include "dl/store/ini_file.h"
#include "bench/support/broker_settings_generator.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
  const std::string text = DL::Testing::GenerateBrokerSettings(DL::Testing::kMaxBrokerSettingsSize);
  std::printf("settings text: %zu characters, %d runs each\n", text.size(), runs);

  std::string boardTag;
  std::string currency;
  DL::Bench::TTiming road = DL::Bench::Measure(runs, [&] {
    DL::TSettingsFacade facade(text.c_str(), 2, true);
    boardTag = facade.GetPortfolioRiskConfig("", nullptr).BOARDTAG;
    currency = facade.GetPortfolioRiskConfig("", nullptr).CURRENCY;
  });
  DL::Bench::Report("facade + DEFAULT config twice + destroy", text.size(), road);
  DL::Bench::TTiming parse = DL::Bench::Measure(
      runs, [&] { DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1); });
  DL::Bench::Report("DL::TIniFile parse alone", text.size(), parse);
  if (boardTag != "TQBR" || currency.empty()) {
    std::fprintf(stderr, "unexpected configuration %s %s\n", boardTag.c_str(), currency.c_str());
    return 1;
  }
  const double ratio = road.bestMs / parse.bestMs;
  std::printf("ratio facade road / bare parse (best times): %.2f\n", ratio);
  std::printf("target: road at most 40 ms (%s), at most 2 times the parse (%s)\n",
              road.bestMs <= 40.0 ? "met" : "MISSED", ratio <= 2.0 ? "met" : "MISSED");
  return 0;
}
