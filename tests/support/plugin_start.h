// Starts a module in this process over the stand-in host the way the host's
// loader does: its function table, a callback table of the host's size.
#pragma once

#include "host/standin/standin_host.h"
#include "sdk/plugin_module.h"

#include <gtest/gtest.h>

#include <cstdint>

// On failure, the code and text the module answered. The callback table is
// the caller's where the test keeps it.
inline ::testing::AssertionResult StartPlugin(CZenkPluginModule& module, StandInHost& standIn, uint32_t hostVersion,
                                              uint32_t* callbacks = nullptr) {
  uint32_t ownCallbacks[host::kCallbackCount] = {host::kCallbackTableBytes};
  int code = 0;
  char text[256] = "";
  if (module.OnPluginInitEx(1, standIn.FunctionTable(), callbacks != nullptr ? callbacks : ownCallbacks, "",
                            hostVersion, 0, &code, text, sizeof text))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the module refused to start, code " << code << ": " << text;
}
