// A tree of TreeItems shown in a TreeView control: the view inserts the
// whole tree, keeps the items' selected and expanded states in step with the
// control's notifications and tells a listener of the changes. The control
// is reached only through ITreeViewImpl.
#pragma once

#include <memory>

#include "sdk/tree_items.h"

class ITreeViewImpl {
 public:
  virtual bool InsertItem(TreeItem& item, TreeItem* parent) = 0;
  virtual void SelectItem(TreeItem& item) = 0;
  virtual void SetWindow(HWND tree) = 0;
  virtual ~ITreeViewImpl() = default;
};

class ITreeViewListener {
 public:
  virtual ~ITreeViewListener() = default;
  // The handles of the items that lost and gained the selection; null for
  // an item the view does not know.
  virtual void OnSelectionChanged(HTREEITEM* oldItem, HTREEITEM* newItem) = 0;
  // False forbids the change.
  virtual bool OnSelectionChanging(TreeItem* oldItem, TreeItem* newItem) = 0;
  virtual void OnExpansionChanged(HTREEITEM* item, bool expanded) = 0;
};

class PluginTreeView {
 public:
  // Without an implementation the view makes a WinapiTreeViewImpl on first use.
  explicit PluginTreeView(std::unique_ptr<ITreeViewImpl> impl = nullptr);
  ~PluginTreeView();
  PluginTreeView(const PluginTreeView&) = delete;
  PluginTreeView& operator=(const PluginTreeView&) = delete;

  TreeItemList& Items() { return items_; }
  void SetListener(ITreeViewListener* listener) { listener_ = listener; }

  void Attach(HWND tree);
  // Every top-level item with its subtree; false when an item was refused.
  bool InsertAll();
  void SelectItem(TreeItem& item);
  void SelectItemByHandle(HTREEITEM handle);
  TreeItem* Find(HTREEITEM handle) { return FindTreeItem(handle, items_.begin(), items_.end()); }

  // The tree's WM_NOTIFY records; the result the dialog returns for them.
  LRESULT OnTreeNotify(UINT code, NMHDR* record);

 private:
  ITreeViewImpl& Impl();
  bool InsertSubtree(TreeItem& item, TreeItem* parent);

  std::unique_ptr<ITreeViewImpl> impl_;
  TreeItemList items_;
  ITreeViewListener* listener_ = nullptr;
};
