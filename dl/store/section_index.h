#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace DL {

class TIniFile;

// Searches over the section names of one parsed settings text that cost a
// binary search or a hash lookup instead of a walk of every name. The
// reader's upper-cased names are sorted (its name order is lexicographic), so
// exact names and prefixes are found by bisection; the template client lists
// and the mask stems of a family are indexed once, on first use. Each answer
// equals the one a walk of the names in the reader's order would give. Name
// arguments are upper case.
class TSectionIndex {
 public:
  explicit TSectionIndex(const TIniFile& ini);

  bool Exists(const std::string& upperName) const;

  // Every name that begins with the prefix, in the reader's order.
  std::vector<std::string> NamesWithPrefix(const std::string& upperPrefix) const;

  // The first name of the family (it begins with the prefix, ends with the
  // suffix and is at least as long as both) whose CLIENTS comma list names
  // the client exactly; "" when none.
  std::string FirstTemplateListing(const std::string& upperPrefix, const std::string& upperSuffix,
                                   const std::string& client);

  // Whether prefix + stem + "*" + suffix is a section name; the stem upper case.
  bool IsMaskStem(const std::string& upperPrefix, const std::string& upperSuffix,
                  const std::string& upperStem);
  // The longest stem of the family; a mask longer than that cannot exist.
  std::size_t LongestMaskStem(const std::string& upperPrefix, const std::string& upperSuffix);

 private:
  using TFamilyKey = std::pair<std::string, std::string>;
  struct TMaskFamily {
    std::unordered_set<std::string> Stems;
    std::size_t LongestStem = 0;
  };

  const TMaskFamily& MaskFamily(const std::string& upperPrefix, const std::string& upperSuffix);

  // The first name not before the text in the reader's order.
  std::vector<std::string>::const_iterator LowerBound(const std::string& upperText) const;

  const TIniFile& Ini;
  const std::vector<std::string>& UpperNames;
  // Per family: client code -> first section listing it.
  std::map<TFamilyKey, std::unordered_map<std::string, std::size_t>> TemplateFamilies;
  std::map<TFamilyKey, TMaskFamily> MaskFamilies;
};

// Whether the name begins with the prefix, ends with the suffix and is at
// least as long as both together.
bool IsFamilyName(const std::string& name, const std::string& prefix, const std::string& suffix);

}  // namespace DL
