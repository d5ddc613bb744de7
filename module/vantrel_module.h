// CVantrelModule: the product's one module object. The host reaches it
// through the SDK's module base; the DLL entry point creates and deletes it.
#pragma once

#include "sdk/plugin_module.h"

class CVantrelModule : public CZenkPluginModule {
 public:
  explicit CVantrelModule(HINSTANCE instance);
  ~CVantrelModule() override;

  // The host version this module runs in: 7.0.
  static constexpr uint32_t kHostVersion = host::MakeHostVersion(7, 0);

  bool CheckHostCompatibility(uint32_t hostVersion, uint32_t hostValue2, int* errorCode,
                              char* errorText, int errorTextSize) override;
  bool AddMenus() override;
  void RegisterCommands() override;

  HBITMAP ContextBitmap(int which) const { return m_contextBitmaps[which]; }

 private:
  HBITMAP m_contextBitmaps[2] = {};
};

extern CVantrelModule* g_pModule;
