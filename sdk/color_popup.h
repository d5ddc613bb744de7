// CColorPopup: the palette of the colour-select control, 40 named colours in
// 5 rows of 8 and an other-colours cell below them that opens the system
// colour dialog. It captures the mouse while open and tells its owner what
// was chosen: kColorPopupClosed when it closes without a choice,
// kColorPopupChosen with the colour.
#pragma once

#include "sdk/wnd_ctrl.h"

#include <string>
#include <vector>

enum : UINT {
  kColorPopupClosed = 1124,  // wParam: the popup window
  kColorPopupChosen = 1125,  // wParam: the colour
};

struct TNamedColor {
  COLORREF color;
  std::string name;
};

class CColorPopup : public CWndCtrl {
 public:
  static constexpr int kCellSize = 18;
  static constexpr int kCellsPerRow = 8;
  static constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);
  // Hover and pressed indexes besides the cells.
  static constexpr int kNoCell = -1;
  static constexpr int kOtherColorsCell = -2;

  CColorPopup();
  ~CColorPopup() override;

  LRESULT OnSize(UINT type, int width, int height) override;
  LRESULT OnMouseMove(UINT flags, int x, int y) override;
  LRESULT OnLButtonUp(UINT flags, int x, int y) override;
  LRESULT OnLButtonDown(UINT flags, int x, int y) override;
  void OnPaint(HDC dc, PAINTSTRUCT* paint) override;
  LRESULT OnCreate(CREATESTRUCTA* create) override;
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  // The colour the palette opens with; its cell is shown pressed when it is
  // one of the list.
  void SetColor(COLORREF color);
  // A cell's index, kOtherColorsCell, or kNoCell for a point outside the
  // popup or on no cell.
  int HitTest(int x, int y) const;
  RECT CellRect(int index) const;

  static const std::vector<TNamedColor>& Colors();
  // The popup's size with the system's edge width.
  static SIZE PopupSize();
  static int Edge();

  COLORREF GetSelectedColor() const { return m_selectedColor; }
  int GetHoverIndex() const { return m_hoverIndex; }
  int GetPressedIndex() const { return m_pressedIndex; }
  const RECT& GetOtherColorsRect() const { return m_otherColorsRect; }

 private:
  void DrawCell(HDC dc, int index) const;
  void DrawOtherColorsCell(HDC dc) const;
  void RedrawCell(int index) const;
  void ChooseOtherColor(COLORREF start);
  void ReleaseDrawingObjects();

  COLORREF m_selectedColor = kNoColor;
  HPALETTE m_palette = nullptr;
  std::vector<TNamedColor> m_colors;
  int m_hoverIndex = kNoCell;
  int m_pressedIndex = kNoCell;
  RECT m_otherColorsRect = {};
  HFONT m_font = nullptr;
  LOGFONTA m_logFont = {};
};
