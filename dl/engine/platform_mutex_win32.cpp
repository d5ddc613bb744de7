// The Windows build's mutex: an unnamed Win32 mutex, not initially owned.
#ifdef _WIN32

#include <windows.h>

#include "dl/engine/platform_mutex.h"

namespace DL {

struct TPlatformMutex::TState {
  HANDLE Handle;
};

TPlatformMutex::TPlatformMutex() : state_(new TState{CreateMutexA(nullptr, FALSE, nullptr)}) {}

TPlatformMutex::~TPlatformMutex() {
  if (state_->Handle != nullptr) CloseHandle(state_->Handle);
}

bool TPlatformMutex::Acquire(std::uint32_t timeoutMs) {
  if (state_->Handle == nullptr) return false;
  // An abandoned mutex counts as not acquired.
  return WaitForSingleObject(state_->Handle, timeoutMs) == WAIT_OBJECT_0;
}

bool TPlatformMutex::Release() {
  return state_->Handle != nullptr && ReleaseMutex(state_->Handle) != FALSE;
}

std::uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace DL

#endif  // _WIN32
