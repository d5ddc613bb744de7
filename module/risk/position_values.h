// What one client position adds to the client's values, priced with the
// host's quotes of its security as the pass has them. Amounts are multiplied
// by 100.
#pragma once

#include <cstdint>

class CPassMarketFacts;

// The position's value that counts towards the cash leverage: for a
// derivative "steppricet" times the contracts' units, otherwise "steppricet"
// times the "last" price, for the size of the position, divided by the
// security's value divisor. A security without a divisor (0) or a null
// security adds nothing.
double CashLeverageAddend(CPassMarketFacts& market, const uint8_t* security, int32_t quantity);

// Which quote values an option position (the calculation setting
// OptValueParam): 1 the price the position closes at (offer for a short,
// bid for a long); otherwise the theoretical price weighed against the offer.
enum OptionValueParam : int { kOptionValueByBidOffer = 1 };

// The price of one contract by the quotes given: a short position
// (quantity < 0) by the offer or the smaller of offer and theoretical price
// that is quoted; a long one by the bid or the larger of offer and
// theoretical price.
double OptionLiquidationPrice(int32_t quantity, int optValueParam, double bid, double offer,
                              double theorPrice);

// price × quantity × 100 for a derivative outside the option classes; 0 for
// any other security.
double OptionLiquidationAddend(CPassMarketFacts& market, const uint8_t* security, int32_t quantity,
                               int optValueParam);
