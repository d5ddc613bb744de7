#include "host/standin/plugin_library.h"

#include "host/standin/standin_host.h"

#include <vector>

PluginLibrary::PluginLibrary(StandInHost& host) : m_host(host) {
  m_callbacks[0] = host::kCallbackTableBytes;
}

PluginLibrary::~PluginLibrary() { Unload(); }

bool PluginLibrary::Load(const std::string& path) {
  Unload();
  m_module = LoadLibraryA(path.c_str());
  if (m_module != nullptr) m_host.Attach(this);
  return m_module != nullptr;
}

void PluginLibrary::Unload() {
  if (m_module == nullptr) return;
  if (m_host.Plugin() == this) m_host.Attach(nullptr);
  FreeLibrary(m_module);
  m_module = nullptr;
  std::fill(m_callbacks + 1, m_callbacks + host::kCallbackCount, 0u);
}

InitResult PluginLibrary::InitEx(uint32_t version, int errorTextSize, const uint32_t* functions) {
  InitResult result;
  auto initEx = reinterpret_cast<host::PluginInitExFn>(
      reinterpret_cast<void*>(GetProcAddress(m_module, "PLUGIN_InitEx")));
  if (initEx == nullptr) {
    result.errorText = "PLUGIN_InitEx is not exported";
    return result;
  }
  std::vector<char> text(errorTextSize > 0 ? errorTextSize : 1, '\0');
  result.ok = initEx(1, functions ? functions : m_host.FunctionTable(), m_callbacks, "", version, 0,
                     &result.errorCode, text.data(), errorTextSize) != FALSE;
  result.errorText.assign(text.data());
  return result;
}

bool PluginLibrary::Init(const uint32_t* functions) {
  auto init = reinterpret_cast<host::PluginInitFn>(
      reinterpret_cast<void*>(GetProcAddress(m_module, "PLUGIN_Init")));
  return init != nullptr && init(1, functions ? functions : m_host.FunctionTable(), m_callbacks, "");
}

void PluginLibrary::SendUiInfo() { Callback<4>(m_host.UiInfo()); }

void PluginLibrary::Shutdown() {
  Callback<7>();
  Callback<3>();
}
