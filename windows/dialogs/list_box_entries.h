// The items of a list box read into entries and written back from them. A
// list box with a search list answers for the items it shows.
#pragma once

#include "windows/dialogs/list_entries.h"

#include <windows.h>

TListEntries ReadListBoxEntries(HWND list);
// Replaces the items, their data and selection; the list is redrawn once.
void WriteListBoxEntries(HWND list, const TListEntries& entries);
// The data of the selected item of a single-selection list box, or -1.
int SelectedListBoxData(HWND list);
