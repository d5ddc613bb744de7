#pragma once

#include <atomic>
#include <cstdint>

#include "dl/engine/platform_mutex.h"

namespace DL {

// The facade's mutex. It belongs to one thread at a time; a Lock by the
// owner returns at once and the first Unlock by the owner releases it (no
// count of re-entries is kept). Unlock by another thread fails. With
// locking disabled both answer false and nothing is guarded.
class TThreadMutex {
 public:
  static constexpr std::uint32_t kTimeoutMs = 10000;

  explicit TThreadMutex(bool enabled, std::uint32_t timeoutMs = kTimeoutMs);
  TThreadMutex(const TThreadMutex&) = delete;
  TThreadMutex& operator=(const TThreadMutex&) = delete;
  ~TThreadMutex();

  // True when the calling thread now owns the mutex; false on a failed wait
  // (the owner is then unchanged).
  bool Lock();
  // True when the mutex was released.
  bool Unlock();

  bool IsEnabled() const { return enabled_; }
  bool IsOwnedByCaller() const { return owner_.load() == CurrentThreadId(); }

 private:
  TPlatformMutex mutex_;
  std::atomic<std::uint32_t> owner_{0};
  const bool enabled_;
  const std::uint32_t timeout_;
};

}  // namespace DL
