// PluginLibrary: the plug-in DLL as the host sees it: loaded, initialised
// through one of its two entry points, then driven through the callback
// table it filled.
#pragma once

#include "sdk/host_api.h"

#include <string>

class StandInHost;

struct InitResult {
  bool ok = false;
  int errorCode = 0;
  std::string errorText;
};

class PluginLibrary {
 public:
  explicit PluginLibrary(StandInHost& host);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool Load(const std::string& path = "VanTrel.dll");
  void Unload();
  HMODULE Module() const { return m_module; }

  // The callback table handed to the plug-in; a test may shrink its declared size.
  uint32_t* Callbacks() { return m_callbacks; }
  void DeclareCallbackTableSize(uint32_t bytes) { m_callbacks[0] = bytes; }

  InitResult InitEx(uint32_t version = host::MakeHostVersion(7, 0), int errorTextSize = 512,
                    const uint32_t* functions = nullptr);
  bool Init(const uint32_t* functions = nullptr);
  // Sends the host's UI information block (callback entry 4).
  void SendUiInfo();

  // Calls callback entry N when the plug-in filled it; otherwise the result
  // type's zero value.
  template <int N, typename... Args>
  typename host::CallbackSig<N>::Result Callback(Args... args) {
    using Fn = typename host::CallbackSig<N>::Fn;
    auto fn = reinterpret_cast<Fn>(static_cast<uintptr_t>(m_callbacks[N]));
    if (fn == nullptr) return typename host::CallbackSig<N>::Result();
    return fn(args...);
  }
  bool HasCallback(int entry) const { return m_callbacks[entry] != 0; }

  // Stop and unload as the host does when it closes: entries 7 and 3.
  void Shutdown();

 private:
  StandInHost& m_host;
  HMODULE m_module = nullptr;
  uint32_t m_callbacks[host::kCallbackCount] = {};
};
