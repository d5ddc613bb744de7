#include "host/standin/standin_host.h"

#include "host/standin/plugin_library.h"

#include <cstdlib>

namespace {
StandInHost* g_current = nullptr;
constexpr char kFrameClass[] = "VanTrelStandInFrame";
constexpr int kExitCommand = 100;
constexpr char kResourceLibrary[] = "StandInHostRes.dll";

std::string MenuCaption(HMENU menu, int position) {
  char caption[512] = {};
  GetMenuStringA(menu, position, caption, sizeof caption - 1, MF_BYPOSITION);
  return caption;
}
}  // namespace

StandInHost* StandInHost::Current() { return g_current; }

StandInHost::StandInHost() {
  m_functions[0] = host::kFunctionTableBytes;
  InstallHostFunctions(*this);
  BuildUiInfo();
  g_current = this;
}

StandInHost::~StandInHost() {
  if (m_frame != nullptr) DestroyWindow(m_frame);
  if (m_resources != nullptr) FreeLibrary(m_resources);
  if (m_font != nullptr) DeleteObject(m_font);
  if (g_current == this) g_current = nullptr;
}

// One font serves the lists and the dialogs; the per-character widths that
// turn column widths into pixels are measured from it, so a column holds
// what the list draws in it whatever face and size Wine gives the font.
void StandInHost::BuildUiInfo() {
  m_font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "Tahoma");
  TEXTMETRICA metrics = {};
  INT digitWidths[10] = {};
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, m_font);
  GetTextMetricsA(screen, &metrics);
  GetCharWidth32A(screen, '0', '9', digitWidths);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  int widestDigit = 0;
  for (INT width : digitWidths) widestDigit = width > widestDigit ? width : widestDigit;

  const auto font = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_font));
  m_uiInfo[0] = host::kUiInfoBytes;
  m_uiInfo[1] = font;  // the lists' first column
  m_uiInfo[2] = font;  // the lists' header line
  m_uiInfo[3] = font;  // text columns
  m_uiInfo[4] = font;  // the other columns
  m_uiInfo[5] = font;  // dialogs and controls
  m_uiInfo[7] = static_cast<uint32_t>(metrics.tmHeight + 4);  // list line height
  m_uiInfo[8] = static_cast<uint32_t>(metrics.tmHeight + 6);  // header height
  m_uiInfo[15] = static_cast<uint32_t>(metrics.tmAveCharWidth);
  // An amount's group separators, decimal sign and minus, narrower than its
  // digits, add about a quarter to them: "-1 234 567,89" fits ten characters.
  m_uiInfo[16] = static_cast<uint32_t>((widestDigit * 5 + 3) / 4);
}

bool StandInHost::CreateFrame(const char* caption, bool visible) {
  WNDCLASSA frameClass = {};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frameClass.lpszClassName = kFrameClass;
  frameClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  RegisterClassA(&frameClass);

  HMENU bar = CreateMenu();
  HMENU system = CreatePopupMenu();
  AppendMenuA(system, MF_STRING, kExitCommand, "Выход");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), "Система");

  m_frame = CreateWindowExA(0, kFrameClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            0, 0, 1024, 700, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
  if (m_frame == nullptr) return false;
  CLIENTCREATESTRUCT client = {};
  client.idFirstChild = 50000;
  m_mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                0, 0, 0, 0, m_frame, nullptr, GetModuleHandleA(nullptr), &client);
  if (visible) {
    ShowWindow(m_frame, SW_SHOW);
    UpdateWindow(m_frame);
  }
  return m_mdiClient != nullptr;
}

LRESULT CALLBACK StandInHost::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  StandInHost* host = g_current;
  HWND client = host ? host->m_mdiClient : nullptr;
  if (message == WM_COMMAND && host != nullptr && HIWORD(wParam) == 0) {
    const int id = LOWORD(wParam);
    if (id == kExitCommand) {
      PostQuitMessage(0);
      return 0;
    }
    if (host->IsIssued(id) && host->m_plugin != nullptr) {
      host->m_log.Record(-2, std::to_string(id));  // a menu click routed to the plug-in
      host->m_plugin->Callback<2>(window, message, wParam, lParam);
      return 0;
    }
  }
  if (message == WM_SIZE && client != nullptr) {
    MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return DefFrameProcA(window, client, message, wParam, lParam);
}

HMODULE StandInHost::Resources() {
  if (m_resources == nullptr) m_resources = LoadLibraryA(kResourceLibrary);
  return m_resources;
}

bool StandInHost::Option(int category, int id, uint32_t* value) const {
  const auto found = m_options.find({category, id});
  if (found == m_options.end()) return false;
  if (value != nullptr) *value = found->second;
  return true;
}

int StandInHost::Date() const {
  if (m_date != 0) return m_date;
  SYSTEMTIME now;
  GetLocalTime(&now);
  return (now.wYear * 100 + now.wMonth) * 100 + now.wDay;
}

int StandInHost::IssueCommandId() {
  if (m_commandIdsExhausted) return 0;
  const int id = m_nextCommandId++;
  m_issuedCommands.insert(id);
  return id;
}

HMENU StandInHost::MenuByCaption(const std::string& caption, bool add) {
  HMENU bar = m_frame ? GetMenu(m_frame) : nullptr;
  if (bar == nullptr) return nullptr;
  const int count = GetMenuItemCount(bar);
  for (int position = 0; position < count; ++position)
    if (MenuCaption(bar, position) == caption) return GetSubMenu(bar, position);
  if (!add) return nullptr;
  HMENU popup = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
  DrawMenuBar(m_frame);
  return popup;
}

bool StandInHost::ClickMenuItem(const std::string& menuAndItem) {
  const size_t comma = menuAndItem.rfind(',');
  if (comma == std::string::npos) return false;
  HMENU popup = MenuByCaption(menuAndItem.substr(0, comma), false);
  const int item = std::atoi(menuAndItem.c_str() + comma + 1) - 1;
  if (popup == nullptr || item < 0 || item >= GetMenuItemCount(popup)) return false;
  SendMessageA(m_frame, WM_COMMAND, MAKEWPARAM(GetMenuItemID(popup, item), 0), 0);
  return true;
}

bool StandInHost::RemoveMenu(const std::string& caption) {
  HMENU bar = m_frame ? GetMenu(m_frame) : nullptr;
  if (bar == nullptr) return false;
  const int count = GetMenuItemCount(bar);
  for (int position = 0; position < count; ++position) {
    if (MenuCaption(bar, position) != caption) continue;
    DeleteMenu(bar, position, MF_BYPOSITION);
    DrawMenuBar(m_frame);
    return true;
  }
  return false;
}
