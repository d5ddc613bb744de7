// The two entry points the host calls to initialise the plug-in.
#include "sdk/entry_guard.h"
#include "sdk/plugin_module.h"

extern "C" {

BOOL __stdcall PLUGIN_Init(uint32_t hostValue, const uint32_t* hostFunctions, uint32_t* callbacks,
                           const char* text) {
  return GuardBoundary("PLUGIN_Init", FALSE, [&] {
    return g_pPluginModule != nullptr &&
           g_pPluginModule->OnPluginInit(hostValue, hostFunctions, callbacks, text ? text : "");
  });
}

BOOL __stdcall PLUGIN_InitEx(uint32_t hostValue, const uint32_t* hostFunctions, uint32_t* callbacks,
                             const char* text, uint32_t hostVersion, uint32_t hostValue2,
                             int* errorCode, char* errorText, int errorTextSize) {
  return GuardBoundary("PLUGIN_InitEx", FALSE, [&] {
    return g_pPluginModule != nullptr &&
           g_pPluginModule->OnPluginInitEx(hostValue, hostFunctions, callbacks, text ? text : "",
                                           hostVersion, hostValue2, errorCode, errorText,
                                           errorTextSize);
  });
}
}
