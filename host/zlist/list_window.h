// The list control window: draws the model, turns mouse and keys into
// selection, sorting, column moves and the notifications its parent expects.
#pragma once

#include <windows.h>
#include <string>

#include "host/zlist/list_model.h"

namespace zlist {

// What a cell shows, as the window draws it.
struct CellLook {
  std::string text;
  COLORREF back = 0;
  COLORREF fore = 0;
  HFONT font = nullptr;
  int style = 0;
};

class ListWindow {
 public:
  static HWND Create(HINSTANCE instance, HWND parent);
  static ListWindow* FromHandle(HWND list);

  ListModel& Model() { return model_; }
  HWND Handle() const { return hwnd_; }
  void Changed();  // redraw after a change of the model

  CellLook LookOf(int line, int column) const;
  void SetLineHeight(int height);
  void SetColumnsDragAndDrop(bool enable) { columnsDnd_ = enable; }

 private:
  explicit ListWindow(HWND hwnd) : hwnd_(hwnd) {}
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void Paint(HDC dc);
  void PaintOffScreen(HDC dc);
  void PaintCell(HDC dc, const RECT& rect, int line, int column);
  std::string CellText(int line, int column) const;
  HFONT ListFont() const;
  int LineHeight() const;
  int VisibleDataLines() const;
  void ScrollTo(int top);
  void ScrollLeftTo(int left);
  void UpdateScrollBar();

  // Hit testing: line -1 for the empty area, column -1 past the last column.
  void HitTest(int x, int y, int* line, int* column) const;
  // On-screen left of a column: the fixed columns stay, the others scroll.
  int ColumnLeft(int position) const;
  int FixedWidth() const;
  int BorderAt(int x) const;

  LRESULT Notify(int code, int line, int column, int source = -1, int target = -1);
  void OnHeaderClick(int column);
  void OnHeaderRelease(int x, int y);
  void OnButtonDown(int x, int y);
  void OnKey(WPARAM key);

  HWND hwnd_;
  ListModel model_;
  HFONT font_ = nullptr;
  int lineHeight_ = 0;
  int top_ = 0;   // first data line shown below the fixed lines
  int left_ = 0;  // pixels the columns after the fixed ones are scrolled by
  bool columnsDnd_ = false;
  int titleColumn_ = -1;  // set by ZLIST_WM_SELECT_TITLE for the next WM_GETTEXT

  enum class Drag { None, Resize, Column } drag_ = Drag::None;
  int dragColumn_ = -1;
  int dragStartX_ = 0;
};

}  // namespace zlist
