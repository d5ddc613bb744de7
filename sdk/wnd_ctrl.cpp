#include "sdk/wnd_ctrl.h"

#include <windowsx.h>

#include "sdk/entry_guard.h"
#include "sdk/window_classes.h"

namespace {
std::map<HWND, CWndCtrl*>& Bindings() {
  static std::map<HWND, CWndCtrl*> bindings;
  return bindings;
}

constexpr int kSmallIconResource = 5;

HINSTANCE InstanceOf(HWND window) {
  if (window == nullptr) return GetModuleHandleA(nullptr);
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

bool EnsureClassRegistered(const char* className, WNDPROC procedure, HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(instance, className, &windowClass)) return true;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(kSmallIconResource), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.lpszClassName = className;
  return RegisterPluginWindowClass(windowClass);
}
}  // namespace

CWndCtrl::~CWndCtrl() {
  // Only a window bound to this object is its own; a system control made
  // through CreateEx goes with its parent.
  if (m_hWnd == nullptr || FromWindow(m_hWnd) != this) return;
  HWND window = m_hWnd;
  Bindings().erase(window);
  m_hWnd = nullptr;
  DestroyWindow(window);
}

CWndCtrl* CWndCtrl::FromWindow(HWND window) {
  const auto found = Bindings().find(window);
  return found == Bindings().end() ? nullptr : found->second;
}

const std::map<HWND, CWndCtrl*>& CWndCtrl::BoundWindows() { return Bindings(); }

void CWndCtrl::Bind(HWND window) {
  Bindings()[window] = this;
  m_hWnd = window;
}

void CWndCtrl::MoveTo(int x, int y, int width, int height, BOOL repaint) {
  if (m_hWnd != nullptr) MoveWindow(m_hWnd, x, y, width, height, repaint);
}

HWND CWndCtrl::CreateEx(HWND parent, const char* className, const char* title, DWORD style,
                        DWORD exStyle, int x, int y, int width, int height, HMENU menu) {
  const char* name = className != nullptr && *className ? className : kWndCtrlClass;
  const HINSTANCE instance = InstanceOf(parent);
  if (!EnsureClassRegistered(name, FrameworkWndProc, instance)) return nullptr;
  m_owner = parent;
  m_hWnd = CreateWindowExA(exStyle, name, title, style | WS_BORDER, x, y, width, height, parent,
                           menu, instance, this);
  return m_hWnd;
}

HWND CWndCtrl::Create(HWND parent, const char* className, const char* title, DWORD style, int x,
                      int y, int width, int height, HMENU menu) {
  return CreateEx(parent, className, title, style, 0, x, y, width, height, menu);
}

void CWndCtrl::OnSetFont(HFONT, BOOL) {}
LRESULT CWndCtrl::OnSize(UINT, int, int) { return 0; }
LRESULT CWndCtrl::OnMouseMove(UINT, int, int) { return 1; }
LRESULT CWndCtrl::OnLButtonUp(UINT, int, int) { return 1; }
LRESULT CWndCtrl::OnLButtonDown(UINT, int, int) { return 1; }
void CWndCtrl::OnPaint(HDC, PAINTSTRUCT*) {}
void CWndCtrl::OnCommand(int, HWND, int) {}
LRESULT CWndCtrl::OnCreate(CREATESTRUCTA*) { return 0; }

LRESULT CWndCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      OnPaint(dc, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      // The window drawn into a device context of the caller's.
      PAINTSTRUCT paint = {};
      paint.hdc = reinterpret_cast<HDC>(wParam);
      GetClientRect(window, &paint.rcPaint);
      OnPaint(paint.hdc, &paint);
      return 0;
    }
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
      return DefaultProc(window, message, wParam, lParam);
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return DefaultProc(window, message, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONDOWN:
      return OnLButtonDown(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    case WM_LBUTTONUP:
      return OnLButtonUp(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    default:
      return DefaultProc(window, message, wParam, lParam);
  }
}

LRESULT CWndCtrl::DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK CWndCtrl::FrameworkWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE || message == WM_CREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* object = static_cast<CWndCtrl*>(create->lpCreateParams);
    if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    object->Bind(window);
    // Creation is refused when it fails.
    const LRESULT refused = message == WM_CREATE ? -1 : FALSE;
    return GuardBoundary("colour control", refused, [&] {
      return message == WM_CREATE ? object->OnCreate(create)
                                  : object->WindowProc(window, message, wParam, lParam);
    });
  }
  CWndCtrl* object = FromWindow(window);
  if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const LRESULT result = GuardBoundary("colour control", LRESULT(0), [&] {
    return object->WindowProc(window, message, wParam, lParam);
  });
  // A destroyed window's handle may come back for another window: its
  // binding goes with it.
  if (message == WM_NCDESTROY) {
    Bindings().erase(window);
    if (object->m_hWnd == window) object->m_hWnd = nullptr;
  }
  return result;
}
