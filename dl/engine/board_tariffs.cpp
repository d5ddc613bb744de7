#include "dl/engine/board_tariffs.h"

#include <algorithm>

#include "dl/engine/built_in_boards.h"
#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

const char kDefault[] = "DEFAULT";

bool Contains(const std::vector<std::string>& list, const std::string& code) {
  return std::find(list.begin(), list.end(), code) != list.end();
}

std::unique_ptr<ABoardTariff> MakeBuiltInTariff(const TBuiltInBoard& board,
                                                const TOverrideRates& overrides, bool minimumFee,
                                                double clearing) {
  const double* a = board.Args;
  switch (board.Class) {
    case TTariffClass::kNormal:
      return std::make_unique<TNormalTariff>(a[0], a[1], a[2], overrides, minimumFee);
    case TTariffClass::kDarkPool:
      return std::make_unique<TDarkPool>(overrides, minimumFee);
    case TTariffClass::kBondsAtNegot:
      return std::make_unique<TBondsAtNegot>(overrides, minimumFee);
    case TTariffClass::kBonds:
      return std::make_unique<TBondsTariff>(overrides, minimumFee);
    case TTariffClass::kOtherBonds:
      return std::make_unique<TOtherBondsTariff>(overrides, minimumFee);
    case TTariffClass::kSharesEuroBondsAtREPO:
      return std::make_unique<TSharesEuroBondsAtREPO>(clearing, overrides);
    case TTariffClass::kModifiedREPO:
      return std::make_unique<TModifiedREPO>(overrides);
    case TTariffClass::kGZBSharesBondsAtMain:
      return std::make_unique<TGZBSharesBondsAtMain>(overrides);
    case TTariffClass::kGZBBondsAtNegot:
      return std::make_unique<TGZBBondsAtNegot>(overrides);
    case TTariffClass::kGZBBondsAtREPO:
      return std::make_unique<TGZBBondsAtREPO>(overrides);
    case TTariffClass::kExchangeREPO:
      return std::make_unique<TExchangeREPO>(a[0], a[1], a[2], a[3], a[4], a[5], overrides);
  }
  return nullptr;
}

}  // namespace

TCommissionRates ReadCommissionSection(const TIniFile& ini, const std::string& section) {
  TCommissionRates rates;
  for (const auto& [key, value] : ini.ReadSection(ToUpperCopy(section))) {
    rates[ToUpperCopy(key)] = TextToDouble(value);
  }
  return rates;
}

TOverrideRates GetBoardCommissionOverrides(const std::string& board, const TCommissionRates& ts,
                                           const TCommissionRates& org,
                                           const TCommissionRates& clearing) {
  const std::string code = ToUpperCopy(board);
  auto rate = [&code](const TCommissionRates& rates) {
    auto found = rates.find(code);
    return found == rates.end() ? -1.0 : found->second;
  };
  return TOverrideRates{rate(ts), rate(org), rate(clearing)};
}

bool IsMinTsCommClass(const char* code, const std::vector<std::string>& minTsCommClasses,
                      const std::vector<std::string>& ignoreMinTsCommForClasses) {
  if (code == nullptr) return false;
  const std::string text(code);
  return Contains(minTsCommClasses, text) && !Contains(ignoreMinTsCommForClasses, text);
}

void TBoardTariffs::Build(const TIniFile& ini, const std::vector<std::string>& minTsCommClasses,
                          const std::vector<std::string>& ignoreMinTsCommForClasses) {
  tariffs_.clear();
  const double ts = ini.ReadFloat("COMMISSION", "TS", 0.0105);
  const double org = ini.ReadFloat("COMMISSION", "ORG", 0.0);
  const double clearing = ini.ReadFloat("COMMISSION", "CLEARING", 0.0);
  const TCommissionRates boardRates = ReadCommissionSection(ini, "BOARDCOMMISSION");
  const TCommissionRates orgRates = ReadCommissionSection(ini, "ORGCOMMISSION");
  const TCommissionRates clearingRates = ReadCommissionSection(ini, "CLEARINGCOMMISSION");

  tariffs_[kDefault] = std::make_unique<TNormalTariff>(ts, org, clearing, TOverrideRates{}, false);

  for (std::size_t i = 0; i < kBuiltInBoardCount; ++i) {
    const TBuiltInBoard& board = kBuiltInBoards[i];
    const TOverrideRates overrides =
        GetBoardCommissionOverrides(board.Code, boardRates, orgRates, clearingRates);
    const bool minimumFee =
        IsMinTsCommClass(board.Code, minTsCommClasses, ignoreMinTsCommForClasses);
    tariffs_[board.Code] = MakeBuiltInTariff(board, overrides, minimumFee, clearing);
  }

  // Boards that only the override sections name: each component is the
  // board's value in its own section, else the [COMMISSION] rate.
  std::map<std::string, TFeeRates> namedOnly;
  for (const auto& [code, rate] : boardRates) namedOnly[code] = TFeeRates{rate, org, clearing};
  for (const auto& [code, rate] : orgRates) {
    auto found = namedOnly.find(code);
    namedOnly[code] = TFeeRates{found == namedOnly.end() ? ts : found->second.Ts, rate, clearing};
  }
  for (const auto& [code, rate] : clearingRates) {
    auto found = namedOnly.find(code);
    namedOnly[code] = found == namedOnly.end()
                          ? TFeeRates{ts, org, rate}
                          : TFeeRates{found->second.Ts, found->second.Org, rate};
  }
  for (const auto& [code, rates] : namedOnly) {
    if (Has(code)) continue;
    tariffs_[code] = std::make_unique<TNormalTariff>(rates.Ts, rates.Org, rates.Clearing,
                                                     TOverrideRates{}, false);
  }

  for (const std::string& entry : minTsCommClasses) {
    if (Contains(ignoreMinTsCommForClasses, entry)) continue;
    const std::string code = ToUpperCopy(entry);
    if (Has(code)) continue;
    tariffs_[code] = std::make_unique<TNormalTariff>(ts, org, clearing, TOverrideRates{}, true);
  }
}

const ABoardTariff* TBoardTariffs::GetBoardTariff(const char* board) const {
  auto found = tariffs_.find(board == nullptr ? std::string() : std::string(board));
  if (found != tariffs_.end()) return found->second.get();
  found = tariffs_.find(kDefault);
  return found == tariffs_.end() ? nullptr : found->second.get();
}

}  // namespace DL
