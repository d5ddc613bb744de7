#include "sdk/modal_loops.h"

#include "sdk/plugin_module.h"

namespace {
// All on the host's user-interface thread: the innermost loop and the hook
// that watches for its window while any loop runs.
CModalLoop* g_innermost = nullptr;
HHOOK g_hook = nullptr;

bool IsTopLevelDialog(HWND window, const CREATESTRUCTA* create) {
  if (create != nullptr && (create->style & WS_CHILD) != 0) return false;
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0;
}
}  // namespace

CModalLoop::CModalLoop() : outer_(g_innermost) {
  g_innermost = this;
  if (g_hook == nullptr) g_hook = SetWindowsHookExA(WH_CBT, OnWindowCreated, nullptr, GetCurrentThreadId());
}

CModalLoop::~CModalLoop() {
  g_innermost = outer_;
  if (g_innermost == nullptr && g_hook != nullptr) {
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
  }
}

// Only the innermost loop is opening its window; windows made while a loop
// already shows its own belong to whatever runs inside it.
LRESULT CALLBACK CModalLoop::OnWindowCreated(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_innermost != nullptr && g_innermost->window_ == nullptr) {
    const auto window = reinterpret_cast<HWND>(wParam);
    const auto* created = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    if (IsTopLevelDialog(window, created != nullptr ? created->lpcs : nullptr)) g_innermost->window_ = window;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Ending a dialog only marks it: each loop returns once the message it is
// dispatching, Done among them, has been handled.
void CModalLoop::EndAll() {
  for (CModalLoop* loop = g_innermost; loop != nullptr; loop = loop->outer_)
    if (loop->window_ != nullptr && IsWindow(loop->window_)) ::EndDialog(loop->window_, IDCANCEL);
}

int CModalLoop::Running() {
  int count = 0;
  for (const CModalLoop* loop = g_innermost; loop != nullptr; loop = loop->outer_) ++count;
  return count;
}

bool PluginIsDone() { return g_pPluginModule != nullptr && g_pPluginModule->IsDone(); }

namespace {
// Runs the system's modal call as a recorded loop; after Done it answers as
// cancelled, without opening anything.
template <typename Call>
auto RunRecorded(Call call, decltype(call()) cancelled) {
  if (PluginIsDone()) return cancelled;
  decltype(call()) answer;
  {
    CModalLoop loop;
    answer = call();
  }
  return PluginIsDone() ? cancelled : answer;
}
}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return RunRecorded([&] { return ::MessageBoxA(owner, text, caption, type); }, IDCANCEL);
}

bool ChooseFileToOpen(OPENFILENAMEA* choice) {
  return RunRecorded([&] { return GetOpenFileNameA(choice); }, FALSE) != FALSE;
}

bool ChooseColour(CHOOSECOLORA* choice) { return RunRecorded([&] { return ChooseColorA(choice); }, FALSE) != FALSE; }
