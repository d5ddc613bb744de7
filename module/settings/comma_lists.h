#pragma once

#include <string>
#include <vector>

typedef std::vector<std::string> StringList;

// Closing lists: every blank is dropped, "," ends an item, empty items are
// not kept. "A1 , B2,,C3" gives A1, B2, C3.
void SplitCommaList(const std::string& text, StringList& list);

// The items joined with ", "; an empty list gives an empty text.
std::string JoinWithComma(const StringList& list);
