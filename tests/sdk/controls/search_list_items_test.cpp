// The search list's items without a window: where added items go in the full
// and the shown list, what matches, and what a deletion leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdk/search_list_items.h"

namespace {

using Texts = std::vector<std::string>;

Texts FullTexts(const SearchListItems& items) {
  Texts texts;
  for (int index = 0; index < items.FullCount(); ++index) texts.push_back(items.Full(index)->text);
  return texts;
}

Texts ShownTexts(const SearchListItems& items) {
  Texts texts;
  for (int index = 0; index < items.ShownCount(); ++index) texts.push_back(items.Shown(index)->text);
  return texts;
}

SearchListItems ItemsOf(const Texts& texts, const std::string& search) {
  SearchListItems items;
  items.SetSearchText(search);
  for (const std::string& text : texts) items.Insert(text, 0, -1);
  return items;
}

TEST(SearchListItemsTest, AddedItemsGoToTheFullListAndMatchingOnesToTheShownList) {
  struct Case {
    bool sorted;
    const char* search;
    Texts added;
    std::vector<SearchListItems::Placed> placed;
    Texts full, shown;
  } cases[] = {
      {false, "", {"Cab", "ABC", "xyz"}, {{0, 0}, {1, 1}, {2, 2}}, {"Cab", "ABC", "xyz"}, {"Cab", "ABC", "xyz"}},
      {false, "ab", {"Cab", "ABC", "xyz"}, {{0, 0}, {1, 1}, {2, -1}}, {"Cab", "ABC", "xyz"}, {"Cab", "ABC"}},
      {true, "", {"xyz", "Cab", "ABC"}, {{0, 0}, {0, 0}, {0, 0}}, {"ABC", "Cab", "xyz"}, {"ABC", "Cab", "xyz"}},
      {true, "сбер", {"Сбербанк", "Газпром", "СБЕР ап", "Аэрофлот"}, {{0, 0}, {0, -1}, {1, 0}, {0, -1}},
       {"Аэрофлот", "Газпром", "СБЕР ап", "Сбербанк"}, {"СБЕР ап", "Сбербанк"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("search ") + c.search + (c.sorted ? ", sorted" : ""));
    SearchListItems items;
    items.SetSorted(c.sorted);
    items.SetSearchText(c.search);
    for (size_t n = 0; n < c.added.size(); ++n) {
      const SearchListItems::Placed placed = items.Insert(c.added[n], 0, -1);
      EXPECT_EQ(placed.fullIndex, c.placed[n].fullIndex) << c.added[n];
      EXPECT_EQ(placed.shownIndex, c.placed[n].shownIndex) << c.added[n];
    }
    EXPECT_EQ(FullTexts(items), c.full);
    EXPECT_EQ(ShownTexts(items), c.shown);
    for (int index = 0; index < items.FullCount(); ++index) EXPECT_EQ(items.Full(index)->fullIndex, index);
  }
}

TEST(SearchListItemsTest, AnItemInsertedAtAFullIndexFindsItsPlaceAmongTheShownOnes) {
  struct Case {
    int at;
    const char* text;
    SearchListItems::Placed placed;
    Texts shown;
  } cases[] = {
      {2, "Slab", {2, 2}, {"Cab", "ABC", "Slab"}},
      {1, "zz", {1, -1}, {"Cab", "ABC"}},
      {0, "abab", {0, 0}, {"abab", "Cab", "ABC"}},
      {1, "kab", {1, 1}, {"Cab", "kab", "ABC"}},
      {10, "ab", {3, 2}, {"Cab", "ABC", "ab"}},
      {-1, "ab", {3, 2}, {"Cab", "ABC", "ab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.at));
    SearchListItems items = ItemsOf({"Cab", "ABC", "xyz"}, "ab");
    const SearchListItems::Placed placed = items.Insert(c.text, 7, c.at);
    EXPECT_EQ(placed.fullIndex, c.placed.fullIndex);
    EXPECT_EQ(placed.shownIndex, c.placed.shownIndex);
    EXPECT_EQ(ShownTexts(items), c.shown);
    EXPECT_EQ(items.Full(placed.fullIndex)->data, 7u);
  }
}

TEST(SearchListItemsTest, TheTextMatchesAnywhereWithoutRegardToCase) {
  struct Case {
    const char* search;
    const char* text;
    bool matches;
  } cases[] = {
      {"", "что угодно", true},     {"ab", "Cab", true},           {"AB", "cab", true},
      {"ab", "a b", false},         {"сбер", "Сбербанк", true},    {"БАНК", "сбербанк", true},
      {"ёж", "ЁЖИК", true},         {"газ", "Сбербанк", false},    {"Cab!", "Cab", false},
  };
  for (const Case& c : cases) {
    SearchListItems items;
    items.SetSearchText(c.search);
    EXPECT_EQ(items.Matches(c.text), c.matches) << c.search << " in " << c.text;
  }
}

// Deleting by full index takes the item out of the shown list as well, so
// nothing shown points at an item that is gone.
TEST(SearchListItemsTest, AnItemErasedByItsFullIndexLeavesTheShownListToo) {
  struct Case {
    int fullIndex;
    bool erased;
    int shownPlace;
    Texts full, shown;
  } cases[] = {
      {0, true, 0, {"ABC", "xyz"}, {"ABC"}},
      {1, true, 1, {"Cab", "xyz"}, {"Cab"}},
      {2, true, -1, {"Cab", "ABC"}, {"Cab", "ABC"}},
      {3, false, -1, {"Cab", "ABC", "xyz"}, {"Cab", "ABC"}},
      {-1, false, -1, {"Cab", "ABC", "xyz"}, {"Cab", "ABC"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("full index " + std::to_string(c.fullIndex));
    SearchListItems items = ItemsOf({"Cab", "ABC", "xyz"}, "ab");
    int shownPlace = -2;
    EXPECT_EQ(items.EraseFull(c.fullIndex, &shownPlace), c.erased);
    if (c.erased) {
      EXPECT_EQ(shownPlace, c.shownPlace);
    }
    EXPECT_EQ(FullTexts(items), c.full);
    EXPECT_EQ(ShownTexts(items), c.shown);
    for (int index = 0; index < items.ShownCount(); ++index)
      EXPECT_EQ(items.Full(items.Shown(index)->fullIndex), items.Shown(index));
  }
}

TEST(SearchListItemsTest, AShownItemErasedLeavesBothListsAndANewSearchKeepsTheSelectedFlags) {
  SearchListItems items = ItemsOf({"Cab", "ABC", "xyz", "dab"}, "ab");
  EXPECT_TRUE(items.EraseShown(1));
  EXPECT_FALSE(items.EraseShown(3));
  EXPECT_EQ(FullTexts(items), Texts({"Cab", "xyz", "dab"}));
  EXPECT_EQ(ShownTexts(items), Texts({"Cab", "dab"}));
  EXPECT_EQ(items.Shown(1)->fullIndex, 2);
  items.Shown(1)->selected = true;
  items.SetSearchText("");
  EXPECT_EQ(ShownTexts(items), Texts({"Cab", "xyz", "dab"}));
  EXPECT_EQ(std::vector<bool>({items.Full(0)->selected, items.Full(1)->selected, items.Full(2)->selected}),
            std::vector<bool>({false, false, true}));
  items.Clear();
  EXPECT_EQ(items.FullCount() + items.ShownCount(), 0);
}

}  // namespace
