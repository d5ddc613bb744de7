// What the stand-in host's tests share: fields read at their offsets, the
// host's functions by number, and a plug-in that notes what the host sends it.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

template <typename T>
T Field(const void* record, int offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
  return value;
}

inline std::string TextAt(const void* record, int offset) {
  return static_cast<const char*>(record) + offset;
}

template <int N>
typename host::FunctionSig<N>::Fn Function(StandInHost& host) {
  return reinterpret_cast<typename host::FunctionSig<N>::Fn>(static_cast<uintptr_t>(host.FunctionTable()[N]));
}

// The demo's scenario file, as Wine sees its path.
inline std::string DemoScenario() {
  const std::string path = VANTREL_SCENARIOS_DIR "/demo.ini";
  return path[0] == '/' ? "Z:" + path : path;
}

// Callback entries 22 and 25 of a plug-in library pointed at functions that
// note what the host sent, as short texts: "R1:32985" for a record of kind 1
// and code 32985, "E4 MC0001" for event 4 of a firm ("(null)": no name).
class FakePlugin {
 public:
  explicit FakePlugin(PluginLibrary& library) {
    calls.clear();
    host::CallbackSig<22>::Fn record = TakeRecord;
    host::CallbackSig<25>::Fn event = TakeEvent;
    library.Callbacks()[22] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record));
    library.Callbacks()[25] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event));
  }
  static inline std::vector<std::string> calls;
  static inline std::vector<uint8_t> lastRecord;

 private:
  static BOOL __stdcall TakeRecord(uint32_t kind, uint32_t code, const void* data, uint32_t size) {
    calls.push_back("R" + std::to_string(kind) + ":" + std::to_string(code));
    lastRecord.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    return TRUE;
  }
  static int __stdcall TakeEvent(uint32_t event, const char* name, uint32_t, uint32_t) {
    calls.push_back("E" + std::to_string(event) + " " + (name ? name : "(null)"));
    return 0;
  }
};
