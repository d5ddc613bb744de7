#include "sdk/choose_color_ctrl.h"

#include "sdk/plugin_module.h"

CChooseColorCtrl::~CChooseColorCtrl() {
  // The popup belongs to the dialog's window, not to this one, so it is
  // closed here; this window goes first, while its handlers are whole.
  ClosePopup();
  if (m_hWnd != nullptr && FromWindow(m_hWnd) == this) DestroyWindow(m_hWnd);
  ReleaseDotsFont();
}

void CChooseColorCtrl::ReleaseDotsFont() {
  if (m_dotsFont != nullptr) DeleteObject(m_dotsFont);
  m_dotsFont = nullptr;
}

LRESULT CChooseColorCtrl::OnCreate(CREATESTRUCTA*) {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  const int side = client.bottom;
  HWND button = m_button.Create(m_hWnd, "BUTTON", "...", WS_CHILD | WS_VISIBLE, client.right - side,
                                0, side, side, nullptr);
  // A dialog's font is taller than the square's face, which would cut the
  // dots: the button gets a small font of the host's face.
  LOGFONTA face = {};
  HFONT hostFont = GetHostFont();
  GetObjectA(hostFont != nullptr ? hostFont : GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
  face.lfHeight = -kDotsHeight;
  face.lfWidth = 0;
  ReleaseDotsFont();
  m_dotsFont = CreateFontIndirectA(&face);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_dotsFont), FALSE);
  return 0;
}

LRESULT CChooseColorCtrl::OnSize(UINT, int width, int height) {
  m_button.MoveTo(width - height, 0, height, height, TRUE);
  return 0;
}

void CChooseColorCtrl::OnPaint(HDC dc, PAINTSTRUCT*) {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  HBRUSH brush = CreateSolidBrush(m_color);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

void CChooseColorCtrl::OnCommand(int, HWND control, int code) {
  if (code == BN_CLICKED && control != nullptr && control == m_button.GetHwnd()) OpenPopup();
}

void CChooseColorCtrl::OpenPopup() {
  if (m_popup.GetHwnd() != nullptr) return;
  RECT below = {};
  GetWindowRect(m_hWnd, &below);
  const SIZE size = CColorPopup::PopupSize();
  m_popup.Create(m_hWnd, "", "KKK", WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER, below.left,
                 below.bottom, size.cx, size.cy, nullptr);
  m_popup.SetColor(m_color);
}

void CChooseColorCtrl::ClosePopup() {
  if (m_popup.GetHwnd() != nullptr) DestroyWindow(m_popup.GetHwnd());
}

void CChooseColorCtrl::SetColor(COLORREF color) {
  m_color = color;
  if (m_hWnd != nullptr) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CChooseColorCtrl::NotifyDialog() const {
  HWND control = GetParent(m_hWnd);
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), 0),
               static_cast<LPARAM>(m_color));
}

LRESULT CChooseColorCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The button is gone with this window; its font may go too.
  if (message == WM_NCDESTROY) ReleaseDotsFont();
  if (message == kColorPopupClosed) {
    ClosePopup();
    return 0;
  }
  if (message == kColorPopupChosen) {
    ClosePopup();
    SetColor(static_cast<COLORREF>(wParam));
    // The dialog may close the control on the news, this object with it:
    // nothing of it is touched after.
    const LRESULT result = DefaultProc(window, message, wParam, lParam);
    NotifyDialog();
    return result;
  }
  return CWndCtrl::WindowProc(window, message, wParam, lParam);
}
