#include "sdk/plugin_thread_state.h"

#include "sdk/host_call.h"
#include "sdk/plugin_child_wnd.h"
#include "sdk/plugin_dialog.h"

namespace {

DWORD g_stateSlot = TLS_OUT_OF_INDEXES;

// Replaces the window's procedure by the recorded one; null when that
// failed. `previous` receives the procedure the window had.
bool ReplaceProcedure(HWND window, WNDPROC procedure, WNDPROC* previous) {
  *previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  return *previous != nullptr;
}

void Bind(CZPluginChildWnd* object, HWND window) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

}  // namespace

CPLUGIN_THREAD_STATE::~CPLUGIN_THREAD_STATE() {
  if (hook) UnhookWindowsHookEx(hook);
}

CPLUGIN_THREAD_STATE* GetPluginThreadState() {
  if (g_stateSlot == TLS_OUT_OF_INDEXES) {
    g_stateSlot = TlsAlloc();
    if (g_stateSlot == TLS_OUT_OF_INDEXES) return nullptr;
  }
  auto* state = static_cast<CPLUGIN_THREAD_STATE*>(TlsGetValue(g_stateSlot));
  if (!state) {
    state = new CPLUGIN_THREAD_STATE;
    TlsSetValue(g_stateSlot, state);
  }
  return state;
}

bool InstallCreateHook(CZPluginChildWnd* object, HOOKPROC hook, WNDPROC procedure) {
  CPLUGIN_THREAD_STATE* state = GetPluginThreadState();
  if (!state) return false;
  if (state->creating == object && object) return true;
  if (!state->hook) {
    state->hook = SetWindowsHookExA(WH_CBT, hook ? hook : PluginCreateHook, nullptr, GetCurrentThreadId());
    if (!state->hook) return false;
  }
  state->creating = object;
  state->procedure = procedure ? procedure : RootChildWndProc;
  return true;
}

void RemoveCreateHook() {
  CPLUGIN_THREAD_STATE* state = GetPluginThreadState();
  if (!state) return;
  if (state->hook) UnhookWindowsHookEx(state->hook);
  state->hook = nullptr;
  state->creating = nullptr;
}

LRESULT CALLBACK PluginCreateHook(int code, WPARAM wParam, LPARAM lParam) {
  CPLUGIN_THREAD_STATE* state = GetPluginThreadState();
  if (code != HCBT_CREATEWND || !state || !state->creating)
    return CallNextHookEx(state ? state->hook : nullptr, code, wParam, lParam);
  HWND window = reinterpret_cast<HWND>(wParam);
  CZPluginChildWnd* object = state->creating;
  WNDPROC previous = nullptr;
  if (!ReplaceProcedure(window, state->procedure, &previous)) return 1;
  auto classProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC));
  object->AttachWindow(window, previous != state->procedure && previous != classProcedure ? previous : nullptr);
  Bind(object, window);
  state->creating = nullptr;
  return 0;
}

LRESULT CALLBACK PluginDialogCreateHook(int code, WPARAM wParam, LPARAM lParam) {
  CPLUGIN_THREAD_STATE* state = GetPluginThreadState();
  if (code != HCBT_CREATEWND || !state || !state->creating)
    return CallNextHookEx(state ? state->hook : nullptr, code, wParam, lParam);
  HWND window = reinterpret_cast<HWND>(wParam);
  auto* dialog = static_cast<CZPluginDialog*>(state->creating);
  WNDPROC previous = nullptr;
  if (!ReplaceProcedure(window, state->procedure, &previous)) return 1;
  dialog->AttachDialogWindow(window, previous != state->procedure ? previous : nullptr);
  Bind(dialog, window);
  if (!dialog->IsModal()) {
    // A modeless dialog lives inside its frame: a visible child without
    // frame, caption or popup bits.
    LONG style = (GetWindowLongA(window, GWL_STYLE) & 0x2F36FF7F) | 0x50000000;
    reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style = style;
    SetWindowLongA(window, GWL_STYLE, style);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
  state->creating = nullptr;
  return 0;
}
