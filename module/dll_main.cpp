// The DLL entry point: the one module object lives from process attach to
// process detach.
#include "module/vantrel_module.h"

#include <new>

static BOOL CreatePluginModule(HINSTANCE instance) {
  g_pModule = new (std::nothrow) CVantrelModule(instance);
  return TRUE;
}

static BOOL DestroyPluginModule() {
  if (g_pModule != nullptr) {
    delete g_pModule;
    g_pModule = nullptr;
  }
  return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) CreatePluginModule(instance);
  if (reason == DLL_PROCESS_DETACH) DestroyPluginModule();
  return TRUE;
}
