// Host functions 3, 4, 25 and 30: buffers, the host's windows and resources,
// modal dialogs.
#include "host/standin/standin_host.h"

#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

void* __stdcall AllocateBuffer(uint32_t size) {
  Host().Log().Record(3, std::to_string(size));
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size ? size : 1);
}

void __stdcall FreeBuffer(void* buffer) {
  Host().Log().Record(4);
  if (buffer) HeapFree(GetProcessHeap(), 0, buffer);
}

HANDLE __stdcall HostHandle(int kind) {
  Host().Log().Record(25, std::to_string(kind));
  switch (kind) {
    case host::kMainFrame: return Host().Frame();
    case host::kResourceModule: return Host().Resources();
    case host::kMdiClient: return Host().MdiClient();
    default: return nullptr;
  }
}

INT_PTR __stdcall RunModalDialog(HINSTANCE instance, int templateId, DLGPROC proc, HWND parent) {
  Host().Log().Record(30, std::to_string(templateId));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, proc, 0);
}
}  // namespace

void InstallWindowFunctions(StandInHost& host) {
  host.Install<3>(AllocateBuffer);
  host.Install<4>(FreeBuffer);
  host.Install<25>(HostHandle);
  host.Install<30>(RunModalDialog);
}
