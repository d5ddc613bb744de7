// The create/edit dialog of a table (template 101): the table's name and
// the columns it shows, in order.
#include <vector>

#include "sdk/host_call.h"
#include "sdk/table_plugin.h"
#include "sdk/table_view.h"

namespace {

enum Control {
  kName = 1001,
  kAvailable = 1002,
  kAdd = 1003,
  kAddAll = 1004,
  kRemove = 1005,
  kClear = 1006,
  kShown = 1007,
  kUp = 1008,
  kDown = 1009,
};

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
int Count(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
bool Selected(HWND list, int i) { return SendMessageA(list, LB_GETSEL, i, 0) > 0; }
int SelectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETSELCOUNT, 0, 0)); }
int DataOf(HWND list, int i) { return static_cast<int>(SendMessageA(list, LB_GETITEMDATA, i, 0)); }

std::string TextOf(HWND list, int i) {
  int length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0));
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int AddItem(HWND list, const std::string& text, int id) {
  int index = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (index >= 0) SendMessageA(list, LB_SETITEMDATA, index, id);
  return index;
}

bool Contains(HWND list, int id) {
  for (int i = 0; i < Count(list); ++i)
    if (DataOf(list, i) == id) return true;
  return false;
}

// Copies items of the available columns to the end of the shown ones; a
// column already shown is not added twice.
void CopyToShown(HWND dialog, bool selectedOnly) {
  HWND from = Item(dialog, kAvailable), to = Item(dialog, kShown);
  for (int i = 0; i < Count(from); ++i) {
    if (selectedOnly && !Selected(from, i)) continue;
    int id = DataOf(from, i);
    if (Contains(to, id)) continue;
    int index = AddItem(to, TextOf(from, i), id);
    if (index >= 0) SendMessageA(to, LB_SETSEL, TRUE, index);
  }
}

void RemoveSelected(HWND dialog) {
  HWND shown = Item(dialog, kShown);
  for (int i = Count(shown) - 1; i >= 0; --i)
    if (Selected(shown, i)) SendMessageA(shown, LB_DELETESTRING, i, 0);
}

// Moves every selected item one place up (step -1) or down (+1), keeping
// item data and selection.
void MoveSelected(HWND dialog, int step) {
  HWND shown = Item(dialog, kShown);
  int n = Count(shown);
  for (int k = 0; k < n; ++k) {
    int i = step < 0 ? k : n - 1 - k;
    int j = i + step;
    if (!Selected(shown, i) || j < 0 || j >= n || Selected(shown, j)) continue;
    std::string text = TextOf(shown, i);
    int id = DataOf(shown, i);
    SendMessageA(shown, LB_DELETESTRING, i, 0);
    int index = static_cast<int>(SendMessageA(shown, LB_INSERTSTRING, j, reinterpret_cast<LPARAM>(text.c_str())));
    SendMessageA(shown, LB_SETITEMDATA, index, id);
    SendMessageA(shown, LB_SETSEL, TRUE, index);
  }
}

void Enable(HWND dialog, int id, bool enable) {
  HWND control = Item(dialog, id);
  if (!control) return;
  if (!enable && GetFocus() == control) {
    HWND next = GetNextDlgTabItem(dialog, control, FALSE);
    if (next) SetFocus(next);
  }
  EnableWindow(control, enable);
}

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), 1);
  return TRUE;
}

void Centre(HWND dialog) {
  HWND owner = GetParent(dialog);
  RECT area, box;
  if (owner) GetWindowRect(owner, &area);
  else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &box);
  int x = area.left + ((area.right - area.left) - (box.right - box.left)) / 2;
  int y = area.top + ((area.bottom - area.top) - (box.bottom - box.top)) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// Shared: the icon stays the host module's, so every opening of the dialog
// does not leave one behind.
void SetButtonIcon(HWND dialog, int id, int icon) {
  auto module = reinterpret_cast<HINSTANCE>(HostWindowOfKind(4));
  if (!module) return;
  HANDLE image = LoadImageA(module, MAKEINTRESOURCEA(icon), IMAGE_ICON, 0, 0, LR_SHARED);
  if (image) SendDlgItemMessageA(dialog, id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

void InitDialog(HWND dialog, CZPluginTableView* view) {
  view->SetDialog(dialog);
  if (g_pPluginModule) EnumChildWindows(dialog, SetFontOfChild, static_cast<LPARAM>(g_pPluginModule->GetHostUiInfo()[5]));
  Centre(dialog);
  SetButtonIcon(dialog, kUp, 20108);
  SetButtonIcon(dialog, kDown, 20109);
  char caption[1024] = {};
  lstrcpynA(caption, view->Caption().c_str(), sizeof caption);
  HostCall<31>(caption, view->GetTable() ? view->GetTable()->GetHwnd() : nullptr);
  caption[sizeof caption - 1] = 0;
  SetDlgItemTextA(dialog, kName, caption);
  SetWindowTextA(dialog, view->DialogCaption().c_str());
  view->FillTableDialog();
  view->UpdateTableDialogButtons();
}

}  // namespace

void CZPluginTableView::FillTableDialog() {
  HWND dialog = dialog_;
  if (!dialog) return;
  if (list_)
    for (int position = 0; position < GetColumnCount(); ++position)
      columns_[position].width = GetColumnWidth(list_, position);
  HWND available = Item(dialog, kAvailable), shown = Item(dialog, kShown);
  SendMessageA(available, LB_RESETCONTENT, 0, 0);
  SendMessageA(shown, LB_RESETCONTENT, 0, 0);
  if (schema_)
    for (const auto& [id, info] : *schema_)
      if (id != 0) AddItem(available, info.title, id);
  for (int position = 1; position < GetColumnCount(); ++position)
    if (const TableColumnInfo* info = ColumnInfoAt(position)) AddItem(shown, info->title, info->identifier);
  SetFocus(Item(dialog, kName));
  if (table_) table_->OnTableDialogInit(dialog);
}

void CZPluginTableView::UpdateTableDialogButtons() {
  HWND dialog = dialog_;
  if (!dialog) return;
  HWND available = Item(dialog, kAvailable), shown = Item(dialog, kShown);
  int shownCount = Count(shown);
  bool shownSelection = SelectedCount(shown) > 0;
  Enable(dialog, kAddAll, Count(available) > 0);
  Enable(dialog, kAdd, SelectedCount(available) > 0);
  Enable(dialog, kRemove, shownSelection);
  Enable(dialog, kClear, shownCount > 0);
  Enable(dialog, kUp, shownSelection && !Selected(shown, 0));
  Enable(dialog, kDown, shownSelection && !Selected(shown, shownCount - 1));
  Enable(dialog, IDOK, shownCount > 0);
  if (table_) table_->OnTableDialogUpdate(dialog);
}

bool CZPluginTableView::ApplyTableDialog() {
  HWND dialog = dialog_;
  if (!dialog) return false;
  HWND shown = Item(dialog, kShown);
  if (Count(shown) == 0) return false;
  std::vector<ColumnRef> previous = columns_;
  std::string previousCaption = caption_;
  TakeListStateIntoPending();

  auto widthOf = [&](int id) {
    for (const ColumnRef& column : previous)
      if (column.identifier == id) return column.width;
    if (!schema_ || !schema_->count(id)) return 0;
    return DefaultWidth(schema_->at(id));
  };
  columns_.clear();
  columns_.push_back({0, widthOf(0)});
  for (int i = 0; i < Count(shown); ++i) {
    int id = DataOf(shown, i);
    if (id != 0 && PositionOf(id) < 0 && schema_ && schema_->count(id)) columns_.push_back({id, widthOf(id)});
  }

  char caption[1024] = {};
  GetDlgItemTextA(dialog, kName, caption, 1024);
  HostCall<31>(caption, tableWindow_);
  caption[sizeof caption - 1] = 0;
  caption_ = caption;

  if (table_ && !table_->OnTableDialogApply(dialog)) {
    columns_ = previous;
    caption_ = previousCaption;
    return false;
  }
  return true;
}

INT_PTR CALLBACK TableSettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_pPluginModule || !g_pTableBeingCreated) return 0;
  CZPluginTableView* view = g_pTableBeingCreated->GetView();
  if (!view) return 0;
  if (message == WM_INITDIALOG) {
    InitDialog(dialog, view);
    return TRUE;
  }
  if (message == WM_DESTROY) {
    view->SetDialog(nullptr);
    return 0;
  }
  if (message != WM_COMMAND) return 0;

  int id = LOWORD(wParam), code = HIWORD(wParam);
  switch (id) {
    case IDOK:
      view->EndTableDialog(dialog, view->ApplyTableDialog() ? 1 : 2);
      return TRUE;
    case IDCANCEL:
      view->EndTableDialog(dialog, 2);
      return TRUE;
    case 9:
      return TRUE;
    case kAdd: CopyToShown(dialog, true); break;
    case kAddAll: CopyToShown(dialog, false); break;
    case kRemove: RemoveSelected(dialog); break;
    case kClear: SendDlgItemMessageA(dialog, kShown, LB_RESETCONTENT, 0, 0); break;
    case kUp: MoveSelected(dialog, -1); break;
    case kDown: MoveSelected(dialog, +1); break;
    default: {
      if (id == kShown && code == LBN_DBLCLK) {
        RemoveSelected(dialog);
        break;
      }
      // A changed selection changes which buttons apply.
      if ((id == kShown || id == kAvailable) && code == LBN_SELCHANGE) view->UpdateTableDialogButtons();
      view->OnTableDialogCommand(lParam, wParam, code);
      return FALSE;
    }
  }
  view->UpdateTableDialogButtons();
  return TRUE;
}
