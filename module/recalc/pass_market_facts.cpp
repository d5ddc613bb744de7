#include "module/recalc/pass_market_facts.h"

#include "module/market_records.h"
#include "module/security_params.h"
#include "sdk/host_call.h"
#include "sdk/host_record_fields.h"

namespace {
// By QuoteKind; "last" falls back to "prevprice" (QuotedLastPrice).
constexpr const char* kQuoteNames[] = {"steppricet", "last", "bid", "offer", "theorprice"};
}  // namespace

const uint8_t* CPassMarketFacts::FindSecurity(const std::string& code) {
  const auto known = m_positionSecurities.find(code);
  if (known != m_positionSecurities.end()) return known->second;
  const uint8_t* found = nullptr;
  const int count = m_positionClassMask == 0 ? 0 : ClassCount();
  for (int classIndex = 0; classIndex < count && found == nullptr; ++classIndex) {
    const uint8_t* classRecord = ClassRecord(classIndex);
    if (classRecord != nullptr &&
        host::record::ContainsMask(ClassFlagsOf(classRecord), m_positionClassMask))
      found = SecurityRecord(SecurityIndex(code.c_str(), classIndex));
  }
  m_positionSecurities.emplace(code, found);
  return found;
}

CPassMarketFacts::SecurityFacts& CPassMarketFacts::FactsOf(const uint8_t* security) {
  // A position's quotes are asked one after another.
  if (security != m_lastSecurity) {
    m_lastFacts = &m_facts[security];
    m_lastSecurity = security;
  }
  return *m_lastFacts;
}

bool CPassMarketFacts::IsOptionClass(const uint8_t* security) {
  SecurityFacts& facts = FactsOf(security);
  if (!facts.optionClassKnown) {
    facts.optionClass = IsDerivativeSecurity(security) &&
                        IsOptionClassOf(security, ClassRecord(SecurityClassIndexOf(security)));
    facts.optionClassKnown = true;
  }
  return facts.optionClass;
}

int CPassMarketFacts::ClassCount() {
  if (!m_classCountKnown) m_classCount = HostCall<32>(host::record::kClassKind);
  m_classCountKnown = true;
  return m_classCount;
}

const uint8_t* CPassMarketFacts::ClassRecord(int classIndex) {
  const auto known = m_classRecords.find(classIndex);
  if (known != m_classRecords.end()) return known->second;
  return m_classRecords.emplace(classIndex, GetClassInfoByIndex(classIndex)).first->second;
}

int CPassMarketFacts::SecurityIndex(const char* code, int classIndex) {
  const auto key = std::make_pair(std::string(code), classIndex);
  const auto known = m_securityIndices.find(key);
  if (known != m_securityIndices.end()) return known->second;
  const int index = HostCall<91>(code, ClassCodeOf(ClassRecord(classIndex)));
  m_securityIndices.emplace(key, index);
  return index;
}

const uint8_t* CPassMarketFacts::SecurityRecord(int securityIndex) {
  const auto known = m_securityRecords.find(securityIndex);
  if (known != m_securityRecords.end()) return known->second;
  return m_securityRecords.emplace(securityIndex, GetSecurityInfoByIndex(securityIndex))
      .first->second;
}

double CPassMarketFacts::Quote(const uint8_t* security, QuoteKind kind) {
  SecurityFacts& facts = FactsOf(security);
  Known& quote = facts.quotes[kind];
  if (quote.known) return quote.value;
  if (!facts.indexKnown) {
    // Quoted in its own class; a security whose class is unknown has no quotes.
    const int classIndex = SecurityClassIndexOf(security);
    facts.index = ClassRecord(classIndex) != nullptr
                      ? SecurityIndex(SecurityCodeOf(security), classIndex)
                      : -1;
    facts.indexKnown = true;
  }
  quote.value = kind == kLast ? QuotedLastPrice(facts.index)
                              : QuotedParameter(facts.index, kQuoteNames[kind]);
  quote.known = true;
  return quote.value;
}
