// Patterns deleted in the closing settings dialog leave the list when its
// edits are put in force; the schedule and the default follow.
#include "module/settings/closing_pattern_removal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ClosingPatternRemoval, LaterIndicesShiftDownAndThoseOfDeletedPatternsNameNone) {
  const struct {
    std::string deleted;  // marks of the five patterns A..E
    int defaultPattern;
    std::vector<int> renumbering;
    std::string left;
    int defaultAfter;
  } cases[] = {
      {"00000", 4, {0, 1, 2, 3, 4}, "ABCDE", 4},
      {"01010", 4, {0, -1, 1, -1, 2}, "ACE", 2},
      {"10001", 2, {-1, 0, 1, 2, -1}, "BCD", 1},
      {"11111", -1, {-1, -1, -1, -1, -1}, "", -1},
  };
  for (const auto& c : cases) {
    TClosingSettings closing;
    for (int n = 0; n < 5; ++n) {
      closing.Patterns.push_back(std::make_unique<TClosingPattern>());
      closing.Patterns.back()->PatternName = std::string(1, static_cast<char>('A' + n));
      closing.Patterns.back()->Deleted = c.deleted[n] == '1';
    }
    closing.DefaultPattern = c.defaultPattern;
    for (int pattern : {-1, 0, 1, 2, 3, 4, 5}) closing.AddAutoCloseEntry(600, pattern, 1);
    EXPECT_EQ(RemoveDeletedPatterns(closing), c.renumbering) << c.deleted;
    std::string left;
    for (const auto& pattern : closing.Patterns) left += pattern->PatternName;
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(closing.DefaultPattern, c.defaultAfter) << c.deleted;
    std::vector<int> entries;
    for (const TScheduleEntry& entry : closing.AutoCloseSchedule) entries.push_back(entry.PatternIndex);
    std::vector<int> expected = {-1};
    expected.insert(expected.end(), c.renumbering.begin(), c.renumbering.end());
    expected.push_back(-1);  // an index past the list names no pattern
    EXPECT_EQ(entries, expected) << c.deleted;
  }
}

}  // namespace
