// What one recalculation pass reads of the host's market, each fact asked
// once: the class records, the security a position names, and the kind and
// quotes of each security the positions hold. The pass runs on the host's
// user-interface thread, so nothing it reads changes under it; a new pass
// starts with a new object and asks afresh.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

class CPassMarketFacts {
 public:
  // Positions are looked up in the classes whose flags hold every bit of the mask.
  explicit CPassMarketFacts(uint32_t positionClassMask) : m_positionClassMask(positionClassMask) {}

  // The security a position names, as FindSecurityInClasses finds it with
  // the position class mask; null when there is none.
  const uint8_t* FindSecurity(const std::string& code);

  // As IsOptionClass, GetStepPriceT, GetLastPrice, GetBidPrice, GetOfferPrice
  // and GetTheorPrice answer for the security (which must not be null).
  bool IsOptionClass(const uint8_t* security);
  double StepPrice(const uint8_t* security) { return Quote(security, kStepPrice); }
  double LastPrice(const uint8_t* security) { return Quote(security, kLast); }
  double Bid(const uint8_t* security) { return Quote(security, kBid); }
  double Offer(const uint8_t* security) { return Quote(security, kOffer); }
  double TheorPrice(const uint8_t* security) { return Quote(security, kTheorPrice); }

 private:
  enum QuoteKind { kStepPrice, kLast, kBid, kOffer, kTheorPrice, kQuoteKinds };
  struct Known {
    bool known = false;
    double value = 0.0;
  };
  struct SecurityFacts {
    bool optionClassKnown = false;
    bool optionClass = false;
    bool indexKnown = false;
    int index = -1;  // in its own class, where the host quotes it
    Known quotes[kQuoteKinds];
  };

  SecurityFacts& FactsOf(const uint8_t* security);
  int ClassCount();
  const uint8_t* ClassRecord(int classIndex);
  int SecurityIndex(const char* code, int classIndex);
  const uint8_t* SecurityRecord(int securityIndex);
  double Quote(const uint8_t* security, QuoteKind kind);

  uint32_t m_positionClassMask;
  bool m_classCountKnown = false;
  int m_classCount = 0;
  std::unordered_map<int, const uint8_t*> m_classRecords;  // by class index
  std::map<std::pair<std::string, int>, int> m_securityIndices;  // by code and class index
  std::unordered_map<int, const uint8_t*> m_securityRecords;     // by security index
  std::unordered_map<std::string, const uint8_t*> m_positionSecurities;
  std::unordered_map<const uint8_t*, SecurityFacts> m_facts;  // entries stay where they are
  const uint8_t* m_lastSecurity = nullptr;
  SecurityFacts* m_lastFacts = nullptr;
};
