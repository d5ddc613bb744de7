#include "windows/dialogs/list_entries.h"

#include <algorithm>
#include <utility>

namespace {
bool HasText(const TListEntries& entries, const std::string& text) {
  return std::any_of(entries.begin(), entries.end(), [&](const TListEntry& entry) { return entry.text == text; });
}
}  // namespace

void CopyEntries(const TListEntries& from, bool all, TListEntries& to) {
  for (TListEntry& entry : to) entry.selected = false;
  for (const TListEntry& entry : from)
    if ((all || entry.selected) && !HasText(to, entry.text)) to.push_back({entry.text, entry.data, true});
}

void RemoveSelectedEntries(TListEntries& entries) {
  entries.erase(std::remove_if(entries.begin(), entries.end(), [](const TListEntry& entry) { return entry.selected; }),
                entries.end());
}

// Walking from the end the items move towards, an item swaps with its
// neighbour only when the neighbour is not selected itself, so a selected
// block keeps its order and stops at the end.
void MoveSelectedEntries(TListEntries& entries, int step) {
  const int count = static_cast<int>(entries.size());
  const bool up = step < 0;
  for (int n = 0; n < count; ++n) {
    const int index = up ? n : count - 1 - n;
    const int target = index + (up ? -1 : 1);
    if (!entries[index].selected || target < 0 || target >= count || entries[target].selected) continue;
    std::swap(entries[index], entries[target]);
  }
}

bool AnySelected(const TListEntries& entries) {
  return std::any_of(entries.begin(), entries.end(), [](const TListEntry& entry) { return entry.selected; });
}
