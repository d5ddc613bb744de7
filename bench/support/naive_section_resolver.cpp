#include "bench/support/naive_section_resolver.h"

#include <cmath>

#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL::Testing {

namespace {

bool IsFamilyName(const std::string& name, const std::string& prefix, const std::string& suffix) {
  return name.size() >= prefix.size() + suffix.size() && name.rfind(prefix, 0) == 0 &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string TNaiveSectionResolver::FindExplicitSection(const std::string& client,
                                                       const std::string& prefix,
                                                       const std::string& suffix) {
  TMemo& memo = Memo[client];
  if (memo.Explicit == "DEFAULT")
    memo.Explicit = Ini->FindSection(ToUpperCopy(prefix + client + suffix), "");
  return memo.Explicit;
}

std::string TNaiveSectionResolver::FindTemplateSection(const std::string& client, std::string prefix,
                                                       std::string suffix) {
  TMemo& memo = Memo[client];
  if (memo.Template != "DEFAULT") return memo.Template;
  MakeUpper(prefix);
  MakeUpper(suffix);
  memo.Template.clear();
  for (const std::string& name : Ini->GetUpperSectionNames()) {
    if (!IsFamilyName(name, prefix, suffix)) continue;
    const std::string clients = Ini->ReadString(name, "CLIENTS", "");
    if (Ini->IsInCachedList(name.c_str(), clients.c_str(), client.c_str())) {
      memo.Template = name;
      break;
    }
  }
  return memo.Template;
}

std::string TNaiveSectionResolver::FindMaskSection(const std::string& client,
                                                   const std::string& prefix,
                                                   const std::string& suffix, int mode) {
  TMemo& memo = Memo[client];
  if (memo.Mask != "DEFAULT") return memo.Mask;
  memo.Mask.clear();
  if (mode != 1 && mode != 2) return memo.Mask;
  for (std::size_t step = 0; step <= client.size(); ++step) {
    const std::size_t n = mode == 1 ? client.size() - step : step;
    const std::string name = prefix + client.substr(0, n) + "*" + suffix;
    if (!Ini->FindSection(name, "").empty()) {
      memo.Mask = name;
      break;
    }
  }
  return memo.Mask;
}

std::string TNaiveSectionResolver::FilterByLeverage(const std::string& prefix,
                                                    const std::string& suffix, double leverage) {
  if (!std::isfinite(leverage) || IsEqual(leverage, -1.0)) return "";
  if (LeverageSections.empty()) {
    for (const std::string& name : Ini->GetUpperSectionNames()) {
      if (!IsFamilyName(name, prefix, suffix)) continue;
      const double value = Ini->ReadFloat(name, "INCLUDECLIENTSWITHLEVERAGE", -1.0);
      if (std::isfinite(value) && !IsEqual(value, -1.0)) LeverageSections.emplace(value, name);
    }
    LeverageSections.emplace(-1.0, "DEFAULT");
  }
  auto found = LeverageSections.find(leverage);
  return found == LeverageSections.end() ? "" : found->second;
}

std::string TNaiveSectionResolver::ResolveClientSection(const std::string& client) {
  std::string section = FindExplicitSection(client, "CL", "");
  if (section.empty()) section = FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
  if (section.empty()) section = FindMaskSection(client, "CL", "", 1);
  return section;
}

std::string TNaiveSectionResolver::ResolveMarginSection(const std::string& client,
                                                        double leverage) {
  std::string section = FilterByLeverage("CL", "_MARGIN_TEMPLATE", leverage);
  if (section.empty()) section = FindExplicitSection(client, "CL", "_MARGIN");
  if (section.empty()) section = FindTemplateSection(client, "CL", "_MARGIN_TEMPLATE");
  if (section.empty()) section = FindMaskSection(client, "CL", "_MARGIN", 1);
  if (section.empty()) section = FindExplicitSection("<GENERAL>", "CL", "_MARGIN");
  return section;
}

std::string NaiveCommScaleClientSection(const TIniFile& ini, const std::string& client) {
  const std::string own = "CL" + client + "_COMMISSIONSCALE";
  if (!ini.ReadSection(own).empty()) return ToUpperCopy(own);
  for (const std::string& name : ini.GetUpperSectionNames()) {
    if (!IsFamilyName(name, "CL", "_COMMISSIONSCALE_TEMPLATE")) continue;
    std::string clients = ini.ReadString(name, "CLIENTS", "");
    if (clients.empty()) continue;
    RemoveSpaces(clients);
    if (("," + clients + ",").find("," + client + ",") != std::string::npos) return name;
  }
  for (std::size_t step = 0; step <= client.size(); ++step) {
    const std::string name = "CL" + client.substr(0, client.size() - step) + "*_COMMISSIONSCALE";
    if (!ini.FindSection(name, "").empty())
      return ini.ReadSection(name).empty() ? "" : ToUpperCopy(name);
  }
  return "";
}

std::vector<std::string> NaiveNamesWithPrefix(const TIniFile& ini, const std::string& prefix) {
  std::vector<std::string> names;
  for (const std::string& name : ini.GetUpperSectionNames())
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  return names;
}

}  // namespace DL::Testing
