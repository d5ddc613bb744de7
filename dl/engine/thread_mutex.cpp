#include "dl/engine/thread_mutex.h"

namespace DL {

TThreadMutex::TThreadMutex(bool enabled, std::uint32_t timeoutMs)
    : enabled_(enabled), timeout_(timeoutMs) {}

// Unlock releases the mutex only for the thread that holds it.
TThreadMutex::~TThreadMutex() { Unlock(); }

bool TThreadMutex::Lock() {
  if (!enabled_) return false;
  const std::uint32_t caller = CurrentThreadId();
  if (owner_.load() == caller) return true;
  if (!mutex_.Acquire(timeout_)) return false;
  owner_.store(caller);
  return true;
}

bool TThreadMutex::Unlock() {
  if (!enabled_) return false;
  if (owner_.load() != CurrentThreadId()) return false;
  owner_.store(0);
  return mutex_.Release();
}

}  // namespace DL
