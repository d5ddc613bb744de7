#include "fake_plugin.h"

namespace {
std::vector<HostCall>& Recorded() {
  static std::vector<HostCall> calls;
  return calls;
}

BOOL __stdcall TakeRecord(uint32_t kind, uint32_t code, const void* data, uint32_t size) {
  HostCall call;
  call.entry = 'R';
  call.kind = kind;
  call.code = code;
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (bytes != nullptr) call.bytes.assign(bytes, bytes + size);
  Recorded().push_back(call);
  return TRUE;
}

int __stdcall TakeEvent(uint32_t event, const char* name, uint32_t, uint32_t) {
  HostCall call;
  call.entry = 'E';
  call.kind = event;
  call.name = name ? name : "(null)";
  Recorded().push_back(call);
  return 0;
}
}  // namespace

FakePlugin::FakePlugin(PluginLibrary& library) {
  Recorded().clear();
  host::CallbackSig<22>::Fn record = TakeRecord;
  host::CallbackSig<25>::Fn event = TakeEvent;
  library.Callbacks()[22] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record));
  library.Callbacks()[25] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event));
}

FakePlugin::~FakePlugin() { Recorded().clear(); }

const std::vector<HostCall>& FakePlugin::Calls() const { return Recorded(); }

std::vector<std::string> FakePlugin::Summary() const {
  std::vector<std::string> lines;
  for (const HostCall& call : Recorded())
    lines.push_back(call.entry == 'R' ? "R" + std::to_string(call.code)
                                      : "E" + std::to_string(call.kind) + " " + call.name);
  return lines;
}
