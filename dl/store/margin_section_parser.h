#pragma once

#include <memory>
#include <string>

#include "dl/store/margin_restrictions.h"

namespace DL {

class TIniFile;

// Value texts of the margin sections.
TRestrictionList ReadRestrictionList(const std::string& value);
// False when the value has fewer than the five items a correlation needs.
bool ReadCorrelation(const std::string& name, const std::string& value, TCorrelationEntry& entry);
// A short list is padded with the defaults of the missing positions.
TSecurityWeight ReadSecurityWeight(const std::string& value);
TSecurityDiscount ReadSecurityDiscount(const std::string& value, double minLong, double minShort);

// The broker general record (entry 0) of the broker-wide item, read from
// [GENERAL] and the general list sections.
std::unique_ptr<TClientMarginRestrictions> ReadMarginRestrictionsDefaults(const TIniFile& ini);

// Reads a client's margin section into a record. A scalar key may say -2
// (take the inherited value) or -1 (take the broker's, or "not set" in the
// client's general record).
class TMarginSectionParser {
 public:
  TMarginSectionParser(const TIniFile& ini, const TMarginRestrictionRecord& brokerGeneral);

  // clientGeneral: the target is the client's general record (base unused
  // for the scalar keys); otherwise a limit-kind record over that base.
  // Target and base may be the same record.
  void ParseMarginSection(const std::string& section, TMarginRestrictionRecord& target,
                          const TMarginRestrictionRecord& base, bool clientGeneral) const;

 private:
  void ReadScalars(const std::string& section, TMarginRestrictionRecord& target,
                   const TMarginRestrictionRecord& base, bool clientGeneral) const;
  void ReadKey(std::string key, const std::string& value, TMarginRestrictionRecord& target) const;
  void SetSources(TMarginRestrictionRecord& target, const TMarginRestrictionRecord& base,
                  bool clientGeneral) const;

  const TIniFile& Ini;
  const TMarginRestrictionRecord& General;
};

}  // namespace DL
