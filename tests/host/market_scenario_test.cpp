// The stand-in host's market as a scenario file sets it up, read back through
// the host functions the plug-in calls.
#include "host/standin/scenario.h"
#include "host/standin/standin_host.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
template <int N>
typename host::FunctionSig<N>::Fn Function(StandInHost& host) {
  return reinterpret_cast<typename host::FunctionSig<N>::Fn>(
      static_cast<uintptr_t>(host.FunctionTable()[N]));
}

template <typename T>
T Field(const uint8_t* record, int offset) {
  T value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

constexpr char kScenario[] = R"(
[Class1]
Code=SPBFUT
Flags=0x48
[Class2]
Code=CROSS
Flags=0x2000
Id=-1
[Security1]
Class=SPBFUT
Code=SiZ6
Id=7
Type=4
FlagByte=0x04
Name=Si-12.26
Currency=USD
BaseAsset=Si
Trading=-1
PriceStep=1.5
Decimals=2
last=91500
clstate=4
[Spot1]
Firm=FIRM1
Client=C1
BoardTag=EQTV
Currency=SUR
Value40=1
Value48=2
Value56=3
Value64=4
Status=5
[Firm1]
Name=FIRM1
Text=[GENERAL]\nKey=1
[Firm2]
Name=FIRM2
TextFile=firm2.ini
Ready=0
[ClientValue1]
Firm=FIRM1
Client=C1
Number=6
Value=12.5
Result=3
[Refresh]
WordA=1
WordB=0x2
Accepted=A1,C1 (FIRM1)
)";

class MarketScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("firm2.ini", "[GENERAL]\r\nOther=2\r\n");
    ASSERT_TRUE(LoadScenario(folder.Write("market.ini", kScenario), host, nullptr));
  }
  TempFolder folder{"market_scenario"};
  StandInHost host;
};

TEST_F(MarketScenarioTest, SecurityRecordCarriesEveryField) {
  using namespace host::record;
  auto* security = static_cast<const uint8_t*>(Function<33>(host)(kSecurityKind, kSecuritySize, 0));
  ASSERT_NE(security, nullptr);
  EXPECT_EQ(Field<uint16_t>(security, kSecurityType), 4);
  EXPECT_EQ(security[kSecurityFlagByte], 0x04);
  EXPECT_EQ(Field<int32_t>(security, kSecurityId), 7);
  EXPECT_STREQ(reinterpret_cast<const char*>(security + kSecurityCode), "SiZ6");
  EXPECT_STREQ(reinterpret_cast<const char*>(security + kSecurityName), "Si-12.26");
  EXPECT_STREQ(reinterpret_cast<const char*>(security + kSecurityCurrency), "USD");
  EXPECT_STREQ(reinterpret_cast<const char*>(security + kSecurityBaseAsset), "Si");
  EXPECT_EQ(Field<int32_t>(security, kSecurityTrading), -1);
  EXPECT_DOUBLE_EQ(Field<double>(security, kSecurityPriceStep), 1.5);
  EXPECT_EQ(Field<int16_t>(security, kSecurityPriceDecimals), 2);
  EXPECT_EQ(Field<int16_t>(security, kSecurityClassIndex), 0);
  auto* crossRates = static_cast<const uint8_t*>(Function<33>(host)(kClassKind, kClassSize, 1));
  ASSERT_NE(crossRates, nullptr);
  EXPECT_EQ(Field<int32_t>(crossRates, kClassId), -1);
}

TEST_F(MarketScenarioTest, SecurityIndexAndParametersByName) {
  EXPECT_EQ(Function<91>(host)("SiZ6", "SPBFUT"), 0);
  EXPECT_EQ(Function<91>(host)("SiZ6", "CROSS"), -1);
  EXPECT_EQ(Function<91>(host)("SiZ6", "NONE"), -1);
  double value = -1;
  Function<43>(host)(0, "last", &value);
  EXPECT_DOUBLE_EQ(value, 91500);
  Function<43>(host)(0, "clstate", &value);
  EXPECT_DOUBLE_EQ(value, 4);
  value = -1;
  Function<43>(host)(0, "bid", &value);
  EXPECT_DOUBLE_EQ(value, -1) << "an unknown parameter is not written";
  Function<43>(host)(-1, "last", &value);
  EXPECT_DOUBLE_EQ(value, -1);
  Function<43>(host)(0, "last", nullptr);  // nowhere to write: no crash
}

TEST_F(MarketScenarioTest, SpotRecordIsFoundByItsKeyAndCopied) {
  const char firm[33] = "FIRM1";
  EXPECT_EQ(Function<32>(host)(12), 1);
  const int index = Function<149>(host)(firm, "C1", "EQTV", "SUR", 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(Function<149>(host)(firm, "C1", "EQTV", "USD", 0), -1);
  uint8_t record[104] = {};
  ASSERT_NE(Function<34>(host)(12, 104, index, record), 0);
  EXPECT_DOUBLE_EQ(Field<double>(record, 40), 1);
  EXPECT_DOUBLE_EQ(Field<double>(record, 48), 2);
  EXPECT_DOUBLE_EQ(Field<double>(record, 56), 3);
  EXPECT_DOUBLE_EQ(Field<double>(record, 64), 4);
  EXPECT_EQ(Field<int32_t>(record, 100), 5);
  EXPECT_EQ(Function<34>(host)(12, 100, index, record), 0) << "a wrong record size";
  EXPECT_EQ(Function<34>(host)(12, 104, 1, record), 0);
}

TEST_F(MarketScenarioTest, FirmSettingsObjectsAndTexts) {
  using namespace host::record;
  ASSERT_EQ(Function<32>(host)(kFirmSettingsKind), 2);
  uint8_t record[kFirmSettingsSize] = {};
  ASSERT_NE(Function<34>(host)(kFirmSettingsKind, kFirmSettingsSize, 0, record), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(record + kFirmSettingsName), "FIRM1");
  EXPECT_STREQ(Field<const char*>(record, kFirmSettingsText), "[GENERAL]\r\nKey=1");
  EXPECT_EQ(Field<int32_t>(record, kFirmSettingsReady), 1);
  ASSERT_NE(Function<34>(host)(kFirmSettingsKind, kFirmSettingsSize, 1, record), 0);
  EXPECT_STREQ(Field<const char*>(record, kFirmSettingsText), "[GENERAL]\r\nOther=2\r\n")
      << "read from the file beside the scenario";
  EXPECT_EQ(Field<int32_t>(record, kFirmSettingsReady), 0);

  char buffer[8];
  EXPECT_EQ(Function<130>(host)("FIRM1", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "[GENERA") << "cut to the capacity";
  EXPECT_EQ(Function<130>(host)("FIRM9", buffer, sizeof buffer), 0);
}

TEST_F(MarketScenarioTest, ClientValuesCarryTheirResult) {
  const char firm[33] = "FIRM1";
  double value = 0;
  EXPECT_EQ(Function<134>(host)(firm, "C1", 6, &value, 0), 3);
  EXPECT_DOUBLE_EQ(value, 12.5);
  value = -1;
  EXPECT_NE(Function<134>(host)(firm, "C1", 5, &value, 0), 0);
  EXPECT_DOUBLE_EQ(value, -1);
}

TEST_F(MarketScenarioTest, ItemListsFiltersAndRefreshWords) {
  host::ItemList accounts = {};
  const uint32_t a1 = Function<52>(host)(&accounts, "A1");
  const uint32_t a2 = Function<52>(host)(&accounts, "A2");
  EXPECT_EQ(Function<52>(host)(&accounts, "A1"), a1) << "a text is listed once";
  ASSERT_EQ(accounts.count, 2);
  EXPECT_STREQ(accounts.entries[1].text, "A2");
  EXPECT_EQ(accounts.entries[1].key, a2);
  EXPECT_NE(Function<137>(host)(a1, 1, 0), 0);
  EXPECT_EQ(Function<137>(host)(a2, 1, 0), 0);

  host::FilterSelection filter = {};
  EXPECT_EQ(Function<53>(host)(&filter), 0);
  Function<160>(host)(a2, &filter);
  Function<160>(host)(a1, &filter);
  Function<160>(host)(999, &filter);  // unknown item: not added
  ASSERT_EQ(filter.count, 2);
  EXPECT_EQ(filter.positions[0], 1);
  EXPECT_EQ(filter.positions[1], 0);
  EXPECT_NE(Function<53>(host)(&filter), 0);
  Function<54>(host)(&filter);
  EXPECT_EQ(filter.count, 0);
  EXPECT_EQ(filter.positions, nullptr);

  uint32_t wordA = 9, wordB = 9;
  Function<136>(host)(&wordA, &wordB, 0);
  EXPECT_EQ(wordA, 1u);
  EXPECT_EQ(wordB, 2u);

  Function<51>(host)(&accounts);
  EXPECT_EQ(accounts.count, 0);
  EXPECT_EQ(accounts.entries, nullptr);
  EXPECT_EQ(Function<137>(host)(a1, 1, 0), 0) << "a cleared list's items are gone";
}

TEST_F(MarketScenarioTest, SubscriptionsAreLogged) {
  Function<154>(host)("SPBFUT", "last");
  Function<153>(host)("SPBFUT", "SiZ6");
  Function<146>(host)("VanTrel.dll", 1024, nullptr, 1024);
  EXPECT_EQ(host.Log().Details(154), std::vector<std::string>{"SPBFUT last"});
  EXPECT_EQ(host.Log().Details(153), std::vector<std::string>{"SPBFUT SiZ6"});
  EXPECT_EQ(host.Log().Details(146), std::vector<std::string>{"VanTrel.dll"});
}

TEST(MarketScenario, AMissingFileIsRefused) {
  StandInHost host;
  EXPECT_FALSE(LoadScenario("C:\\no\\such\\market.ini", host, nullptr));
  EXPECT_EQ(host.Records().Count(host::record::kSecurityKind), 0);
}
}  // namespace
