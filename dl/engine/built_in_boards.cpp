#include "dl/engine/built_in_boards.h"

namespace DL {
namespace {

constexpr TTariffClass kNormal = TTariffClass::kNormal;
constexpr TTariffClass kOtherBonds = TTariffClass::kOtherBonds;
constexpr TTariffClass kBonds = TTariffClass::kBonds;
constexpr TTariffClass kBondsAtNegot = TTariffClass::kBondsAtNegot;
constexpr TTariffClass kModifiedREPO = TTariffClass::kModifiedREPO;
constexpr TTariffClass kExchangeREPO = TTariffClass::kExchangeREPO;
constexpr TTariffClass kGZBMain = TTariffClass::kGZBSharesBondsAtMain;
constexpr TTariffClass kGZBREPO = TTariffClass::kGZBBondsAtREPO;

}  // namespace

// Shares, and the two exchange REPO rate sets: rates TS, ORG, CLEARING and
// minimum fees TS, ORG, CLEARING.
#define SHARES {0.0025, 0.0035, 0.004}
#define RPM_REPO {3.6e-05, 3.6e-05, 0.000168, 30.0, 30.0, 140.0}
#define EQRP_REPO {7.5e-05, 7.5e-05, 0.00035, 30.0, 30.0, 140.0}

const TBuiltInBoard kBuiltInBoards[] = {
    {"EQCC", kNormal, SHARES},
    {"PSCC", kNormal, SHARES},
    {"EQOC", kNormal, {0.006, 0.0065, 0.0065}},
    {"PSOC", kNormal, {0.006, 0.0065, 0.0065}},
    {"PSI2", kNormal, SHARES},
    {"PSDE", kNormal, SHARES},
    {"RPCC", kModifiedREPO, {}},
    {"RPOC", kModifiedREPO, {}},
    {"EQBR", kNormal, SHARES},
    {"EQBS", kNormal, SHARES},
    {"EQNE", kNormal, SHARES},
    {"EQNL", kNormal, SHARES},
    {"SMAL", kNormal, SHARES},
    {"EQLV", kNormal, SHARES},
    {"EQLI", kNormal, SHARES},
    {"PSEQ", kNormal, SHARES},
    {"PSES", kNormal, SHARES},
    {"PSNE", kNormal, SHARES},
    {"PSNL", kNormal, SHARES},
    {"PSLV", kNormal, SHARES},
    {"PSLI", kNormal, SHARES},
    {"EQEU", kNormal, SHARES},
    {"PSEU", kNormal, SHARES},
    {"EQQI", kNormal, SHARES},
    {"EQDE", kNormal, SHARES},
    {"PSQI", kNormal, SHARES},
    {"OQQI", kOtherBonds, {}},
    {"PSQI_BND", kOtherBonds, {}},
    {"TQBR", kNormal, SHARES},
    {"TQBS", kNormal, SHARES},
    {"TQNE", kNormal, SHARES},
    {"TQNL", kNormal, SHARES},
    {"TQLV", kNormal, SHARES},
    {"TQLI", kNormal, SHARES},
    {"TQQI", kNormal, SHARES},
    {"TQEU", kNormal, SHARES},
    {"TQNB", kBonds, {}},
    {"TQNO", kBonds, {}},
    {"TQOB", kBonds, {}},
    {"TQOS", kBonds, {}},
    {"TQOV", kBonds, {}},
    {"TQUS", kOtherBonds, {}},
    {"EQDP", TTariffClass::kDarkPool, {}},
    {"EQNB", kBonds, {}},
    {"EQNO", kBonds, {}},
    {"EQOB", kBonds, {}},
    {"EQOS", kBonds, {}},
    {"EQOV", kBonds, {}},
    {"GAZP", kBonds, {}},
    {"EQDB", kOtherBonds, {}},
    {"PSDB", kOtherBonds, {}},
    {"EQUS", kOtherBonds, {}},
    {"PSUS", kOtherBonds, {}},
    {"PSNB", kBondsAtNegot, {}},
    {"PSNO", kBondsAtNegot, {}},
    {"PSOB", kBondsAtNegot, {}},
    {"PSOS", kBondsAtNegot, {}},
    {"PSOV", kBondsAtNegot, {}},
    {"RPEQ", TTariffClass::kSharesEuroBondsAtREPO, {}},
    {"RPEU", TTariffClass::kSharesEuroBondsAtREPO, {}},
    {"RPMA", kExchangeREPO, RPM_REPO},
    {"RPMO", kExchangeREPO, RPM_REPO},
    {"EQRP", kExchangeREPO, EQRP_REPO},
    {"PSRP", kExchangeREPO, EQRP_REPO},
    {"EQRP_BND", kExchangeREPO, EQRP_REPO},
    {"PSRP_BND", kExchangeREPO, EQRP_REPO},
    {"RPQI", kModifiedREPO, {}},
    {"RPQI_BND", kModifiedREPO, {}},
    {"MAIN", kGZBMain, {}},
    {"MAIC", kGZBMain, {}},
    {"SES2", kGZBMain, {}},
    {"BOBR", kGZBMain, {}},
    {"EXRP", kGZBMain, {}},
    {"NEGD", TTariffClass::kGZBBondsAtNegot, {}},
    {"RPCB", kGZBREPO, {}},
    {"RPCD", kGZBREPO, {}},
    {"RPDD", kGZBREPO, {}},
    {"RPFB", kGZBREPO, {}},
    {"RPFD", kGZBREPO, {}},
    {"RPFG", kGZBREPO, {}},
    {"RPNG", kGZBREPO, {}},
    {"AUCT", kOtherBonds, {}},
    {"AUBB", kOtherBonds, {}},
    {"PSAU", kOtherBonds, {}},
    {"PSSU", kOtherBonds, {}},
    {"PSBB", kOtherBonds, {}},
    {"AUCT_BND", kOtherBonds, {}},
};

#undef SHARES
#undef RPM_REPO
#undef EQRP_REPO

const std::size_t kBuiltInBoardCount = sizeof kBuiltInBoards / sizeof kBuiltInBoards[0];

}  // namespace DL
