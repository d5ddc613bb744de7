#include <gtest/gtest.h>

#include <cstring>

#include "host/standin/window_state_store.h"

namespace {

uint32_t ReadU32(WindowStateStore& store, bool* ok) {
  uint32_t v = 0;
  *ok = store.Read(&v, 4);
  return v;
}

TEST(WindowStateStore, KeepsOneRecordPerSavedSection) {
  WindowStateStore store;
  for (uint32_t value : {7u, 8u}) {
    store.BeginSection(0, 0);
    store.Write(&value, 4);
    store.AfterWindowSaved(value);
    store.EndSection();
  }
  ASSERT_EQ(store.Records().size(), 2u);
  EXPECT_EQ(store.Records()[1], (std::vector<uint8_t>{8, 0, 0, 0}));
  EXPECT_EQ(store.SavedWindows(), (std::vector<uint32_t>{7, 8}));
}

TEST(WindowStateStore, ReadingPastTheEndOfARecordFails) {
  WindowStateStore store;
  store.Records() = {{1, 0, 0, 0, 2, 0}};
  store.BeginSection(0, WindowStateStore::kRestoreTag);
  bool ok = false;
  EXPECT_EQ(ReadU32(store, &ok), 1u);
  EXPECT_TRUE(ok);
  ReadU32(store, &ok);
  EXPECT_FALSE(ok) << "two bytes left";
  uint16_t rest = 0;
  EXPECT_TRUE(store.Read(&rest, 2)) << "a failed read consumes nothing";
  EXPECT_EQ(rest, 2);
}

TEST(WindowStateStore, EndingASectionDropsItsUnreadBytes) {
  WindowStateStore store;
  store.Records() = {{1, 0, 0, 0, 9, 9, 9, 9}, {3, 0, 0, 0}};
  store.BeginSection(0, WindowStateStore::kRestoreTag);
  bool ok = false;
  ReadU32(store, &ok);
  store.EndSection();
  ReadU32(store, &ok);
  EXPECT_FALSE(ok) << "outside a section nothing is read";
  store.BeginSection(1, WindowStateStore::kRestoreTag);
  EXPECT_EQ(ReadU32(store, &ok), 3u) << "the next record starts at its own beginning";
  EXPECT_TRUE(ok);
}

TEST(WindowStateStore, ASectionOfAMissingRecordReadsNothing) {
  WindowStateStore store;
  store.BeginSection(5, WindowStateStore::kRestoreTag);
  bool ok = true;
  ReadU32(store, &ok);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(store.InSection());
}

TEST(WindowStateStore, StringsRoundTripAndAreCutTo259Characters) {
  WindowStateStore store;
  store.BeginSection(0, 0);
  store.WriteString("Клиенты");
  store.WriteString(std::string(400, 'z').c_str());
  store.EndSection();
  store.BeginSection(0, WindowStateStore::kRestoreTag);
  char buffer[260];
  ASSERT_TRUE(store.ReadString(buffer));
  EXPECT_STREQ(buffer, "Клиенты");
  ASSERT_TRUE(store.ReadString(buffer));
  EXPECT_EQ(std::strlen(buffer), 259u);
  EXPECT_FALSE(store.ReadString(buffer));
}

TEST(WindowStateStore, AStringLongerThanItsRecordFails) {
  WindowStateStore store;
  store.Records() = {{200, 0, 0, 0, 'a', 'b'}};
  store.BeginSection(0, WindowStateStore::kRestoreTag);
  char buffer[260];
  EXPECT_FALSE(store.ReadString(buffer));
  EXPECT_STREQ(buffer, "");
}

}  // namespace
