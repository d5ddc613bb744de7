// The records the host pushes carry every field where the plug-in reads it
// (limits and positions as a scenario gives them: scenario_feed_test), and go
// to the plug-in through callback entry 22 with kind 1.
#include "host/standin/host_records.h"

#include "host_test_support.h"

#include <gtest/gtest.h>

namespace {
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
  const PushedRecord orderRecord = BuildOrder(order);
  const uint8_t* o = orderRecord.bytes.data();
  ASSERT_EQ(orderRecord.code, 32973u);
  ASSERT_EQ(orderRecord.bytes.size(), 592u);
  EXPECT_EQ(std::vector<int64_t>({Field<int32_t>(o, 0), Field<int64_t>(o, 8), Field<uint32_t>(o, 16),
                                  Field<int32_t>(o, 196), Field<uint32_t>(o, 348), Field<uint32_t>(o, 352)}),
            std::vector<int64_t>({77, 0x123456789LL, 2, 5150, 11, 22}));
  EXPECT_EQ(TextAt(o, 120), "MC0003");
  EXPECT_EQ(TextAt(o, 200), std::string(32, 'Z')) << "the account cut and terminated";
}

TEST(HostRecords, CodesAreCutToTwelveCharactersAndTerminated) {
  LimitSpec limit = SampleLimit();
  limit.firm = "FIRMWITHALONGNAME";
  limit.account = "ACCOUNT-0123456789";
  const std::vector<uint8_t> bytes = BuildLimit(limit).bytes;
  EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 32), std::string("FIRMWITHALON\0ACCOUNT-0123\0\1\0", 28))
      << "firm, account, and the type not overwritten";
}

TEST(HostRecords, PushGoesThroughEntry22WithKind1) {
  StandInHost host;
  PluginLibrary library(host);
  EXPECT_FALSE(PushRecord(library, BuildLimitRemoval(1))) << "refused without an entry 22";
  FakePlugin plugin(library);
  EXPECT_TRUE(PushRecord(library, BuildLimit(SampleLimit())));
  EXPECT_TRUE(PushRecord(library, BuildLimitRemoval(90001)));
  ASSERT_EQ(plugin.Calls().size(), 2u);
  EXPECT_EQ(plugin.Calls()[0].kind, 1u);
  EXPECT_EQ(plugin.Calls()[0].code, 32985u);
  EXPECT_EQ(plugin.Calls()[0].bytes, BuildLimit(SampleLimit()).bytes);
  EXPECT_EQ(plugin.Calls()[1].code, 152u) << "a limit's removal is its id alone";
  EXPECT_EQ(plugin.Calls()[1].bytes, std::vector<uint8_t>({0x91, 0x5F, 0x01, 0x00}));
}
}  // namespace
