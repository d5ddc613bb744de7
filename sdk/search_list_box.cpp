#include "sdk/search_list_box.h"

#include "sdk/host_call.h"
#include "sdk/window_classes.h"

namespace {
constexpr char kSearchListProperty[] = "SEARCHLISTDATA";
constexpr char kCheckListProperty[] = "CHECKLISTDATA";

ATOM g_searchListAtom = 0;
ATOM g_checkListAtom = 0;

// Each atom is added once per registration and deleted once when it is
// undone, so the plug-in never holds more than one reference to either.
void AddAtomOnce(ATOM& atom, const char* name) {
  if (atom == 0) atom = GlobalAddAtomA(name);
}

void DeleteAtomOnce(ATOM& atom) {
  if (atom != 0) atom = GlobalDeleteAtom(atom);
}

const CheckListData* CheckListOf(HWND list) {
  if (g_checkListAtom == 0) return nullptr;
  return static_cast<const CheckListData*>(GetPropA(list, MAKEINTATOM(g_checkListAtom)));
}

HFONT HostFont() {
  return g_pPluginModule ? reinterpret_cast<HFONT>(static_cast<uintptr_t>(g_pPluginModule->GetHostUiInfo()[5]))
                         : nullptr;
}

HWND CreateChild(DWORD exStyle, const char* className, DWORD style, HWND parent, int id) {
  return CreateWindowExA(exStyle, className, "", WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleInstanceHandle(), nullptr);
}
}  // namespace

ATOM RegisterSearchListBoxClass() {
  AddAtomOnce(g_searchListAtom, kSearchListProperty);
  AddAtomOnce(g_checkListAtom, kCheckListProperty);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = SearchPanelProc;
  windowClass.hInstance = GetModuleInstanceHandle();
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kSearchListBoxClass;
  return RegisterPluginWindowClass(windowClass) ? g_searchListAtom : 0;
}

void UnregisterSearchListBoxClass() {
  UnregisterPluginWindowClass(kSearchListBoxClass, GetModuleInstanceHandle());
  DeleteAtomOnce(g_searchListAtom);
  DeleteAtomOnce(g_checkListAtom);
}

ATOM CheckListAtom() { return g_checkListAtom; }

SearchListBox* SearchListBox::FromWindow(HWND window) {
  if (window == nullptr || g_searchListAtom == 0) return nullptr;
  HGLOBAL block = GetPropA(window, MAKEINTATOM(g_searchListAtom));
  if (block == nullptr) return nullptr;
  auto* stored = static_cast<SearchListBox**>(GlobalLock(block));
  SearchListBox* object = stored ? *stored : nullptr;
  GlobalUnlock(block);
  return object;
}

SearchListBox::SearchListBox(HWND list) : list_(list) {}

SearchListBox::~SearchListBox() {
  Detach();
  if (panel_ != nullptr && IsWindow(panel_)) DestroyWindow(panel_);
  if (backgroundBrush_ != nullptr) DeleteObject(backgroundBrush_);
}

bool SearchListBox::Attach() {
  if (g_searchListAtom == 0) return false;
  const CheckListData* checkList = CheckListOf(list_);
  if (checkList != nullptr)
    ReadCheckListItems(*checkList);
  else
    ReadListBoxItems();
  MeasurePanel();
  if (!CreatePanel()) return false;
  items_.SetSorted((GetWindowLongA(list_, GWL_STYLE) & LBS_SORT) != 0);
  ownListProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SearchListProc)));
  SendMessageA(panel_, WM_SETFONT, reinterpret_cast<WPARAM>(HostFont()), 0);
  property_ = GlobalAlloc(GMEM_MOVEABLE, sizeof(SearchListBox*));
  if (property_ == nullptr) return false;
  auto* stored = static_cast<SearchListBox**>(GlobalLock(property_));
  *stored = this;
  GlobalUnlock(property_);
  SetPropA(list_, MAKEINTATOM(g_searchListAtom), property_);
  SetPropA(panel_, MAKEINTATOM(g_searchListAtom), property_);
  CreatePanelChildren();
  // A check-list's items are not in the list box yet.
  if (checkList != nullptr) RefillList();
  UpdateCounter();
  // A list meant to be seen has its panel from the start, even when its
  // dialog is attached while still hidden and shows it later: a list shown
  // with its dialog hears nothing of it, and a hidden panel can't be clicked.
  if ((GetWindowLongA(list_, GWL_STYLE) & WS_VISIBLE) != 0 && IsWindowEnabled(list_)) ShowPanel();
  return true;
}

void SearchListBox::Detach() {
  if (ownListProc_ != nullptr && IsWindow(list_))
    SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownListProc_));
  ownListProc_ = nullptr;
  if (ownEditProc_ != nullptr && IsWindow(edit_))
    SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownEditProc_));
  ownEditProc_ = nullptr;
  if (property_ == nullptr) return;
  if (IsWindow(list_)) RemovePropA(list_, MAKEINTATOM(g_searchListAtom));
  if (panel_ != nullptr && IsWindow(panel_)) RemovePropA(panel_, MAKEINTATOM(g_searchListAtom));
  GlobalFree(property_);
  property_ = nullptr;
}

LRESULT SearchListBox::OwnList(UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcA(ownListProc_, list_, message, wParam, lParam);
}

void SearchListBox::ReadCheckListItems(const CheckListData& checkList) {
  if (checkList.records == nullptr) return;
  for (int index = 0; index < checkList.count; ++index) {
    const CheckListRecord& record = checkList.records[index];
    if (record.text != nullptr) items_.Insert(record.text, record.data, -1);
  }
}

void SearchListBox::ReadListBoxItems() {
  const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, index, 0);
    const LRESULT data = SendMessageA(list_, LB_GETITEMDATA, index, 0);
    if (length == LB_ERR || data == LB_ERR) continue;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (SendMessageA(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0])) == LB_ERR) continue;
    text.resize(static_cast<size_t>(length));
    items_.Insert(text, static_cast<uint32_t>(data), -1);
  }
}

// The panel is as high as a client-edge edit box holding one line of the
// host font; the list stays under half its edge while the panel is shown.
void SearchListBox::MeasurePanel() {
  GetWindowRect(list_, &listRect_);
  MapWindowPoints(nullptr, GetParent(list_), reinterpret_cast<POINT*>(&listRect_), 2);
  SIZE letter = {};
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = HostFont() ? SelectObject(screen, HostFont()) : nullptr;
  GetTextExtentPoint32A(screen, "A", 1, &letter);
  if (previous != nullptr) SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  RECT outer = {0, 0, 10, letter.cy};
  AdjustWindowRectEx(&outer, WS_CHILD, FALSE, WS_EX_CLIENTEDGE);
  panelHeight_ = outer.bottom - outer.top;
  overlap_ = (panelHeight_ - letter.cy) / 2;
}

bool SearchListBox::CreatePanel() {
  panel_ = CreateWindowExA(WS_EX_CONTROLPARENT, kSearchListBoxClass, "", WS_CHILD | WS_TABSTOP, listRect_.left,
                           listRect_.top, listRect_.right - listRect_.left, panelHeight_, GetParent(list_), nullptr,
                           GetModuleInstanceHandle(), nullptr);
  if (panel_ == nullptr) return false;
  HWND before = GetWindow(list_, GW_HWNDPREV);
  SetWindowPos(panel_, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void SearchListBox::CreatePanelChildren() {
  SetWindowLongA(list_, GWL_STYLE, (GetWindowLongA(list_, GWL_STYLE) & ~WS_BORDER) | WS_CLIPSIBLINGS);
  SetWindowPos(list_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT panel = {};
  GetClientRect(panel_, &panel);
  edit_ = CreateChild(WS_EX_CLIENTEDGE, "EDIT", WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP, panel_, kEditId);
  MoveWindow(edit_, 0, 0, panel.right, panel.bottom, FALSE);
  SendMessageA(edit_, WM_SETFONT, SendMessageA(list_, WM_GETFONT, 0, 0), 0);
  SendMessageA(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kIconSize + 2, kEditRightMargin));
  backgroundColour_ = GetSysColor(COLOR_WINDOW);
  backgroundBrush_ = CreateSolidBrush(backgroundColour_);
  ownEditProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SearchEditProc)));

  RECT text = {};
  GetClientRect(edit_, &text);
  const int iconTop = (text.bottom - kIconSize) / 2;
  searchIcon_ = CreateChild(0, "STATIC", WS_VISIBLE | SS_ICON | SS_NOTIFY, edit_, kSearchIconId);
  clearIcon_ = CreateChild(0, "STATIC", SS_ICON | SS_NOTIFY, edit_, kClearIconId);
  counter_ = CreateChild(0, "STATIC", SS_LEFT | SS_NOPREFIX, edit_, kCounterId);
  iconLabel_ = CreateChild(0, "STATIC", SS_ICON, edit_, kIconLabelId);
  SendMessageA(counter_, WM_SETFONT, SendMessageA(list_, WM_GETFONT, 0, 0), 0);
  UpdateIcons();
  SetWindowPos(searchIcon_, nullptr, 1, iconTop, kIconSize, kIconSize, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(clearIcon_, nullptr, text.right - kIconSize, iconTop, kIconSize, kIconSize,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

SearchListBox* CreateSearchListBox(HWND list) {
  if (list == nullptr || !IsWindow(list)) return nullptr;
  if (SearchListBox* attached = SearchListBox::FromWindow(list)) return attached;
  auto* box = new SearchListBox(list);
  if (box->Attach()) return box;
  delete box;
  return nullptr;
}

int ClearSearch(HWND list) {
  SearchListBox* box = SearchListBox::FromWindow(list);
  if (box == nullptr) return 0;
  box->ClearSearchText();
  return 1;
}

void DestroySearchListBox(HWND list) { delete SearchListBox::FromWindow(list); }
