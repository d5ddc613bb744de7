// The search list on the list boxes of a real dialog inside the stand-in
// host: typing filters, the counter, the list-box messages on the full item
// set, the panel following its list, a check-list's items, and its class's
// registration.
#include <gtest/gtest.h>

#include <algorithm>
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
  // The list box filled with the texts (item data 100, 101, ...), made a
  // search list, and the search typed into its edit.
  SearchListBox* Attach(int id, const Texts& texts, const char* typed = "") {
    list_ = dialog_->Item(id);
    for (size_t n = 0; n < texts.size(); ++n)
      SendMessageA(list_, LB_SETITEMDATA, Send(LB_ADDSTRING, 0, LPARAM(texts[n].c_str())), 100 + LPARAM(n));
    SearchListBox* box = CreateSearchListBox(list_);
    if (box) TypeText(box->Edit(), typed);
    return box;
  }
  void Search(SearchListBox* box, const char* text) { SendMessageA(box->Edit(), WM_SETTEXT, 0, LPARAM(text)); }
  std::string Counter(SearchListBox* box) {
    return IsWindowVisible(box->Counter()) ? WindowText(box->Counter()) : "<hidden>";
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(list_, message, wParam, lParam); }

  TableEnvironment env_;
  std::unique_ptr<ControlsDialog> dialog_ = std::make_unique<ControlsDialog>(env_, kListsDialog);
  HWND list_ = nullptr;
};

TEST_F(SearchListBoxTest, TypingShowsTheMatchingItemsWithAShownOfTotalCounter) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz", "Сбербанк", "СБЕР ап"});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Counter(box), "<hidden>");
  TypeText(box->Edit(), "ab");
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "ABC"}));
  EXPECT_EQ(Counter(box), "2/5");
  EXPECT_TRUE(IsWindowVisible(box->ClearIcon()));
  int changes = 0;
  for (const ControlsDialog::Command& command : dialog_->commands) changes += command.code == EN_CHANGE;
  EXPECT_EQ(changes, 2) << "the dialog hears every change of the search text";
  // The counter ends 16 pixels short of the edit's right end, where the
  // clear icon is, and the typed text stops short of the counter.
  const RECT counter = RectIn(box->Counter(), box->Edit());
  RECT client;
  GetClientRect(box->Edit(), &client);
  EXPECT_EQ(counter.right, client.right - 16);
  EXPECT_EQ(HIWORD(SendMessageA(box->Edit(), EM_GETMARGINS, 0, 0)), counter.right - counter.left + 16);

  struct Step {
    const char* text;
    Texts shown;
    const char* counter;
  } steps[] = {{"сбер", {"Сбербанк", "СБЕР ап"}, "2/5"}, {"XY", {"xyz"}, "1/5"}, {"q", {}, "0/5"},
               {"", {"Cab", "ABC", "xyz", "Сбербанк", "СБЕР ап"}, "<hidden>"}};
  for (const Step& step : steps) {
    Search(box, step.text);
    EXPECT_EQ(ListTexts(list_), step.shown) << step.text;
    EXPECT_EQ(Counter(box), step.counter) << step.text;
  }
  EXPECT_EQ(HIWORD(SendMessageA(box->Edit(), EM_GETMARGINS, 0, 0)), 16);
}

TEST_F(SearchListBoxTest, ClearingTheSearchKeepsSelectionsMadeWhileFiltered) {
  SearchListBox* single = Attach(kSingleList, {"xyz", "Cab", "ABC"}, "ab");
  ASSERT_NE(single, nullptr);
  Send(LB_SETCURSEL, 1);  // ABC
  dialog_->commands.clear();
  EXPECT_EQ(ClearSearch(list_), 1);
  EXPECT_EQ(ListTexts(list_), Texts({"xyz", "Cab", "ABC"}));
  EXPECT_EQ(Send(LB_GETCURSEL), 2);
  EXPECT_FALSE(IsWindowVisible(single->ClearIcon()));
  EXPECT_TRUE(std::any_of(dialog_->commands.begin(), dialog_->commands.end(),
                          [](const ControlsDialog::Command& c) { return c.id == kSingleList && c.code == LBN_SELCHANGE; }))
      << "the dialog is told of the re-selected item";
  EXPECT_EQ(ClearSearch(dialog_->Item(kExtendedList)), 0) << "a plain list box has no search list";

  SearchListBox* extended = Attach(kExtendedList, {"Сбербанк", "Газпром", "СБЕР ап", "Аэрофлот", "Сбер-преф"}, "сбер");
  ASSERT_EQ(ListTexts(list_), Texts({"Сбербанк", "СБЕР ап", "Сбер-преф"}));
  Send(LB_SETSEL, TRUE, 0);
  Send(LB_SETSEL, TRUE, 2);
  Search(extended, "");
  int selected[8] = {};
  const LRESULT count = Send(LB_GETSELITEMS, 8, LPARAM(selected));
  EXPECT_EQ(std::vector<int>(selected, selected + count), std::vector<int>({0, 4}));
}

TEST_F(SearchListBoxTest, AddingToASortedListWhileSearchingGivesTheIndexAmongAllItems) {
  SearchListBox* box = Attach(kSortedList, {"xyz", "Cab"}, "ab");
  ASSERT_NE(box, nullptr);
  struct Row {
    const char* text;
    LRESULT index;
    Texts shown;
    const char* counter;
  } rows[] = {{"ABC", 0, {"ABC", "Cab"}, "2/3"}, {"Slab", 2, {"ABC", "Cab", "Slab"}, "3/4"},
              {"zz", 4, {"ABC", "Cab", "Slab"}, "3/5"}, {"aab", 0, {"aab", "ABC", "Cab", "Slab"}, "4/6"}};
  for (const Row& row : rows) {
    EXPECT_EQ(Send(LB_ADDSTRING, 0, LPARAM(row.text)), row.index) << row.text;
    EXPECT_EQ(ListTexts(list_), row.shown) << row.text;
    EXPECT_EQ(Counter(box), row.counter) << row.text;
  }
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"aab", "ABC", "Cab", "Slab", "xyz", "zz"}));
}

TEST_F(SearchListBoxTest, MessagesOnTheFullItemSetAnswerAsTheirTableSays) {
  ASSERT_NE(Attach(kSingleList, {"ABC", "Cab", "Dog", "Slab"}, "ab"), nullptr);  // shown: ABC, Cab, Slab
  char text[32] = {};
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  } rows[] = {
      {LB_GETITEMDATA, 0, 0, 100},         {LB_GETITEMDATA, 2, 0, 103},        {LB_GETITEMDATA, 3, 0, LB_ERR},
      {SLB_GETFULLCOUNT, 0, 0, 4},         {SLB_GETFULLITEMDATA, 2, 0, 102},   {SLB_GETFULLITEMDATA, 4, 0, LB_ERR},
      {SLB_GETFULLINDEX, 2, 0, 3},         {SLB_GETFULLINDEX, 3, 0, LB_ERR},   {SLB_GETFULLTEXT, 9, LPARAM(text), LB_ERR},
      {SLB_GETFULLTEXT, 3, LPARAM(text), 4}, {LB_SETITEMDATA, 2, 555, 0},       {SLB_GETFULLITEMDATA, 2, 0, 555},
      {LB_SETITEMDATA, 4, 555, LB_ERR},    {LB_GETCOUNT, 0, 0, 3},             {SLB_SETSORTED, 1, 0, 0},
      {LB_ADDSTRING, 0, LPARAM("Bab"), 1}, {SLB_SETSORTED, 0, 0, 0},           {LB_ADDSTRING, 0, LPARAM("Bab"), 5},
  };
  for (const Row& row : rows) EXPECT_EQ(Send(row.message, row.wParam, row.lParam), row.result) << row.message;
  EXPECT_STREQ(text, "Slab");
}

// An item deleted by its full index leaves the shown list and the list box
// too: nothing shown is left pointing at it.
TEST_F(SearchListBoxTest, DeletingByFullIndexTakesTheItemOffTheShownListToo) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz", "dab"}, "ab");
  ASSERT_NE(box, nullptr);
  struct Row {
    WPARAM fullIndex;
    Texts shown;
    std::vector<LRESULT> shownData;  // and -1 past them
    const char* counter;
  } rows[] = {{0, {"ABC", "dab"}, {101, 103, -1}, "2/3"},
              {1, {"ABC", "dab"}, {101, 103, -1}, "2/2"},  // xyz was not shown
              {5, {"ABC", "dab"}, {101, 103, -1}, "2/2"},
              {1, {"ABC"}, {101, -1}, "1/1"}};
  for (const Row& row : rows) {
    SCOPED_TRACE("full index " + std::to_string(row.fullIndex));
    EXPECT_EQ(Send(SLB_DELETEFULLITEM, row.fullIndex), 0);
    EXPECT_EQ(ListTexts(list_), row.shown);
    std::vector<LRESULT> data;
    for (size_t shown = 0; shown < row.shownData.size(); ++shown) data.push_back(Send(LB_GETITEMDATA, shown));
    EXPECT_EQ(data, row.shownData);
    EXPECT_EQ(Counter(box), row.counter);
  }
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"ABC"}));
}

TEST_F(SearchListBoxTest, DeletingInsertingAndResettingActOnBothLists) {
  SearchListBox* box = Attach(kSingleList, {"Cab", "xyz", "ABC"}, "ab");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Send(LB_DELETESTRING, 1), 1) << "the list box's own answer: what it has left";
  EXPECT_EQ(Send(LB_DELETESTRING, 5), LB_ERR);
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 2);
  EXPECT_EQ(Send(LB_INSERTSTRING, 1, LPARAM("kab")), 1);
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "kab"}));
  Search(box, "");
  EXPECT_EQ(ListTexts(list_), Texts({"Cab", "kab", "xyz"}));
  Send(LB_RESETCONTENT);
  Search(box, "a");
  EXPECT_EQ(Send(SLB_GETFULLCOUNT) + Send(LB_GETCOUNT), 0);
  EXPECT_EQ(Counter(box), "0/0");
}

TEST_F(SearchListBoxTest, ThePanelCoversTheTopOfItsListFollowsItAndItsIconsWork) {
  const RECT before = RectIn(dialog_->Item(kSingleList), dialog_->Window());
  SearchListBox* box = Attach(kSingleList, {"Cab", "ABC", "xyz"});
  ASSERT_TRUE(box && box->PanelShown() && IsWindowVisible(box->Panel()));
  const RECT panel = RectIn(box->Panel(), dialog_->Window()), shown = RectIn(list_, dialog_->Window());
  EXPECT_EQ(std::vector<LONG>({panel.left, panel.top, panel.right}), std::vector<LONG>({before.left, before.top, before.right}));
  EXPECT_GT(shown.top, before.top);
  EXPECT_LE(shown.top, panel.bottom) << "the list starts under the panel or under its edge";
  EXPECT_EQ(shown.bottom, before.bottom);

  struct Step {
    const char* what;
    std::function<void()> act;
    bool panelShown;
  } steps[] = {
      {"hidden", [&] { ShowWindow(list_, SW_HIDE); }, false}, {"shown", [&] { ShowWindow(list_, SW_SHOW); }, true},
      {"disabled", [&] { EnableWindow(list_, FALSE); }, false}, {"enabled", [&] { EnableWindow(list_, TRUE); }, true},
      {"search icon", [&] { SendMessageA(box->Edit(), WM_COMMAND, GetDlgCtrlID(box->SearchIcon()), LPARAM(box->SearchIcon())); }, false},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(IsWindowVisible(box->Panel()) != 0, step.panelShown) << step.what;
  }
  EXPECT_EQ(RectIn(list_, dialog_->Window()).top, before.top) << "the list has its full height back";

  auto resources = static_cast<HINSTANCE>(HostCall<25>(host::kResourceModule));
  auto icon = [&](int id) { return LoadImageA(resources, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_SHARED); };
  auto shownIcon = [](HWND label) { return HANDLE(SendMessageA(label, STM_GETICON, 0, 0)); };
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchIdleIcon));
  EXPECT_EQ(shownIcon(box->ClearIcon()), icon(kSearchClearIcon));
  TypeText(box->Edit(), "xy");
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchActiveIcon));
  FocusWatch focus;
  SendMessageA(box->Edit(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box->ClearIcon()), STN_CLICKED), LPARAM(box->ClearIcon()));
  EXPECT_EQ(WindowText(box->Edit()), "");
  EXPECT_EQ(ListTexts(list_).size(), 3u);
  EXPECT_EQ(shownIcon(box->SearchIcon()), icon(kSearchIdleIcon));
  EXPECT_TRUE(FocusWatch::Saw(box->Edit()));
  EXPECT_NE(icon(kSearchIdleIcon), nullptr);
}

// A check-list control hands its items over through its list box's property
// only: the search list shows them instead of the list box's own strings,
// filters them and answers their item data, and keeps copies of them.
TEST_F(SearchListBoxTest, ACheckListsItemsComeFromItsPropertyAndAreFilteredWithTheirData) {
  list_ = dialog_->Item(kSingleList);
  Send(LB_ADDSTRING, 0, LPARAM("своя строка"));
  std::string texts[] = {"Газпром", "Сбербанк", "СБЕР ап", "Лукойл"};
  const CheckListRecord records[] = {
      {texts[0].c_str(), 7}, {nullptr, 8}, {texts[1].c_str(), 9}, {texts[2].c_str(), 10}, {texts[3].c_str(), 11}};
  const CheckListData checkList = {5, records};
  ASSERT_NE(CheckListAtom(), 0);
  ASSERT_TRUE(SetPropA(list_, MAKEINTATOM(CheckListAtom()), HANDLE(&checkList)));
  SearchListBox* box = CreateSearchListBox(list_);
  RemovePropA(list_, MAKEINTATOM(CheckListAtom()));
  for (std::string& text : texts) text.assign(text.size(), 'z');
  ASSERT_NE(box, nullptr);

  const struct {
    const char* typed;
    Texts shown;
    std::vector<LRESULT> data;  // of each shown item and one past them
    const char* counter;
  } steps[] = {
      {"", {"Газпром", "Сбербанк", "СБЕР ап", "Лукойл"}, {7, 9, 10, 11, LB_ERR}, "<hidden>"},
      {"сбер", {"Сбербанк", "СБЕР ап"}, {9, 10, LB_ERR}, "2/4"},
      {"ОЙ", {"Лукойл"}, {11, LB_ERR}, "1/4"},
      {"", {"Газпром", "Сбербанк", "СБЕР ап", "Лукойл"}, {7, 9, 10, 11, LB_ERR}, "<hidden>"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.typed);
    Search(box, "");
    TypeText(box->Edit(), step.typed);
    EXPECT_EQ(ListTexts(list_), step.shown);
    std::vector<LRESULT> data;
    for (size_t shown = 0; shown < step.data.size(); ++shown) data.push_back(Send(LB_GETITEMDATA, shown));
    EXPECT_EQ(data, step.data);
    EXPECT_EQ(Counter(box), step.counter);
  }
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 4);
  EXPECT_EQ(Send(SLB_GETFULLITEMDATA, 3), 11);
}

// The counter and the icon label are drawn straight on the panel's colour.
TEST_F(SearchListBoxTest, ThePanelsLabelsHaveATransparentBackgroundInThePanelsColour) {
  SearchListBox* box = Attach(kSingleList, {"Cab"});
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(GetParent(box->IconLabel()), box->Edit());
  EXPECT_EQ(GetWindowLongA(box->IconLabel(), GWL_STYLE) & SS_TYPEMASK, SS_ICON);
  EXPECT_FALSE(IsWindowVisible(box->IconLabel())) << "nothing gives it an icon";
  for (HWND label : {box->Counter(), box->IconLabel()}) {
    HDC dc = GetDC(label);
    SetBkMode(dc, OPAQUE);
    const auto brush = HBRUSH(SendMessageA(box->Edit(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(label)));
    LOGBRUSH drawn = {};
    ASSERT_EQ(GetObjectA(brush, sizeof drawn, &drawn), int(sizeof drawn));
    EXPECT_EQ(drawn.lbColor, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(label, dc);
  }
}

TEST_F(SearchListBoxTest, AListBoxIsAttachedOnceGetsItsProcedureBackAndTheClassGoesWhenUnregistered) {
  list_ = dialog_->Item(kSingleList);
  const LONG_PTR own = GetWindowLongPtrA(list_, GWLP_WNDPROC);
  SearchListBox* box = Attach(kSingleList, {"Cab"});
  EXPECT_EQ(CreateSearchListBox(list_), box);
  EXPECT_EQ(SearchListBox::FromWindow(box->Panel()), box);
  HWND panel = box->Panel();
  DestroySearchListBox(list_);
  EXPECT_EQ(GetWindowLongPtrA(list_, GWLP_WNDPROC), own);
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_EQ(Send(LB_ADDSTRING, 0, LPARAM("xyz")), 1) << "a plain list box again";
  EXPECT_EQ(Send(SLB_GETFULLCOUNT), 0);

  WNDCLASSA info;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(GetClassInfoA(instance, kSearchListBoxClass, &info));
  EXPECT_EQ(info.lpfnWndProc, SearchPanelProc);
  EXPECT_EQ(GlobalFindAtomA("CHECKLISTDATA"), CheckListAtom());
  dialog_.reset();
  UnregisterSearchListBoxClass();
  EXPECT_FALSE(GetClassInfoA(instance, kSearchListBoxClass, &info));
  EXPECT_EQ(CheckListAtom(), 0) << "the plug-in's reference to the atom is given back";
  EXPECT_NE(RegisterSearchListBoxClass(), 0);
  EXPECT_TRUE(GetClassInfoA(instance, kSearchListBoxClass, &info));
  EXPECT_NE(CheckListAtom(), 0);
  EXPECT_EQ(GlobalFindAtomA("CHECKLISTDATA"), CheckListAtom());
}

}  // namespace
