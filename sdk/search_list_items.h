// The items of a search list: every item in full-list order and the ones
// that match the search text, in the same order. Knows nothing of windows,
// so the list box and its tests share one set of rules.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

struct SearchListItem {
  int fullIndex = 0;  // position in the full list
  std::string text;
  uint32_t data = 0;
  bool selected = false;
};

class SearchListItems {
 public:
  // Where an item went: its full-list index and its place in the shown list
  // (-1 when it does not match the search text).
  struct Placed {
    int fullIndex;
    int shownIndex;
  };

  // At full-list index `at` (-1 or past the end appends); a sorted list puts
  // it where the texts stay in lstrcmpA order.
  Placed Insert(const std::string& text, uint32_t data, int at);
  // Removes full item `fullIndex`; returns the shown place it left (-1 when
  // it was not shown). False when there is no such item.
  bool EraseFull(int fullIndex, int* shownIndex);
  bool EraseShown(int shownIndex);
  void Clear();

  // Rebuilds the shown list for the text; the selected flags stay.
  void SetSearchText(const std::string& text);
  const std::string& SearchText() const { return searchText_; }
  bool Matches(const std::string& itemText) const;

  void SetSorted(bool sorted) { sorted_ = sorted; }
  bool Sorted() const { return sorted_; }

  int FullCount() const { return static_cast<int>(full_.size()); }
  int ShownCount() const { return static_cast<int>(shown_.size()); }
  // Null out of range.
  SearchListItem* Full(int fullIndex) const;
  SearchListItem* Shown(int shownIndex) const;

 private:
  int SortedPosition(const std::string& text) const;
  int ShownPlaceOf(int fullIndex) const;
  void RenumberFrom(int fullIndex);

  std::vector<SearchListItem*> shown_;
  std::vector<std::unique_ptr<SearchListItem>> full_;
  std::string searchText_;
  std::string upperSearchText_;
  bool sorted_ = false;
};
