#pragma once

#include <cstdint>
#include <memory>

#include "dl/engine/settings_engine.h"
#include "dl/engine/thread_mutex.h"

namespace DL {

// The settings engine behind its mutex: every call takes the mutex, runs
// one engine query, copies a by-value result while still holding it and
// releases it. A failed wait for the mutex waits again, so a query never
// reaches the engine while another thread is inside it.
class TLockedSettingsEngine {
 public:
  TLockedSettingsEngine(const char* source, std::uint32_t mode, bool lockingEnabled);
  TLockedSettingsEngine(const TLockedSettingsEngine&) = delete;
  TLockedSettingsEngine& operator=(const TLockedSettingsEngine&) = delete;

  // Builds the new engine first and swaps it in, all under the mutex.
  bool Reload(const char* source, std::uint32_t mode);
  bool Lock() { return mutex.Lock(); }
  bool Unlock() { return mutex.Unlock(); }
  // Both answer the result of the closing Unlock.
  bool SetUserValue(std::uint32_t value);
  bool ClearUserValue();
  bool GetInvertCcpOperation();
  int EchoArgument(int value, std::uint32_t extra);

  // Runs query(engine) under the mutex and returns its result by value.
  template <class Query>
  auto Call(Query query) {
    TGuard guard(mutex);
    return query(*engine);
  }
  // The same, answering the result of the closing Unlock.
  template <class Query>
  bool CallAndUnlock(Query query) {
    TGuard guard(mutex);
    query(*engine);
    return guard.Release();
  }

 private:
  class TGuard {
   public:
    explicit TGuard(TThreadMutex& mutex);
    TGuard(const TGuard&) = delete;
    TGuard& operator=(const TGuard&) = delete;
    ~TGuard();
    bool Release();

   private:
    TThreadMutex& mutex_;
    bool held_;
  };

  // The mutex exists before the engine is built and outlives it.
  TThreadMutex mutex;
  std::unique_ptr<TSettingsEngine> engine;
};

}  // namespace DL
