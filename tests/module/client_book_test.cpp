// The module's clients as the host's limit and position records create them.
#include "module/host_data/client_book.h"
#include "module/host_record_builders.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
TEST(ClientBook, TheFirstRecordOfAnAccountCreatesItsClient) {
  CClientBook book;
  TClientRiskRecord* client = book.OnLimit(LimitRecord({"FIRM1", "ACC1"}).data(), 100);
  ASSERT_NE(client, nullptr);
  EXPECT_STREQ(client->firm, "FIRM1");
  EXPECT_STREQ(client->account, "ACC1");
  EXPECT_EQ(client->dataTime, 100);
  EXPECT_EQ(book.OnPosition(PositionRecord({"FIRM1", "ACC1", "RIZ6"}).data(), 105), client);
  EXPECT_EQ(client->dataTime, 105);
  EXPECT_NE(book.OnLimit(LimitRecord({"FIRM2", "ACC1"}).data(), 100), client)
      << "a client is its firm and its account";
  EXPECT_EQ(book.Clients().size(), 2u);
}

TEST(ClientBook, ALimitOfTheSameIdReplacesTheOldOneAndANewIdIsAdded) {
  CClientBook book;
  LimitFields fields{"FIRM1", "ACC1"};
  fields.dayStart = 10;
  TClientRiskRecord* client = book.OnLimit(LimitRecord(fields).data(), 1);
  fields.dayStart = 20;
  book.OnLimit(LimitRecord(fields).data(), 2);
  ASSERT_EQ(client->limits.size(), 1u);
  double value;
  std::memcpy(&value, client->limits[0] + 48, sizeof value);
  EXPECT_EQ(value, 20);
  fields.id = 2;
  book.OnLimit(LimitRecord(fields).data(), 3);
  EXPECT_EQ(client->limits.size(), 2u);
  EXPECT_EQ(book.LimitCount(), 2u);
}

TEST(ClientBook, ARemovedLimitIsMarkedUntilItComesAgain) {
  CClientBook book;
  TClientRiskRecord* client = book.OnLimit(LimitRecord({"FIRM1", "ACC1", 7}).data(), 1);
  book.OnLimitRemoval(7, 50);
  EXPECT_EQ(client->dataTime, 50);
  int32_t markA, markB;
  std::memcpy(&markA, client->limits[0] + 88, 4);
  std::memcpy(&markB, client->limits[0] + 92, 4);
  EXPECT_EQ(markA, -111);
  EXPECT_EQ(markB, -333);
  // A record that still carries the marker is ignored; a fresh one replaces it.
  EXPECT_EQ(book.OnLimit(client->limits[0], 60), nullptr);
  book.OnLimit(LimitRecord({"FIRM1", "ACC1", 7}).data(), 70);
  std::memcpy(&markA, client->limits[0] + 88, 4);
  EXPECT_EQ(markA, 0);
  EXPECT_EQ(client->limits.size(), 1u);
  book.OnLimitRemoval(99, 80);  // an unknown id changes nothing
  EXPECT_EQ(client->dataTime, 70);
  std::vector<uint8_t> halfMarked = LimitRecord({"FIRM1", "ACC1", 8});
  PutField<int32_t>(halfMarked, 88, -111);
  EXPECT_EQ(book.OnLimit(halfMarked.data(), 90), client) << "half the marker is no marker";
}
}  // namespace
