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

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Presses OK in the thread's dialog once it shows: the dialog's own loop runs
// the timer.
void CALLBACK AcceptShownDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = ShownDialog();
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

INT_PTR __stdcall RunModalDialog(HINSTANCE instance, int templateId, DLGPROC proc, HWND parent) {
  Host().Log().Record(30, std::to_string(templateId));
  if (Host().AcceptDialogs()) AcceptNextDialog();
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, proc, 0);
}
}  // namespace

HWND ShownDialog() {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  return dialog;
}

UINT_PTR AcceptNextDialog() { return SetTimer(nullptr, 0, 700, AcceptShownDialog); }

void InstallWindowFunctions(StandInHost& host) {
  host.Install<3>(AllocateBuffer);
  host.Install<4>(FreeBuffer);
  host.Install<25>(HostHandle);
  host.Install<30>(RunModalDialog);
}
