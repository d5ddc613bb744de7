// The indexed section resolution against the literal walks of the section
// names, on generated texts with a few thousand clients.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dl/store/client_section_resolver.h"
#include "dl/store/comm_scale.h"
#include "dl/store/ini_file.h"
#include "dl/store/margin_restriction_cache.h"
#include "dl/store/section_index.h"
#include "dl/support/client_sections_text.h"
#include "dl/support/naive_section_resolver.h"

namespace DL {
namespace {

class ResolutionAgreement : public ::testing::TestWithParam<std::uint32_t> {
 protected:
  void SetUp() override {
    generated = Testing::MakeClientSectionsText(2000, GetParam());
    ini = std::make_unique<TIniFile>(generated.Text.c_str(), 2, ';', 1);
    ASSERT_GT(ini->GetUpperSectionNames().size(), 1000u);
  }

  Testing::TClientSectionsText generated;
  std::unique_ptr<TIniFile> ini;
};

TEST_P(ResolutionAgreement, ClientChainMatchesTheNameWalk) {
  TClientSectionResolver indexed(ini.get());
  Testing::TNaiveSectionResolver naive(ini.get());
  int resolved = 0;
  for (const std::string& client : generated.Clients) {
    std::string section = indexed.FindExplicitSection(client, "CL", "");
    if (section.empty()) section = indexed.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
    if (section.empty()) section = indexed.FindMaskSection(client, "CL", "", 1);
    ASSERT_EQ(section, naive.ResolveClientSection(client)) << "client " << client;
    resolved += section.empty() ? 0 : 1;
  }
  // The text must exercise both outcomes unless it has the mask of everyone.
  EXPECT_GT(resolved, 100);
  if (!ini->SectionExists("CL*")) {
    EXPECT_LT(resolved, static_cast<int>(generated.Clients.size()));
  }
}

TEST_P(ResolutionAgreement, ShortestMaskFirstMatchesTheNameWalk) {
  TClientSectionResolver indexed(ini.get());
  Testing::TNaiveSectionResolver naive(ini.get());
  for (const std::string& client : generated.Clients)
    ASSERT_EQ(indexed.FindMaskSection(client, "CL", "", 2),
              naive.FindMaskSection(client, "CL", "", 2))
        << "client " << client;
}

TEST_P(ResolutionAgreement, MarginChainMatchesTheNameWalk) {
  TCacheOfClientMarginRestrictions cache(ini.get());
  Testing::TNaiveSectionResolver naive(ini.get());
  std::size_t queries = 0;
  for (std::size_t i = 0; i < generated.Clients.size(); ++i) {
    const std::string& client = generated.Clients[i];
    // Each client meets a few of the leverages, in varying order.
    for (std::size_t j = 0; j < 3; ++j) {
      const double leverage = generated.Leverages[(i + j * 7) % generated.Leverages.size()];
      ASSERT_EQ(cache.ResolveSection(client, leverage), naive.ResolveMarginSection(client, leverage))
          << "client " << client << " leverage " << leverage;
      ++queries;
    }
  }
  EXPECT_EQ(queries, generated.Clients.size() * 3);
}

bool SameScale(const TCommScale& a, const TCommScale& b) {
  return a.MinVolume == b.MinVolume && a.MinValue == b.MinValue && a.MaxValue == b.MaxValue &&
         a.TradeCommission == b.TradeCommission && a.Rates == b.Rates;
}

TEST_P(ResolutionAgreement, CommissionScaleMatchesTheNameWalk) {
  TCacheOfCommScales cache(ini.get());
  const TCommScaleReader plainReader(ini.get(), nullptr);
  int ownScales = 0;
  for (const std::string& client : generated.Clients) {
    const std::string section = Testing::NaiveCommScaleClientSection(*ini, client);
    const TCommScale* scale = cache.Get(TIniCacheItemID(client.c_str(), "NOBOARD", ""));
    if (section.empty()) {
      EXPECT_EQ(scale, cache.GetDefault()) << "client " << client;
      continue;
    }
    ++ownScales;
    auto expected = plainReader.ReadCommScaleSection(section);
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(SameScale(*scale, *expected)) << "client " << client << " section " << section;
  }
  EXPECT_GT(ownScales, 50);
}

TEST_P(ResolutionAgreement, NamesByPrefixMatchTheNameWalk) {
  TSectionIndex index(*ini);
  const auto& names = ini->GetUpperSectionNames();
  for (std::size_t i = 0; i < names.size(); i += 13) {
    for (const std::string& prefix : {names[i] + "_LIMITKIND_", names[i], names[i].substr(0, 3)})
      ASSERT_EQ(index.NamesWithPrefix(prefix), Testing::NaiveNamesWithPrefix(*ini, prefix))
          << "prefix " << prefix;
  }
}

INSTANTIATE_TEST_SUITE_P(GeneratedTexts, ResolutionAgreement, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace DL
