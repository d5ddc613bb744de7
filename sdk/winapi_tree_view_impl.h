// The TreeView messages behind a PluginTreeView.
#pragma once

#include "sdk/plugin_tree_view.h"

class WinapiTreeViewImpl : public ITreeViewImpl {
 public:
  bool InsertItem(TreeItem& item, TreeItem* parent) override;
  void SelectItem(TreeItem& item) override;
  void SetWindow(HWND tree) override { tree_ = tree; }

  // Captions are cut to this many characters.
  static constexpr int kCaptionLength = 63;

 private:
  HWND tree_ = nullptr;
};
