// Per-thread state of plug-in window creation: the object being bound and
// the WH_CBT hook that binds the next window created on the thread to it.
#pragma once

#include <windows.h>

class CZPluginChildWnd;

struct CPLUGIN_THREAD_STATE {
  virtual ~CPLUGIN_THREAD_STATE();

  CZPluginChildWnd* creating = nullptr;
  HHOOK hook = nullptr;
  WNDPROC procedure = nullptr;
};

// The calling thread's state, made on first use in a thread-local slot.
CPLUGIN_THREAD_STATE* GetPluginThreadState();

// Binds the next window created on this thread to `object`; a null hook
// means the plain creation hook, a null procedure RootChildWndProc.
bool InstallCreateHook(CZPluginChildWnd* object, HOOKPROC hook, WNDPROC procedure);
void RemoveCreateHook();

LRESULT CALLBACK PluginCreateHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PluginDialogCreateHook(int code, WPARAM wParam, LPARAM lParam);
