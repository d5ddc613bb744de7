// Typed reads, section searches, memos and the profile-style buffer reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "dl/store/ini_file.h"
#include "dl/support/ini_dump.h"

namespace DL {
namespace {

TIniFile FromText(const char* text) { return TIniFile(text, TIniFile::kSourceText, ';', 1); }

const char kSample[] =
    "[General]\n"
    "Name=Broker  \n"
    "Count= 42xyz\n"
    "Negative=-7\n"
    "Empty=\n"
    "Rate=1.5e2\n"
    "Comma=2,5\n"
    "Flag=0\n"
    "Text=abc\n"
    "[CL_A1]\n"
    "LIMITKINDS=3, 1\n"
    "[CL_B2_MARGIN]\n"
    "limitkinds=1,2\n"
    "[CL_C3_margin]\n";

TEST(IniReadsTest, EmptyTextAnswersDefaults) {
  TIniFile ini = FromText("");
  EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("A", "k", 5), 5);
  EXPECT_TRUE(ini.ReadBool("A", "k", true));
  EXPECT_EQ(ini.ReadFloat("A", "k", 2.5), 2.5);
  EXPECT_EQ(ini.ReadChar("A", "k", 'z'), 'z');
  EXPECT_TRUE(ini.ReadSection("A").empty());
  EXPECT_TRUE(ini.GetSectionNames().empty());
  EXPECT_TRUE(ini.GetUpperSectionNames().empty());
  EXPECT_TRUE(ini.AllLimitKinds().empty());
}

struct TypedReadCase {
  const char* key;
  std::string asString;
  int asInteger;
  bool asBool;
  double asFloat;
  char asChar;
};

TEST(IniReadsTest, TypedReadsFollowTheNumberRules) {
  const TypedReadCase cases[] = {
      {"Name", "Broker  ", 0, false, 0.0, 'B'},
      {"Count", "42xyz", 42, true, 42.0, '4'},
      {"Negative", "-7", -7, true, -7.0, '-'},
      {"Empty", "", -1, true, -1.5, '?'},
      {"Rate", "1.5e2", 1, true, 150.0, '1'},
      {"Comma", "2,5", 2, true, 2.0, '2'},
      {"Flag", "0", 0, false, 0.0, '0'},
      {"Missing", "<default>", -1, true, -1.5, '?'},
  };
  TIniFile ini = FromText(kSample);
  for (const TypedReadCase& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadString("GENERAL", c.key, "<default>"), c.key == std::string("Empty") ? "" : c.asString);
    EXPECT_EQ(ini.ReadInteger("general", c.key, -1), c.asInteger);
    EXPECT_EQ(ini.ReadBool("General", c.key, true), c.asBool);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("General", c.key, -1.5), c.asFloat);
    EXPECT_EQ(ini.ReadChar("General", c.key, '?'), c.asChar);
  }
}

TEST(IniReadsTest, KeysMatchInAnyCase) {
  TIniFile ini = FromText(kSample);
  EXPECT_EQ(ini.ReadString("GENERAL", "TEXT", ""), "abc");
  EXPECT_EQ(ini.ReadString("general", "text", ""), "abc");
}

TEST(IniReadsTest, ReadSectionCopiesInKeyOrder) {
  TIniFile ini = FromText("[S]\nb=2\nA=1\n");
  TIniSection section = ini.ReadSection("s");
  ASSERT_EQ(section.size(), 2u);
  EXPECT_EQ(section.begin()->first, "A");
  EXPECT_EQ(section.at("B"), "2");
}

TEST(IniReadsTest, NameArraysFollowTheReaderOrder) {
  TIniFile ini = FromText("[b]\n[\xc1x]\n[A]\n");
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"\xc1x", "A", "b"}));
  EXPECT_EQ(ini.GetUpperSectionNames(), (std::vector<std::string>{"\xc1X", "A", "B"}));
}

struct FindSectionCase {
  const char* prefix;
  const char* suffix;
  const char* found;
};

TEST(IniReadsTest, FindSectionMatchesPrefixAndSuffix) {
  const FindSectionCase cases[] = {
      {"CL_a1", "", "CL_A1"},         {"CL_A", "", ""},
      {"CL", "_MARGIN", "CL_B2_MARGIN"}, {"", "_margin", "CL_B2_MARGIN"},
      {"CL_C3", "_MARGIN", "CL_C3_MARGIN"}, {"general", "", "GENERAL"},
      {"CL_B2_MARGIN", "_MARGIN", ""},  {"X", "", ""},
  };
  TIniFile ini = FromText(kSample);
  for (const FindSectionCase& c : cases) {
    EXPECT_EQ(ini.FindSection(c.prefix, c.suffix), c.found) << c.prefix << " " << c.suffix;
  }
}

TEST(IniReadsTest, SectionExistsInAnyCase) {
  TIniFile ini = FromText(kSample);
  EXPECT_TRUE(ini.SectionExists("cl_a1"));
  EXPECT_TRUE(ini.SectionExists("CL_C3_MARGIN"));
  EXPECT_FALSE(ini.SectionExists("CL_A"));
}

TEST(IniReadsTest, AllLimitKindsMergesEverySection) {
  TIniFile ini = FromText(kSample);
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{1, 2, 3}));
}

TEST(IniReadsTest, AllLimitKindsCountsEmptyItemsAsZero) {
  TIniFile ini = FromText("[A]\nLIMITKINDS=2,,2\n");
  EXPECT_EQ(ini.AllLimitKinds(), (std::vector<int>{0, 2}));
}

TEST(IniReadsTest, CachedListAnswersFromTheFirstListOfAKey) {
  TIniFile ini;
  EXPECT_TRUE(ini.IsInCachedList("T1", "A, B", "B"));
  EXPECT_FALSE(ini.IsInCachedList("T1", "C", "C"));
  EXPECT_TRUE(ini.IsInCachedList("T1", "C", "A"));
  EXPECT_FALSE(ini.IsInCachedList("T1", "", "b"));
  EXPECT_FALSE(ini.IsInCachedList("T2", nullptr, ""));
  EXPECT_TRUE(ini.IsInCachedList("T3", "x,,y", ""));
  EXPECT_FALSE(ini.IsInCachedList(nullptr, "q", nullptr));
}

TEST(IniReadsTest, ReadSectionNamesListsEveryName) {
  TIniFile ini = FromText("[Bb]\n[a]\n");
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(ini.ReadSectionNames(buffer, sizeof buffer), 6u);
  EXPECT_EQ(std::string(buffer, 6), std::string("a\0Bb\0\0", 6));
  EXPECT_EQ(buffer[6], 'x');
}

TEST(IniReadsTest, ReadSectionNamesOfAnEmptyReaderIsOneNul) {
  TIniFile ini;
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(ini.ReadSectionNames(buffer, sizeof buffer), 1u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'x');
}

TEST(IniReadsTest, BufferReadsNeverWritePastTheCapacity) {
  TIniFile ini = FromText("[Bb]\nk=12345\nm=6\n[a]\n");
  for (std::size_t capacity = 0; capacity <= 16; ++capacity) {
    SCOPED_TRACE(capacity);
    char buffer[18];
    std::memset(buffer, 'x', sizeof buffer);
    std::size_t names = ini.ReadSectionNames(buffer, capacity);
    EXPECT_LE(names, capacity);
    EXPECT_EQ(buffer[capacity], 'x');
    if (capacity > 0) {
      EXPECT_EQ(buffer[names - 1], '\0');
    }

    std::memset(buffer, 'x', sizeof buffer);
    std::size_t length = ini.ReadStringToBuffer("bb", "K", buffer, capacity, "");
    EXPECT_EQ(buffer[capacity], 'x');
    if (capacity > 0) {
      EXPECT_EQ(length, std::min<std::size_t>(5, capacity - 1));
      EXPECT_EQ(std::string(buffer), std::string("12345").substr(0, length));
    } else {
      EXPECT_EQ(length, 0u);
    }

    std::memset(buffer, 'x', sizeof buffer);
    std::size_t text = ini.ReadSectionText("BB", buffer, capacity);
    EXPECT_LE(text, capacity);
    EXPECT_EQ(buffer[capacity], 'x');
    if (text > 0) {
      EXPECT_EQ(buffer[text - 1], '\0');
    }
  }
}

TEST(IniReadsTest, ReadSectionTextListsKeysInOrder) {
  TIniFile ini = FromText("[S]\nm=6\nk=12345\n[E]\n");
  char buffer[32];
  std::size_t written = ini.ReadSectionText("s", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, written), std::string("k=12345\0m=6\0\0", 13));
  EXPECT_EQ(ini.ReadSectionText("E", buffer, sizeof buffer), 0u);
  EXPECT_EQ(ini.ReadSectionText("none", buffer, sizeof buffer), 0u);
  EXPECT_EQ(ini.ReadSectionText(nullptr, buffer, sizeof buffer), 0u);
}

TEST(IniReadsTest, ReadStringToBufferGivesTheDefaultOrAnEmptyValue) {
  TIniFile ini = FromText("[S]\nempty=\n");
  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(ini.ReadStringToBuffer("S", "missing", buffer, sizeof buffer, "dflt"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(ini.ReadStringToBuffer("S", "empty", buffer, sizeof buffer, "dflt"), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(ini.ReadStringToBuffer(nullptr, nullptr, buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(ini.ReadStringToBuffer("S", "empty", nullptr, 8, "x"), 0u);
}

class IniFileSourceTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path_.c_str()); }
  void Write(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  std::string path_ = "dl_ini_source_test.ini";
};

TEST_F(IniFileSourceTest, ReadsAFileWithEveryLineEnd) {
  Write("[A]\r\nk=1\r\n[B]\rm=2\rn=3\n");
  TIniFile ini;
  ASSERT_TRUE(ini.Parse(path_.c_str(), TIniFile::kSourceFile, ';', 1));
  EXPECT_EQ(Testing::DumpIni(ini), "[A]\nk=1\n[B]\nm=2\nn=3\n");
}

TEST_F(IniFileSourceTest, FileTextEndsAtItsFirstNul) {
  Write(std::string("[A]\nk=1\0\n[B]\nm=2\n", 17));
  TIniFile ini(path_.c_str(), TIniFile::kSourceFile, ';', 1);
  EXPECT_EQ(Testing::DumpIni(ini), "[A]\nk=1\n");
}

TEST_F(IniFileSourceTest, LargeFileIsReadWhole) {
  std::string content = "[A]\n";
  for (int i = 0; i < 20000; ++i) content += "key" + std::to_string(i) + "=value\n";
  content += "[Last]\nk=end";
  Write(content);
  TIniFile ini(path_.c_str(), TIniFile::kSourceFile, ';', 1);
  EXPECT_EQ(ini.ReadSection("A").size(), 20000u);
  EXPECT_EQ(ini.ReadString("Last", "k", ""), "end");
}

TEST_F(IniFileSourceTest, MissingFileFailsAndLeavesTheReaderEmpty) {
  TIniFile ini("[A]\nk=1\n", TIniFile::kSourceText, ';', 1);
  EXPECT_FALSE(ini.Parse("no_such_dir/no_such_file.ini", TIniFile::kSourceFile, ';', 1));
  EXPECT_TRUE(ini.GetSectionNames().empty());
  EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
  EXPECT_FALSE(ini.Parse(nullptr, TIniFile::kSourceFile, ';', 1));
}

TEST_F(IniFileSourceTest, ModeTwoTakesTheTextNotAFile) {
  Write("[A]\nk=1\n");
  TIniFile ini(path_.c_str(), TIniFile::kSourceText, ';', 1);
  EXPECT_TRUE(ini.GetSectionNames().empty());
}

TEST(IniReadsTest, CopiedReaderAnswersLikeTheOriginal) {
  TIniFile original = FromText("[A]\nk=1\n");
  TIniFile copy = original;
  TIniFile moved = std::move(original);
  EXPECT_EQ(copy.ReadString("a", "K", ""), "1");
  EXPECT_EQ(moved.ReadString("a", "K", ""), "1");
}

}  // namespace
}  // namespace DL
