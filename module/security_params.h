// Named parameters that the host quotes for a security (quotes, deposit
// requirements, cross rates, the trading state). A value the host does not
// give is 0.0.
#pragma once

#include <cstdint>

double GetBidPrice(const uint8_t* security);
double GetOfferPrice(const uint8_t* security);
double GetTheorPrice(const uint8_t* security);
double GetStepPriceT(const uint8_t* security);
double GetDepoRequirement(const uint8_t* security, bool buy);
// "last", or "prevprice" while there has been no trade today.
double GetLastPrice(const uint8_t* security);

// The same by the security's index in its own class; -1 asks nothing and
// gives 0.0.
double QuotedParameter(int securityIndex, const char* name);
double QuotedLastPrice(int securityIndex);

// Rate of the security's currency against "SUR"; 1.0 when the host has no
// rate to convert with.
double GetCrossRate(const uint8_t* security);

// True while some security reports its class state "clstate" as 2 or 4; the
// recalculation does not run then.
bool HasClassInBlockedState();
