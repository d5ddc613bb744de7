#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dl/engine/board_tariff.h"

namespace DL {

class TIniFile;

// Upper-cased key -> rate, read from one commission section.
using TCommissionRates = std::map<std::string, double>;

// The tariff of every board: the DEFAULT tariff from [COMMISSION], the
// built-in boards with the broker's override rates, the boards that only the
// override sections name, and the minimum-fee boards. Filled once, then only
// read; the tariffs live as long as this object.
class TBoardTariffs {
 public:
  using TMap = std::map<std::string, std::unique_ptr<ABoardTariff>>;

  TBoardTariffs() = default;
  TBoardTariffs(const TBoardTariffs&) = delete;
  TBoardTariffs& operator=(const TBoardTariffs&) = delete;

  void Build(const TIniFile& ini, const std::vector<std::string>& minTsCommClasses,
             const std::vector<std::string>& ignoreMinTsCommForClasses);

  // The board's own tariff (exact code), else DEFAULT. Never null once built.
  const ABoardTariff* GetBoardTariff(const char* board) const;
  const TMap& Tariffs() const { return tariffs_; }

 private:
  bool Has(const std::string& code) const { return tariffs_.count(code) != 0; }

  TMap tariffs_;
};

TCommissionRates ReadCommissionSection(const TIniFile& ini, const std::string& section);
TOverrideRates GetBoardCommissionOverrides(const std::string& board, const TCommissionRates& ts,
                                           const TCommissionRates& org,
                                           const TCommissionRates& clearing);
// The code is one of the minimum-fee classes and none of the ignored ones
// (exact comparison).
bool IsMinTsCommClass(const char* code, const std::vector<std::string>& minTsCommClasses,
                      const std::vector<std::string>& ignoreMinTsCommForClasses);

}  // namespace DL
