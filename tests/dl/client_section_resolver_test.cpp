// Resolving client codes to their own, template, mask and leverage sections.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dl/store/client_section_resolver.h"
#include "dl/store/ini_file.h"
#include "dl/store/section_index.h"

namespace DL {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<TIniFile> Parse(const std::string& text) {
  return std::make_unique<TIniFile>(text.c_str(), 2, ';', 1);
}

std::string ResolveClient(TClientSectionResolver& resolver, const std::string& client) {
  std::string section = resolver.FindExplicitSection(client, "CL", "");
  if (section.empty()) section = resolver.FindTemplateSection(client, "CL", "_CLIENT_TEMPLATE");
  if (section.empty()) section = resolver.FindMaskSection(client, "CL", "", 1);
  return section;
}

TEST(ClientSectionResolver, ClientChain) {
  struct Case {
    const char* text;
    const char* client;
    const char* section;
  };
  const Case cases[] = {
      // The own section wins over a mask.
      {"[CLABC]\nk=1\n[CLABC*]\nk=2\n", "ABC", "CLABC"},
      // Own sections match in any case and come back upper case.
      {"[clAbc]\nk=1\n", "ABC", "CLABC"},
      {"[clAbc]\nk=1\n", "abc", "CLABC"},
      // An own section without keys still counts.
      {"[CLABC]\n", "ABC", "CLABC"},
      // Template lists compare case-sensitively and ignore blanks.
      {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1, B2\n", "B2", "CLGOLD_CLIENT_TEMPLATE"},
      {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1, B2\n", "b2", ""},
      {"[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A1,B2\n", "B", ""},
      // The first template in name order wins, whatever the text order.
      {"[CLZ_CLIENT_TEMPLATE]\nCLIENTS=Q\n[CLA_CLIENT_TEMPLATE]\nCLIENTS=Q\n", "Q",
       "CLA_CLIENT_TEMPLATE"},
      // A template without CLIENTS, or with an empty one, lists nobody.
      {"[CLA_CLIENT_TEMPLATE]\nX=1\n[CLB_CLIENT_TEMPLATE]\nCLIENTS=\n", "X", ""},
      // A trailing comma lists the empty code.
      {"[CLA_CLIENT_TEMPLATE]\nCLIENTS=Q,\n", "", "CLA_CLIENT_TEMPLATE"},
      // The longest mask wins; the mask of everyone catches the rest.
      {"[CLA*]\nk=1\n[CLABC*]\nk=1\n", "ABC123", "CLABC*"},
      {"[CLA*]\nk=1\n[CL*]\nk=1\n", "XYZ", "CL*"},
      {"[CLA*]\nk=1\n", "XYZ", ""},
      // A mask keeps the letter case of the client code.
      {"[CLAB*]\nk=1\n", "abc", "CLab*"},
      // The star is a plain character of the name.
      {"[CLA*B*]\nk=1\n", "A*BC", "CLA*B*"},
      {"[CLA*B*]\nk=1\n", "AXBC", ""},
      // Letters of code page 1251 are not folded: only the same bytes match.
      {"[cl\xC0\xC1]\nk=1\n", "\xC0\xC1", "CL\xC0\xC1"},
      {"[CL\xE0\xE1]\nk=1\n", "\xC0\xC1", ""},
      {"[CL\xC0*]\nk=1\n", "\xC0\xC1z", "CL\xC0*"},
      {"[CL\xE0*]\nk=1\n", "\xC0\xC1", ""},
      // No section at all.
      {"", "ABC", ""},
      {"[GENERAL]\nk=1\n", "", ""},
  };
  for (const Case& c : cases) {
    auto ini = Parse(c.text);
    TClientSectionResolver resolver(ini.get());
    EXPECT_EQ(ResolveClient(resolver, c.client), c.section) << c.text << " client " << c.client;
  }
}

TEST(ClientSectionResolver, MaskModes) {
  auto ini = Parse("[CL*]\nk=1\n[CLABC*]\nk=1\n");
  struct Case {
    int mode;
    const char* section;
  };
  for (Case c : {Case{1, "CLABC*"}, Case{2, "CL*"}, Case{3, ""}, Case{0, ""}}) {
    TClientSectionResolver resolver(ini.get());
    EXPECT_EQ(resolver.FindMaskSection("ABC", "CL", "", c.mode), c.section) << "mode " << c.mode;
  }
}

TEST(ClientSectionResolver, MemoIsPerClientCodeWhateverTheSuffix) {
  auto ini = Parse("[CLABC_MARGIN]\nk=1\n");
  TClientSectionResolver resolver(ini.get());
  EXPECT_EQ(resolver.FindExplicitSection("ABC", "CL", ""), "");
  EXPECT_EQ(resolver.FindExplicitSection("ABC", "CL", "_MARGIN"), "");
  // Another code has a memo of its own.
  EXPECT_EQ(resolver.FindExplicitSection("abc", "CL", "_MARGIN"), "CLABC_MARGIN");
  TClientSectionResolver fresh(ini.get());
  EXPECT_EQ(fresh.FindExplicitSection("ABC", "CL", "_MARGIN"), "CLABC_MARGIN");
}

TEST(ClientSectionResolver, LeverageTemplates) {
  auto ini = Parse(
      "[CLY_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\n"
      "[CLX_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=3\n"
      "[CLZ_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=abc\n"
      "[CLN_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=nan\n"
      "[CLI_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=inf\n"
      "[CLM_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=-1.00000001\n"
      "[CLE_MARGIN_TEMPLATE]\nINCLUDECLIENTSWITHLEVERAGE=\n"
      "[CLW_MARGIN]\nINCLUDECLIENTSWITHLEVERAGE=5\n");
  struct Case {
    double leverage;
    const char* section;
  };
  const Case cases[] = {
      {3.0, "CLX_MARGIN_TEMPLATE"},  // the first in name order keeps a value
      {2.99999999, ""},              // no tolerance
      {-1.0, ""},
      {0.0, "CLZ_MARGIN_TEMPLATE"},  // "abc" reads as 0
      {kNaN, ""},
      {kInf, ""},
      {-kInf, ""},
      {5.0, ""},  // not a template
      {-1.00000001, ""},
  };
  TClientSectionResolver resolver(ini.get());
  for (const Case& c : cases)
    EXPECT_EQ(resolver.FilterByLeverage("any", "CL", "_MARGIN_TEMPLATE", c.leverage), c.section)
        << c.leverage;
}

TEST(ClientSectionResolver, LeverageTableIsBuiltOnceEvenWhenEmpty) {
  auto ini = Parse("[GENERAL]\nk=1\n");
  TClientSectionResolver resolver(ini.get());
  EXPECT_EQ(resolver.FilterByLeverage("A", "CL", "_MARGIN_TEMPLATE", 2.0), "");
  EXPECT_EQ(resolver.FilterByLeverage("A", "CL", "_MARGIN_TEMPLATE", 3.0), "");
}

TEST(ClientSectionResolver, ReadClientLists) {
  auto ini = Parse(
      "[CLSILVER_CLIENT_TEMPLATE]\nCLIENTS=B,\n"
      "[CLGOLD_CLIENT_TEMPLATE]\nCLIENTS=A, B\n"
      "[CL_CLIENT_TEMPLATE]\nCLIENTS=C,C\n"
      "[CLNONE_CLIENT_TEMPLATE]\nX=1\n"
      "[CLA_MARGIN_TEMPLATE]\nCLIENTS=D\n");
  TClientSectionResolver resolver(ini.get());
  // Name order: "_" sorts after the letters.
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"A", "GOLD"}, {"B", "GOLD"}, {"B", "SILVER"}, {"", "SILVER"}, {"C", ""}, {"C", ""}};
  EXPECT_EQ(resolver.ReadClientLists("cl", "_client_template"), expected);
}

TEST(SectionIndex, NamesWithPrefixInTheReadersOrder) {
  auto ini = Parse("[CLA_MARGIN]\n[CLA]\n[CLA_MARGIN_LIMITKIND_1]\n[CLB]\n[CL]\n[C]\n[CLA_]\n");
  const TSectionIndex index(*ini);
  using TNames = std::vector<std::string>;
  EXPECT_EQ(index.NamesWithPrefix("CLA"),
            (TNames{"CLA", "CLA_", "CLA_MARGIN", "CLA_MARGIN_LIMITKIND_1"}));
  EXPECT_EQ(index.NamesWithPrefix("CLA_MARGIN_"), (TNames{"CLA_MARGIN_LIMITKIND_1"}));
  EXPECT_EQ(index.NamesWithPrefix("CLC"), TNames{});
  EXPECT_EQ(index.NamesWithPrefix("").size(), 7u);
  EXPECT_TRUE(index.Exists("CL"));
  EXPECT_FALSE(index.Exists("CLC"));
  EXPECT_FALSE(index.Exists("D"));
}

}  // namespace
}  // namespace DL
