// The items of a multiple-selection list box as the dialog's logic moves
// them between lists, so the moves can be checked without a window.
#pragma once

#include <string>
#include <vector>

struct TListEntry {
  std::string text;
  int data;
  bool selected;
};
using TListEntries = std::vector<TListEntry>;

// Copies the items of from (every one, or only the selected ones) to the
// end of to, with their data and selected; an item whose text to already
// has is not copied again. What to had selected before is no longer.
void CopyEntries(const TListEntries& from, bool all, TListEntries& to);
void RemoveSelectedEntries(TListEntries& entries);
// Each selected item one place up (step -1) or down (step 1), keeping its
// data and selection; an item already at that end stays, and so do the
// selected items packed against it.
void MoveSelectedEntries(TListEntries& entries, int step);
bool AnySelected(const TListEntries& entries);
