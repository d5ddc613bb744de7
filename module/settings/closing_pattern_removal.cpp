#include "module/settings/closing_pattern_removal.h"

#include <utility>

namespace {
constexpr int kNoPattern = -1;
}

std::vector<int> RemoveDeletedPatterns(TClosingSettings& closing) {
  std::vector<int> renumbering;
  std::vector<std::unique_ptr<TClosingPattern>> kept;
  for (std::unique_ptr<TClosingPattern>& pattern : closing.Patterns) {
    const bool dropped = pattern == nullptr || pattern->Deleted;
    renumbering.push_back(dropped ? kNoPattern : static_cast<int>(kept.size()));
    if (!dropped) kept.push_back(std::move(pattern));
  }
  closing.Patterns = std::move(kept);
  for (TScheduleEntry& entry : closing.AutoCloseSchedule)
    entry.PatternIndex = RenumberedPattern(renumbering, entry.PatternIndex);
  closing.DefaultPattern = RenumberedPattern(renumbering, closing.DefaultPattern);
  return renumbering;
}

int RenumberedPattern(const std::vector<int>& renumbering, int index) {
  if (index < 0 || index >= static_cast<int>(renumbering.size())) return kNoPattern;
  return renumbering[index];
}
