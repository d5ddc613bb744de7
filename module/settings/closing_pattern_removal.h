// Patterns the closing settings dialog marked deleted leave the list when the
// edits are put in force; whatever named a pattern by its index follows.
#pragma once

#include "module/settings/closing_settings.h"

#include <vector>

// Drops the patterns marked deleted. The answer maps each old index to the
// new one, -1 for a dropped pattern. The auto-close entries and
// DefaultPattern are renumbered with it.
std::vector<int> RemoveDeletedPatterns(TClosingSettings& closing);

// An index renumbered: one that named a dropped pattern, or no pattern at
// all, names none (-1) afterwards.
int RenumberedPattern(const std::vector<int>& renumbering, int index);
