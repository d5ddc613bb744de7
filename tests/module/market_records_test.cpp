// Class and security lookups and the kind tests of a security, over the
// stand-in host's market.
#include "market_fixture.h"
#include "market_text.h"
#include "module/market_records.h"

#include <cstring>

namespace {

class MarketRecordsTest : public MarketTest {
 protected:
  void SetUp() override {
    MarketTest::SetUp();
    LoadMarket(MarketText("market_records.ini"));
  }
  int SecurityIndex(const uint8_t* security) {
    for (int index = 0; index < host.Records().Count(host::record::kSecurityKind); ++index)
      if (GetSecurityInfoByIndex(index) == security) return index;
    return -2;
  }
};

TEST_F(MarketRecordsTest, RecordsByIndexSkipEmptySlotsAndMissingIndices) {
  EXPECT_EQ(GetClassInfoByIndex(-1), nullptr);
  EXPECT_EQ(GetClassInfoByIndex(0), nullptr) << "id -1 marks an empty slot";
  ASSERT_NE(GetClassInfoByIndex(1), nullptr);
  EXPECT_STREQ(ClassCodeOf(GetClassInfoByIndex(1)), "SPBFUT");
  EXPECT_EQ(GetClassInfoByIndex(99), nullptr);
  EXPECT_EQ(GetSecurityInfoByIndex(-1), nullptr);
  ASSERT_NE(GetSecurityInfoByIndex(2), nullptr);
  EXPECT_STREQ(SecurityCodeOf(GetSecurityInfoByIndex(2)), "RI100Z6");
  EXPECT_EQ(GetSecurityInfoByIndex(8), nullptr);
}

TEST_F(MarketRecordsTest, CodesMatchExactly) {
  EXPECT_EQ(FindClassByCode("SPBFUT"), GetClassInfoByIndex(1));
  EXPECT_EQ(FindClassByCode("SPBFU"), nullptr);
  EXPECT_EQ(FindClassByCode("spbfut"), nullptr);
  EXPECT_EQ(FindClassByCode("EMPTY"), nullptr) << "an empty slot is never found";
  EXPECT_EQ(FindClassByCode(nullptr), nullptr);
  EXPECT_EQ(SecurityIndex(FindSecurityByCode("RIZ6")), 0) << "the first of any class";
  EXPECT_EQ(FindSecurityByCode("RIZ"), nullptr);
  EXPECT_EQ(FindSecurityByCode("RIZ6RIZ6RIZ6RIZ6"), nullptr) << "longer than the field";
}

TEST_F(MarketRecordsTest, SecurityInClassesFollowsTheMasks) {
  struct Case {
    const char* code;
    uint32_t include, exclude;
    int expected;  // security index, -1 for none
  };
  const Case cases[] = {
      {"RIZ6", 0x48, 0, 1},          // TQBR lacks 0x48; SPBFUT has it
      {"RIZ6", 0, 0, -1},            // include mask 0 finds nothing
      {"RIZ6", 0x1, 0, 0},           // TQBR
      {"RI100Z6", 0x48, 0, 2},       // OPTEXP has 0x848
      {"RI100Z6", 0x48, 0x900, -1},  // excluded by 0x800
      {"SiH7", 0x40, 0, 5},
      {"SiH7", 0x48, 0, -1},         // SPBOPT lacks 0x08
      {"NONE", 0x48, 0, -1},
  };
  for (const Case& c : cases) {
    int index = -7;
    const uint8_t* found = FindSecurityInClasses(c.code, c.include, c.exclude, &index);
    if (c.expected < 0) {
      EXPECT_EQ(found, nullptr) << c.code << " " << c.include;
      EXPECT_EQ(index, -7) << "the index is left alone when nothing is found";
    } else {
      EXPECT_EQ(found, GetSecurityInfoByIndex(c.expected)) << c.code << " " << c.include;
      EXPECT_EQ(index, c.expected);
    }
  }
  EXPECT_NE(FindSecurityInClasses("RIZ6", 0x48, 0, nullptr), nullptr);
}

TEST_F(MarketRecordsTest, TransactionFormMustBeUsableAndHoldTheMask) {
  EXPECT_EQ(FindTransactionForm(1, 0x10), 1) << "form 0 has the bit but is not usable";
  EXPECT_EQ(FindTransactionForm(1, 0x20), 1);
  EXPECT_EQ(FindTransactionForm(1, 0x40), -1);
  EXPECT_EQ(FindTransactionForm(3, 0), -1) << "a class without forms";
}

TEST_F(MarketRecordsTest, KindTestsOfSecurities) {
  struct Case { int index; bool derivative, option, futures, optionClass; };
  const Case cases[] = {
      {0, false, false, false, false},  // TQBR RIZ6: not a derivative
      {1, true, false, true, false},    // SPBFUT RIZ6: futures, month letter I
      {2, true, true, false, true},     // OPTEXP: an option class whatever its code
      {3, true, false, true, true},     {7, true, false, true, true},  // codes ending B12, H12
      {4, true, false, true, false},    // code ending in Z12
      {5, true, false, true, true},     // SPBOPT is an option class
      {6, true, false, true, false},    // a code shorter than three characters
  };
  for (const Case& c : cases) {
    const uint8_t* security = GetSecurityInfoByIndex(c.index);
    ASSERT_NE(security, nullptr);
    EXPECT_EQ(IsDerivativeSecurity(security), c.derivative) << c.index;
    EXPECT_EQ(IsOptionSecurity(security), c.option) << c.index;
    EXPECT_EQ(IsFuturesSecurity(security), c.futures) << c.index;
    EXPECT_EQ(IsOptionClass(security), c.optionClass) << c.index;
  }
  EXPECT_FALSE(IsDerivativeSecurity(nullptr) || IsOptionSecurity(nullptr) ||
               IsFuturesSecurity(nullptr) || IsOptionClass(nullptr));
}

TEST_F(MarketRecordsTest, OptionClassNeedsTheSecuritysClass) {
  uint8_t security[host::record::kSecuritySize];
  std::memcpy(security, GetSecurityInfoByIndex(3), sizeof security);
  const int16_t noClass = -1;
  std::memcpy(security + host::record::kSecurityClassIndex, &noClass, sizeof noClass);
  EXPECT_TRUE(IsFuturesSecurity(security));
  EXPECT_FALSE(IsOptionClass(security)) << "B12, but the class is unknown";
}

TEST(ResetMark, BothWordsMustHoldTheirMark) {
  struct Case { int32_t a, b; bool marked; };
  for (const Case& c : {Case{-111, -333, true}, Case{-111, 0, false}, Case{0, -333, false},
                        Case{-333, -111, false}}) {
    uint8_t record[96] = {};
    std::memcpy(record + 88, &c.a, 4);
    std::memcpy(record + 92, &c.b, 4);
    EXPECT_EQ(IsResetMarked(record), c.marked) << c.a << " " << c.b;
  }
  EXPECT_FALSE(IsResetMarked(nullptr));
}
}  // namespace
