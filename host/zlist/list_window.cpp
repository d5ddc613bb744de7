#include "host/zlist/list_window.h"

#include <windowsx.h>
#include <cstring>

namespace zlist {
namespace {

const char kClassName[] = "ZListClient";
const int kBorderGrip = 3;

COLORREF ToColour(INT_PTR value) {
  DWORD v = static_cast<DWORD>(value);
  if (v & 0x80000000u) return GetSysColor(static_cast<int>(v & 0xFF));
  return static_cast<COLORREF>(v & 0xFFFFFF);
}

}  // namespace

HWND ListWindow::Create(HINSTANCE instance, HWND parent) {
  HINSTANCE own = reinterpret_cast<HINSTANCE>(GetModuleHandleA("zlist.dll"));
  if (!own) own = instance;
  WNDCLASSA wc = {};
  if (!GetClassInfoA(own, kClassName, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = own;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return nullptr;
  }
  RECT client = {0, 0, 300, 200};
  if (parent) GetClientRect(parent, &client);
  return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS, 0, 0,
                         client.right, client.bottom, parent, nullptr, own, nullptr);
}

ListWindow* ListWindow::FromHandle(HWND list) {
  if (!list || !IsWindow(list)) return nullptr;
  char name[32] = {};
  if (!GetClassNameA(list, name, sizeof name) || lstrcmpA(name, kClassName) != 0) return nullptr;
  return reinterpret_cast<ListWindow*>(GetWindowLongPtrA(list, GWLP_USERDATA));
}

LRESULT CALLBACK ListWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ListWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = new ListWindow(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT ListWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintOffScreen(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Changed();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
      ScrollLeftTo(left_);
      return 0;
    case ZLIST_WM_SELECT_TITLE:
      titleColumn_ = static_cast<int>(lParam);
      return titleColumn_ >= 0 && titleColumn_ < model_.ColumnCount();
    case WM_GETTEXTLENGTH:
    case WM_GETTEXT: {
      if (titleColumn_ < 0) break;
      std::string title = CellText(0, titleColumn_);
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(title.size());
      titleColumn_ = -1;
      char* out = reinterpret_cast<char*>(lParam);
      int size = static_cast<int>(wParam);
      if (!out || size <= 0) return 0;
      lstrcpynA(out, title.c_str(), size);
      return lstrlenA(out);
    }
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);
      OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (drag_ == Drag::Resize) {
        int left = ColumnLeft(dragColumn_);
        model_.SetColumnWidth(dragColumn_, GET_X_LPARAM(lParam) - left);
        Changed();
      }
      return 0;
    case WM_LBUTTONUP:
      if (drag_ != Drag::None) {
        ReleaseCapture();
        if (drag_ == Drag::Column) OnHeaderRelease(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        drag_ = Drag::None;
      }
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      int line, column;
      HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &line, &column);
      SetFocus(hwnd_);
      Notify(message == WM_RBUTTONDOWN ? ZLIST_CMD_CONTEXT : ZLIST_CMD_DOUBLE_CLICK, line, column);
      return 0;
    }
    case WM_KEYDOWN:
      OnKey(wParam);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_VSCROLL: {
      SCROLLINFO si = {};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, SB_VERT, &si);
      int top = top_;
      switch (LOWORD(wParam)) {
        case SB_LINEUP: top--; break;
        case SB_LINEDOWN: top++; break;
        case SB_PAGEUP: top -= VisibleDataLines(); break;
        case SB_PAGEDOWN: top += VisibleDataLines(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = si.nTrackPos; break;
      }
      ScrollTo(top);
      return 0;
    }
    case WM_HSCROLL: {
      SCROLLINFO si = {};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, SB_HORZ, &si);
      int left = left_;
      switch (LOWORD(wParam)) {
        case SB_LINELEFT: left -= 20; break;
        case SB_LINERIGHT: left += 20; break;
        case SB_PAGELEFT: left -= static_cast<int>(si.nPage); break;
        case SB_PAGERIGHT: left += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: left = si.nTrackPos; break;
      }
      ScrollLeftTo(left);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(top_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

// Only marks what to draw: the next paint draws the lines and the scroll bars
// once, however many lines a bulk insert changed before it. Scroll bars drawn
// at each change held the thread for seconds over a few hundred lines.
void ListWindow::Changed() {
  UpdateScrollBar();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void ListWindow::SetLineHeight(int height) {
  lineHeight_ = height > 0 ? height : 0;
  Changed();
}

HFONT ListWindow::ListFont() const {
  return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int ListWindow::LineHeight() const {
  if (lineHeight_ > 0) return lineHeight_;
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, ListFont());
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return tm.tmHeight + 4;
}

int ListWindow::VisibleDataLines() const {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  int free = rc.bottom - model_.FixedRows() * LineHeight();
  int n = free / LineHeight();
  return n < 1 ? 1 : n;
}

void ListWindow::ScrollTo(int top) {
  int dataLines = model_.LineCount() - model_.FixedRows();
  int maxTop = dataLines - VisibleDataLines();
  if (top > maxTop) top = maxTop;
  if (top < 0) top = 0;
  top_ = top;
  Changed();
}

void ListWindow::ScrollLeftTo(int left) {
  RECT client;
  GetClientRect(hwnd_, &client);
  int maxLeft = model_.TotalWidth() - client.right;
  if (left > maxLeft) left = maxLeft;
  if (left < 0) left = 0;
  left_ = left;
  Changed();
}

void ListWindow::UpdateScrollBar() {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  int dataLines = model_.LineCount() - model_.FixedRows();
  si.nMin = 0;
  si.nMax = dataLines > 0 ? dataLines - 1 : 0;
  si.nPage = VisibleDataLines();
  si.nPos = top_;
  SetScrollInfo(hwnd_, SB_VERT, &si, FALSE);
  RECT client;
  GetClientRect(hwnd_, &client);
  si.nMax = model_.TotalWidth() > 0 ? model_.TotalWidth() - 1 : 0;
  si.nPage = client.right > 0 ? client.right : 0;
  si.nPos = left_;
  SetScrollInfo(hwnd_, SB_HORZ, &si, FALSE);
}

std::string ListWindow::CellText(int line, int column) const {
  if (const std::string* text = model_.StaticText(line, column)) return *text;
  if (line < model_.FixedRows()) return std::string();
  auto callback = reinterpret_cast<ZListCellCallback>(model_.ResolveProperty(line, column, ZLIST_PROP_DATA_CALLBACK));
  if (!callback) return std::string();
  char text[1024] = {};
  uint8_t value[8] = {};
  void* context = reinterpret_cast<void*>(model_.ResolveProperty(-1, -1, ZLIST_PROP_DATA));
  void* data = model_.LineAt(line)->data;
  callback(context, line, data, column, text, sizeof text, value);
  text[sizeof text - 1] = 0;
  return text;
}

CellLook ListWindow::LookOf(int line, int column) const {
  CellLook look;
  look.style = model_.ResolveStyle(line, column);
  const Line* l = model_.LineAt(line);
  bool selected = l && l->selected && column >= model_.FixedColumns();
  bool fixed = line < model_.FixedRows() || column < model_.FixedColumns() ||
               (look.style & ZLIST_STYLE_FIXED_LOOK);
  bool found = false;
  INT_PTR back = model_.ResolveProperty(line, column, selected ? ZLIST_PROP_SELECTED_BACK : ZLIST_PROP_BACK_COLOUR, &found);
  look.back = found ? ToColour(back) : GetSysColor(selected ? COLOR_HIGHLIGHT : fixed ? COLOR_BTNFACE : COLOR_WINDOW);
  INT_PTR fore = model_.ResolveProperty(line, column, selected ? ZLIST_PROP_SELECTED_TEXT : ZLIST_PROP_TEXT_COLOUR, &found);
  look.fore = found ? ToColour(fore) : GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  auto font = reinterpret_cast<HFONT>(model_.ResolveProperty(line, column, ZLIST_PROP_FONT));
  look.font = font && GetObjectType(font) == OBJ_FONT ? font : ListFont();
  look.text = CellText(line, column);
  return look;
}

void ListWindow::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  HBRUSH empty = GetSysColorBrush(COLOR_APPWORKSPACE);
  FillRect(dc, &client, empty);
  int h = LineHeight();
  int y = 0;
  // The scrolled columns first, the fixed ones over them.
  auto paintLine = [&](int line) {
    for (int c = model_.FixedColumns(); c < model_.ColumnCount(); ++c) {
      RECT cell = {ColumnLeft(c), y, ColumnLeft(c) + model_.ColumnWidth(c), y + h};
      if (cell.right > FixedWidth() && cell.left < client.right) PaintCell(dc, cell, line, c);
    }
    for (int c = 0; c < model_.FixedColumns() && c < model_.ColumnCount(); ++c) {
      RECT cell = {ColumnLeft(c), y, ColumnLeft(c) + model_.ColumnWidth(c), y + h};
      PaintCell(dc, cell, line, c);
    }
    y += h;
  };
  for (int line = 0; line < model_.FixedRows() && line < model_.LineCount(); ++line) paintLine(line);
  for (int line = model_.FixedRows() + top_; line < model_.LineCount() && y < client.bottom; ++line)
    paintLine(line);
}

// Every recalculation of a table redraws all its cells. Drawn straight onto
// the window, the list could reach the screen half drawn (its background
// filled, most cells still blank) whenever Wine copies the window to the
// screen midway; so the list is drawn off screen and copied in one go.
void ListWindow::PaintOffScreen(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
  if (!bitmap) {
    if (memory) DeleteDC(memory);
    Paint(dc);
    return;
  }
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  Paint(memory);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void ListWindow::PaintCell(HDC dc, const RECT& rect, int line, int column) {
  CellLook look = LookOf(line, column);
  HBRUSH brush = CreateSolidBrush(look.back);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  bool fixed = line < model_.FixedRows() || column < model_.FixedColumns() || (look.style & ZLIST_STYLE_FIXED_LOOK);
  RECT edge = rect;
  if (fixed) {
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
  } else {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
    LineTo(dc, rect.right - 1, rect.bottom - 1);
    LineTo(dc, rect.right - 1, rect.top - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  RECT text = {rect.left + 3, rect.top, rect.right - 3, rect.bottom};
  HGDIOBJ oldFont = SelectObject(dc, look.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.fore);
  UINT align = (look.style & ZLIST_STYLE_ALIGN_RIGHT) ? DT_RIGHT : DT_LEFT;
  // Wine places glyphs at fractional advances: a text that measures to fit
  // may ink a pixel or two past its measure, into the cell's margin.
  DrawTextA(dc, look.text.c_str(), -1, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP);
  SelectObject(dc, oldFont);
}

void ListWindow::HitTest(int x, int y, int* line, int* column) const {
  *column = -1;
  for (int c = 0; c < model_.ColumnCount(); ++c) {
    int left = ColumnLeft(c);
    if (c >= model_.FixedColumns() && left < FixedWidth()) left = FixedWidth();
    if (x >= left && x < ColumnLeft(c) + model_.ColumnWidth(c)) { *column = c; break; }
  }
  int h = LineHeight();
  int row = y / h;
  if (y < 0) *line = -1;
  else if (row < model_.FixedRows()) *line = row;
  else {
    int l = model_.FixedRows() + top_ + (row - model_.FixedRows());
    *line = l < model_.LineCount() ? l : -1;
  }
}

int ListWindow::ColumnLeft(int position) const {
  int left = 0;
  for (int c = 0; c < position && c < model_.ColumnCount(); ++c) left += model_.ColumnWidth(c);
  return position >= model_.FixedColumns() ? left - left_ : left;
}

int ListWindow::FixedWidth() const {
  int width = 0;
  for (int c = 0; c < model_.FixedColumns() && c < model_.ColumnCount(); ++c) width += model_.ColumnWidth(c);
  return width;
}

// The column whose right border is under x, or -1.
int ListWindow::BorderAt(int x) const {
  for (int c = 0; c < model_.ColumnCount(); ++c) {
    int right = ColumnLeft(c) + model_.ColumnWidth(c);
    if (c >= model_.FixedColumns() && right <= FixedWidth()) continue;
    if (x >= right - kBorderGrip && x <= right + kBorderGrip) return c;
  }
  return -1;
}

LRESULT ListWindow::Notify(int code, int line, int column, int source, int target) {
  ZListCommandRecord record;
  std::memset(&record, 0, sizeof record);
  record.list = hwnd_;
  record.controlId = static_cast<uint32_t>(GetDlgCtrlID(hwnd_));
  record.code = static_cast<uint32_t>(code);
  record.line = line;
  record.column = column;
  record.source = source;
  record.target = target;
  HWND parent = GetParent(hwnd_);
  if (!parent) return 0;
  return SendMessageA(parent, ZLIST_WM_COMMAND, static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(&record));
}

void ListWindow::OnButtonDown(int x, int y) {
  int line, column;
  HitTest(x, y, &line, &column);
  if (line >= 0 && line < model_.FixedRows()) {
    int border = BorderAt(x);
    drag_ = border >= 0 ? Drag::Resize : Drag::Column;
    dragColumn_ = border >= 0 ? border : column;
    dragStartX_ = x;
    if (drag_ == Drag::Column && dragColumn_ < 0) drag_ = Drag::None;
    if (drag_ != Drag::None) SetCapture(hwnd_);
    return;
  }
  if (line >= model_.FixedRows()) {
    model_.Select(line, true);
    Changed();
  }
}

// Release over another header cell moves the column there; a release far
// below or above the list removes it; a release in place is a sort click.
void ListWindow::OnHeaderRelease(int x, int y) {
  RECT client;
  GetClientRect(hwnd_, &client);
  int line, column;
  HitTest(x, y, &line, &column);
  bool draggable = columnsDnd_ && dragColumn_ >= model_.FixedColumns();
  if (draggable && (y < -LineHeight() || y > client.bottom + LineHeight())) {
    if (Notify(ZLIST_CMD_COLUMN_REMOVED, -1, dragColumn_, dragColumn_, -1) && model_.RemoveColumn(dragColumn_))
      Changed();
    return;
  }
  if (line >= 0 && line < model_.FixedRows() && column == dragColumn_) {
    if (abs(x - dragStartX_) < 4) OnHeaderClick(column);
    return;
  }
  if (draggable && line >= 0 && line < model_.FixedRows() && column >= model_.FixedColumns()) {
    if (Notify(ZLIST_CMD_COLUMN_MOVED, -1, dragColumn_, dragColumn_, column) &&
        model_.MoveColumn(dragColumn_, column))
      Changed();
  }
}

// A click on a header sorts by that column: a new column starts in its
// default direction (numeric columns descending), a second click reverses it.
void ListWindow::OnHeaderClick(int column) {
  if (column < model_.FixedColumns() || !model_.HasSortCallback()) return;
  const auto& fields = model_.SortFields();
  ZListSortField field{column, 1};
  if (fields.size() == 1 && fields[0].column == column) {
    field.ascending = !fields[0].ascending;
  } else {
    bool numeric = Notify(ZLIST_CMD_COLUMN_QUERY, -1, column) == 1;
    field.ascending = numeric ? 0 : 1;
  }
  model_.SetSortFields(&field, 1);
  Changed();
}

void ListWindow::OnKey(WPARAM key) {
  int selection = model_.Selection();
  int target = selection;
  if (key == VK_DOWN) target = selection < 0 ? model_.FixedRows() : selection + 1;
  else if (key == VK_UP) target = selection - 1;
  else return;
  if (target < model_.FixedRows() || target >= model_.LineCount()) return;
  model_.Select(target, true);
  int firstShown = model_.FixedRows() + top_;
  if (target < firstShown) ScrollTo(target - model_.FixedRows());
  else if (target >= firstShown + VisibleDataLines()) ScrollTo(target - model_.FixedRows() - VisibleDataLines() + 1);
  Changed();
}

}  // namespace zlist
