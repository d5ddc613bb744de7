// The four setting caches together: their records are read-only, and they
// outlive the reader (the engine deletes the reader first).
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "dl/store/client_comm_settings.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/security_restrictions.h"
#include "dl/support/client_sections_text.h"

namespace DL {
namespace {

template <class TCache, class TRecord>
constexpr bool HandsOutReadOnly() {
  return std::is_same_v<decltype(std::declval<TCache&>().Get(std::declval<TIniCacheItemID>())),
                        const TRecord*>;
}

static_assert(HandsOutReadOnly<TCacheOfClientSettings, TClientCommSettings>());
static_assert(HandsOutReadOnly<TCacheOfCommScales, TCommScale>());
static_assert(HandsOutReadOnly<TCacheOfSecurityRestrictions, TClientSecurityRestrictions>());
static_assert(HandsOutReadOnly<TCacheOfClientMarginRestrictions, TClientMarginRestrictions>());

TEST(SettingCaches, OutliveTheReaderAndKeepTheirRecords) {
  const Testing::TClientSectionsText generated = Testing::MakeClientSectionsText(300, 5);
  auto ini = std::make_unique<TIniFile>(generated.Text.c_str(), 2, ';', 1);
  auto settings = std::make_unique<TCacheOfClientSettings>(ini.get());
  auto scales = std::make_unique<TCacheOfCommScales>(ini.get());
  auto securities = std::make_unique<TCacheOfSecurityRestrictions>(ini.get());
  auto margins = std::make_unique<TCacheOfClientMarginRestrictions>(ini.get());
  std::size_t withSections = 0;
  for (const std::string& client : generated.Clients) {
    const TIniCacheItemID key(client.c_str(), "TQBR", "");
    withSections += settings->Get(key) != settings->GetDefault();
    scales->Get(key);
    securities->Get(key);
    for (double leverage : generated.Leverages)
      margins->Get(TIniCacheItemID(client.c_str(), leverage));
  }
  EXPECT_GT(withSections, 0u);
  const TClientMarginRestrictions* margin = margins->Get(TIniCacheItemID("", -1.0));
  ini.reset();
  // Cached records stay readable without the reader, and the destructors do
  // not touch it (the sanitizer run would report it).
  EXPECT_EQ(margins->Get(TIniCacheItemID("", -1.0)), margin);
  EXPECT_FALSE(margin->Records.empty());
  margins.reset();
  securities.reset();
  scales.reset();
  settings.reset();
}

}  // namespace
}  // namespace DL
