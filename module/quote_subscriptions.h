// Asks the host to deliver the quote parameters the recalculation reads, for
// every security of the derivatives classes (the module does this when the
// host asks it for its quote parameters).
#pragma once

void SubscribeQuoteParams();
