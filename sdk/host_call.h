// Calls into the host function table kept by the module. Every host
// function is stdcall; a missing entry (or no module) answers zero.
#pragma once

#include <windows.h>

#include "sdk/plugin_module.h"

const void* HostFunctionAddress(int index);

template <typename R = INT_PTR, typename... Args>
R CallHost(int index, Args... args) {
  auto function = reinterpret_cast<R(__stdcall*)(Args...)>(const_cast<void*>(HostFunctionAddress(index)));
  if (!function) return R();
  return function(args...);
}

template <typename... Args>
void CallHostVoid(int index, Args... args) {
  auto function = reinterpret_cast<void(__stdcall*)(Args...)>(const_cast<void*>(HostFunctionAddress(index)));
  if (function) function(args...);
}

// The host's window of a kind (host function 25): 1 main frame, 4 resource
// module, 5 MDI client.
HWND HostWindowOfKind(int kind);
