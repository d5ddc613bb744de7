#include "sdk/plugin_child_wnd.h"
#include "sdk/plugin_module.h"

LRESULT CALLBACK RootChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = reinterpret_cast<CZPluginChildWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return object->WindowProc(window, message, wParam, lParam);
}
