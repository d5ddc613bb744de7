#pragma once

#include <cstdint>
#include <memory>

namespace DL {

// The operating system's side of the engine's mutex: a Win32 mutex in the
// Windows build, a standard timed mutex natively. Only TThreadMutex uses it.
class TPlatformMutex {
 public:
  TPlatformMutex();
  TPlatformMutex(const TPlatformMutex&) = delete;
  TPlatformMutex& operator=(const TPlatformMutex&) = delete;
  ~TPlatformMutex();

  // True when the calling thread acquired the mutex within the time.
  bool Acquire(std::uint32_t timeoutMs);
  // True when the mutex was released.
  bool Release();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

// A non-zero identifier of the calling thread.
std::uint32_t CurrentThreadId();

}  // namespace DL
