// The facade over an arbitrary settings text, driven by a script of random
// queries taken from the same input. Nothing may crash, the answers for a
// client without settings must not change while other clients are asked
// about, and every pointer handed out must stay readable until the facade is
// destroyed (or reloaded).
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dl/engine/settings_facade.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads every byte a pointer result shows, so AddressSanitizer sees a stale
// one.
std::size_t Touch(const char* text) { return text ? std::string(text).size() : 0; }
std::size_t Touch(const std::vector<std::string>* list) {
  std::size_t total = 0;
  for (const std::string& item : *list) total += item.size();
  return total;
}

// What the facade answers for a client that no section names; it must not
// depend on what was asked before.
std::string NeutralAnswers(DL::TSettingsFacade& facade) {
  const char* client =
      "\x7f"
      "NO SUCH CLIENT";
  std::string answers;
  const DL::TClientCommSettings settings = facade.GetClientCommissionSettings(client, "TQBR");
  answers += std::to_string(settings.CommissionType) + "/" +
             std::to_string(settings.BrokerCommission) + "/" +
             std::to_string(settings.TradeCommission) + "/";
  answers += std::to_string(facade.GetRstrNmBuy(client, -1.0, 0)) +
             std::to_string(facade.GetNegativeMoneyToShort(client, -1.0, 0, nullptr)) +
             std::to_string(facade.GetUseDiscountsType(client, "SUR", 0, -1.0)) +
             std::to_string(facade.GetClientSecurityFlag(client)) +
             std::to_string(facade.GetCurrencyCoefficient(client, "USD"));
  for (const std::string& name : facade.GetDiscountSecurities(client, 0, -1.0)) answers += name;
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
  FuzzedDataProvider input(data, size);
  const std::string text = input.ConsumeRandomLengthString(4096);
  const bool locking = input.ConsumeBool();
  DL::TSettingsFacade facade(text.c_str(), 2, locking);
  const char* currentText = text.c_str();

  // Names to ask about: a few fixed ones and pieces of the input.
  // A deque: a name handed out stays put while more are added.
  std::deque<std::string> names = {"", "DEFAULT", "TQBR", "SUR", "USD", "C1", "A", "K"};
  std::vector<std::function<std::size_t()>> readers;
  auto name = [&]() -> const char* {
    if (input.ConsumeIntegralInRange(0, 15) == 0) return nullptr;
    if (input.ConsumeIntegralInRange(0, 3) == 0)
      names.push_back(input.ConsumeRandomLengthString(16));
    return names[input.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)].c_str();
  };
  auto leverage = [&]() {
    switch (input.ConsumeIntegralInRange(0, 3)) {
      case 0:
        return -1.0;
      case 1:
        return static_cast<double>(input.ConsumeIntegralInRange(0, 5));
      default:
        return input.ConsumeFloatingPoint<double>();
    }
  };
  auto kind = [&]() { return input.ConsumeIntegralInRange(-1, 4); };

  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
    switch (input.ConsumeIntegralInRange(0, 19)) {
      case 0: {
        const char* result = facade.GetChangedClientCode(name());
        readers.push_back([result] { return Touch(result); });
        const char* back = facade.ResolveSubClient(name());
        readers.push_back([back] { return Touch(back); });
        break;
      }
      case 1: {
        const std::vector<std::string>* list = facade.FindAddNonMarginalBoard(name());
        readers.push_back([list] { return Touch(list); });
        const std::vector<std::string>* keyed = facade.GetKeyedList(name());
        readers.push_back([keyed] { return Touch(keyed); });
        break;
      }
      case 2: {
        const DL::ABoardTariff* tariff = facade.GetBoardTariff(name());
        Check(tariff != nullptr);
        readers.push_back([tariff] {
          double fees[3];
          tariff->CalcFees(fees, 1e6, 3, 200);
          return static_cast<std::size_t>(fees[0] >= 0.0);
        });
        break;
      }
      case 3: {
        const DL::TCorrelationEntry* entry =
            facade.FindCorrelationByName(name(), name(), leverage(), kind());
        readers.push_back([entry] { return entry ? entry->Name.size() + entry->Code1.size() : 0; });
        break;
      }
      case 4: {
        const DL::TSecurityWeight* weight =
            facade.FindSecurityWeight(name(), leverage(), name(), kind());
        readers.push_back(
            [weight] { return weight ? static_cast<std::size_t>(weight->W1 > 0) : 0; });
        break;
      }
      case 5: {
        const char* group = facade.GetBaseAssetGroup(name(), name());
        readers.push_back([group] { return Touch(group); });
        facade.GetBaseAssetCoefficient(name(), name());
        break;
      }
      case 6: {
        const std::vector<std::string>* tail = facade.GetClientSecurityRecordTail(name());
        readers.push_back([tail] { return Touch(tail); });
        const char* currency = facade.FindClientCurrencyEntry(name(), name());
        readers.push_back([currency] { return Touch(currency); });
        break;
      }
      case 7:
        facade.GetClientCommissionSettings(name(), name());
        facade.GetClientBoardList(name(), name());
        break;
      case 8: {
        double out[4];
        facade.ComputeRestrictionCoefficient(
            name(), name(), kind(), leverage(), input.ConsumeFloatingPoint<double>(),
            input.ConsumeIntegral<std::int64_t>(), input.ConsumeIntegral<std::int64_t>(), out);
        for (double value : out) Check(!std::isnan(value));
        break;
      }
      case 9:
        facade.IsAssetSecurity(name(), leverage(), name(), name(), kind());
        facade.IsLimitAllowedSecurity(name(), leverage(), name(), name(), kind());
        facade.IsRestShortSecurity(name(), leverage(), name(), name(), kind());
        break;
      case 10:
        facade.GetNegativeMoneyToShort(name(), leverage(), kind(), name());
        facade.HasAssetLists(name(), leverage(), kind());
        facade.GetDiscountSecurities(name(), kind(), leverage());
        facade.GetIncludeClientsWithLeverage(name(), kind(), leverage());
        break;
      case 11:
        facade.CheckSecurityRestriction(name(), name(), name(), name());
        facade.FindSecurityRestriction(name(), name());
        facade.GetCurrencyCoefficient(name(), name());
        break;
      case 12:
        facade.IsSameCommonTrdAccGroup(name(), name(), name(), name());
        facade.IsClientBoardAllowed(name(), name());
        facade.IsInKeyedSet(name(), name());
        break;
      case 13: {
        const char* group = facade.GetCommonTrdAccGroupName(name(), name());
        readers.push_back([group] { return Touch(group); });
        const char* board = facade.FindSecToBoard(name());
        readers.push_back([board] { return Touch(board); });
        break;
      }
      case 14: {
        const DL::TMarginalZadolgEntry* entry = facade.FindAddMarketMarginalZadolg(name());
        readers.push_back([entry] { return entry ? (*entry)[0].size() : 0; });
        facade.GetClientLag(name());
        facade.GetClassLimitKind(name());
        break;
      }
      case 15: {
        const DL::TPortfolioRiskConfig config = facade.GetPortfolioRiskConfig(name(), name());
        Check(config.BOARDTAG[DL::kConfigTextSize - 1] == '\0');
        break;
      }
      case 16: {
        facade.IsItemInCommaList(name(), name());
        facade.IsMainMarginClass(name());
        facade.UseTsCommForTrade(name());
        facade.CheckAllowedSecurity(0, 0.0, name(), name(), 0);
        break;
      }
      case 17: {
        facade.Lock();
        facade.GetRstrNmBuy(name(), leverage(), kind());
        facade.Unlock();
        break;
      }
      case 18: {
        const char* main = facade.GetMainMarginClasses();
        readers.push_back([main] { return Touch(main); });
        const auto* tags = facade.GetTranOutTags();
        readers.push_back([tags] { return tags->size(); });
        break;
      }
      case 19: {
        // Pointers of the old engine are read before it goes.
        for (const auto& read : readers) read();
        readers.clear();
        currentText = input.ConsumeBool() ? text.c_str() : nullptr;
        facade.Reload(currentText, 2);
        break;
      }
    }
  }
  for (const auto& read : readers) read();
  // Whatever was asked before, a client without settings gets what a fresh
  // facade over the same text answers.
  DL::TSettingsFacade fresh(currentText, 2, false);
  Check(NeutralAnswers(facade) == NeutralAnswers(fresh));
  return 0;
}
