// The items of a plug-in tree view, held in memory by value: a caption (a
// string of the module's table or a text), the caller's value, the selected
// and expanded states and, once inserted, the control's item handle.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <stdint.h>

#include <string>
#include <vector>

struct TreeItem {
  TreeItem(int32_t id, std::string text, int32_t value) : id(id), text(std::move(text)), value(value) {}
  void AddChild(const TreeItem& child) { children.push_back(child); }

  int32_t id;  // string-table id of the caption; -1: the text is the caption
  std::string text;
  int32_t value;  // the tree item's parameter
  bool selected = false;
  bool expanded = false;
  HTREEITEM handle = nullptr;
  std::vector<TreeItem> children;
};

class TreeItemList {
 public:
  void Add(const TreeItem& item) { items_.push_back(item); }
  size_t Count() const { return items_.size(); }
  void Clear() { items_.clear(); }
  TreeItem& operator[](size_t index) { return items_[index]; }
  TreeItem* begin() { return items_.data(); }
  TreeItem* end() { return items_.data() + items_.size(); }

 private:
  std::vector<TreeItem> items_;
};

// Depth first, an item before its children: the item of [first, last) or
// below with the handle; null when none has it.
TreeItem* FindTreeItem(HTREEITEM handle, TreeItem* first, TreeItem* last);
