// The settings reader: its grammar case by case (each text parsed from
// memory and the whole result compared), typed reads, searches, memos, the
// profile-style buffer reads and file sources.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "dl/store/ini_file.h"
#include "dl/support/ini_dump.h"

namespace DL {
namespace {

using Testing::DumpIni;

TIniFile FromText(const char* text, char comment = ';') {
  return TIniFile(text, TIniFile::kSourceText, comment, 1);
}

struct GrammarCase {
  const char* title;
  const char* text;
  const char* dump;
};

const GrammarCase kGrammarCases[] = {
    {"empty text", "", ""}, {"blank lines only", "  \r\n\t\n\r", ""}, {"one key", "[A]\nk=1", "[A]\nk=1\n"},
    {"keys before the first header are dropped", "k=0\n[A]\nk=1\n", "[A]\nk=1\n"},
    {"repeated section keeps only its last keys, first spelling", "[A]\nk=1\n[B]\nx=1\n[a]\nm=2\n",
     "[A]\nm=2\n[B]\nx=1\n"},
    {"a blank in a header drops keys to the next good header",
     "[A]\nk=1\n[B C]\nn=2\n[D]\np=3\n", "[A]\nk=1\n[D]\np=3\n"},
    {"a stray bracket ends the section", "[A]\nk=1\nx[y\nn=2\n", "[A]\nk=1\n"},
    {"a header without its bracket ends the section", "[A]\nk=1\n[B\nn=2\n[C]\n", "[A]\nk=1\n[C]\n"},
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
    {"last duplicate key wins, first spelling stays", "[A]\nKey=1\nKEY=2\nkey=3\n", "[A]\nKey=3\n"},
    {"CR alone ends lines", "[A]\rk=1\rm=2\r", "[A]\nk=1\nm=2\n"},
    {"CR LF ends lines", "[A]\r\nk=1\r\nm=2\r\n", "[A]\nk=1\nm=2\n"},
    {"mixed line ends", "[A]\n\rk=1\r\r\nm=2", "[A]\nk=1\nm=2\n"},
    {"keys are sorted without regard to ASCII case", "[A]\nb=1\nA=2\nc=3\n", "[A]\nA=2\nb=1\nc=3\n"},
    {"a key is a prefix of another", "[A]\nkk=1\nk=2\n", "[A]\nk=2\nkk=1\n"},
    {"Cyrillic names sort before ASCII names", "[Z]\n[\xc0\xc1]\nk=1\n[a]\n", "[\xc0\xc1]\nk=1\n[a]\n[Z]\n"},
    {"Cyrillic letters are not folded", "[\xe0]\nk=1\n[\xc0]\nk=2\n", "[\xc0]\nk=2\n[\xe0]\nk=1\n"},
    {"underscore sorts after upper case letters", "[A_]\n[AB]\n[Ab]\n", "[AB]\n[A_]\n"},
    {"line without = or [ is ignored", "[A]\njust text\nk=1\n", "[A]\nk=1\n"},
    {"key line at the end of the text", "[A]\nk=v", "[A]\nk=v\n"},
    {"= before a stray bracket makes a key line", "[A]\nk=x[y\n", "[A]\nk=x[y\n"},
    {"a bad header does not keep keys after the next good one", "[A]\nk=1\n[B C]\nn=2\n[A]\n", "[A]\n"},
};

TEST(IniGrammar, ParsesToTheExpectedSections) {
  for (const GrammarCase& c : kGrammarCases) EXPECT_EQ(DumpIni(FromText(c.text)), c.dump) << c.title;
  EXPECT_EQ(DumpIni(FromText("[A]\nk=1#x\nm=2;y\n# n=3\n", '#')), "[A]\nk=1\nm=2;y\n");
}

TEST(IniGrammar, ParsingAgainReplacesEverything) {
  TIniFile ini = FromText("[A]\nk=1\n");
  ASSERT_TRUE(ini.Parse("[B]\nm=2\n", TIniFile::kSourceText, ';', 1));
  EXPECT_EQ(DumpIni(ini), "[B]\nm=2\n");
  EXPECT_EQ(ini.GetUpperSectionNames(), std::vector<std::string>{"B"});
  EXPECT_TRUE(ini.Parse(nullptr, TIniFile::kSourceText, ';', 1));
  EXPECT_TRUE(ini.GetSectionNames().empty());
}

TEST(IniReads, TypedReadsFollowTheNumberRules) {
  // The value as text, integer, flag, number and character.
  const std::tuple<const char*, const char*, int, bool, double, char> cases[] = {
      {"Name", "Broker  ", 0, false, 0.0, 'B'},   {"Count", "42xyz", 42, true, 42.0, '4'},
      {"Negative", "-7", -7, true, -7.0, '-'},    {"Empty", "", -1, true, -1.5, '?'},
      {"Rate", "1.5e2", 1, true, 150.0, '1'},     {"Flag", "0", 0, false, 0.0, '0'},
      {"Missing", "<default>", -1, true, -1.5, '?'},
  };
  TIniFile ini = FromText("[General]\nName=Broker  \nCount= 42xyz\nNegative=-7\nEmpty=\n"
                          "Rate=1.5e2\nFlag=0\n[Other]\n");
  for (const auto& [key, text, integer, flag, number, character] : cases) {
    SCOPED_TRACE(key);
    EXPECT_EQ(ini.ReadString("GENERAL", key, "<default>"), text);
    EXPECT_EQ((std::vector<int>{ini.ReadInteger("general", key, -1), ini.ReadBool("General", key, true),
                                ini.ReadChar("General", key, '?')}), (std::vector<int>{integer, flag, character}));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("General", key, -1.5), number);
    EXPECT_EQ(ini.ReadString("Other", key, "d") + ini.ReadString("NONE", key, "d"), "dd");
  }
  EXPECT_EQ(ini.ReadString("general", "NAME", ""), "Broker  ");
  const TIniSection section = FromText("[S]\nb=2\nA=1\n").ReadSection("s");
  EXPECT_EQ(section, (TIniSection{{"A", "1"}, {"b", "2"}}));
  EXPECT_EQ(section.at("B"), "2");
  EXPECT_TRUE(ini.ReadSection("NONE").empty());
}

TEST(IniReads, NamesInTheReadersOrder) {
  TIniFile ini = FromText("[b]\n[\xc1x]\n[A]\n");
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"\xc1x", "A", "b"}));
  EXPECT_EQ(ini.GetUpperSectionNames(), (std::vector<std::string>{"\xc1X", "A", "B"}));
  EXPECT_TRUE(TIniFile::CompareNoCase("a", "AB") < 0 && TIniFile::CompareNoCase("b", "A") > 0);
  EXPECT_EQ(TIniFile::CompareNoCase("aB", "Ab"), 0);
}

TEST(IniReads, FindSectionAndSectionExists) {
  const char* const cases[][3] = {
      {"CL_a1", "", "CL_A1"},       {"CL_A", "", ""},
      {"CL", "_MARGIN", "CL_B2_MARGIN"}, {"", "_margin", "CL_B2_MARGIN"},
      {"CL_C3", "_MARGIN", "CL_C3_MARGIN"}, {"CL_B2_MARGIN", "_MARGIN", ""},
      {"CL_B", "2_MARGIN", "CL_B2_MARGIN"}, {"X", "", ""},
  };
  TIniFile ini = FromText("[CL_A1]\n[CL_B2_MARGIN]\n[CL_C3_margin]\n");
  for (const auto& c : cases) EXPECT_EQ(ini.FindSection(c[0], c[1]), c[2]) << c[0] << " " << c[1];
  EXPECT_TRUE(ini.SectionExists("cl_a1") && ini.SectionExists("CL_C3_MARGIN"));
  EXPECT_FALSE(ini.SectionExists("CL_A"));
}

TEST(IniReads, AllLimitKindsMergesEverySection) {
  TIniFile ini = FromText("[A]\nLIMITKINDS=3, 1\n[B]\nlimitkinds=1,2,,2\nX=9\n");
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{0, 1, 2, 3}));
}

TEST(IniReads, CachedListAnswersFromTheFirstListOfAKey) {
  TIniFile ini;
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      {"T1", "A, B", "B", true}, {"T1", "C", "C", false}, {"T1", "C", "A", true}, {"T1", "", "b", false},
      {"T2", nullptr, "", false}, {"T3", "x,,y", "", true}, {nullptr, "q", nullptr, false}};
  for (const auto& [key, list, item, listed] : cases) EXPECT_EQ(ini.IsInCachedList(key, list, item), listed);
}

// What a list read of that many characters writes: the entries and a NUL.
std::string Written(const std::string& entries, std::size_t count) {
  return count == 0 ? "" : entries.substr(0, count - 1) + '\0';
}

// Each buffer read writes whole entries while one more NUL still fits.
TEST(IniReads, BufferReadsCutAtTheCapacity) {
  TIniFile ini = FromText("[Bb]\nm=6\nk=12345\n[a]\n");
  for (std::size_t capacity = 0; capacity <= 16; ++capacity) {
    SCOPED_TRACE(capacity);
    char buffer[18];
    std::memset(buffer, 'x', sizeof buffer);
    const std::size_t names = capacity == 0 ? 0 : capacity < 3 ? 1 : capacity < 6 ? 3 : 6;
    ASSERT_EQ(ini.ReadSectionNames(buffer, capacity), names);
    EXPECT_EQ(std::string(buffer, names), Written(std::string("a\0Bb\0", 5), names));
    EXPECT_EQ(buffer[names], 'x');

    std::memset(buffer, 'x', sizeof buffer);
    const std::size_t text = capacity == 0 ? 0 : capacity < 9 ? 1 : capacity < 13 ? 9 : 13;
    ASSERT_EQ(ini.ReadSectionText("BB", buffer, capacity), text);
    EXPECT_EQ(std::string(buffer, text), Written(std::string("k=12345\0m=6\0", 12), text));
    EXPECT_EQ(buffer[text], 'x');

    std::memset(buffer, 'x', sizeof buffer);
    const std::size_t length = capacity == 0 ? 0 : std::min<std::size_t>(5, capacity - 1);
    ASSERT_EQ(ini.ReadStringToBuffer("bb", "K", buffer, capacity, ""), length);
    EXPECT_EQ(std::string(buffer, length), std::string("12345").substr(0, length));
    EXPECT_EQ(buffer[capacity == 0 ? 0 : length + 1], 'x');
  }
  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(TIniFile().ReadSectionNames(buffer, 4), 1u);
  EXPECT_EQ(ini.ReadSectionText("a", buffer, sizeof buffer), 0u);
  EXPECT_EQ(ini.ReadSectionText(nullptr, buffer, sizeof buffer), 0u);
  EXPECT_EQ(ini.ReadStringToBuffer("a", "missing", buffer, sizeof buffer, "dflt"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(ini.ReadStringToBuffer(nullptr, nullptr, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(ini.ReadStringToBuffer("bb", "k", nullptr, 8, "x"), 0u);
}

class IniFileSourceTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path_.c_str()); }
  void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string path_ = ::testing::TempDir() + "dl_ini_source_test.ini";
};

TEST_F(IniFileSourceTest, ReadsTheFileUpToItsFirstNul) {
  std::string content = "[A]\r\nk=1\r\n[B]\rm=2\rn=3\n";
  for (int i = 0; i < 20000; ++i) content += "key" + std::to_string(i) + "=v\n";
  Write(content + std::string("[C]\nk=1\0\n[D]\nm=2\n", 17));
  TIniFile ini;
  ASSERT_TRUE(ini.Parse(path_.c_str(), TIniFile::kSourceFile, ';', 1));
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(ini.ReadSection("B").size(), 20002u);
  EXPECT_EQ(ini.ReadString("C", "k", ""), "1");
  // Mode 2 takes the path as the text itself.
  EXPECT_TRUE(FromText(path_.c_str()).GetSectionNames().empty());
}

TEST_F(IniFileSourceTest, MissingFileFailsAndLeavesTheReaderEmpty) {
  TIniFile ini = FromText("[A]\nk=1\n");
  EXPECT_FALSE(ini.Parse("no_such_dir/no_such_file.ini", TIniFile::kSourceFile, ';', 1));
  EXPECT_TRUE(ini.GetSectionNames().empty());
  EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
  EXPECT_FALSE(ini.Parse(nullptr, TIniFile::kSourceFile, ';', 1));
}

}  // namespace
}  // namespace DL
