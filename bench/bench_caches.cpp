// Resolution and loading of the four setting caches on a generated 5 MB
// settings text with 35,000 sections: every client cold, then warm lookups,
// against the literal walk of the section names on a sample of clients.
// Prints the figures; exits 1 when a target is missed.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "dl/store/client_comm_settings.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/security_restrictions.h"
#include "dl/support/client_sections_text.h"
#include "dl/support/naive_section_resolver.h"

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

struct TCaches {
  explicit TCaches(DL::TIniFile* ini)
      : settings(ini), scales(ini), securities(ini), margins(ini) {}
  DL::TCacheOfClientSettings settings;
  DL::TCacheOfCommScales scales;
  DL::TCacheOfSecurityRestrictions securities;
  DL::TCacheOfClientMarginRestrictions margins;
};

struct TQuery {
  std::string client;
  std::string board;
  double leverage;
};

// Four lookups per query, one in each cache; returns a checksum so that the
// work cannot be optimised away.
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

}  // namespace

int main() {
  auto start = TClock::now();
  const DL::Testing::TClientSectionsText generated = DL::Testing::MakeClientSectionsText(39000, 7);
  const double generateSeconds = SecondsSince(start);
  start = TClock::now();
  DL::TIniFile ini(generated.Text.c_str(), DL::TIniFile::kSourceText, ';', 1);
  const double parseSeconds = SecondsSince(start);
  std::printf("text: %.1f MB, %zu sections, %zu client codes (generated in %.3f s, parsed in %.3f s)\n",
              generated.Text.size() / 1e6, ini.GetUpperSectionNames().size(),
              generated.Clients.size(), generateSeconds, parseSeconds);

  // A quarter of the clients come with a leverage the text knows (or a near
  // miss, or one that is not finite), the rest with none.
  std::vector<TQuery> queries;
  for (std::size_t i = 0; i < generated.Clients.size(); ++i) {
    const double leverage =
        i % 4 == 0 ? generated.Leverages[(i / 4) % generated.Leverages.size()] : -1.0;
    queries.push_back(
        {generated.Clients[i], generated.Boards[i % generated.Boards.size()], leverage});
  }

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

  // The literal walks take minutes for every client: time a spread sample.
  DL::Testing::TNaiveSectionResolver naiveClients(&ini);
  DL::Testing::TNaiveSectionResolver naiveMargins(&ini);
  const std::size_t sampleStep = queries.size() / 150;
  std::size_t sampled = 0;
  start = TClock::now();
  for (std::size_t i = 0; i < queries.size(); i += sampleStep, ++sampled)
    checksum += NaiveResolve(naiveClients, naiveMargins, ini, queries[i]);
  const double naivePerClient = SecondsSince(start) / sampled;
  const double ratio = naivePerClient / coldPerClient;

  const bool coldOk = coldSeconds <= 1.0;
  const bool ratioOk = ratio >= 50.0;
  const bool warmOk = warmPerLookup < 1e-6;
  std::printf("cold, every client resolved and loaded in all four caches: %.3f s (%.2f us a client) "
              "[target <= 1 s: %s]\n",
              coldSeconds, coldPerClient * 1e6, coldOk ? "met" : "MISSED");
  std::printf("literal resolution, %zu sampled clients: %.1f us a client, %.0f s for all "
              "(estimated)\n",
              sampled, naivePerClient * 1e6, naivePerClient * queries.size());
  std::printf("indexed cold resolution and loading is %.0f times faster [target >= 50: %s]\n",
              ratio, ratioOk ? "met" : "MISSED");
  std::printf("warm lookup: %.3f us [target < 1 us: %s]\n", warmPerLookup * 1e6,
              warmOk ? "met" : "MISSED");
  std::printf("cached: %zu settings, %zu scales, %zu security, %zu margin keys; %zu margin "
              "sections loaded (checksum %zu)\n",
              caches.settings.EntryCount(), caches.scales.EntryCount(),
              caches.securities.EntryCount(), caches.margins.EntryCount(),
              caches.margins.LoadedSectionCount(), checksum);
  return coldOk && ratioOk && warmOk ? 0 : 1;
}
