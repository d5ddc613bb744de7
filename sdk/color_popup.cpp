#include "sdk/color_popup.h"

#include "sdk/modal_loops.h"

#include <commdlg.h>

namespace {
// The edge of the system's 3-D borders, read once when the library starts.
const int g_edge = GetSystemMetrics(SM_CXEDGE);

constexpr char kOtherColorsText[] = "Другие цвета...";
constexpr int kOtherColorsMargin = 10;
constexpr int kOtherColorsHeight = 25;

const TNamedColor kColors[] = {
    {0x000000, "Black"},       {0x002AA5, "Brown"},          {0x404000, "Dark Olive Green"},
    {0x005500, "Dark Green"},  {0x5E0000, "Dark Teal"},      {0x8B0000, "Dark blue"},
    {0x82004B, "Indigo"},      {0x282828, "Dark grey"},      {0x00008B, "Dark red"},
    {0x2068FF, "Orange"},      {0x008B8B, "Dark yellow"},    {0x009300, "Green"},
    {0x8E8E38, "Teal"},        {0xFF0000, "Blue"},           {0xC07B7B, "Blue-grey"},
    {0x666666, "Grey - 40"},   {0x0000FF, "Red"},            {0x5BADFF, "Light orange"},
    {0x32CD32, "Lime"},        {0x71B33C, "Sea green"},      {0xD4FF7F, "Aqua"},
    {0xC09E7D, "Light blue"},  {0x800080, "Violet"},         {0x7F7F7F, "Grey - 50"},
    {0xCBC0FF, "Pink"},        {0x00D7FF, "Gold"},           {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright green"}, {0xD0E040, "Turquoise"},     {0xFFFFC0, "Skyblue"},
    {0x480048, "Plum"},        {0xC0C0C0, "Light grey"},     {0xE1E4FF, "Rose"},
    {0x8CB4D2, "Tan"},         {0xE0FFFF, "Light yellow"},   {0x98FB98, "Pale green "},
    {0xEEEEAF, "Pale turquoise"}, {0x8B8368, "Pale blue"},   {0xFAE6E6, "Lavender"},
    {0xFFFFFF, "White"}};

HPALETTE CreateListPalette(const std::vector<TNamedColor>& colors) {
  std::vector<BYTE> bytes(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(bytes.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) {
    palette->palPalEntry[i].peRed = GetRValue(colors[i].color);
    palette->palPalEntry[i].peGreen = GetGValue(colors[i].color);
    palette->palPalEntry[i].peBlue = GetBValue(colors[i].color);
    palette->palPalEntry[i].peFlags = 0;
  }
  return CreatePalette(palette);
}
}  // namespace

CColorPopup::CColorPopup() : m_colors(Colors()) {}

CColorPopup::~CColorPopup() {
  // Destroyed here, while this class still handles its messages, so its
  // drawing objects go with the window.
  if (m_hWnd != nullptr && FromWindow(m_hWnd) == this) DestroyWindow(m_hWnd);
  ReleaseDrawingObjects();
}

const std::vector<TNamedColor>& CColorPopup::Colors() {
  static const std::vector<TNamedColor> colors(std::begin(kColors), std::end(kColors));
  return colors;
}

int CColorPopup::Edge() { return g_edge; }

SIZE CColorPopup::PopupSize() {
  return {g_edge * 2 + kCellsPerRow * kCellSize, g_edge * 6 + 115};
}

void CColorPopup::ReleaseDrawingObjects() {
  if (m_font != nullptr) DeleteObject(m_font);
  if (m_palette != nullptr) DeleteObject(m_palette);
  m_font = nullptr;
  m_palette = nullptr;
}

LRESULT CColorPopup::OnCreate(CREATESTRUCTA*) {
  ReleaseDrawingObjects();
  SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof m_logFont, &m_logFont, 0);
  lstrcpynA(m_logFont.lfFaceName, "MS Sans Serif", LF_FACESIZE);
  m_font = CreateFontIndirectA(&m_logFont);
  SetCapture(m_hWnd);
  m_palette = CreateListPalette(m_colors);
  m_hoverIndex = kNoCell;
  return 0;
}

LRESULT CColorPopup::OnSize(UINT, int width, int height) {
  m_otherColorsRect = {kOtherColorsMargin, height - g_edge - kOtherColorsHeight,
                       width - kOtherColorsMargin, height - g_edge};
  return 0;
}

RECT CColorPopup::CellRect(int index) const {
  const int left = g_edge + (index % kCellsPerRow) * kCellSize;
  const int top = g_edge + (index / kCellsPerRow) * kCellSize;
  return {left, top, left + kCellSize, top + kCellSize};
}

// The cells start past the edge, so the edge is counted off before the
// division; the margins around the cells hit nothing.
int CColorPopup::HitTest(int x, int y) const {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  const POINT point = {x, y};
  if (!PtInRect(&client, point)) return kNoCell;
  if (PtInRect(&m_otherColorsRect, point)) return kOtherColorsCell;
  if (x < g_edge || y < g_edge) return kNoCell;
  const int column = (x - g_edge) / kCellSize, row = (y - g_edge) / kCellSize;
  if (column >= kCellsPerRow) return kNoCell;
  const int index = row * kCellsPerRow + column;
  return index < static_cast<int>(m_colors.size()) ? index : kNoCell;
}

void CColorPopup::DrawCell(HDC dc, int index) const {
  HPALETTE previousPalette = nullptr;
  if (m_palette != nullptr && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) {
    previousPalette = SelectPalette(dc, m_palette, FALSE);
    RealizePalette(dc);
  }
  RECT cell = CellRect(index);
  FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
  if (index == m_hoverIndex)
    DrawEdge(dc, &cell, BDR_RAISEDINNER, BF_RECT);
  else if (index == m_pressedIndex)
    DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&cell, -(g_edge + 1), -(g_edge + 1));
  const COLORREF color = m_colors[index].color;
  HBRUSH brush = CreateSolidBrush(PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color)));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ previousBrush = SelectObject(dc, brush);
  HGDIOBJ previousPen = SelectObject(dc, pen);
  Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
  SelectObject(dc, previousPen);
  SelectObject(dc, previousBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  if (previousPalette != nullptr) SelectPalette(dc, previousPalette, FALSE);
}

void CColorPopup::DrawOtherColorsCell(HDC dc) const {
  HGDIOBJ previousFont = SelectObject(dc, m_font);
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  RECT cell = m_otherColorsRect;
  FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
  if (m_pressedIndex == kOtherColorsCell)
    DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT);
  else if (m_hoverIndex == kOtherColorsCell)
    DrawEdge(dc, &cell, BDR_RAISEDINNER, BF_RECT);
  DrawTextA(dc, kOtherColorsText, -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetBkMode(dc, previousMode);
  SelectObject(dc, previousFont);
}

void CColorPopup::RedrawCell(int index) const {
  if (m_hWnd == nullptr || index == kNoCell) return;
  HDC dc = GetDC(m_hWnd);
  if (index == kOtherColorsCell)
    DrawOtherColorsCell(dc);
  else
    DrawCell(dc, index);
  ReleaseDC(m_hWnd, dc);
}

void CColorPopup::OnPaint(HDC dc, PAINTSTRUCT*) {
  RECT client = {};
  GetClientRect(m_hWnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  for (int index = 0; index < static_cast<int>(m_colors.size()); ++index) DrawCell(dc, index);
  DrawOtherColorsCell(dc);
}

LRESULT CColorPopup::OnMouseMove(UINT, int x, int y) {
  const int hit = HitTest(x, y);
  if (hit == m_hoverIndex) return 0;
  const int previous = m_hoverIndex;
  m_hoverIndex = hit;
  RedrawCell(hit);
  RedrawCell(previous);
  return 0;
}

LRESULT CColorPopup::OnLButtonDown(UINT, int x, int y) {
  const int previous = m_pressedIndex;
  m_pressedIndex = HitTest(x, y);
  RedrawCell(m_pressedIndex);
  if (previous != m_pressedIndex) RedrawCell(previous);
  return 0;
}

LRESULT CColorPopup::OnLButtonUp(UINT, int x, int y) {
  const COLORREF opened = m_selectedColor;
  const HWND window = m_hWnd, owner = m_owner;
  m_selectedColor = kNoColor;
  RECT client = {};
  GetClientRect(window, &client);
  if (!PtInRect(&client, POINT{x, y})) {
    ReleaseCapture();
    SendMessageA(owner, kColorPopupClosed, reinterpret_cast<WPARAM>(window), 0);
    return 0;
  }
  const int hit = HitTest(x, y);
  if (hit >= 0) {
    m_selectedColor = m_colors[hit].color;
    SendMessageA(owner, kColorPopupChosen, m_selectedColor, 0);
    ReleaseCapture();
  } else if (hit == kOtherColorsCell) {
    m_pressedIndex = kNoCell;
    RedrawCell(kOtherColorsCell);
    ChooseOtherColor(opened);
  }
  return 0;
}

// The system dialog starts from the colour the palette was opened with.
void CColorPopup::ChooseOtherColor(COLORREF start) {
  const HWND window = m_hWnd, owner = m_owner;
  COLORREF customColors[16] = {};
  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = window;
  choose.rgbResult = start == kNoColor ? 0 : start;
  choose.lpCustColors = customColors;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColour(&choose)) return;
  SendMessageA(owner, kColorPopupChosen, choose.rgbResult, 0);
  SendMessageA(owner, kColorPopupClosed, reinterpret_cast<WPARAM>(window), 0);
}

void CColorPopup::SetColor(COLORREF color) {
  m_selectedColor = color;
  m_pressedIndex = kNoCell;
  for (size_t i = 0; i < m_colors.size() && m_pressedIndex == kNoCell; ++i)
    if (m_colors[i].color == color) m_pressedIndex = static_cast<int>(i);
}

LRESULT CColorPopup::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KILLFOCUS) {
    ReleaseCapture();
    return 0;
  }
  if (message == WM_DESTROY) ReleaseDrawingObjects();
  return CWndCtrl::WindowProc(window, message, wParam, lParam);
}
