// Arbitrary settings texts through the reader and the facade. What the
// reader holds, written out as a text again, must read back the same, and
// every key it lists must be found again. The facade must answer queries
// about every client, name and key the text holds without a fault (the
// sanitizers watch), its answers about a client no section names must not
// depend on what was asked before, and no coefficient may be NaN.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dl/engine/settings_facade.h"
#include "dl/store/ini_file.h"
#include "dl/support/ini_dump.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string NeutralAnswers(DL::TSettingsFacade& facade) {
  const char* client = "\x7f NO SUCH CLIENT";
  const DL::TClientCommSettings settings = facade.GetClientCommissionSettings(client, "TQBR");
  std::string answers = std::to_string(settings.CommissionType) + "/" +
                        std::to_string(settings.BrokerCommission) + "/" +
                        std::to_string(facade.GetRstrNmBuy(client, -1.0, 0)) +
                        std::to_string(facade.GetUseDiscountsType(client, "SUR", 0, -1.0));
  double coefficients[4];
  facade.ComputeRestrictionCoefficient(client, "SUR", 0, -1.0, 50.0, 0, 0, coefficients);
  for (double value : coefficients) {
    Check(!std::isnan(value));
    answers += "/" + std::to_string(value);
  }
  return answers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char comment = data[0] % 4 == 0 ? '#' : ';';  // the first byte picks it
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, comment, 1);
  const std::string dump = DL::Testing::DumpIni(ini);
  const DL::TIniFile again(dump.c_str(), DL::TIniFile::kSourceText, comment, 1);
  Check(DL::Testing::DumpIni(again) == dump);
  for (const std::string& name : ini.GetSectionNames()) {
    Check(ini.SectionExists(name));
    for (const auto& [key, value] : ini.ReadSection(name))
      Check(ini.ReadString(name, key, "\x01") == value);
  }

  DL::TSettingsFacade facade(text.c_str(), 2, data[0] % 2 == 0);
  const std::string neutral = NeutralAnswers(facade);
  // Client codes, configuration names and keys taken from the text.
  for (const std::string& name : ini.GetSectionNames()) {
    const std::string code = name.size() > 2 ? name.substr(2, name.find('_', 2) - 2) : name;
    for (double leverage : {-1.0, 2.0, std::nan("")}) {
      double coefficients[4];
      facade.ComputeRestrictionCoefficient(code.c_str(), "SBER", 1, leverage, 30.0, 0, 0, coefficients);
      for (double value : coefficients) Check(!std::isnan(value));
      facade.IsLimitAllowedSecurity(code.c_str(), leverage, "TQBR", "SBER", 2);
    }
    facade.GetClientBoardList("TQBR", code.c_str());
    facade.GetCurrencyCoefficient(code.c_str(), "USD");
    const std::string config = name.size() > 20 ? name.substr(20) : "";
    for (const auto& [key, value] : ini.ReadSection(name)) {
      const DL::TPortfolioRiskConfig record = facade.GetPortfolioRiskConfig(config.c_str(), key.c_str());
      Check(record.BOARDTAG[DL::kConfigTextSize - 1] == '\0');
      facade.IsSameCommonTrdAccGroup(key.c_str(), value.c_str(), value.c_str(), key.c_str());
      facade.ResolveSubClient(value.c_str());
    }
  }
  Check(NeutralAnswers(facade) == neutral);
  return 0;
}
