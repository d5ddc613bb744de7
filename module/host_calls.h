// Host calls of the module's free functions: they go through the one module
// object's copy of the host function table, and give the result type's zero
// value while there is no module.
#pragma once

#include "sdk/plugin_module.h"

template <int N, typename... Args>
typename host::FunctionSig<N>::Result CallModuleHost(Args... args) {
  const CZenkPluginModule* module = GetPluginModule();
  if (module == nullptr) return typename host::FunctionSig<N>::Result();
  return module->CallHost<N>(args...);
}
