#include "dl/engine/portfolio_risk_config.h"

#include <cstring>

namespace DL {

const char* const PortfolioRiskConfigKeys[kPortfolioRiskConfigKeyCount + 1] = {
    "PRICESCANRANGETYPE",
    "PRICESCANRANGE",
    "VOLATILITYTYPE",
    "ORDERLIMITATIONMODE",
    "IGNORENEARESTCONTRACTS",
    "VOLATILITY",
    "VOLATILITYCHANGE",
    "RISKFREERATE",
    "MINSHORTOPTIONSIM",
    "FUTURESLIQUIDITYFACTOR",
    "KGO",
    "OPTIONDELTATYPE",
    "SPREAD_T1_T1",
    "SPREAD_T2_T2",
    "SPREAD_T3_T3",
    "SPREAD_T1_T2",
    "SPREAD_T1_T3",
    "SPREAD_T2_T3",
    "SPREAD_SPT_FUT",
    "SPREAD_SPT_OPT",
    "SPREAD_FUT_OPT",
    "BOUNDARYIMPLIEDRISK",
    "ADDBASEASSETS",
    "ORDERKGO",
    "RESTRICTOPTIONORDERMARGIN",
    "RESTRICTMAXVOLATILITY",
    "VOLATILITYSLOPE_LONG_CALL",
    "VOLATILITYSLOPE_SHORT_CALL",
    "VOLATILITYSLOPE_LONG_PUT",
    "VOLATILITYSLOPE_SHORT_PUT",
    "SPOTVARMARGINPOS",
    "SPOTVARMARGINNEG",
    "USESPOTNETTING",
    "MAINBASEASSET",
    "EXPIRATIONMATDATETERM",
    "",
};

void CopyConfigText(char (&field)[kConfigTextSize], const std::string& text) {
  std::size_t length = text.size() < kConfigTextSize - 1 ? text.size() : kConfigTextSize - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace DL
