// The reader against the reference reader written straight from the grammar,
// on thousands of generated hostile texts.
#include <gtest/gtest.h>

#include "dl/store/ini_file.h"
#include "dl/support/hostile_text.h"
#include "dl/support/ini_dump.h"
#include "dl/support/reference_ini.h"

namespace DL {
namespace {

void ExpectSameAsReference(const std::string& text, char commentChar) {
  TIniFile ini(text.c_str(), TIniFile::kSourceText, commentChar, 1);
  ASSERT_EQ(Testing::DumpIni(ini), Testing::ReferenceIniDump(text, commentChar))
      << "text: \"" << text << "\"";
}

TEST(IniReferenceTest, AgreesOnGeneratedHostileTexts) {
  Testing::THostileTextGenerator generator(20261206);
  for (int i = 0; i < 5000; ++i) {
    std::string text = generator.Next();
    ExpectSameAsReference(text, ';');
    if (HasFatalFailure()) return;
  }
}

TEST(IniReferenceTest, AgreesWithAnotherCommentCharacter) {
  Testing::THostileTextGenerator generator(7);
  for (int i = 0; i < 2000; ++i) {
    ExpectSameAsReference(generator.Next(), '#');
    if (HasFatalFailure()) return;
  }
}

TEST(IniReferenceTest, ReferenceDumpsTheGrammarExamples) {
  // The reference itself must read the plain cases right, or agreeing with it
  // proves nothing.
  EXPECT_EQ(Testing::ReferenceIniDump("[A]\nk=1\n[B C]\nn=2\n[a]\nm = x ;c\n", ';'), "[A]\nm=x \n");
  EXPECT_EQ(Testing::ReferenceIniDump("k=0\n[\xc0]\r\nK=1\r\nk=2\n[Z]", ';'), "[\xc0]\nK=2\n[Z]\n");
}

}  // namespace
}  // namespace DL
