// The facade's mutex with real threads: ownership, re-entry without a count,
// unlock by a stranger, timed waits, and queries held back by a lock.
#include "dl/engine/thread_mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "dl/engine/settings_facade.h"

namespace DL {
namespace {

using namespace std::chrono_literals;

template <class Work>
auto OnOtherThread(Work work) {
  return std::async(std::launch::async, work).get();
}

TEST(ThreadMutex, DisabledMutexAnswersFalse) {
  TThreadMutex mutex(false);
  EXPECT_FALSE(mutex.Lock());
  EXPECT_FALSE(mutex.Unlock());
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Lock(); }));
}

TEST(ThreadMutex, ReentryKeepsNoCount) {
  TThreadMutex mutex(true);
  EXPECT_TRUE(mutex.Lock());
  EXPECT_TRUE(mutex.Lock());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_FALSE(mutex.Unlock());
  EXPECT_FALSE(mutex.IsOwnedByCaller());
}

TEST(ThreadMutex, UnlockByAnotherThreadFailsAndKeepsTheOwner) {
  TThreadMutex mutex(true, 50);
  ASSERT_TRUE(mutex.Lock());
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Unlock(); }));
  EXPECT_TRUE(mutex.IsOwnedByCaller());
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Lock(); }));  // the wait times out
  EXPECT_TRUE(mutex.IsOwnedByCaller());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_TRUE(OnOtherThread([&] { return mutex.Lock() && mutex.Unlock(); }));
}

TEST(ThreadMutex, WaiterGetsTheMutexWhenTheOwnerReleasesIt) {
  TThreadMutex mutex(true);
  ASSERT_TRUE(mutex.Lock());
  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    if (mutex.Lock()) {
      acquired = true;
      mutex.Unlock();
    }
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(acquired.load());
  EXPECT_TRUE(mutex.Unlock());
  waiter.join();
  EXPECT_TRUE(acquired.load());
}

TEST(ThreadMutex, OnlyOneThreadAtATimeInsideTheLock) {
  TThreadMutex mutex(true);
  int inside = 0;
  int maxInside = 0;
  long long total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(mutex.Lock());
        ++inside;
        if (inside > maxInside) maxInside = inside;
        ++total;
        --inside;
        ASSERT_TRUE(mutex.Unlock());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(maxInside, 1);
  EXPECT_EQ(total, 8000);
}

#ifdef _WIN32
// Only the Win32 mutex notices that its owner has ended.
TEST(ThreadMutex, OwnerEndingWithoutUnlockDoesNotBlockOthersForEver) {
  TThreadMutex mutex(true, 100);
  std::thread([&] { EXPECT_TRUE(mutex.Lock()); }).join();
  EXPECT_FALSE(mutex.Lock());  // the abandoned wait fails once
  EXPECT_TRUE(mutex.Lock());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_TRUE(OnOtherThread([&] { return mutex.Lock() && mutex.Unlock(); }));
}

TEST(FacadeLocking, QueryAfterTheLockingThreadEnded) {
  TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=6\n", 2, true);
  std::thread([&] { EXPECT_TRUE(facade.Lock()); }).join();
  EXPECT_EQ(facade.GetClientCVal(), 6);
  EXPECT_TRUE(OnOtherThread([&] { return facade.Lock() && facade.Unlock(); }));
}
#endif

TEST(FacadeLocking, ExplicitLockHoldsBackOtherThreadsQueries) {
  TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=5\n", 2, true);
  ASSERT_TRUE(facade.Lock());
  auto query = std::async(std::launch::async, [&] { return facade.GetClientCVal(); });
  EXPECT_EQ(query.wait_for(100ms), std::future_status::timeout);
  EXPECT_TRUE(facade.Unlock());
  EXPECT_EQ(query.get(), 5);
}

TEST(FacadeLocking, OwnQueryReleasesAnExplicitLock) {
  TSettingsFacade facade("", 2, true);
  ASSERT_TRUE(facade.Lock());
  EXPECT_EQ(facade.GetClientCVal(), 1);
  EXPECT_FALSE(facade.Unlock());  // the query's closing unlock released it
}

TEST(FacadeLocking, DisabledLockingAnswersEveryQuery) {
  TSettingsFacade facade("[GENERAL]\nCLIENTCVAL=7\n", 2, false);
  EXPECT_FALSE(facade.Lock());
  EXPECT_FALSE(facade.Unlock());
  EXPECT_EQ(facade.GetClientCVal(), 7);
  EXPECT_FALSE(facade.SetUserValue(3));
  EXPECT_FALSE(facade.ClearUserValue());
  TClientTemplateList list;
  EXPECT_FALSE(facade.GetClientTemplateLists(list));
}

TEST(FacadeLocking, UserValueAndTemplateListsAnswerTheClosingUnlock) {
  TSettingsFacade facade("", 2, true);
  EXPECT_TRUE(facade.SetUserValue(42));
  EXPECT_TRUE(facade.ClearUserValue());
  TClientTemplateList list;
  EXPECT_TRUE(facade.GetClientTemplateLists(list));
}

TEST(FacadeLocking, ConcurrentQueriesAndReloads) {
  const std::string first = "[GENERAL]\nCLIENTCVAL=3\n[CLIENTLAG]\nA=4\n[CLA]\nLIMITKINDS=1\n";
  const std::string second = "[GENERAL]\nCLIENTCVAL=8\n[CLIENTLAG]\nA=9\n";
  TSettingsFacade facade(first.c_str(), 2, true);
  std::atomic<bool> stop{false};
  std::atomic<int> odd{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&, t] {
      while (!stop) {
        const int cval = facade.GetClientCVal();
        if (cval != 3 && cval != 8) ++odd;
        const int lag = facade.GetClientLag("A");
        if (lag != 4 && lag != 9) ++odd;
        facade.GetClientCommissionSettings(("C" + std::to_string(t)).c_str(), "TQBR");
        facade.GetRstrNmBuy("CLA", 1.0 + t, 1);
        facade.GetPortfolioRiskConfig("", nullptr);
      }
    });
  }
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(facade.Reload((i % 2 ? first : second).c_str(), 2));
    std::this_thread::sleep_for(2ms);
  }
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(odd.load(), 0);
  EXPECT_EQ(facade.GetClientCVal(), 3);
}

}  // namespace
}  // namespace DL
