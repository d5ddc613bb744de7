#pragma once

#include <cstddef>

namespace DL {

enum class TTariffClass {
  kNormal,
  kDarkPool,
  kBondsAtNegot,
  kBonds,
  kOtherBonds,
  kSharesEuroBondsAtREPO,
  kModifiedREPO,
  kGZBSharesBondsAtMain,
  kGZBBondsAtNegot,
  kGZBBondsAtREPO,
  kExchangeREPO,
};

// A board whose tariff is built in: its class and, for the classes that take
// them, the rates (TS, ORG, CLEARING) and, for exchange REPO, the three
// minimum fees.
struct TBuiltInBoard {
  const char* Code;
  TTariffClass Class;
  double Args[6];
};

// In build order.
extern const TBuiltInBoard kBuiltInBoards[];
extern const std::size_t kBuiltInBoardCount;

}  // namespace DL
