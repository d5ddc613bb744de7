#include "sdk/entry_guard.h"
#include "sdk/plugin_child_wnd.h"
#include "sdk/plugin_module.h"

LRESULT CALLBACK RootChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CZPluginChildWnd* object = CZPluginChildWnd::GetWindowObject(window);
  if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  CWindowUse use(object);
  return GuardBoundary("window procedure", LRESULT(0),
                       [&] { return object->WindowProc(message, wParam, lParam); });
}
