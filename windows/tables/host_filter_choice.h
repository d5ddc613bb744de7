// One of a table dialog's host filters (clients, trading accounts, firms):
// chosen in the host's filter dialog, or emptied when its box is cleared;
// the box then shows whether anything is chosen.
#pragma once

#include "sdk/host_api.h"

#include <windows.h>

void ChooseHostFilter(HWND dialog, int box, const char* title, host::ItemList* items, host::FilterSelection* filter,
                      bool fromBox);
