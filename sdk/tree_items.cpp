#include "sdk/tree_items.h"

TreeItem* FindTreeItem(HTREEITEM handle, TreeItem* first, TreeItem* last) {
  for (TreeItem* item = first; item != last; ++item) {
    if (item->handle == handle) return item;
    TreeItem* children = item->children.data();
    if (TreeItem* found = FindTreeItem(handle, children, children + item->children.size())) return found;
  }
  return nullptr;
}
