// Native benchmark: our parse of a full-size broker settings text plus the
// DEFAULT portfolio risk configuration lookup, against SimpleIni's load of
// the same text.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_timing.h"
#include "dl/engine/portfolio_risk_configs.h"
#include "dl/store/ini_file.h"
#include "bench/support/broker_settings_generator.h"

#ifdef VANTREL_HAVE_SIMPLEINI
#include <SimpleIni.h>
#endif

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
  const std::string text = DL::Testing::GenerateBrokerSettings(DL::Testing::kMaxBrokerSettingsSize);
  std::printf("settings text: %zu characters, %d runs each\n", text.size(), runs);

  std::string boardTag;
  DL::Bench::TTiming ours = DL::Bench::Measure(runs, [&] {
    DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1);
    DL::TPortfolioRiskConfigs configs;
    configs.LoadPortfolioRiskConfigs(ini);
    boardTag = configs.GetPortfolioRiskConfig("", nullptr)->BOARDTAG;
  });
  DL::Bench::Report("DL::TIniFile parse + DEFAULT config lookup", text.size(), ours);
  DL::Bench::TTiming parseOnly = DL::Bench::Measure(runs, [&] {
    DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1);
  });
  DL::Bench::Report("DL::TIniFile parse alone", text.size(), parseOnly);
  if (boardTag != "TQBR") {
    std::fprintf(stderr, "unexpected board tag %s\n", boardTag.c_str());
    return 1;
  }

#ifdef VANTREL_HAVE_SIMPLEINI
  std::string simpleTag;
  DL::Bench::TTiming simple = DL::Bench::Measure(runs, [&] {
    CSimpleIniA ini(false, false, false);
    ini.LoadData(text.data(), text.size());
    simpleTag = ini.GetValue("PORTFOLIORISKCONFIG", "BOARDTAG", "");
  });
  DL::Bench::Report("SimpleIni LoadData + one GetValue", text.size(), simple);
  if (simpleTag != "TQBR") {
    std::fprintf(stderr, "SimpleIni read the board tag %s\n", simpleTag.c_str());
    return 1;
  }
  std::printf("ratio SimpleIni / ours (best times): %.2f\n", simple.bestMs / ours.bestMs);
  std::printf("target: ours at most 20 ms (%s), at least 4 times faster than SimpleIni (%s)\n",
              ours.bestMs <= 20.0 ? "met" : "MISSED",
              simple.bestMs >= 4.0 * ours.bestMs ? "met" : "MISSED");
#else
  std::printf("SimpleIni not found (Debian package libsimpleini-dev): no comparison\n");
#endif
  return 0;
}
