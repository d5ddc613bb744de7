// What the stand-in host's tests share: scratch files, fields read at their
// offsets, the host's functions by number, and a plug-in that notes what the
// host sends it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/standin/plugin_library.h"
#include "host/standin/standin_host.h"

// A folder of scratch files for a test, removed with everything written to it.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  std::string Write(const std::string& name, const std::string& text) {
    files_.push_back(path_ + "\\" + name);
    FILE* file = std::fopen(files_.back().c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return files_.back();
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

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

// What the host sent to a plug-in: a record (entry 22) or an event (entry 25).
struct HostCall {
  char entry = 0;     // 'R' or 'E'
  uint32_t kind = 0;  // the record's kind, or the event number
  uint32_t code = 0;  // the record's code
  std::vector<uint8_t> bytes;
  std::string name;   // the event's name; "(null)" for none
};

// Callback entries 22 and 25 of a plug-in library pointed at functions that
// note what the host sent.
class FakePlugin {
 public:
  explicit FakePlugin(PluginLibrary& library) {
    Calls().clear();
    host::CallbackSig<22>::Fn record = TakeRecord;
    host::CallbackSig<25>::Fn event = TakeEvent;
    library.Callbacks()[22] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record));
    library.Callbacks()[25] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event));
  }
  ~FakePlugin() { Calls().clear(); }
  static std::vector<HostCall>& Calls() {
    static std::vector<HostCall> calls;
    return calls;
  }
  // The calls as short texts: "E1 (null)", "R32985", "E4 MC0001".
  static std::vector<std::string> Summary() {
    std::vector<std::string> lines;
    for (const HostCall& call : Calls())
      lines.push_back(call.entry == 'R' ? "R" + std::to_string(call.code)
                                        : "E" + std::to_string(call.kind) + " " + call.name);
    return lines;
  }

 private:
  static BOOL __stdcall TakeRecord(uint32_t kind, uint32_t code, const void* data, uint32_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    Calls().push_back({'R', kind, code, bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{}, ""});
    return TRUE;
  }
  static int __stdcall TakeEvent(uint32_t event, const char* name, uint32_t, uint32_t) {
    Calls().push_back({'E', event, 0, {}, name ? name : "(null)"});
    return 0;
  }
};
