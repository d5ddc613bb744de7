#pragma once

#include <map>
#include <string>
#include <vector>

#include "dl/store/ini_file.h"

namespace DL::Testing {

// Client section resolution done the slow, literal way: every step walks the
// reader's section names (with the reader's own searches and CLIENTS list
// memo). The tests and the benchmark hold the indexed resolver against it.
class TNaiveSectionResolver {
 public:
  explicit TNaiveSectionResolver(TIniFile* ini) : Ini(ini) {}

  std::string FindExplicitSection(const std::string& client, const std::string& prefix,
                                  const std::string& suffix);
  std::string FindTemplateSection(const std::string& client, std::string prefix,
                                  std::string suffix);
  std::string FindMaskSection(const std::string& client, const std::string& prefix,
                              const std::string& suffix, int mode);
  std::string FilterByLeverage(const std::string& prefix, const std::string& suffix,
                               double leverage);

  // The whole chain of the client settings and security restriction caches.
  std::string ResolveClientSection(const std::string& client);
  // The whole chain of the margin restriction cache.
  std::string ResolveMarginSection(const std::string& client, double leverage);

 private:
  struct TMemo {
    std::string Template = "DEFAULT";
    std::string Explicit = "DEFAULT";
    std::string Mask = "DEFAULT";
  };

  TIniFile* Ini;
  std::map<std::string, TMemo> Memo;
  std::map<double, std::string> LeverageSections;
};

// The commission scale steps, walked literally: the name of the client's own,
// template or mask scale section, "" when none applies.
std::string NaiveCommScaleClientSection(const TIniFile& ini, const std::string& client);

// Every upper-cased section name beginning with the prefix, in the reader's order.
std::vector<std::string> NaiveNamesWithPrefix(const TIniFile& ini, const std::string& prefix);

}  // namespace DL::Testing
