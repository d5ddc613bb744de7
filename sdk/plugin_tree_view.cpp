#include "sdk/plugin_tree_view.h"

#include "sdk/winapi_tree_view_impl.h"

PluginTreeView::PluginTreeView(std::unique_ptr<ITreeViewImpl> impl) : impl_(std::move(impl)) {}

PluginTreeView::~PluginTreeView() = default;

ITreeViewImpl& PluginTreeView::Impl() {
  if (!impl_) impl_ = std::make_unique<WinapiTreeViewImpl>();
  return *impl_;
}

void PluginTreeView::Attach(HWND tree) { Impl().SetWindow(tree); }

bool PluginTreeView::InsertAll() {
  bool all = true;
  for (TreeItem& item : items_) all = InsertSubtree(item, nullptr) && all;
  return all;
}

// Children go under an item only once the control has it.
bool PluginTreeView::InsertSubtree(TreeItem& item, TreeItem* parent) {
  if (!Impl().InsertItem(item, parent)) return false;
  if (item.selected) Impl().SelectItem(item);
  bool all = true;
  for (TreeItem& child : item.children) all = InsertSubtree(child, &item) && all;
  return all;
}

void PluginTreeView::SelectItem(TreeItem& item) { Impl().SelectItem(item); }

void PluginTreeView::SelectItemByHandle(HTREEITEM handle) {
  if (TreeItem* item = Find(handle)) Impl().SelectItem(*item);
}

LRESULT PluginTreeView::OnTreeNotify(UINT code, NMHDR* record) {
  auto* change = reinterpret_cast<NMTREEVIEWA*>(record);
  switch (code) {
    case TVN_ITEMEXPANDEDA: {
      TreeItem* item = Find(change->itemNew.hItem);
      if (item == nullptr) return 0;
      item->expanded = (change->itemNew.state & TVIS_EXPANDED) != 0;
      if (listener_) listener_->OnExpansionChanged(&item->handle, item->expanded);
      return 0;
    }
    case TVN_SELCHANGEDA: {
      TreeItem* oldItem = Find(change->itemOld.hItem);
      TreeItem* newItem = Find(change->itemNew.hItem);
      if (oldItem) oldItem->selected = false;
      if (newItem) newItem->selected = true;
      if (listener_)
        listener_->OnSelectionChanged(oldItem ? &oldItem->handle : nullptr, newItem ? &newItem->handle : nullptr);
      return 0;
    }
    case TVN_SELCHANGINGA: {
      if (listener_ == nullptr) return 0;
      return listener_->OnSelectionChanging(Find(change->itemOld.hItem), Find(change->itemNew.hItem)) ? 0 : 1;
    }
    default:
      return 0;
  }
}
