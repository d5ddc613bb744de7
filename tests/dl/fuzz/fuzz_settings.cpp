// Arbitrary settings texts through the reader and the facade. What the
// reader holds, written out as a text again, must read back the same. The
// facade must answer about every client the section names suggest without a
// fault (the sanitizers watch); its answers about a client no section names
// must not depend on what was asked before, and no coefficient may be NaN.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dl/engine/settings_facade.h"
#include "dl/store/ini_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Dump(const DL::TIniFile& ini) {
  std::string dump;
  for (const std::string& name : ini.GetSectionNames()) {
    dump += "[" + name + "]\n";
    for (const auto& [key, value] : ini.ReadSection(name)) dump += key + "=" + value + "\n";
  }
  return dump;
}

std::string Answers(DL::TSettingsFacade& facade, const char* client) {
  double coefficients[4];
  facade.ComputeRestrictionCoefficient(client, "SBER", 1, 2.0, 30.0, 0, 0, coefficients);
  std::string answers = std::to_string(facade.GetClientCommissionSettings(client, "TQBR").BrokerCommission) +
                        std::to_string(facade.GetRstrNmBuy(client, -1.0, 0)) + facade.GetPortfolioRiskConfig(client, client).BOARDTAG;
  for (double value : coefficients) answers += "/" + std::to_string(value);
  Check(answers.find("nan") == std::string::npos);
  return answers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char comment = data[0] % 4 == 0 ? '#' : ';';  // the first byte picks it
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, comment, 1);
  const std::string dump = Dump(ini);
  Check(Dump(DL::TIniFile(dump.c_str(), DL::TIniFile::kSourceText, comment, 1)) == dump);

  DL::TSettingsFacade facade(text.c_str(), 2, data[0] % 2 == 0);
  const std::string neutral = Answers(facade, "\x7f NO SUCH CLIENT");
  for (const std::string& name : ini.GetSectionNames())
    Answers(facade, name.substr(name.size() > 2 ? 2 : 0, name.find('_', 2) - 2).c_str());
  Check(Answers(facade, "\x7f NO SUCH CLIENT") == neutral);
  return 0;
}
