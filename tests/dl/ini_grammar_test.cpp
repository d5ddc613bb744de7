// The reader's grammar, case by case: each text is parsed from memory and
// the whole result compared.
#include <gtest/gtest.h>

#include "dl/store/ini_file.h"
#include "dl/support/ini_dump.h"

namespace DL {
namespace {

struct GrammarCase {
  const char* title;
  const char* text;
  const char* dump;
};

const GrammarCase kGrammarCases[] = {
    {"empty text", "", ""},
    {"blank lines only", "  \r\n\t\n\r", ""},
    {"one key", "[A]\nk=1", "[A]\nk=1\n"},
    {"keys before the first header are dropped", "k=0\n[A]\nk=1\n", "[A]\nk=1\n"},
    {"repeated section keeps only its last keys, first spelling", "[A]\nk=1\n[B]\nx=1\n[a]\nm=2\n",
     "[A]\nm=2\n[B]\nx=1\n"},
    {"a blank in a header drops keys to the next good header",
     "[A]\nk=1\n[B C]\nn=2\n[D]\np=3\n", "[A]\nk=1\n[D]\np=3\n"},
    {"a stray bracket ends the section", "[A]\nk=1\nx[y\nn=2\n", "[A]\nk=1\n"},
    {"a header without its bracket ends the section", "[A]\nk=1\n[B\nn=2\n[C]\n",
     "[A]\nk=1\n[C]\n"},
    {"an empty header ends the section", "[A]\nk=1\n[]\nn=2\n", "[A]\nk=1\n"},
    {"a TAB in a header makes it bad", "[A\tB]\nk=1\n", ""},
    {"a comment character in a header makes it bad", "[A;B]\nk=1\n", ""},
    {"a header at the end of the text without bracket", "[A]\nk=1\n[B", "[A]\nk=1\n"},
    {"text after a header is ignored", "[A] k=1 ; x\nm=2\n", "[A]\nm=2\n"},
    {"header name may hold = and [", "[A=B]\nk=1\n[C[D]\nm=2\n", "[A=B]\nk=1\n[C[D]\nm=2\n"},
    {"indented header", "  \t[A]\nk=1\n", "[A]\nk=1\n"},
    {"a header followed by no keys is an empty section", "[A]\n[B]\nk=1\n", "[A]\n[B]\nk=1\n"},
    {"trailing blanks of a value stay", "[A]\nK1 = x  \n", "[A]\nK1=x  \n"},
    {"empty value", "[A]\nK2=\n", "[A]\nK2=\n"},
    {"leading blanks and TABs of a value go", "[A]\nk= \t v\n", "[A]\nk=v\n"},
    {"trailing blanks and TABs of a key go", "[A]\n k \t =v\n", "[A]\nk=v\n"},
    {"a comment cuts the value", "[A]\na = b ;c\nK=1;2\n", "[A]\na=b \nK=1\n"},
    {"value holds a second =", "[A]\nK=x=y\n", "[A]\nK=x=y\n"},
    {"value may hold brackets", "[A]\nK=[x]\n", "[A]\nK=[x]\n"},
    {"comment lines", "[A]\n  ; K=1\nK;=1\n;[B]\n", "[A]\n"},
    {"empty key is ignored", "[A]\n=5\n  =6\n", "[A]\n"},
    {"last duplicate key wins, first spelling stays", "[A]\nKey=1\nKEY=2\nkey=3\n",
     "[A]\nKey=3\n"},
    {"CR alone ends lines", "[A]\rk=1\rm=2\r", "[A]\nk=1\nm=2\n"},
    {"CR LF ends lines", "[A]\r\nk=1\r\nm=2\r\n", "[A]\nk=1\nm=2\n"},
    {"mixed line ends", "[A]\n\rk=1\r\r\nm=2", "[A]\nk=1\nm=2\n"},
    {"keys are sorted without regard to ASCII case", "[A]\nb=1\nA=2\nc=3\n",
     "[A]\nA=2\nb=1\nc=3\n"},
    {"a key is a prefix of another", "[A]\nkk=1\nk=2\n", "[A]\nk=2\nkk=1\n"},
    {"Cyrillic names sort before ASCII names", "[Z]\n[\xc0\xc1]\nk=1\n[a]\n",
     "[\xc0\xc1]\nk=1\n[a]\n[Z]\n"},
    {"Cyrillic letters are not folded", "[\xe0]\nk=1\n[\xc0]\nk=2\n", "[\xc0]\nk=2\n[\xe0]\nk=1\n"},
    {"underscore sorts after upper case letters", "[A_]\n[AB]\n[Ab]\n", "[AB]\n[A_]\n"},
    {"line without = or [ is ignored", "[A]\njust text\nk=1\n", "[A]\nk=1\n"},
    {"key line at the end of the text", "[A]\nk=v", "[A]\nk=v\n"},
    {"= before a stray bracket makes a key line", "[A]\nk=x[y\n", "[A]\nk=x[y\n"},
    {"a bad header does not keep keys after the next good one",
     "[A]\nk=1\n[B C]\nn=2\n[A]\n", "[A]\n"},
};

class GrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(GrammarTest, ParsesToTheExpectedSections) {
  const GrammarCase& c = GetParam();
  TIniFile ini(c.text, TIniFile::kSourceText, ';', 1);
  EXPECT_EQ(Testing::DumpIni(ini), c.dump) << c.title;
}

INSTANTIATE_TEST_SUITE_P(Reader, GrammarTest, ::testing::ValuesIn(kGrammarCases));

TEST(GrammarTest, OtherCommentCharacter) {
  TIniFile ini("[A]\nk=1#x\nm=2;y\n# n=3\n", TIniFile::kSourceText, '#', 1);
  EXPECT_EQ(Testing::DumpIni(ini), "[A]\nk=1\nm=2;y\n");
}

TEST(GrammarTest, NullSourceIsAnEmptyText) {
  TIniFile ini;
  EXPECT_TRUE(ini.Parse(nullptr, TIniFile::kSourceText, ';', 1));
  EXPECT_TRUE(ini.GetSectionNames().empty());
}

TEST(GrammarTest, ParsingAgainReplacesEverything) {
  TIniFile ini("[A]\nk=1\n", TIniFile::kSourceText, ';', 1);
  ASSERT_TRUE(ini.Parse("[B]\nm=2\n", TIniFile::kSourceText, ';', 1));
  EXPECT_EQ(Testing::DumpIni(ini), "[B]\nm=2\n");
  EXPECT_EQ(ini.GetUpperSectionNames(), std::vector<std::string>{"B"});
}

}  // namespace
}  // namespace DL
