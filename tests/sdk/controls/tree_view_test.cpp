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

// Общие(1) ; Типы(2) { Остаток(3) { Уровень(4) } , Маржа(5) } ; Лимит(6)
void FillTree(TreeItemList& items, bool withHandles) {
  TreeItem level(-1, "Уровень", 4), rest(-1, "Остаток", 3), margin(-1, "Маржа", 5), kinds(-1, "Типы", 2);
  if (withHandles) {
    level.handle = Handle(4), rest.handle = Handle(3), margin.handle = Handle(5), kinds.handle = Handle(2);
  }
  rest.AddChild(level);
  kinds.AddChild(rest);
  kinds.AddChild(margin);
  TreeItem general(-1, "Общие", 1), limit(-1, "Лимит", 6);
  if (withHandles) general.handle = Handle(1), limit.handle = Handle(6);
  items.Add(general);
  items.Add(kinds);
  items.Add(limit);
}

TEST(TreeModelTest, ItemsAreFoundByHandleDepthFirst) {
  PluginTreeView view;
  FillTree(view.Items(), true);
  EXPECT_EQ(view.Items().Count(), 3u);
  struct Row {
    int handle;
    const char* text;
  } rows[] = {{1, "Общие"}, {2, "Типы"}, {3, "Остаток"}, {4, "Уровень"}, {5, "Маржа"}, {6, "Лимит"}, {7, "<none>"}};
  for (const Row& row : rows) {
    TreeItem* found = FindTreeItem(Handle(row.handle), view.Items().begin(), view.Items().end());
    EXPECT_EQ(found ? found->text : std::string("<none>"), row.text) << row.handle;
  }
  // A child comes before the siblings that follow its parent.
  view.Items()[2].handle = Handle(4);
  EXPECT_EQ(view.Find(Handle(4))->text, "Уровень");
  view.Items().Clear();
  EXPECT_EQ(view.Items().Count(), 0u);
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
    FillTree(view.Items(), false);
    view.Items()[1].children[0].children[0].selected = true;
    view.Attach(nullptr);
    EXPECT_EQ(view.InsertAll(), c.result);
    EXPECT_EQ(log, c.log);
  }
}

NMTREEVIEWA Notification(UINT code, int oldHandle, int newHandle, UINT newState = 0) {
  NMTREEVIEWA record = {};
  record.hdr.code = code;
  record.itemOld.hItem = Handle(oldHandle);
  record.itemNew.hItem = Handle(newHandle);
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
  FillTree(view.Items(), true);
  RecordingListener listener;
  view.SetListener(&listener);
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(static_cast<int>(row.code)) + " " + std::to_string(row.newHandle));
    listener.calls.clear();
    listener.allow = row.allow;
    NMTREEVIEWA record = Notification(row.code, row.oldHandle, row.newHandle, row.newState);
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
  NMTREEVIEWA changing = Notification(TVN_SELCHANGINGA, 1, 2);
  EXPECT_EQ(view.OnTreeNotify(TVN_SELCHANGINGA, &changing.hdr), 0) << "without a listener every change is allowed";
}

class TreeViewWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_.onNotify = [this](NMHDR* header) { return view_.OnTreeNotify(header->code, header); };
    view_.SetListener(&listener_);
    TreeItem general(-1, "Общие настройки", 124), kinds(31001, "", 0), funds(31002, "", 108),
        coefficient(-1, "Коэф.ликвидности ГО", 109), margin(-1, "Уровень маржи", 117);
    coefficient.selected = true;
    funds.AddChild(coefficient);
    kinds.AddChild(funds);
    view_.Items().Add(general);
    view_.Items().Add(kinds);
    view_.Items().Add(margin);
    view_.Attach(tree_);
  }
  TreeItem& Coefficient() { return view_.Items()[1].children[0].children[0]; }
  std::string Caption(HTREEITEM item) {
    char text[128] = {};
    TVITEMA entry = {};
    entry.mask = TVIF_TEXT | TVIF_HANDLE;
    entry.hItem = item;
    entry.pszText = text;
    entry.cchTextMax = sizeof text;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
    return text;
  }
  LPARAM Value(HTREEITEM item) {
    TVITEMA entry = {};
    entry.mask = TVIF_PARAM | TVIF_HANDLE;
    entry.hItem = item;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
    return entry.lParam;
  }
  HTREEITEM Caret() { return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)); }

  TableEnvironment env_;
  ControlsDialog dialog_{env_, kTreeDialog};
  HWND tree_ = dialog_.Item(kTree);
  PluginTreeView view_;
  RecordingListener listener_;
};

TEST_F(TreeViewWindowTest, TheControlShowsEveryLevelWithItsCaptionAndValueAndTheSelectedGrandchild) {
  ASSERT_TRUE(view_.InsertAll());
  EXPECT_EQ(SendMessageA(tree_, TVM_GETCOUNT, 0, 0), 5);
  TreeItem& kinds = view_.Items()[1];
  struct Row {
    HTREEITEM item;
    const char* caption;
    LPARAM value;
    HTREEITEM parent;
  } rows[] = {
      {view_.Items()[0].handle, "Общие настройки", 124, nullptr},
      {kinds.handle, "Типы маржин-коллов", 0, nullptr},
      {kinds.children[0].handle, "Уровень достаточности средств под открытые позиции и заявки кли", 108, kinds.handle},
      {Coefficient().handle, "Коэф.ликвидности ГО", 109, kinds.children[0].handle},
      {view_.Items()[2].handle, "Уровень маржи", 117, nullptr},
  };
  for (const Row& row : rows) {
    ASSERT_NE(row.item, nullptr) << row.caption;
    EXPECT_EQ(Caption(row.item), row.caption);
    EXPECT_EQ(Value(row.item), row.value) << row.caption;
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, LPARAM(row.item))),
              row.parent)
        << row.caption;
  }
  EXPECT_EQ(Caret(), Coefficient().handle);
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0)), view_.Items()[0].handle)
      << "in the order of the list";
}

TEST_F(TreeViewWindowTest, ASelectionChangeMovesTheSelectedFlagAndTellsTheListener) {
  ASSERT_TRUE(view_.InsertAll());
  listener_.calls.clear();
  TreeItem& margin = view_.Items()[2];
  view_.SelectItemByHandle(margin.handle);
  EXPECT_EQ(Caret(), margin.handle);
  EXPECT_TRUE(margin.selected);
  EXPECT_FALSE(Coefficient().selected);
  const std::string oldHandle = listener_.Name(&Coefficient().handle), newHandle = listener_.Name(&margin.handle);
  EXPECT_EQ(listener_.calls, std::vector<std::string>({"changing Коэф.ликвидности ГО Уровень маржи",
                                                       "changed " + oldHandle + " " + newHandle}));

  listener_.allow = false;
  view_.SelectItem(view_.Items()[0]);
  EXPECT_EQ(Caret(), margin.handle) << "a listener that answers false keeps the selection";
  EXPECT_TRUE(margin.selected);
  EXPECT_FALSE(view_.Items()[0].selected);
}

TEST_F(TreeViewWindowTest, InsertingAgainIntoANewControlReplacesTheHandles) {
  ASSERT_TRUE(view_.InsertAll());
  const HTREEITEM first = Coefficient().handle;
  ControlsDialog second(env_, kTreeDialog);
  second.onNotify = [this](NMHDR* header) { return view_.OnTreeNotify(header->code, header); };
  view_.Attach(second.Item(kTree));
  ASSERT_TRUE(view_.InsertAll());
  EXPECT_EQ(SendMessageA(second.Item(kTree), TVM_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(second.Item(kTree), TVM_GETNEXTITEM, TVGN_CARET, 0)),
            Coefficient().handle);
  EXPECT_EQ(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0), LPARAM(first)) << "the first control keeps its own";
}

}  // namespace
