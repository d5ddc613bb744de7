#include "sdk/host_call.h"

const void* HostFunctionAddress(int index) {
  if (!g_pPluginModule || index <= 0 || index >= 221) return nullptr;
  return reinterpret_cast<const void*>(g_pPluginModule->GetHostFunctions()[index]);
}

HWND HostWindowOfKind(int kind) { return reinterpret_cast<HWND>(CallHost<INT_PTR>(25, kind)); }
