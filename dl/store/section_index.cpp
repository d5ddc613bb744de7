#include "dl/store/section_index.h"

#include <algorithm>

#include "dl/store/ini_file.h"
#include "dl/store/text_lists.h"

namespace DL {

bool IsFamilyName(const std::string& name, const std::string& prefix, const std::string& suffix) {
  return name.size() >= prefix.size() + suffix.size() &&
         name.compare(0, prefix.size(), prefix) == 0 &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TSectionIndex::TSectionIndex(const TIniFile& ini)
    : Ini(ini), UpperNames(ini.GetUpperSectionNames()) {}

std::vector<std::string>::const_iterator TSectionIndex::LowerBound(
    const std::string& upperText) const {
  return std::lower_bound(UpperNames.begin(), UpperNames.end(), upperText,
                          [](const std::string& name, const std::string& text) {
                            return TIniFile::CompareNoCase(name, text) < 0;
                          });
}

bool TSectionIndex::Exists(const std::string& upperName) const {
  auto found = LowerBound(upperName);
  return found != UpperNames.end() && *found == upperName;
}

std::vector<std::string> TSectionIndex::NamesWithPrefix(const std::string& upperPrefix) const {
  std::vector<std::string> names;
  for (auto it = LowerBound(upperPrefix);
       it != UpperNames.end() && it->compare(0, upperPrefix.size(), upperPrefix) == 0; ++it)
    names.push_back(*it);
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
      for (std::string& item : SplitCommaList(clients))
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
