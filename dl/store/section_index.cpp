#include "dl/store/section_index.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {

bool IsFamilyName(const std::string& name, const std::string& prefix, const std::string& suffix) {
  return name.size() >= prefix.size() + suffix.size() &&
         name.compare(0, prefix.size(), prefix) == 0 &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TSectionIndex::TSectionIndex(const TIniFile& ini)
    : Ini(ini), UpperNames(ini.GetUpperSectionNames()) {
  NameSet.reserve(UpperNames.size());
  SortedNames.reserve(UpperNames.size());
  for (std::size_t i = 0; i < UpperNames.size(); ++i) {
    NameSet.insert(UpperNames[i]);
    SortedNames.emplace_back(UpperNames[i], i);
  }
  std::sort(SortedNames.begin(), SortedNames.end());
}

bool TSectionIndex::Exists(const std::string& upperName) const {
  return NameSet.count(upperName) != 0;
}

std::vector<std::string> TSectionIndex::NamesWithPrefix(const std::string& upperPrefix) const {
  std::vector<std::size_t> positions;
  auto it = std::lower_bound(SortedNames.begin(), SortedNames.end(),
                             std::make_pair(upperPrefix, std::size_t{0}));
  for (; it != SortedNames.end() && it->first.compare(0, upperPrefix.size(), upperPrefix) == 0;
       ++it)
    positions.push_back(it->second);
  std::sort(positions.begin(), positions.end());
  std::vector<std::string> names;
  names.reserve(positions.size());
  for (std::size_t position : positions) names.push_back(UpperNames[position]);
  return names;
}

std::string TSectionIndex::FirstTemplateListing(const std::string& upperPrefix,
                                                const std::string& upperSuffix,
                                                const std::string& client) {
  TFamilyKey familyKey(upperPrefix, upperSuffix);
  auto family = TemplateFamilies.find(familyKey);
  if (family == TemplateFamilies.end()) {
    std::unordered_map<std::string, std::size_t> firstListing;
    for (std::size_t i = 0; i < UpperNames.size(); ++i) {
      if (!IsFamilyName(UpperNames[i], upperPrefix, upperSuffix)) continue;
      std::string clients = Ini.ReadString(UpperNames[i], "CLIENTS", "");
      for (std::string& item : SplitCommaList(clients.c_str()))
        firstListing.emplace(std::move(item), i);
    }
    family = TemplateFamilies.emplace(std::move(familyKey), std::move(firstListing)).first;
  }
  auto found = family->second.find(client);
  return found == family->second.end() ? std::string() : UpperNames[found->second];
}

const TSectionIndex::TMaskFamily& TSectionIndex::MaskFamily(const std::string& upperPrefix,
                                                            const std::string& upperSuffix) {
  TFamilyKey familyKey(upperPrefix, upperSuffix);
  auto family = MaskFamilies.find(familyKey);
  if (family != MaskFamilies.end()) return family->second;
  TMaskFamily built;
  const std::string starSuffix = "*" + upperSuffix;
  for (const std::string& name : UpperNames) {
    if (!IsFamilyName(name, upperPrefix, starSuffix)) continue;
    std::string stem =
        name.substr(upperPrefix.size(), name.size() - upperPrefix.size() - starSuffix.size());
    built.LongestStem = std::max(built.LongestStem, stem.size());
    built.Stems.insert(std::move(stem));
  }
  return MaskFamilies.emplace(std::move(familyKey), std::move(built)).first->second;
}

bool TSectionIndex::IsMaskStem(const std::string& upperPrefix, const std::string& upperSuffix,
                               const std::string& upperStem) {
  return MaskFamily(upperPrefix, upperSuffix).Stems.count(upperStem) != 0;
}

std::size_t TSectionIndex::LongestMaskStem(const std::string& upperPrefix,
                                           const std::string& upperSuffix) {
  return MaskFamily(upperPrefix, upperSuffix).LongestStem;
}

}  // namespace DL
