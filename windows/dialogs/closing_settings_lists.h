// The lists of the closing settings as the closing settings dialog shows
// them: the live patterns in a combo box or list box, the auto-close
// schedule in a list view. Every item carries the index of its pattern or
// schedule entry as its data, so a sorted control still finds its entry.
#pragma once

#include "module/settings/closing_settings.h"
#include "windows/dialogs/dialog_controls.h"

#include <windows.h>

#include <vector>

// The live patterns by name, the default pattern's marked " [Основной]",
// each with its index as data.
std::vector<TControlItem> PatternItems(const TClosingSettings& closing);

// Empties the control and adds each live pattern by its name, the default
// pattern's marked " [Основной]".
void FillPatternList(HWND dialog, int controlId, const TClosingSettings& closing, bool combo);

// Empties the list view and adds one row per auto-close entry: its time, the
// name of its pattern (empty when the index names none) and "Да" or "Нет"
// for all clients. The list view has its three columns already.
void FillScheduleList(const TClosingSettings& closing, HWND listView);
