#include "dl/store/client_section_resolver.h"

#include <algorithm>
#include <cmath>

#include "dl/store/ini_file.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {

namespace {

const char kNotLookedUp[] = "DEFAULT";

}  // namespace

TClientSectionResolver::TClientSectionResolver(TIniFile* ini) : Ini(ini), Index(*ini) {}

std::string TClientSectionResolver::FindExplicitSection(const std::string& client,
                                                        const std::string& prefix,
                                                        const std::string& suffix) {
  std::string& memo = SectionMemo[client].ExplicitSection;
  if (memo != kNotLookedUp) return memo;
  std::string name = ToUpperCopy(prefix + client + suffix);
  if (!Index.Exists(name)) name.clear();
  memo = name;
  return name;
}

std::string TClientSectionResolver::FindTemplateSection(const std::string& client,
                                                        std::string prefix, std::string suffix) {
  std::string& memo = SectionMemo[client].TemplateSection;
  if (memo != kNotLookedUp) return memo;
  MakeUpper(prefix);
  MakeUpper(suffix);
  std::string name = Index.FirstTemplateListing(prefix, suffix, client);
  memo = name;
  return name;
}

std::string TClientSectionResolver::FindMaskSection(const std::string& client,
                                                    const std::string& prefix,
                                                    const std::string& suffix, int mode) {
  std::string& memo = SectionMemo[client].MaskSection;
  if (memo != kNotLookedUp) return memo;
  std::string found;
  if (mode == 1 || mode == 2) {
    const std::string upperPrefix = ToUpperCopy(prefix);
    const std::string upperSuffix = ToUpperCopy(suffix);
    const std::string upperClient = ToUpperCopy(client);
    const std::size_t longest =
        std::min(client.size(), Index.LongestMaskStem(upperPrefix, upperSuffix));
    // Stems longer than the longest mask of the family cannot match.
    for (std::size_t step = 0; step <= longest; ++step) {
      const std::size_t n = mode == 1 ? longest - step : step;
      if (Index.IsMaskStem(upperPrefix, upperSuffix, upperClient.substr(0, n))) {
        found = prefix + client.substr(0, n) + "*" + suffix;
        break;
      }
    }
  }
  memo = found;
  return found;
}

void TClientSectionResolver::BuildLeverageSections(const std::string& prefix,
                                                   const std::string& suffix) {
  for (const std::string& name : Ini->GetUpperSectionNames()) {
    if (!IsFamilyName(name, prefix, suffix)) continue;
    const double leverage = Ini->ReadFloat(name, "INCLUDECLIENTSWITHLEVERAGE", -1.0);
    // A value that is not finite matches no query and would break the
    // ordering of the table.
    if (std::isfinite(leverage) && !IsEqual(leverage, -1.0))
      LeverageSections.emplace(leverage, name);
  }
  LeverageSectionsBuilt = true;
}

std::string TClientSectionResolver::FilterByLeverage(const std::string&, const std::string& prefix,
                                                     const std::string& suffix, double leverage) {
  if (!std::isfinite(leverage) || IsEqual(leverage, -1.0)) return std::string();
  if (!LeverageSectionsBuilt) BuildLeverageSections(prefix, suffix);
  auto found = LeverageSections.find(leverage);
  return found == LeverageSections.end() ? std::string() : found->second;
}

std::vector<std::pair<std::string, std::string>> TClientSectionResolver::ReadClientLists(
    std::string prefix, std::string suffix) const {
  MakeUpper(prefix);
  MakeUpper(suffix);
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const std::string& name : Ini->GetUpperSectionNames()) {
    if (!IsFamilyName(name, prefix, suffix)) continue;
    const std::string templateName =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::string clients = Ini->ReadString(name, "CLIENTS", "");
    for (std::string& client : SplitCommaList(clients))
      pairs.emplace_back(std::move(client), templateName);
  }
  return pairs;
}

}  // namespace DL
