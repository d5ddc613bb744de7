#include "sdk/message_box.h"

#include <algorithm>

#include "sdk/plugin_module.h"
#include "sdk/window_helpers.h"

namespace {
constexpr int kMargin = 10;
constexpr int kIconSize = 32;
constexpr int kIconGap = 10;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMinButtonWidth = 85;
constexpr int kMaxButtonWidth = 150;
constexpr int kRowMargin = 15;
constexpr DWORD kIconStyle = WS_CHILD | WS_VISIBLE | SS_ICON;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_EDITCONTROL | SS_NOPREFIX;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

std::string ResourceString(UINT id) {
  char text[256] = {};
  LoadStringA(GetModuleInstanceHandle(), id, text, sizeof text);
  return text;
}

std::string Trimmed(const char* text) {
  const std::string whole = text != nullptr ? text : "";
  const char* blanks = " \t\r\n";
  const size_t first = whole.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return whole.substr(first, whole.find_last_not_of(blanks) - first + 1);
}

TMessageBoxButtons StandardButtons(UINT type) {
  TMessageBoxButtons buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      buttons = {{IDS_MSGBOX_OK, IDOK}, {IDS_MSGBOX_CANCEL, IDCANCEL}};
      break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{IDS_MSGBOX_ABORT, IDABORT}, {IDS_MSGBOX_RETRY, IDRETRY}, {IDS_MSGBOX_IGNORE, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      buttons = {{IDS_MSGBOX_YES, IDYES}, {IDS_MSGBOX_NO, IDNO}, {IDS_MSGBOX_CANCEL, IDCANCEL}};
      break;
    case MB_YESNO:
      buttons = {{IDS_MSGBOX_YES, IDYES}, {IDS_MSGBOX_NO, IDNO}};
      break;
    case MB_RETRYCANCEL:
      buttons = {{IDS_MSGBOX_RETRY, IDRETRY}, {IDS_MSGBOX_CANCEL, IDCANCEL}};
      break;
    default:
      buttons = {{IDS_MSGBOX_OK, IDOK}};
      break;
  }
  if (type & MB_HELP) buttons.push_back({IDS_MSGBOX_HELP, IDHELP});
  return buttons;
}

LPCSTR SystemIcon(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return IDI_HAND;
  }
}

HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, const RECT& place,
                int id, HFONT font) {
  HWND control = CreateWindowExA(0, className, text, style, place.left, place.top, place.right - place.left,
                                 place.bottom - place.top, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}
}  // namespace

// Custom buttons replace the standard set only when there are some: a box
// without buttons could be neither answered nor given a default button.
CZMessageBoxImpl::CZMessageBoxImpl(const char* text, const char* caption, UINT type,
                                   const TMessageBoxButtons* customButtons)
    : m_text(Trimmed(text)),
      m_caption(caption != nullptr && *caption ? caption : ResourceString(IDS_MSGBOX_ERROR)),
      m_type(type),
      m_buttons(customButtons != nullptr && !customButtons->empty() ? *customButtons : StandardButtons(type)) {
  for (const TMessageBoxButton& button : m_buttons)
    if (button.commandId == IDCANCEL) m_hasCancel = true;
}

CZMessageBoxImpl::~CZMessageBoxImpl() {
  if (m_dialog != nullptr && IsWindow(m_dialog)) DestroyWindow(m_dialog);
}

void CZMessageBoxImpl::OnOK() {}

int CZMessageBoxImpl::DefaultButtonIndex() const {
  const int wanted = static_cast<int>((m_type & 0x300) >> 8);
  return std::min(wanted, static_cast<int>(m_buttons.size()) - 1);
}

// Without a cancel button Escape and the Close item answer nothing.
bool CZMessageBoxImpl::EndsWith(int commandId) const { return commandId != IDCANCEL || m_hasCancel; }

void CZMessageBoxImpl::Layout(HWND dialog) {
  m_dialog = dialog;
  HFONT font = GetHostFont();
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextA(dialog, m_caption.c_str());

  const RECT icon = PlaceIcon(dialog);
  const RECT text = PlaceText(dialog, font, icon.right - icon.left, icon.bottom - icon.top);
  int clientWidth = text.right + kMargin;
  const int buttonsBottom = PlaceButtons(dialog, font, std::max(icon.bottom, text.bottom) + kRowMargin, &clientWidth);
  if (!m_hasCancel) EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

  RECT frame = {0, 0, clientWidth, buttonsBottom + kRowMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindowInWorkArea(dialog);
}

RECT CZMessageBoxImpl::PlaceIcon(HWND dialog) const {
  if ((m_type & 0x70) == 0) return RECT{0, 0, 0, 0};
  const RECT place = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
  HWND icon = AddControl(dialog, "STATIC", nullptr, kIconStyle, place, kMessageBoxIconId, nullptr);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, SystemIcon(m_type))), 0);
  return place;
}

// The text wraps at 5/8 of the screen's width.
RECT CZMessageBoxImpl::PlaceText(HWND dialog, HFONT font, int iconWidth, int iconHeight) const {
  RECT desktop = {};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int widest = desktop.right * 5 / 8 - 30 - iconWidth;
  RECT measured = {0, 0, widest, 0};
  HDC dc = GetDC(dialog);
  HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  DrawTextA(dc, m_text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);

  const int width = std::min(widest, static_cast<int>(measured.right) + 1);
  const int height = measured.bottom + 1;
  const int left = kMargin + (iconWidth > 0 ? kIconSize + kIconGap : 0);
  const int top = kMargin + (iconHeight > height ? (iconHeight - height) / 2 : 0);
  const RECT place = {left, top, left + width, top + height};
  AddControl(dialog, "STATIC", m_text.c_str(), kTextStyle, place, kMessageBoxTextId, font);
  return place;
}

// The row is centred, or widens the box when it does not fit; the bottom of
// the row.
int CZMessageBoxImpl::PlaceButtons(HWND dialog, HFONT font, int top, int* clientWidth) const {
  std::vector<std::string> captions;
  int width = kMinButtonWidth;
  for (const TMessageBoxButton& button : m_buttons) {
    captions.push_back(ResourceString(button.stringId));
    width = std::max(width, TextWidth(font, captions.back().c_str()));
  }
  width = std::min(width, kMaxButtonWidth);
  const int count = static_cast<int>(m_buttons.size());
  const int row = count * width + (count - 1) * kButtonGap;
  int left = kRowMargin;
  if (row + 2 * kRowMargin < *clientWidth)
    left = (*clientWidth - row) / 2;
  else
    *clientWidth = row + 2 * kRowMargin;

  const int defaultIndex = DefaultButtonIndex();
  for (int i = 0; i < count; ++i) {
    const RECT place = {left, top, left + width, top + kButtonHeight};
    left += width + kButtonGap;
    const DWORD style = kButtonStyle | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = AddControl(dialog, "BUTTON", captions[i].c_str(), style, place, m_buttons[i].commandId, font);
    if (i != defaultIndex) continue;
    // Enter presses it too, not the dialog manager's IDOK.
    SendMessageA(dialog, DM_SETDEFID, m_buttons[i].commandId, 0);
    SetFocus(button);
  }
  return top + kButtonHeight;
}
