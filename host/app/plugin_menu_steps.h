// host.exe's steps on the plug-in's own menu and the dialogs it opens: the
// item of a command the plug-in knows by its own id is clicked, and the modal
// dialog shown is closed with Cancel, as a user would.
#pragma once

#include <windows.h>

#include <string>

// The host's menu bar carries the plug-in's items under ids the host handed
// out; the item is found by the caption the plug-in's menu resource gives its
// own id. The click is posted, so a dialog it opens runs from the host's
// loop rather than inside the step. Returns the caption, empty when the
// plug-in or the menu bar has no such item.
std::string ClickPluginMenuCommand(HWND frame, HMODULE plugin, int ownId);

// Selects the n-th item (from 1) of the page tree in the thread's dialog,
// counting every item from the top as if all were expanded; the dialog shows
// that item's page as on a click. Returns the item's text, or false when no
// dialog with a tree is shown or its tree has fewer items.
bool SelectDialogPage(int nth, std::string* caption);

// Presses Cancel in the thread's dialog; returns its caption, or false when
// none is shown.
bool CancelShownDialog(std::string* caption);
