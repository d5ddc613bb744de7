// Inspection functions of the stand-in list library, for tests only: what a
// cell shows as the list draws it.
#pragma once

#include "sdk/zlist_api.h"

// Text, background and text colour of a cell as drawn (selection and system
// colours resolved). 0 when the list, the line or the column does not exist.
ZLIST_API int ZListInspectCell(HWND list, int line, int column, char* text, int textSize, COLORREF* back,
                               COLORREF* fore);
