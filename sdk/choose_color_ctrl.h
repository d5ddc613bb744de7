// CChooseColorCtrl: the inside of a colour-select control. It shows the
// current colour with a "..." button at its right end; the button opens the
// palette below it, and a colour chosen there becomes the current one and is
// reported to the dialog that holds the control.
#pragma once

#include "sdk/color_popup.h"
#include "sdk/wnd_ctrl.h"

class CChooseColorCtrl : public CWndCtrl {
 public:
  static constexpr COLORREF kDefaultColor = 255;  // red
  static constexpr int kDotsHeight = 8;  // pixels of the "..." button's font

  CChooseColorCtrl() = default;
  ~CChooseColorCtrl() override;

  LRESULT OnSize(UINT type, int width, int height) override;
  void OnPaint(HDC dc, PAINTSTRUCT* paint) override;
  void OnCommand(int id, HWND control, int code) override;
  LRESULT OnCreate(CREATESTRUCTA* create) override;
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  COLORREF GetColor() const { return m_color; }
  // The colour the control shows, as the dialog sets it.
  void SetColor(COLORREF color);
  HWND GetButtonWindow() const { return m_button.GetHwnd(); }
  HWND GetPopupWindow() const { return m_popup.GetHwnd(); }
  CColorPopup& Popup() { return m_popup; }

 private:
  void OpenPopup();
  void ClosePopup();
  // The dialog learns the colour as a command from the control's id.
  void NotifyDialog() const;
  void ReleaseDotsFont();

  COLORREF m_color = kDefaultColor;
  CWndCtrl m_button;
  CColorPopup m_popup;
  HFONT m_dotsFont = nullptr;
};
