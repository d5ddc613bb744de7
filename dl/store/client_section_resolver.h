#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dl/store/section_index.h"

namespace DL {

class TIniFile;

// The memo of one client code; "DEFAULT" marks a step that has not run yet
// (no step yields it, every result begins with the prefix).
struct TClientSections {
  std::string TemplateSection = "DEFAULT";
  std::string ExplicitSection = "DEFAULT";
  std::string MaskSection = "DEFAULT";
};

// Finds the section that holds a client's settings: the client's own section,
// a template section whose CLIENTS list names it, a mask section covering the
// beginning of its code, or a template chosen by the client's leverage. The
// results are memoised per client code (byte for byte) whatever prefix and
// suffix a later call passes: one resolver serves one family of sections.
class TClientSectionResolver {
 public:
  explicit TClientSectionResolver(TIniFile* ini);

  std::string FindExplicitSection(const std::string& client, const std::string& prefix,
                                  const std::string& suffix);
  std::string FindTemplateSection(const std::string& client, std::string prefix,
                                  std::string suffix);
  // Mode 1 tries the longest beginning of the code first, mode 2 the shortest.
  std::string FindMaskSection(const std::string& client, const std::string& prefix,
                              const std::string& suffix, int mode);
  // The family section whose INCLUDECLIENTSWITHLEVERAGE equals the leverage
  // exactly; "" for -1 (no leverage) and for a leverage that is not finite.
  std::string FilterByLeverage(const std::string& client, const std::string& prefix,
                               const std::string& suffix, double leverage);
  // (client code, template name) for every item of every family section's
  // CLIENTS list, in name order and list order.
  std::vector<std::pair<std::string, std::string>> ReadClientLists(std::string prefix,
                                                                   std::string suffix) const;

 private:
  void BuildLeverageSections(const std::string& prefix, const std::string& suffix);

  TIniFile* Ini;
  std::unordered_map<std::string, TClientSections> SectionMemo;
  std::map<double, std::string> LeverageSections;
  bool LeverageSectionsBuilt = false;
  TSectionIndex Index;
};

}  // namespace DL
