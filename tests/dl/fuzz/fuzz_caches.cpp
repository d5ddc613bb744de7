// Arbitrary settings texts for the four setting caches: every client code the
// text suggests (and its lower-case form, codes of no section, the empty code)
// is resolved and loaded with leverages that include -1, NaN and infinities.
// Resolution must agree with the literal walk of the section names, every
// lookup must answer, and a second lookup must give the same record.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "dl/store/client_comm_settings.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/security_restrictions.h"
#include "dl/store/text_lists.h"
#include "dl/support/naive_section_resolver.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Client codes hidden in the section names and CLIENTS lists.
std::vector<std::string> ClientCodes(const DL::TIniFile& ini) {
  static const char* const kSuffixes[] = {"_MARGIN_TEMPLATE", "_CLIENT_TEMPLATE",
                                          "_COMMISSIONSCALE", "_MARGIN", "*"};
  std::set<std::string> codes = {"", "NOSUCHCLIENT"};
  for (const std::string& name : ini.GetUpperSectionNames()) {
    if (name.compare(0, 2, "CL") != 0) continue;
    std::string code = name.substr(2);
    for (const char* suffix : kSuffixes) {
      const std::size_t at = code.find(suffix);
      if (at != std::string::npos) code.erase(at);
    }
    codes.insert(code);
    codes.insert(Lower(code));
    codes.insert(code + "Z");
    for (const std::string& item : DL::SplitCommaList(ini.ReadString(name, "CLIENTS", "")))
      codes.insert(item);
    if (codes.size() > 48) break;
  }
  return {codes.begin(), codes.end()};
}

// The leverages of the text's sections, fixed awkward ones and one made of
// the input's first bytes (any bit pattern: NaNs, infinities, subnormals).
std::vector<double> Leverages(const DL::TIniFile& ini, const std::uint8_t* data, std::size_t size) {
  std::vector<double> leverages = {-1.0, 0.0, 2.0, std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity()};
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    leverages.push_back(raw);
  }
  for (const std::string& name : ini.GetUpperSectionNames()) {
    const double value = ini.ReadFloat(name, "INCLUDECLIENTSWITHLEVERAGE", -1.0);
    if (leverages.size() < 12) leverages.push_back(value);
  }
  return leverages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1);
  DL::TCacheOfClientSettings settings(&ini);
  DL::TCacheOfCommScales scales(&ini);
  DL::TCacheOfSecurityRestrictions securities(&ini);
  DL::TCacheOfClientMarginRestrictions margins(&ini);
  DL::Testing::TNaiveSectionResolver naiveClients(&ini);
  DL::Testing::TNaiveSectionResolver naiveMargins(&ini);
  DL::TClientSectionResolver clients(&ini);

  const std::vector<double> leverages = Leverages(ini, data, size);
  for (const std::string& client : ClientCodes(ini)) {
    std::string section = clients.FindExplicitSection(client, "CL", "");
    if (section.empty()) section = clients.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
    if (section.empty()) section = clients.FindMaskSection(client, "CL", "", 1);
    Check(section == naiveClients.ResolveClientSection(client));

    const DL::TIniCacheItemID plainKey(client.c_str(), "TQBR", "");
    const DL::TClientCommSettings* setting = settings.Get(plainKey);
    Check(setting != nullptr && settings.Get(plainKey) == setting);
    Check((setting == settings.GetDefault()) == section.empty());
    const DL::TClientSecurityRestrictions* security = securities.Get(plainKey);
    Check(security != nullptr && securities.Get(plainKey) == security);
    Check((security == securities.GetDefault()) == section.empty());

    const DL::TIniCacheItemID scaleKey(client.c_str(), "TQBR", setting->TpName.c_str());
    const DL::TCommScale* scale = scales.Get(scaleKey);
    Check(scale != nullptr && scales.Get(scaleKey) == scale);
    const std::string scaleSection = DL::Testing::NaiveCommScaleClientSection(ini, client);
    if (!scaleSection.empty()) {
      auto expected = DL::TCommScaleReader(&ini, nullptr).ReadCommScaleSection(scaleSection);
      Check(expected && expected->Rates == scale->Rates && expected->MinValue == scale->MinValue);
    }

    for (double leverage : leverages) {
      Check(margins.ResolveSection(client, leverage) ==
            naiveMargins.ResolveMarginSection(client, leverage));
      const DL::TIniCacheItemID marginKey(client.c_str(), leverage);
      const DL::TClientMarginRestrictions* margin = margins.Get(marginKey);
      Check(margin != nullptr && margins.Get(marginKey) == margin);
      Check(margin->Records.count(0) == 1);
    }
  }
  return 0;
}
