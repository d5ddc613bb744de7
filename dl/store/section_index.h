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

// Indexes over the section names of one parsed settings text, built once, so
// that resolving a client costs a few hash lookups instead of walks of every
// section name. Each answer equals the one a walk of the reader's upper-cased
// names in their order would give. Name arguments are upper case.
class TSectionIndex {
 public:
  explicit TSectionIndex(const TIniFile& ini);

  bool Exists(const std::string& upperName) const;

  // Every name that begins with the prefix, in the reader's order.
  std::vector<std::string> NamesWithPrefix(const std::string& upperPrefix) const;

  // The first name of the family (begins with prefix, ends with suffix, as
  // long as both together at least) whose CLIENTS comma list names the
  // client exactly; "" when none.
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

  const TIniFile& Ini;
  const std::vector<std::string>& UpperNames;
  std::unordered_set<std::string> NameSet;
  // (name, position in the reader's order), sorted by name for prefix ranges.
  std::vector<std::pair<std::string, std::size_t>> SortedNames;
  // Per family: client code -> first section listing it.
  std::map<TFamilyKey, std::unordered_map<std::string, std::size_t>> TemplateFamilies;
  std::map<TFamilyKey, TMaskFamily> MaskFamilies;
};

// Whether the name begins with the prefix, ends with the suffix and is at
// least as long as both together.
bool IsFamilyName(const std::string& name, const std::string& prefix, const std::string& suffix);

}  // namespace DL
