// The tree model without a window (search, insertion order, notifications)
// and the view filling a real TreeView control in a dialog of the stand-in
// host and following its selection.
#include <gtest/gtest.h>

#include <memory>

#include "controls_dialog.h"
#include "sdk/plugin_tree_view.h"

namespace {

HTREEITEM Handle(int n) { return reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(n)); }

// Records what the view asks of the control; refuses the items of one value.
class RecordingImpl : public ITreeViewImpl {
 public:
  explicit RecordingImpl(std::vector<std::string>& log, int refused = 0) : log_(log), refused_(refused) {}
  bool InsertItem(TreeItem& item, TreeItem* parent) override {
    log_.push_back("insert " + item.text + (parent ? " under " + parent->text : ""));
    if (item.value == refused_) return false;
    item.handle = Handle(++inserted_);
    return true;
  }
  void SelectItem(TreeItem& item) override { log_.push_back("select " + item.text); }
  void SetWindow(HWND) override { log_.push_back("window"); }

 private:
  std::vector<std::string>& log_;
  int refused_;
  int inserted_ = 0;
};

class RecordingListener : public ITreeViewListener {
 public:
  void OnSelectionChanged(HTREEITEM* oldItem, HTREEITEM* newItem) override {
    calls.push_back("changed " + Name(oldItem) + " " + Name(newItem));
  }
  bool OnSelectionChanging(TreeItem* oldItem, TreeItem* newItem) override {
    calls.push_back("changing " + (oldItem ? oldItem->text : "-") + " " + (newItem ? newItem->text : "-"));
    return allow;
  }
  void OnExpansionChanged(HTREEITEM* item, bool expanded) override {
    calls.push_back("expanded " + Name(item) + (expanded ? " on" : " off"));
  }
  std::string Name(HTREEITEM* handle) { return handle ? std::to_string(reinterpret_cast<INT_PTR>(*handle)) : "-"; }

  std::vector<std::string> calls;
  bool allow = true;
};

// Общие(1); Типы(2) { Остаток(3) { Уровень(4) }, Маржа(5) }; Лимит(6): the
// values are the handles the items have until the tree is inserted again.
void FillTree(TreeItemList& items) {
  std::vector<TreeItem> made;
  for (const char* text : {"Общие", "Типы", "Остаток", "Уровень", "Маржа", "Лимит"}) {
    made.emplace_back(-1, text, static_cast<int32_t>(made.size() + 1));
    made.back().handle = Handle(made.back().value);
  }
  made[2].AddChild(made[3]);
  made[1].AddChild(made[2]);
  made[1].AddChild(made[4]);
  for (int top : {0, 1, 5}) items.Add(made[top]);
}

TEST(TreeModelTest, ItemsAreFoundByHandleDepthFirst) {
  PluginTreeView view;
  FillTree(view.Items());
  std::vector<std::string> found;
  for (int handle = 1; handle <= 7; ++handle) {
    TreeItem* item = FindTreeItem(Handle(handle), view.Items().begin(), view.Items().end());
    found.push_back(item ? item->text : "-");
  }
  EXPECT_EQ(found, std::vector<std::string>({"Общие", "Типы", "Остаток", "Уровень", "Маржа", "Лимит", "-"}));
  view.Items()[2].handle = Handle(4);
  EXPECT_EQ(view.Find(Handle(4))->text, "Уровень") << "a child before the siblings after its parent";
  view.Items().Clear();
  EXPECT_EQ(view.Find(Handle(1)), nullptr);
}

TEST(TreeModelTest, InsertingPutsEachItemUnderItsParentAndSelectsTheSelectedOne) {
  struct Case {
    int refused;  // value of the item the control refuses
    bool result;
    std::vector<std::string> log;
  } cases[] = {
      {0, true,
       {"window", "insert Общие", "insert Типы", "insert Остаток under Типы", "insert Уровень under Остаток",
        "select Уровень", "insert Маржа under Типы", "insert Лимит"}},
      {3, false,
       {"window", "insert Общие", "insert Типы", "insert Остаток under Типы", "insert Маржа under Типы",
        "insert Лимит"}},
      {2, false, {"window", "insert Общие", "insert Типы", "insert Лимит"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("refused " + std::to_string(c.refused));
    std::vector<std::string> log;
    PluginTreeView view(std::make_unique<RecordingImpl>(log, c.refused));
    FillTree(view.Items());
    view.Items()[1].children[0].children[0].selected = true;
    view.Attach(nullptr);
    EXPECT_EQ(view.InsertAll(), c.result);
    EXPECT_EQ(log, c.log);
  }
}

NMTREEVIEWA Record(UINT code, int oldHandle, int newHandle, UINT newState) {
  NMTREEVIEWA record = {};
  record.hdr.code = code, record.itemOld.hItem = Handle(oldHandle), record.itemNew.hItem = Handle(newHandle);
  record.itemNew.state = newState;
  return record;
}

TEST(TreeModelTest, NotificationsKeepTheStatesAndTellTheListener) {
  struct Row {
    UINT code;
    int oldHandle, newHandle;
    UINT newState;
    bool allow;
    LRESULT result;
    const char* call;  // what the listener heard, "" nothing
    int selected;      // the selected item's handle afterwards, 0 none
    int expanded;      // the expanded item's handle afterwards, 0 none
  } rows[] = {
      {TVN_SELCHANGEDA, 0, 4, 0, true, 0, "changed - 4", 4, 0},
      {TVN_SELCHANGINGA, 4, 1, 0, false, 1, "changing Уровень Общие", 4, 0},
      {TVN_SELCHANGINGA, 4, 9, 0, true, 0, "changing Уровень -", 4, 0},
      {TVN_SELCHANGEDA, 4, 1, 0, true, 0, "changed 4 1", 1, 0},
      {TVN_SELCHANGEDA, 1, 9, 0, true, 0, "changed 1 -", 0, 0},
      {TVN_ITEMEXPANDEDA, 0, 2, TVIS_EXPANDED | TVIS_SELECTED, true, 0, "expanded 2 on", 0, 2},
      {TVN_ITEMEXPANDEDA, 0, 9, TVIS_EXPANDED, true, 0, "", 0, 2},
      {TVN_ITEMEXPANDEDA, 0, 2, TVIS_SELECTED, true, 0, "expanded 2 off", 0, 0},
      {TVN_GETDISPINFOA, 0, 2, 0, true, 0, "", 0, 0},
  };
  PluginTreeView view;
  FillTree(view.Items());
  RecordingListener listener;
  view.SetListener(&listener);
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(static_cast<int>(row.code)) + " " + std::to_string(row.newHandle));
    listener.calls.clear();
    listener.allow = row.allow;
    NMTREEVIEWA record = Record(row.code, row.oldHandle, row.newHandle, row.newState);
    EXPECT_EQ(view.OnTreeNotify(row.code, &record.hdr), row.result);
    EXPECT_EQ(listener.calls, row.call[0] ? std::vector<std::string>{row.call} : std::vector<std::string>{});
    int selected = 0, expanded = 0;
    for (int handle = 1; handle <= 6; ++handle) {
      if (view.Find(Handle(handle))->selected) selected = selected ? -1 : handle;
      if (view.Find(Handle(handle))->expanded) expanded = expanded ? -1 : handle;
    }
    EXPECT_EQ(selected, row.selected);
    EXPECT_EQ(expanded, row.expanded);
  }
  view.SetListener(nullptr);
  NMTREEVIEWA changing = Record(TVN_SELCHANGINGA, 1, 2, 0);
  EXPECT_EQ(view.OnTreeNotify(TVN_SELCHANGINGA, &changing.hdr), 0) << "without a listener every change is allowed";
}

// Caption, value and parent of a tree item as the control has them.
std::string Shown(HWND tree, HTREEITEM item) {
  char text[128] = {};
  TVITEMA entry = {};
  entry.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
  entry.hItem = item;
  entry.pszText = text;
  entry.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&entry));
  const LRESULT parent = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, LPARAM(item));
  return std::string(text) + " " + std::to_string(entry.lParam) + (parent ? " under " + Shown(tree, HTREEITEM(parent)) : "");
}

TEST(TreeViewWindowTest, TheControlShowsEveryLevelAndTheViewFollowsItsSelection) {
  TableEnvironment env;
  ControlsDialog dialog(env, kTreeDialog);
  HWND tree = dialog.Item(kTree);
  PluginTreeView view;
  RecordingListener listener;
  view.SetListener(&listener);
  dialog.onNotify = [&](NMHDR* header) { return view.OnTreeNotify(header->code, header); };
  TreeItem general(-1, "Общие настройки", 124), kinds(31001, "", 0), funds(31002, "", 108),
      coefficient(-1, "Коэф.ликвидности ГО", 109), margin(-1, "Уровень маржи", 117);
  coefficient.selected = true;
  funds.AddChild(coefficient);
  kinds.AddChild(funds);
  for (const TreeItem& item : {general, kinds, margin}) view.Items().Add(item);
  view.Attach(tree);
  ASSERT_TRUE(view.InsertAll());

  TreeItem& grandchild = view.Items()[1].children[0].children[0];
  std::vector<std::string> shown;
  for (HTREEITEM item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
       item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, LPARAM(item))))
    shown.push_back(Shown(tree, item));
  const std::string funds108 = "Уровень достаточности средств под открытые позиции и заявки кли 108";
  EXPECT_EQ(shown, std::vector<std::string>({"Общие настройки 124", "Типы маржин-коллов 0",
                                             funds108 + " under Типы маржин-коллов 0",
                                             "Коэф.ликвидности ГО 109 under " + funds108 + " under Типы маржин-коллов 0",
                                             "Уровень маржи 117"}));
  auto caret = [&] { return HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)); };
  EXPECT_EQ(caret(), grandchild.handle);

  listener.calls.clear();
  TreeItem& last = view.Items()[2];
  view.SelectItemByHandle(last.handle);
  EXPECT_EQ(caret(), last.handle);
  EXPECT_EQ(std::vector<bool>({grandchild.selected, last.selected}), std::vector<bool>({false, true}));
  EXPECT_EQ(listener.calls, std::vector<std::string>({"changing Коэф.ликвидности ГО Уровень маржи",
                                                      "changed " + listener.Name(&grandchild.handle) + " " +
                                                          listener.Name(&last.handle)}));
  listener.allow = false;
  view.SelectItem(view.Items()[0]);
  EXPECT_EQ(caret(), last.handle) << "a listener that answers false keeps the selection";
  EXPECT_FALSE(view.Items()[0].selected);
}

}  // namespace
