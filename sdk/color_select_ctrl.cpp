#include "sdk/color_select_ctrl.h"

#include <cstdlib>
#include <string>

#include "sdk/choose_color_ctrl.h"
#include "sdk/entry_guard.h"
#include "sdk/window_classes.h"

namespace {
CChooseColorCtrl* ChooserOf(HWND window) {
  return reinterpret_cast<CChooseColorCtrl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT OnCreateSelect(HWND window) {
  auto* chooser = new CChooseColorCtrl;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(chooser));
  chooser->CreateEx(window, "", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, WS_EX_CLIENTEDGE, 0, 0,
                    0, 0, nullptr);
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return 0;
}

LRESULT GetColorText(CChooseColorCtrl* chooser, WPARAM capacity, char* buffer) {
  if (buffer == nullptr || capacity == 0) return 0;
  const std::string text = std::to_string(static_cast<int>(chooser->GetColor()));
  const size_t length = text.size() < capacity ? text.size() : capacity - 1;
  text.copy(buffer, length);
  buffer[length] = 0;
  return static_cast<LRESULT>(length);
}

LRESULT SelectMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return OnCreateSelect(window);
  CChooseColorCtrl* chooser = ChooserOf(window);
  if (chooser == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      chooser->MoveTo(0, 0, LOWORD(lParam), HIWORD(lParam), FALSE);
      return 1;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      chooser->SetColor(text != nullptr ? static_cast<COLORREF>(std::strtoul(text, nullptr, 10)) : 0);
      return 0;
    }
    case WM_GETTEXT:
      return GetColorText(chooser, wParam, reinterpret_cast<char*>(lParam));
    case WM_NCDESTROY:
      // The chooser's window, a child, is gone by now; the object goes with
      // the control.
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete chooser;
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
}  // namespace

LRESULT CALLBACK ColorCtrlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT neutral = message == WM_CREATE ? -1 : 0;
  return GuardBoundary("colour-select control", neutral,
                       [&] { return SelectMessage(window, message, wParam, lParam); });
}

bool RegisterColorSelectClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
  windowClass.lpfnWndProc = ColorCtrlWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kColorSelectClass;
  return RegisterPluginWindowClass(windowClass);
}
