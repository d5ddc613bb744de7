// Calls into the host function table kept by the module; with no module, or
// an entry the host did not supply, nothing is called and the result is zero.
#pragma once

#include "sdk/plugin_module.h"

template <int N, typename... Args>
typename host::FunctionSig<N>::Result HostCall(Args... args) {
  using Result = typename host::FunctionSig<N>::Result;
  if (!g_pPluginModule) return Result();
  return g_pPluginModule->CallHost<N>(args...);
}

// The host's window of a kind (host function 25).
inline HWND HostWindowOfKind(int kind) { return static_cast<HWND>(HostCall<25>(kind)); }
