// The settings reader: its grammar case by case (each text parsed from
// memory and the whole result compared), typed reads, searches, memos, the
// profile-style buffer reads and file sources; and the number and text
// helpers of the library: tolerance comparisons, rounding, dates,
// conversions, inherited values, number texts, comma lists and key tokens.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "dl/store/ini_file.h"
#include "dl/store/number_text.h"
#include "dl/store/numbers.h"
#include "dl/store/text_lists.h"

namespace DL {
namespace {

// The reader's content as one text: each section and its keys in order.
std::string DumpIni(const TIniFile& ini) {
  std::string dump;
  for (const std::string& name : ini.GetSectionNames()) {
    dump += "[" + name + "]\n";
    for (const auto& [key, value] : ini.ReadSection(name)) dump += key + "=" + value + "\n";
  }
  return dump;
}

using Strings = std::vector<std::string>;
using Doubles = std::vector<double>;

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
    {"leading blanks and TABs of a value go", "[A]\nk= \t v\n", "[A]\nk=v\n"},
    {"trailing blanks and TABs of a key go", "[A]\n k \t =v\n", "[A]\nk=v\n"},
    {"a comment cuts the value", "[A]\na = b ;c\nK=1;2\n", "[A]\na=b \nK=1\n"},
    {"value holds a second =", "[A]\nK=x=y\n", "[A]\nK=x=y\n"},
    {"comment lines", "[A]\n  ; K=1\nK;=1\n;[B]\n", "[A]\n"}, {"empty key is ignored", "[A]\n=5\n  =6\n", "[A]\n"},
    {"last duplicate key wins, first spelling stays", "[A]\nKey=1\nKEY=2\nkey=3\n", "[A]\nKey=3\n"},
    {"CR alone ends lines", "[A]\rk=1\rm=2\r", "[A]\nk=1\nm=2\n"},
    {"mixed line ends", "[A]\n\rk=1\r\r\nm=2", "[A]\nk=1\nm=2\n"},
    {"keys are sorted without regard to ASCII case", "[A]\nb=1\nA=2\nc=3\n", "[A]\nA=2\nb=1\nc=3\n"},
    {"a key is a prefix of another", "[A]\nkk=1\nk=2\n", "[A]\nk=2\nkk=1\n"},
    {"Cyrillic names sort before ASCII names", "[Z]\n[\xc0\xc1]\nk=1\n[a]\n", "[\xc0\xc1]\nk=1\n[a]\n[Z]\n"},
    {"Cyrillic letters are not folded", "[\xe0]\nk=1\n[\xc0]\nk=2\n", "[\xc0]\nk=2\n[\xe0]\nk=1\n"},
    {"underscore sorts after upper case letters", "[A_]\n[AB]\n[Ab]\n", "[AB]\n[A_]\n"},
    {"line without = or [ is ignored", "[A]\njust text\nk=1\n", "[A]\nk=1\n"},
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
  EXPECT_TRUE(ini.Parse(nullptr, TIniFile::kSourceText, ';', 1) && ini.GetSectionNames().empty());
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
  const TIniSection section = FromText("[S]\nb=2\nA=1\n").ReadSection("s");
  EXPECT_EQ(section, (TIniSection{{"A", "1"}, {"b", "2"}}));
  EXPECT_EQ(section.at("B"), "2");
  EXPECT_TRUE(ini.ReadSection("NONE").empty());
}

TEST(IniReads, FindSectionAndSectionExists) {
  const char* const cases[][3] = {
      {"CL_a1", "", "CL_A1"}, {"CL_A", "", ""}, {"CL", "_MARGIN", "CL_B2_MARGIN"}, {"", "_margin", "CL_B2_MARGIN"},
      {"CL_C3", "_MARGIN", "CL_C3_MARGIN"}, {"CL_B2_MARGIN", "_MARGIN", ""}, {"CL_B", "2_MARGIN", "CL_B2_MARGIN"},
      {"X", "", ""},
  };
  TIniFile ini = FromText("[CL_A1]\n[CL_B2_MARGIN]\n[CL_C3_margin]\n");
  for (const auto& c : cases) EXPECT_EQ(ini.FindSection(c[0], c[1]), c[2]) << c[0] << " " << c[1];
  EXPECT_TRUE(ini.SectionExists("cl_a1") && ini.SectionExists("CL_C3_MARGIN") && !ini.SectionExists("CL_A"));
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
  EXPECT_EQ(ini.ReadSectionText("a", buffer, sizeof buffer) + ini.ReadSectionText(nullptr, buffer, 8), 0u);
  EXPECT_EQ(ini.ReadStringToBuffer("a", "missing", buffer, sizeof buffer, "dflt"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(ini.ReadStringToBuffer(nullptr, nullptr, buffer, 8, nullptr), 0u);
  EXPECT_EQ(ini.ReadStringToBuffer("bb", "k", nullptr, 8, "x"), 0u);
}

TEST(IniFileSource, ReadsTheWholeFileUpToItsFirstNul) {
  const std::string path = ::testing::TempDir() + "dl_ini_source_test.ini";
  std::string content = "[A]\r\nk=1\r\n[B]\rm=2\rn=3\n";
  for (int i = 0; i < 20000; ++i) content += "key" + std::to_string(i) + "=v\n";
  std::ofstream(path, std::ios::binary) << content + std::string("[C]\nk=1\0\n[D]\nm=2\n", 17);
  TIniFile ini;
  ASSERT_TRUE(ini.Parse(path.c_str(), TIniFile::kSourceFile, ';', 1));
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(ini.ReadSection("B").size(), 20002u);
  EXPECT_EQ(ini.ReadString("C", "k", ""), "1");
  EXPECT_TRUE(FromText(path.c_str()).GetSectionNames().empty());  // mode 2 takes the path as the text
  // 65,537 bytes: the last one is read alone after a full chunk.
  std::ofstream(path, std::ios::binary) << "[E]\n" + std::string(65528, ';') + "\nk=12";
  EXPECT_EQ(TIniFile(path.c_str(), TIniFile::kSourceFile, ';', 1).ReadString("E", "k", ""), "12");
  std::remove(path.c_str());
  // A file that cannot be read fails and leaves the reader empty.
  EXPECT_FALSE(ini.Parse("no_such_dir/no_such_file.ini", TIniFile::kSourceFile, ';', 1));
  EXPECT_TRUE(ini.GetSectionNames().empty() && ini.ReadString("A", "k", "d") == "d");
  EXPECT_FALSE(ini.Parse(nullptr, TIniFile::kSourceFile, ';', 1));
}

TEST(Numbers, ToleranceBoundIsStrict) {
  const std::tuple<double, double, bool, bool, bool> cases[] = {  // a, b, equal, greater, less
      {1.0, 1.00000009, true, false, false}, {1.0, 1.0000001, false, false, true},
      {1.00000005, 1.0, true, false, false}, {1.0000002, 1.0, false, true, false},
      {0.99999995, 1.0, true, false, false}, {0.9999998, 1.0, false, false, true},
  };
  for (const auto& [a, b, equal, greater, less] : cases) {
    EXPECT_EQ(IsEqual(a, b), equal) << a << " " << b;
    EXPECT_EQ(IsGreater(a, b), greater) << a << " " << b;
    EXPECT_EQ(IsLess(a, b), less) << a << " " << b;
  }
  EXPECT_TRUE(IsZero(-0.00000009) && !IsZero(kTolerance) && !IsZero(-kTolerance));
  const double parts[][3] = {{2.5, 2.5, 0}, {0.00000005, 0, 0}, {-1, 0, -1}, {-0.00000005, 0, 0}};
  for (const auto& p : parts)
    EXPECT_EQ((Doubles{PositivePart(p[0]), NegativePart(p[0])}), (Doubles{p[1], p[2]})) << p[0];
  EXPECT_EQ(AbsValue(-3.5), 3.5);
}

TEST(Numbers, RoundingUsesTheTolerance) {
  // x, half away from zero, away from zero, toward zero
  const double cases[][4] = {
      {2.4999999, 3, 3, 2},   {-2.5, -3, -3, -2}, {2.00000005, 2, 2, 2},     {2.1, 2, 3, 2},
      {-2.1, -2, -3, -2},     {2.99999995, 3, 3, 3}, {-2.7, -3, -3, -2},     {0, 0, 0, 0}, {0.5, 1, 1, 0},
      {-1.99999995, -2, -2, -2}, {-2.4999999, -3, -3, -2}, {-2.00000005, -2, -2, -2},
  };
  for (const auto& c : cases)
    EXPECT_EQ((Doubles{RoundHalfAway(c[0]), RoundAwayFromZero(c[0]), TruncateTowardZero(c[0])}),
              (Doubles{c[1], c[2], c[3]})) << c[0];
}

TEST(Numbers, PowersDatesAndConversions) {
  EXPECT_EQ((Doubles{PowerOfTen(0), PowerOfTen(3), PowerOfTen(INT_MIN)}), (Doubles{1, 1000, 0}));
  EXPECT_EQ(PowerOfTen(-2), 0.1 * 0.1);
  EXPECT_TRUE(std::isinf(PowerOfTen(INT_MAX)));
  const TDateParts parts = SplitDate(20240315);
  EXPECT_EQ((std::vector<int>{parts.day, parts.month, parts.year}), (std::vector<int>{15, 3, 2024}));
  EXPECT_EQ(SplitDate(-20240315).day, -15);
  // The difference of the YYYYMMDD digits: a month less 27 days.
  EXPECT_EQ((std::vector<int>{DateDifference(20240301, 20240228), DateDifference(20250101, 20241231),
                              DateDifference(INT_MAX, INT_MIN)}),
            (std::vector<int>{73, 8870, -1}));
  EXPECT_EQ((Doubles{ApplyPercentFlag(200.0, 5.0, 0x400), ApplyPercentFlag(200.0, 5.0, 0x3ff)}), (Doubles{10, 200}));
  for (char side : {'S', 'B', 'X'})  // no rate, or another mode: unchanged
    EXPECT_EQ(ConvertByRate(7.0, side, 3.0, 1, 0.0) + ConvertByRate(7.0, side, 3.0, 0, 2.0), 14.0) << side;
  EXPECT_EQ((Doubles{ConvertByRate(8.0, 'S', 2.0, 1, 4.0), ConvertByRate(8.0, 'B', 2.0, 1, 4.0),
                     ConvertByRate(8.0, 'X', 2.0, 1, 4.0), ConvertPercentByRate(200.0, 'B', 0x400, 5.0, 2.0, 1, 3.0)}),
            (Doubles{4, 64, 16, 60}));
  const int kinds[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
  for (const auto& k : kinds) EXPECT_EQ(NormalizeLimitKind(k[0]), k[1]) << k[0];
}

TEST(Numbers, InheritedValues) {
  // value, flag, expected with inherited 5 and alternative 7
  const int cases[][3] = {{-2, 0, 5}, {-2, 1, 7}, {-1, 0, 7}, {-1, 1, -1}, {3, 0, 3}, {3, 1, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(ResolveInherited(c[0], 5, 7, c[1] != 0), c[2]) << c[0] << " " << c[1];
    EXPECT_EQ(ResolveInherited(c[0] + 0.00000001, 5.0, 7.0, c[1] != 0), c[0] == 3 ? 3.00000001 : c[2]) << c[0];
  }
  EXPECT_TRUE(ResolveInherited(true, false, false, false));
  EXPECT_FALSE(ResolveInherited(false, true, true, false));
  EXPECT_EQ(ResolveInheritedSimple(-2, 9), 9);
  EXPECT_EQ(ResolveInheritedSimple(-1, 9), -1);
  EXPECT_FALSE(ResolveInheritedSimpleFlag(-2, 0));
  EXPECT_TRUE(ResolveInheritedSimpleFlag(-1, 0));
}

TEST(NumberText, NumbersFollowAtoiAndAtofWithAPoint) {
  const std::pair<const char*, int> integers[] = {
      {"", 0},     {"42", 42},   {"  \t-17x", -17}, {"+8", 8}, {"- 8", 0}, {"abc", 0}, {"12.9", 12},
      {"\n\v\f\r5", 5}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"0x10", 0}, {"--3", 0},
  };
  for (const auto& [text, value] : integers) EXPECT_EQ(TextToInt(text), value) << text;
  // Out of range: the first significant digit moved by the exponent decides
  // between an overflow and an underflow.
  const std::string underflow = "0." + std::string(1324, '0') + "1e1000";
  const std::pair<std::string, double> doubles[] = {
      {"", 0.0},        {"1.5", 1.5},     {"  -2.25abc", -2.25}, {"+.5", 0.5},  {"1e3", 1000.0},  {"1E-2", 0.01},
      {"5.", 5.0},      {"1,5", 1.0},     {"e5", 0.0},       {".", 0.0},        {"-", 0.0},       {"--1", 0.0},
      {"0x1p4", 16.0},  {"0x", 0.0},      {"0xg", 0.0},      {"1e", 1.0},       {"0xF", 15.0},    {"0xf", 15.0},
      {"0XA", 10.0},    {"0x.8", 0.5},    {"0x.", 0.0},      {"0x.g", 0.0},     {"-0x10", -16.0}, {"1e+", 1.0},
      {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0}, {"0x1p99999", HUGE_VAL}, {"0x1p-99999", 0.0},
      {"0.0001e-330", 0.0}, {"1000e306", HUGE_VAL}, {underflow, 0.0}, {"1" + std::string(400, '0'), HUGE_VAL},
      {"inf", HUGE_VAL}, {"-Infinity", -HUGE_VAL}, {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const auto& [text, value] : doubles) EXPECT_EQ(TextToDouble(text), value) << text.substr(0, 40);
  EXPECT_TRUE(std::isnan(TextToDouble("nan")));
}

TEST(NumberText, DecimalPointIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  // Any locale with a decimal comma will do; the test is moot without one.
  const bool changed = std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") != nullptr ||
                       std::setlocale(LC_NUMERIC, "Russian_Russia.1251") != nullptr;
  EXPECT_EQ(DoubleToString(TextToDouble("2.5") + ParseDouble("0.25")), "2.750000");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!changed) GTEST_SKIP() << "no locale with a decimal comma installed";
}

TEST(TextLists, TextsAndLists) {
  std::string text = "abz\xe0\xff_1AZ`{@[";
  MakeUpper(text);
  EXPECT_EQ(text, "ABZ\xe0\xff_1AZ`{@[");
  text = " a \tb  c ";
  RemoveSpaces(text);
  EXPECT_EQ(text, "a\tbc");
  EXPECT_EQ(ToUpperCopy("cl_a1") + " " + DoubleToString(1.5) + " " + DoubleToString(-0.0000004) + " " +
                DoubleToString(1e20) + " " + IntToString(-42),
            "CL_A1 1.500000 -0.000000 100000000000000000000.000000 -42");
  const std::pair<const char*, Strings> lists[] = {
      {"", {}},     {"x", {"x"}},         {"a, b,c", {"a", "b", "c"}}, {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}}, {",", {"", ""}}, {" ", {""}},                 {"a b\t,c", {"ab\t", "c"}},
  };
  for (const auto& [list, items] : lists) EXPECT_EQ(SplitCommaList(list), items) << list;
  EXPECT_EQ(SplitToInts("1, ,x,-4", 9), (std::vector<int>{1, 9, 0, -4}));
  EXPECT_EQ(SplitToInts("", 9), std::vector<int>{});
  EXPECT_EQ(SplitToDoubles("1.5,,2"), (Doubles{1.5, 0.0, 2.0}));
  EXPECT_EQ(SplitToDoublesOrUnset("1.5,,2"), (Doubles{1.5, -1.0, 2.0}));
  // Five numbers: an empty field fills the omitted tail with the defaults.
  const std::pair<const char*, Doubles> numbers[] = {
      {"", {1, 1, -1, -1, -1}}, {"2", {2}}, {"2,", {2, 1, -1, -1, -1}}, {"2,,3", {2, 1, -1, -1, -1, 3}},
      {"-1.5", {1.5}}, {"1,2,3,4,", {1, 2, 3, 4, -1}}, {"1,2,3,4,5,", {1, 2, 3, 4, 5}},
      {"1,2,3,4,5,,7", {1, 2, 3, 4, 5, 7}}, {"a", {1, 1, -1, -1, -1}}, {"0.5,10", {0.5, 10}},
  };
  for (const auto& [list, expected] : numbers) EXPECT_EQ(ParseNumberList(list), expected) << list;
}

TEST(TextLists, ParseKeySuffixFindsTheNextToken) {
  // key, from, found, start, end
  const std::tuple<const char*, std::size_t, bool, std::size_t, std::size_t> cases[] = {
      {"SPREAD_T1_T2", 7, true, 7, 8},       {"SPREAD_T1_T2", 10, true, 10, 11}, {"SPREAD_T1_T2", 12, false, 0, 0},
      {"SPREAD_(A_B)_T2", 7, true, 8, 10},   {"SPREAD_(A_B)_T2", 12, true, 13, 14}, {"SPREAD_()", 7, true, 8, 7},
      {"SPREAD_(AB", 7, false, 0, 0},        {"SPREAD_(", 7, true, 7, 7},        {"SPREAD_", 7, false, 0, 0},
      {"SPREAD", 1, false, 0, 0},            {"A__B", 2, true, 2, 3},            {"", 1, false, 0, 0},
      {"_X", 0, true, 1, 1},                 {"_X", 1, true, 1, 1},
  };
  for (const auto& [key, from, found, start, end] : cases) {
    std::size_t gotStart = 99, gotEnd = 99;
    EXPECT_EQ(ParseKeySuffix(key, from, gotStart, gotEnd), found) << key << " " << from;
    EXPECT_EQ((std::vector<std::size_t>{gotStart, gotEnd}), (std::vector<std::size_t>{start, end})) << key << from;
  }
}

}  // namespace
}  // namespace DL
