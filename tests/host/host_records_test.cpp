// The pushed records carry every field where the plug-in reads it, and go to
// the plug-in through callback entry 22 with kind 1.
#include "host/standin/host_records.h"
#include "host/standin/standin_host.h"

#include "fake_plugin.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
template <typename T>
T Field(const std::vector<uint8_t>& record, int offset) {
  T value;
  std::memcpy(&value, record.data() + offset, sizeof value);
  return value;
}

std::string TextAt(const std::vector<uint8_t>& record, int offset) {
  return std::string(reinterpret_cast<const char*>(record.data() + offset));
}

LimitSpec SampleLimit() {
  LimitSpec limit;
  limit.id = 4711;
  limit.firm = "MC0001";
  limit.account = "A00017";
  limit.type = 1;
  limit.coefficient = 25;
  limit.dayStart = 48.5;
  limit.netPosition = 56.5;
  limit.planned = 64.5;
  limit.realVariationMargin = 72.5;
  limit.interimBase = 80.5;
  limit.netPositionOpen = 104.5;
  limit.deduction112 = 112.5;
  limit.deduction120 = 120.5;
  return limit;
}

TEST(HostRecords, LimitFieldsSitAtTheirOffsets) {
  const PushedRecord record = BuildLimit(SampleLimit());
  ASSERT_EQ(record.code, 32985u);
  ASSERT_EQ(record.bytes.size(), 160u);
  EXPECT_EQ(Field<int32_t>(record.bytes, 0), 4711);
  EXPECT_EQ(TextAt(record.bytes, 4), "MC0001");
  EXPECT_EQ(TextAt(record.bytes, 17), "A00017");
  EXPECT_EQ(Field<int16_t>(record.bytes, 30), 1);
  EXPECT_DOUBLE_EQ(Field<double>(record.bytes, 32), 25);
  for (int offset : {48, 56, 64, 72, 80, 104, 112, 120})
    EXPECT_DOUBLE_EQ(Field<double>(record.bytes, offset), offset + 0.5) << "offset " << offset;
  EXPECT_EQ(Field<int32_t>(record.bytes, 88), 0) << "a new limit carries no reset mark";
  EXPECT_EQ(Field<int32_t>(record.bytes, 92), 0);
}

TEST(HostRecords, PositionFieldsSitAtTheirOffsets) {
  PositionSpec position;
  position.id = -3;
  position.firm = "MC0002";
  position.account = "B00001";
  position.security = "RI105000BL6";
  position.quantity = -17;
  position.variationMargin = -1234.25;
  const PushedRecord record = BuildPosition(position);
  ASSERT_EQ(record.code, 32986u);
  ASSERT_EQ(record.bytes.size(), 144u);
  EXPECT_EQ(Field<int32_t>(record.bytes, 0), -3);
  EXPECT_EQ(TextAt(record.bytes, 4), "MC0002");
  EXPECT_EQ(TextAt(record.bytes, 17), "B00001");
  EXPECT_EQ(TextAt(record.bytes, 30), "RI105000BL6");
  EXPECT_EQ(Field<int32_t>(record.bytes, 68), -17);
  EXPECT_DOUBLE_EQ(Field<double>(record.bytes, 96), -1234.25);
}

TEST(HostRecords, CodesAreCutToTwelveCharactersAndTerminated) {
  LimitSpec limit = SampleLimit();
  limit.firm = "FIRMWITHALONGNAME";
  limit.account = "ACCOUNT-0123456789";
  const PushedRecord record = BuildLimit(limit);
  EXPECT_EQ(TextAt(record.bytes, 4), "FIRMWITHALON");
  EXPECT_EQ(record.bytes[16], 0);
  EXPECT_EQ(TextAt(record.bytes, 17), "ACCOUNT-0123");
  EXPECT_EQ(record.bytes[29], 0);
  EXPECT_EQ(Field<int16_t>(record.bytes, 30), 1) << "the type is not overwritten";
}

TEST(HostRecords, LimitRemovalIsTheIdAlone) {
  const PushedRecord record = BuildLimitRemoval(90001);
  EXPECT_EQ(record.code, 152u);
  ASSERT_EQ(record.bytes.size(), 4u);
  EXPECT_EQ(Field<int32_t>(record.bytes, 0), 90001);
}

TEST(HostRecords, OrderFieldsSitAtTheirOffsets) {
  OrderSpec order;
  order.key = 77;
  order.number = 0x123456789LL;
  order.flags = 2;
  order.firm = "MC0003";
  order.account = std::string(40, 'Z');
  order.transactionId = 5150;
  order.valueA = 11;
  order.valueB = 22;
  const PushedRecord record = BuildOrder(order);
  ASSERT_EQ(record.code, 32973u);
  ASSERT_EQ(record.bytes.size(), 592u);
  EXPECT_EQ(Field<int32_t>(record.bytes, 0), 77);
  EXPECT_EQ(Field<int64_t>(record.bytes, 8), 0x123456789LL);
  EXPECT_EQ(Field<uint32_t>(record.bytes, 16), 2u);
  EXPECT_EQ(TextAt(record.bytes, 120), "MC0003");
  EXPECT_EQ(Field<int32_t>(record.bytes, 196), 5150);
  EXPECT_EQ(TextAt(record.bytes, 200), std::string(32, 'Z')) << "cut and terminated";
  EXPECT_EQ(Field<uint32_t>(record.bytes, 348), 11u);
  EXPECT_EQ(Field<uint32_t>(record.bytes, 352), 22u);
}

TEST(HostRecords, PushGoesThroughEntry22WithKind1) {
  StandInHost host;
  PluginLibrary library(host);
  FakePlugin plugin(library);
  EXPECT_TRUE(PushRecord(library, BuildLimit(SampleLimit())));
  EXPECT_TRUE(PushRecord(library, BuildLimitRemoval(4711)));
  ASSERT_EQ(plugin.Calls().size(), 2u);
  EXPECT_EQ(plugin.Calls()[0].kind, 1u);
  EXPECT_EQ(plugin.Calls()[0].code, 32985u);
  EXPECT_EQ(plugin.Calls()[0].bytes, BuildLimit(SampleLimit()).bytes);
  EXPECT_EQ(plugin.Calls()[1].code, 152u);
  EXPECT_EQ(plugin.Calls()[1].bytes.size(), 4u);
}

TEST(HostRecords, PushWithoutAnEntry22IsRefused) {
  StandInHost host;
  PluginLibrary library(host);
  EXPECT_FALSE(PushRecord(library, BuildLimitRemoval(1)));
}
}  // namespace
