// The client-template lists kept per template agree with the section
// resolver's walk of the same text, on a generated broker text and on
// awkward section names.
#include "dl/engine/client_template_lists.h"

#include <gtest/gtest.h>

#include <string>

#include "dl/store/client_section_resolver.h"
#include "dl/store/ini_file.h"
#include "dl/support/broker_settings_generator.h"

namespace DL {
namespace {

TClientTemplateList Expected(TIniFile& ini) {
  return TClientSectionResolver(&ini).ReadClientLists("CL", "_CLIENT_TEMPLATE");
}

TEST(ClientTemplateLists, AgreeWithTheResolverOnAGeneratedText) {
  const std::string text = Testing::GenerateBrokerSettings(300000, 7);
  TIniFile ini(text.c_str(), TIniFile::kSourceText, ';', 1);
  TClientTemplateLists lists;
  lists.Read(ini);
  TClientTemplateList pairs;
  lists.AppendTo(pairs);
  EXPECT_FALSE(pairs.empty());
  EXPECT_EQ(pairs, Expected(ini));
}

TEST(ClientTemplateLists, AwkwardNames) {
  TIniFile ini(
      "[CL_CLIENT_TEMPLATE]\nCLIENTS=E1\n[cla_client_template]\nclients= L1 ,, L2\n"
      "[CLB_CLIENT_TEMPLATEX]\nCLIENTS=N\n[CLC_CLIENT_TEMPLATE]\nOTHER=1\n"
      "[XCL_CLIENT_TEMPLATE]\nCLIENTS=N\n",
      TIniFile::kSourceText, ';', 1);
  TClientTemplateLists lists;
  lists.Read(ini);
  TClientTemplateList pairs = {{"kept", "first"}};
  lists.AppendTo(pairs);
  TClientTemplateList expected = {{"kept", "first"}};
  const TClientTemplateList resolved = Expected(ini);
  expected.insert(expected.end(), resolved.begin(), resolved.end());
  EXPECT_EQ(pairs, expected);
  EXPECT_EQ(pairs.size(), 5u);  // E1 of the empty name, L1, an empty item, L2
}

}  // namespace
}  // namespace DL
