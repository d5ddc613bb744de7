#include "sdk/search_list_items.h"

#include <windows.h>

#include <algorithm>

namespace {
std::string Upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}
}  // namespace

bool SearchListItems::Matches(const std::string& itemText) const {
  return upperSearchText_.empty() || Upper(itemText).find(upperSearchText_) != std::string::npos;
}

SearchListItem* SearchListItems::Full(int fullIndex) const {
  if (fullIndex < 0 || fullIndex >= FullCount()) return nullptr;
  return full_[static_cast<size_t>(fullIndex)].get();
}

SearchListItem* SearchListItems::Shown(int shownIndex) const {
  if (shownIndex < 0 || shownIndex >= ShownCount()) return nullptr;
  return shown_[static_cast<size_t>(shownIndex)];
}

int SearchListItems::SortedPosition(const std::string& text) const {
  const auto after = std::upper_bound(full_.begin(), full_.end(), text,
                                      [](const std::string& value, const std::unique_ptr<SearchListItem>& item) {
                                        return lstrcmpA(value.c_str(), item->text.c_str()) < 0;
                                      });
  return static_cast<int>(after - full_.begin());
}

// The shown list keeps full-list order, so the first shown item with a full
// index not below the given one is where an item of that index belongs.
int SearchListItems::ShownPlaceOf(int fullIndex) const {
  const auto place = std::lower_bound(shown_.begin(), shown_.end(), fullIndex,
                                      [](const SearchListItem* item, int index) { return item->fullIndex < index; });
  return static_cast<int>(place - shown_.begin());
}

void SearchListItems::RenumberFrom(int fullIndex) {
  for (int index = fullIndex; index < FullCount(); ++index) full_[static_cast<size_t>(index)]->fullIndex = index;
}

SearchListItems::Placed SearchListItems::Insert(const std::string& text, uint32_t data, int at) {
  int position = sorted_ ? SortedPosition(text) : at;
  if (position < 0 || position > FullCount()) position = FullCount();
  auto item = std::make_unique<SearchListItem>();
  item->text = text;
  item->data = data;
  SearchListItem* added = item.get();
  full_.insert(full_.begin() + position, std::move(item));
  RenumberFrom(position);
  if (!Matches(text)) return {position, -1};
  const int shownIndex = ShownPlaceOf(position);
  shown_.insert(shown_.begin() + shownIndex, added);
  return {position, shownIndex};
}

bool SearchListItems::EraseFull(int fullIndex, int* shownIndex) {
  SearchListItem* item = Full(fullIndex);
  if (item == nullptr) return false;
  const int place = ShownPlaceOf(fullIndex);
  const bool shown = place < ShownCount() && shown_[static_cast<size_t>(place)] == item;
  if (shown) shown_.erase(shown_.begin() + place);
  if (shownIndex != nullptr) *shownIndex = shown ? place : -1;
  full_.erase(full_.begin() + fullIndex);
  RenumberFrom(fullIndex);
  return true;
}

bool SearchListItems::EraseShown(int shownIndex) {
  const SearchListItem* item = Shown(shownIndex);
  return item != nullptr && EraseFull(item->fullIndex, nullptr);
}

void SearchListItems::Clear() {
  shown_.clear();
  full_.clear();
}

void SearchListItems::SetSearchText(const std::string& text) {
  searchText_ = text;
  upperSearchText_ = Upper(text);
  shown_.clear();
  for (const auto& item : full_)
    if (Matches(item->text)) shown_.push_back(item.get());
}
