// The native build's mutex: a standard recursive timed mutex. The owner
// check of TThreadMutex keeps it from being taken twice by one thread.
#ifndef _WIN32

#include <atomic>
#include <chrono>
#include <mutex>

#include "dl/engine/platform_mutex.h"

namespace DL {

struct TPlatformMutex::TState {
  std::recursive_timed_mutex Mutex;
};

TPlatformMutex::TPlatformMutex() : state_(new TState) {}

TPlatformMutex::~TPlatformMutex() = default;

bool TPlatformMutex::Acquire(std::uint32_t timeoutMs) {
  return state_->Mutex.try_lock_for(std::chrono::milliseconds(timeoutMs));
}

bool TPlatformMutex::Release() {
  state_->Mutex.unlock();
  return true;
}

std::uint32_t CurrentThreadId() {
  static std::atomic<std::uint32_t> lastId{0};
  thread_local const std::uint32_t id = ++lastId;
  return id;
}

}  // namespace DL

#endif  // !_WIN32
