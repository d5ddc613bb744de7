// The search list on the list boxes of a real dialog inside the stand-in
// host: typing filters, the counter, the list-box messages on the full item
// set, the panel following its list, and its class's registration.
#include <gtest/gtest.h>

#include <memory>

#include "controls_dialog.h"
#include "sdk/host_call.h"
#include "sdk/search_list_box.h"
#include "support/focus_watch.h"

namespace {

using Texts = std::vector<std::string>;

class SearchListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(RegisterSearchListBoxClass(), 0); }
  void TearDown() override {
    dialog_.reset();
    UnregisterSearchListBoxClass();
  }

  // The list box filled with the texts (item data 100, 101, ...) and then
  // made a search list.
  SearchListBox* Attach(int id, const Texts& texts) {
    list_ = dialog_->Item(id);
    for (size_t n = 0; n < texts.size(); ++n) {
      const LRESULT at = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[n].c_str()));
      SendMessageA(list_, LB_SETITEMDATA, at, 100 + static_cast<LPARAM>(n));
    }
    SearchListBox* box = CreateSearchListBox(list_);
    EXPECT_NE(box, nullptr);
    return box;
  }
  void Search(SearchListBox* box, const char* text) {
    SendMessageA(box->Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  std::string Counter(SearchListBox* box) {
    return IsWindowVisible(box->Counter()) ? WindowText(box->Counter()) : "<hidden>";
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(list_, message, wParam, lParam);
  }
  int EnChanges() const {
    int count = 0;
    for (const ControlsDialog::Command& command : dialog_->commands) count += command.code == EN_CHANGE;
    return count;
  }
  RECT RectInDialog(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog_->Window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  TableEnvironment env_;
  std::unique_ptr<ControlsDialog> dialog_ = std::make_unique<ControlsDialog>(env_, kListsDialog);
  HWND list_ = nullptr;
};

TEST_F(SearchListBoxTest, TypingShowsTheMatchingItemsWithAShownOfTotalCounter) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz"});
  EXPECT_EQ(Counter(box), "<hidden>");
  EXPECT_FALSE(IsWindowVisible(box->ClearIcon()));
  TypeText(box->Edit(), "a");
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "ABC"}));
  TypeText(box->Edit(), "b");
  EXPECT_EQ(WindowText(box->Edit()), "ab");
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "ABC"}));
  EXPECT_EQ(Counter(box), "2/3");
  EXPECT_TRUE(IsWindowVisible(box->ClearIcon()));
  EXPECT_EQ(EnChanges(), 2) << "the dialog hears every change of the search text";
  EXPECT_EQ(Send(LB_GETITEMDATA, 1), 101) << "the shown items keep their data";

  // The counter sits at the right end of the edit, left of the clear icon,
  // and the typed text stops short of it.
  RECT client, counter;
  GetClientRect(box->Edit(), &client);
  GetWindowRect(box->Counter(), &counter);
  MapWindowPoints(nullptr, box->Edit(), reinterpret_cast<POINT*>(&counter), 2);
  EXPECT_EQ(counter.right, client.right - 16);
  const LRESULT margins = SendMessageA(box->Edit(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(HIWORD(margins), counter.right - counter.left + 16);

  struct Step {
    const char* text;
    Texts shown;
    const char* counter;
  } steps[] = {{"XY", {"xyz"}, "1/3"}, {"q", {}, "0/3"}, {"C", {"Cab", "ABC"}, "2/3"}, {"", {"Cab", "ABC", "xyz"}, "<hidden>"}};
  for (const Step& step : steps) {
    Search(box, step.text);
    EXPECT_EQ(ListTexts(list_), step.shown) << step.text;
    EXPECT_EQ(Counter(box), step.counter) << step.text;
  }
  EXPECT_EQ(HIWORD(SendMessageA(box->Edit(), EM_GETMARGINS, 0, 0)), 16);
}

TEST_F(SearchListBoxTest, CyrillicTextsMatchWithoutRegardToCase) {
  SearchListBox* box = Attach(kSingleList, {"Сбербанк", "Газпром", "СБЕР ап", "Аэрофлот"});
  TypeText(box->Edit(), "сбер");
  EXPECT_EQ(ListTexts(list_), Texts({"Сбербанк", "СБЕР ап"}));
  EXPECT_EQ(Counter(box), "2/4");
  EXPECT_EQ(Send(SLB_GETFULLINDEX, 1), 2);
}

TEST_F(SearchListBoxTest, ClearingTheSearchShowsEveryItemAndKeepsASelectionMadeWhileFiltered) {
  SearchListBox* box = Attach(kSingleList, {"xyz", "Cab", "ABC"});
  TypeText(box->Edit(), "ab");
  Send(LB_SETCURSEL, 1);  // ABC
  dialog_->commands.clear();
  EXPECT_EQ(ClearSearch(list_), 1);
  EXPECT_EQ(ListTexts(list_), Texts({"xyz", "Cab", "ABC"}));
  EXPECT_EQ(Send(LB_GETCURSEL), 2);
  EXPECT_EQ(Counter(box), "<hidden>");
  EXPECT_FALSE(IsWindowVisible(box->ClearIcon()));
  bool selectionChange = false;
  for (const ControlsDialog::Command& command : dialog_->commands)
    selectionChange |= command.id == kSingleList && command.code == LBN_SELCHANGE;
  EXPECT_TRUE(selectionChange) << "the dialog is told of the re-selected item";
  EXPECT_EQ(ClearSearch(list_), 1) << "an empty search text still has its search list";
  EXPECT_EQ(ClearSearch(dialog_->Item(kExtendedList)), 0) << "a plain list box has none";
}

TEST_F(SearchListBoxTest, AnExtendedSelectionMadeWhileFilteredStaysSelected) {
  SearchListBox* box = Attach(kExtendedList, {"Сбербанк", "Газпром", "СБЕР ап", "Аэрофлот", "Сбер-преф"});
  TypeText(box->Edit(), "сбер");
  ASSERT_EQ(ListTexts(list_), Texts({"Сбербанк", "СБЕР ап", "Сбер-преф"}));
  Send(LB_SETSEL, TRUE, 0);
  Send(LB_SETSEL, TRUE, 2);
  Search(box, "");
  int selected[8] = {};
  const LRESULT count = Send(LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(selected));
  EXPECT_EQ(std::vector<int>(selected, selected + count), std::vector<int>({0, 4}));
}

TEST_F(SearchListBoxTest, AddingToASortedListWhileSearchingGivesTheIndexAmongAllItems) {
  SearchListBox* box = Attach(kSortedList, {"xyz", "Cab"});
  TypeText(box->Edit(), "ab");
  struct Row {
    const char* text;
    LRESULT index;
    Texts shown;
    const char* counter;
  } rows[] = {
      {"ABC", 0, {"ABC", "Cab"}, "2/3"},
      {"Slab", 2, {"ABC", "Cab", "Slab"}, "3/4"},
      {"zz", 4, {"ABC", "Cab", "Slab"}, "3/5"},
      {"aab", 0, {"aab", "ABC", "Cab", "Slab"}, "4/6"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text)), row.index) << row.text;
    EXPECT_EQ(ListTexts(list_), row.shown) << row.text;
    EXPECT_EQ(Counter(box), row.counter) << row.text;
  }
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"aab", "ABC", "Cab", "Slab", "xyz", "zz"}));
}

TEST_F(SearchListBoxTest, MessagesOnTheFullItemSetAnswerAsTheirTableSays) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz", "dab"});
  TypeText(box->Edit(), "ab");  // shown: Cab, ABC, dab
  char text[32] = {};
  const auto buffer = reinterpret_cast<LPARAM>(text);
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  } rows[] = {
      {LB_GETITEMDATA, 0, 0, 100},        {LB_GETITEMDATA, 2, 0, 103},
      {LB_GETITEMDATA, 3, 0, LB_ERR},     {LB_GETITEMDATA, WPARAM(-1), 0, LB_ERR},
      {SLB_GETFULLCOUNT, 0, 0, 4},        {SLB_GETFULLITEMDATA, 2, 0, 102},
      {SLB_GETFULLITEMDATA, 4, 0, LB_ERR}, {SLB_GETFULLINDEX, 2, 0, 3},
      {SLB_GETFULLINDEX, 3, 0, LB_ERR},   {SLB_GETFULLTEXT, 3, buffer, 3},
      {SLB_GETFULLTEXT, 9, buffer, LB_ERR}, {LB_SETITEMDATA, 2, 555, 0},
      {SLB_GETFULLITEMDATA, 2, 0, 555},   {LB_SETITEMDATA, 4, 555, LB_ERR},
      {LB_GETCOUNT, 0, 0, 3},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Send(row.message, row.wParam, row.lParam), row.result) << row.message << " " << row.wParam;
  EXPECT_STREQ(text, "dab");
}

TEST_F(SearchListBoxTest, MessageSetSortedKeepsLaterItemsInOrder) {
  Attach(kSingleList, {});
  EXPECT_EQ(Send(SLB_SETSORTED, 1), 0);
  for (const char* text : {"мир", "Ёлка", "арбуз"}) Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(ListTexts(list_), Texts({"арбуз", "Ёлка", "мир"}));
  EXPECT_EQ(Send(SLB_SETSORTED, 0), 0);
  EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("банк")), 3);
}

// An item deleted by its full index leaves the shown list and the list box
// too: nothing shown is left pointing at it.
TEST_F(SearchListBoxTest, DeletingByFullIndexTakesTheItemOffTheShownListToo) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz", "dab"});
  TypeText(box->Edit(), "ab");
  struct Row {
    WPARAM fullIndex;
    Texts shown;
    std::vector<LRESULT> shownData;
    const char* counter;
  } rows[] = {
      {0, {"ABC", "dab"}, {101, 103}, "2/3"},
      {1, {"ABC", "dab"}, {101, 103}, "2/2"},  // xyz was not shown
      {5, {"ABC", "dab"}, {101, 103}, "2/2"},
      {1, {"ABC"}, {101}, "1/1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("full index " + std::to_string(row.fullIndex));
    EXPECT_EQ(Send(SLB_DELETEFULLITEM, row.fullIndex), 0);
    EXPECT_EQ(ListTexts(list_), row.shown);
    std::vector<LRESULT> data;
    for (size_t shown = 0; shown < row.shown.size(); ++shown) data.push_back(Send(LB_GETITEMDATA, shown));
    EXPECT_EQ(data, row.shownData);
    EXPECT_EQ(Send(LB_GETITEMDATA, row.shown.size()), LB_ERR);
    EXPECT_EQ(Send(SLB_GETFULLINDEX, 0), 0);
    EXPECT_EQ(Counter(box), row.counter);
  }
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"ABC"}));
}

TEST_F(SearchListBoxTest, DeletingInsertingAndResettingActOnBothLists) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "xyz", "ABC"});
  TypeText(box->Edit(), "ab");
  EXPECT_EQ(Send(LB_DELETESTRING, 1), 1) << "the list box's own answer: what it has left";
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 2);
  EXPECT_EQ(Send(LB_DELETESTRING, 5), LB_ERR);
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 2);
  EXPECT_EQ(Send(LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("kab")), 1);
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "kab"}));
  EXPECT_EQ(Counter(box), "2/3");
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "kab", "xyz"}));
  Send(LB_RESETCONTENT);
  EXPECT_EQ(Send(SLB_GETFULLCOUNT) + Send(LB_GETCOUNT), 0);
  Search(box, "a");
  EXPECT_EQ(Counter(box), "0/0");
}

TEST_F(SearchListBoxTest, ThePanelCoversTheTopOfItsListAndFollowsIt) {
  list_ = dialog_->Item(kSingleList);
  const RECT before = RectInDialog(list_);
  FocusWatch focus;
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC"});
  ASSERT_TRUE(box->PanelShown());
  EXPECT_TRUE(IsWindowVisible(box->Panel()));
  EXPECT_TRUE(FocusWatch::Saw(box->Edit()));
  const RECT panel = RectInDialog(box->Panel());
  const RECT shown = RectInDialog(list_);
  EXPECT_EQ(std::vector<LONG>({panel.left, panel.top, panel.right}), std::vector<LONG>({before.left, before.top, before.right}));
  EXPECT_GT(shown.top, before.top);
  EXPECT_LE(shown.top, panel.bottom) << "the list starts under the panel or just under its edge";
  EXPECT_EQ(shown.bottom, before.bottom);

  ShowWindow(list_, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(box->Panel()));
  EXPECT_EQ(RectInDialog(list_).top, before.top) << "the list has its full height back";
  ShowWindow(list_, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(box->Panel()));
  EnableWindow(list_, FALSE);
  EXPECT_FALSE(IsWindowVisible(box->Panel()));
  EnableWindow(list_, TRUE);
  EXPECT_TRUE(IsWindowVisible(box->Panel()));

  const auto searchIconClick = MAKEWPARAM(GetDlgCtrlID(box->SearchIcon()), STN_CLICKED);
  SendMessageA(box->Edit(), WM_COMMAND, searchIconClick, reinterpret_cast<LPARAM>(box->SearchIcon()));
  EXPECT_FALSE(box->PanelShown());
  SendMessageA(list_, WM_COMMAND, searchIconClick, reinterpret_cast<LPARAM>(box->SearchIcon()));
  EXPECT_TRUE(box->PanelShown());
}

TEST_F(SearchListBoxTest, TheClearIconEmptiesTheSearchAndTheSearchIconShowsWhetherOneIsTyped) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz"});
  auto resources = static_cast<HINSTANCE>(HostCall<25>(host::kResourceModule));
  auto icon = [&](int id) { return LoadImageA(resources, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_SHARED); };
  auto shownIcon = [](HWND label) { return reinterpret_cast<HANDLE>(SendMessageA(label, STM_GETICON, 0, 0)); };
  ASSERT_NE(icon(kSearchIdleIcon), nullptr);
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchIdleIcon));
  EXPECT_EQ(shownIcon(box->ClearIcon()), icon(kSearchClearIcon));
  TypeText(box->Edit(), "xy");
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchActiveIcon));
  ASSERT_EQ(ListTexts(list_).size(), 1u);

  SetFocus(list_);
  FocusWatch focus;
  SendMessageA(box->Edit(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->ClearIcon()), STN_CLICKED),
               reinterpret_cast<LPARAM>(box->ClearIcon()));
  EXPECT_EQ(WindowText(box->Edit()), "");
  EXPECT_EQ(ListTexts(list_).size(), 3u);
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchIdleIcon));
  EXPECT_FALSE(IsWindowVisible(box->ClearIcon()));
  EXPECT_TRUE(FocusWatch::Saw(box->Edit()));
}

TEST_F(SearchListBoxTest, AListBoxIsAttachedOnceAndGetsItsOwnProcedureBack) {
  list_ = dialog_->Item(kSingleList);
  const LONG_PTR own = GetWindowLongPtrA(list_, GWLP_WNDPROC);
  SearchListBox* box = Attach(kSingleList, {"Cab"});
  EXPECT_NE(GetWindowLongPtrA(list_, GWLP_WNDPROC), own);
  EXPECT_EQ(CreateSearchListBox(list_), box);
  EXPECT_EQ(SearchListBox::FromWindow(box->Panel()), box);
  HWND panel = box->Panel();
  DestroySearchListBox(list_);
  EXPECT_EQ(GetWindowLongPtrA(list_, GWLP_WNDPROC), own);
  EXPECT_EQ(SearchListBox::FromWindow(list_), nullptr);
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_EQ(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("xyz")), 1) << "a plain list box again";
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 0);

  SearchListBox* again = CreateSearchListBox(list_);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Items().FullCount(), 2) << "the items the list box had, read again";
}

TEST_F(SearchListBoxTest, ThePanelClassIsRegisteredUntilUnregistered) {
  WNDCLASSA info;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(GetClassInfoA(instance, kSearchListBoxClass, &info));
  EXPECT_EQ(info.lpfnWndProc, SearchPanelProc);
  EXPECT_EQ(info.style, UINT(CS_VREDRAW | CS_HREDRAW));
  dialog_.reset();
  UnregisterSearchListBoxClass();
  EXPECT_FALSE(GetClassInfoA(instance, kSearchListBoxClass, &info));
  EXPECT_EQ(CreateSearchListBox(GetDesktopWindow()), nullptr) << "no property atom, no search list";
  EXPECT_NE(RegisterSearchListBoxClass(), 0);
  EXPECT_TRUE(GetClassInfoA(instance, kSearchListBoxClass, &info));
}

}  // namespace
