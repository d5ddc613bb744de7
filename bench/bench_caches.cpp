// Native benchmark of the four setting caches on full-size (5 MB) broker
// settings texts: every client resolved and loaded cold, then warm lookups,
// against the literal walk of the section names on a sample of clients.
// Prints the figures and ratios; exits 1 when a target is missed.
#include <chrono>
#include <cstddef>
#include <cstdio>
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
#include "bench/support/broker_settings_generator.h"
#include "bench/support/client_sections_text.h"
#include "bench/support/naive_section_resolver.h"

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

struct TQuery {
  std::string client;
  std::string board;
  double leverage;
};

struct TCaches {
  explicit TCaches(DL::TIniFile* ini) : settings(ini), scales(ini), securities(ini), margins(ini) {}
  DL::TCacheOfClientSettings settings;
  DL::TCacheOfCommScales scales;
  DL::TCacheOfSecurityRestrictions securities;
  DL::TCacheOfClientMarginRestrictions margins;
};

// One lookup in each cache; the checksum keeps the work from being optimised away.
std::size_t LookUp(TCaches& caches, const TQuery& query) {
  const char* client = query.client.c_str();
  const DL::TClientCommSettings* settings =
      caches.settings.Get(DL::TIniCacheItemID(client, "", ""));
  const DL::TCommScale* scale = caches.scales.Get(
      DL::TIniCacheItemID(client, query.board.c_str(), settings->TpName.c_str()));
  const DL::TClientSecurityRestrictions* security =
      caches.securities.Get(DL::TIniCacheItemID(client, "", ""));
  const DL::TClientMarginRestrictions* margin =
      caches.margins.Get(DL::TIniCacheItemID(client, query.leverage));
  return scale->Rates.size() + security->CurrBoards.size() + margin->Records.size();
}

// The literal resolution of one client for all four caches.
std::size_t NaiveResolve(DL::Testing::TNaiveSectionResolver& clients,
                         DL::Testing::TNaiveSectionResolver& margins, const DL::TIniFile& ini,
                         const TQuery& query) {
  return clients.ResolveClientSection(query.client).size() +
         margins.ResolveMarginSection(query.client, query.leverage).size() +
         DL::Testing::NaiveCommScaleClientSection(ini, query.client).size();
}

// Every client the text names (own sections and CLIENTS lists), a lower-case
// form of some, codes of no section; a quarter of them with a leverage of the
// text's leverage templates or one it lacks.
std::vector<TQuery> QueriesOf(const DL::TIniFile& ini) {
  std::set<std::string> clients;
  std::vector<double> leverages = {2.5, std::numeric_limits<double>::quiet_NaN()};
  for (const std::string& name : ini.GetUpperSectionNames()) {
    if (name.compare(0, 2, "CL") != 0) continue;
    if (name.find_first_of("_*") == std::string::npos) clients.insert(name.substr(2));
    for (std::string& client : DL::SplitCommaList(ini.ReadString(name, "CLIENTS", "")))
      clients.insert(std::move(client));
    const double leverage = ini.ReadFloat(name, "INCLUDECLIENTSWITHLEVERAGE", -1.0);
    if (leverage != -1.0) leverages.push_back(leverage);
  }
  static const char* const kBoards[] = {"TQBR", "EQBR", "SPBFUT"};
  std::vector<TQuery> queries;
  std::size_t i = 0;
  for (const std::string& client : clients) {
    const double leverage = i % 4 == 0 ? leverages[(i / 4) % leverages.size()] : -1.0;
    queries.push_back({client, kBoards[i % 3], leverage});
    if (i % 7 == 0) {
      std::string lower = client;
      for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      queries.push_back({lower, kBoards[i % 3], -1.0});
    }
    if (i % 11 == 0) queries.push_back({"ZZ" + client, kBoards[i % 3], -1.0});
    ++i;
  }
  return queries;
}

bool Run(const char* title, const std::string& text) {
  auto start = TClock::now();
  DL::TIniFile ini(text.c_str(), DL::TIniFile::kSourceText, ';', 1);
  const double parseSeconds = SecondsSince(start);
  const std::vector<TQuery> queries = QueriesOf(ini);
  std::printf("== %s: %.2f MB, %zu sections, %zu client codes (parsed in %.3f s)\n", title,
              text.size() / 1e6, ini.GetUpperSectionNames().size(), queries.size(), parseSeconds);

  std::size_t checksum = 0;
  start = TClock::now();
  TCaches caches(&ini);
  for (const TQuery& query : queries) checksum += LookUp(caches, query);
  const double coldSeconds = SecondsSince(start);
  const double coldPerClient = coldSeconds / queries.size();

  const int warmRounds = 5;
  start = TClock::now();
  for (int round = 0; round < warmRounds; ++round)
    for (const TQuery& query : queries) checksum += LookUp(caches, query);
  const double warmPerLookup = SecondsSince(start) / (4.0 * warmRounds * queries.size());

  // The literal walks would take minutes for every client: time a spread sample.
  DL::Testing::TNaiveSectionResolver naiveClients(&ini);
  DL::Testing::TNaiveSectionResolver naiveMargins(&ini);
  const std::size_t sampleStep = queries.size() / 150 + 1;
  std::size_t sampled = 0;
  start = TClock::now();
  for (std::size_t i = 0; i < queries.size(); i += sampleStep, ++sampled)
    checksum += NaiveResolve(naiveClients, naiveMargins, ini, queries[i]);
  const double naivePerClient = SecondsSince(start) / sampled;
  const double ratio = naivePerClient / coldPerClient;

  const bool coldOk = coldSeconds <= 1.0;
  const bool ratioOk = ratio >= 50.0;
  const bool warmOk = warmPerLookup < 1e-6;
  std::printf("cold: every client resolved and loaded in all four caches in %.3f s "
              "(%.2f us a client) [target <= 1 s: %s]\n",
              coldSeconds, coldPerClient * 1e6, coldOk ? "met" : "MISSED");
  std::printf("literal resolution alone, %zu sampled clients: %.1f us a client, about %.0f s "
              "for all\n",
              sampled, naivePerClient * 1e6, naivePerClient * queries.size());
  std::printf("indexed (resolution and loading) / literal (resolution alone): %.0f times faster "
              "[target >= 50: %s]\n",
              ratio, ratioOk ? "met" : "MISSED");
  std::printf("warm lookup: %.3f us [target < 1 us: %s]\n", warmPerLookup * 1e6,
              warmOk ? "met" : "MISSED");
  std::printf("cached keys: %zu settings, %zu scales, %zu security, %zu margin; %zu margin "
              "sections read (checksum %zu)\n",
              caches.settings.EntryCount(), caches.scales.EntryCount(),
              caches.securities.EntryCount(), caches.margins.EntryCount(),
              caches.margins.LoadedSectionCount(), checksum);
  return coldOk && ratioOk && warmOk;
}

}  // namespace

int main() {
  const bool broker = Run("broker settings text",
                          DL::Testing::GenerateBrokerSettings(DL::Testing::kMaxBrokerSettingsSize));
  const bool families =
      Run("client section families", DL::Testing::MakeClientSectionsText(39000, 7).Text);
  return broker && families ? 0 : 1;
}
