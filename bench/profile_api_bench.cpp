// Windows benchmark (run under Wine): the first GetPrivateProfileStringA on a
// full-size broker settings file, which makes the system read and parse the
// whole file, against our parse of the same text and of the same file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "dl/engine/portfolio_risk_configs.h"
#include "dl/store/ini_file.h"
#include "bench/support/broker_settings_generator.h"

namespace {

std::string FullPath(const std::string& name) {
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : name;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::string text = DL::Testing::GenerateBrokerSettings(DL::Testing::kMaxBrokerSettingsSize);
  std::printf("settings text: %u characters, %d runs each\n", static_cast<unsigned>(text.size()), runs);

  // The system keeps parsed profile files in a cache, so every timed call
  // gets a file of its own.
  std::vector<std::string> paths;
  for (int i = 0; i < runs; ++i) {
    paths.push_back(FullPath("bench_profile_" + std::to_string(i) + ".ini"));
    if (!WriteFile(paths.back(), text)) {
      std::fprintf(stderr, "cannot write %s\n", paths.back().c_str());
      return 1;
    }
  }

  std::string profileTag;
  int next = 0;
  DL::Bench::TTiming profile = DL::Bench::Measure(runs, [&] {
    char buffer[64] = "";
    GetPrivateProfileStringA("PORTFOLIORISKCONFIG", "BOARDTAG", "", buffer, sizeof buffer,
                             paths[next++].c_str());
    profileTag = buffer;
  });
  DL::Bench::Report("first GetPrivateProfileStringA on the file", text.size(), profile);

  std::string ourTag;
  DL::Bench::TTiming ours = DL::Bench::Measure(runs, [&] {
    DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1);
    DL::TPortfolioRiskConfigs configs;
    configs.LoadPortfolioRiskConfigs(ini);
    ourTag = configs.GetPortfolioRiskConfig("", nullptr)->BOARDTAG;
  });
  DL::Bench::Report("DL::TIniFile parse + DEFAULT config lookup", text.size(), ours);

  next = 0;
  DL::Bench::TTiming ourFile = DL::Bench::Measure(runs, [&] {
    DL::TIniFile ini(paths[next++].c_str(), DL::TIniFile::kSourceFile, ';', 1);
  });
  DL::Bench::Report("DL::TIniFile parse of the file", text.size(), ourFile);

  for (const std::string& path : paths) DeleteFileA(path.c_str());
  if (profileTag != "TQBR" || ourTag != "TQBR") {
    std::fprintf(stderr, "board tags differ: profile %s, ours %s\n", profileTag.c_str(),
                 ourTag.c_str());
    return 1;
  }
  std::printf("ratio GetPrivateProfileStringA / ours (best times): %.2f\n",
              profile.bestMs / ours.bestMs);
  return 0;
}
