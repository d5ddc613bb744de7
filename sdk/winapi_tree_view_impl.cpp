#include "sdk/winapi_tree_view_impl.h"

#include "sdk/plugin_module.h"

bool WinapiTreeViewImpl::InsertItem(TreeItem& item, TreeItem* parent) {
  char caption[kCaptionLength + 1] = {};
  if (item.id == -1)
    lstrcpynA(caption, item.text.c_str(), sizeof caption);
  else
    LoadStringA(GetModuleInstanceHandle(), static_cast<UINT>(item.id), caption, sizeof caption);

  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent ? parent->handle : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  TVITEMA& entry = insert.item;
  entry.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  entry.pszText = caption;
  entry.cChildren = item.children.empty() ? 0 : 1;
  entry.lParam = item.value;
  if (item.selected) {
    entry.mask |= TVIF_STATE;
    entry.state |= TVIS_SELECTED;
    entry.stateMask |= TVIS_SELECTED;
  }
  if (item.expanded) {
    entry.mask |= TVIF_STATE;
    entry.state |= TVIS_EXPANDED;
    entry.stateMask |= TVIS_EXPANDED;
  }
  if (item.handle != nullptr) {
    entry.mask |= TVIF_HANDLE;
    entry.hItem = item.handle;
  }
  auto handle = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (handle == nullptr) return false;
  item.handle = handle;
  return true;
}

void WinapiTreeViewImpl::SelectItem(TreeItem& item) {
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item.handle));
}
