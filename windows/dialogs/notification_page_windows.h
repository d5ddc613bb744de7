// The page windows of the notification settings dialog: one child dialog
// per risk parameter, filled from the settings when it is created, and the
// template sub-pages under the tabs of the pages that have two templates.
// Nothing reaches the settings before SaveNotificationPage.
#pragma once

#include <windows.h>

#include "windows/dialogs/notification_page_forms.h"

// The page as a child of the dialog, hidden, its control id the template id.
HWND CreateNotificationPage(HWND dialog, const TNotificationPage& page, const TModuleSettings& settings);
// The page and its template sub-pages into the settings; false when the
// page refuses its schedule.
bool SaveNotificationPage(HWND window, const TNotificationPage& page, TModuleSettings& settings);
// Fits every template sub-page into the display area of the page's tab
// control and shows the one of the selected tab.
void LayoutTabPages(HWND window, const TNotificationPage& page, int selected);
