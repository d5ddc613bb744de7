// The Windows build's mutex: an unnamed Win32 mutex, not initially owned.
#ifdef _WIN32

#include <windows.h>

#include <new>

#include "dl/engine/platform_mutex.h"

namespace DL {

struct TPlatformMutex::TState {
  HANDLE Handle;
};

TPlatformMutex::TPlatformMutex() : state_(new TState{CreateMutexA(nullptr, FALSE, nullptr)}) {
  // Out of system resources: reported like running out of memory, not as a
  // mutex that can never be taken.
  if (state_->Handle == nullptr) throw std::bad_alloc();
}

TPlatformMutex::~TPlatformMutex() { CloseHandle(state_->Handle); }

bool TPlatformMutex::Acquire(std::uint32_t timeoutMs) {
  const DWORD result = WaitForSingleObject(state_->Handle, timeoutMs);
  if (result == WAIT_ABANDONED) {
    // The owner ended without releasing it. The wait counts as failed, but
    // the system has handed the mutex to this thread: give it back, or no
    // later wait of another thread would ever succeed.
    ReleaseMutex(state_->Handle);
    return false;
  }
  return result == WAIT_OBJECT_0;
}

bool TPlatformMutex::Release() { return ReleaseMutex(state_->Handle) != FALSE; }

std::uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace DL

#endif  // _WIN32
