// The host's list library (zlist.dll): the functions the table view calls.
// Plain C exports (cdecl, undecorated names); every callback the list calls
// back is stdcall. Every function takes the list window first.
#pragma once

#include <windows.h>
#include <stdint.h>

#ifdef ZLIST_BUILDING_DLL
#define ZLIST_API extern "C" __declspec(dllexport)
#else
#define ZLIST_API extern "C" __declspec(dllimport)
#endif

// Answer of GetPropertyWithData for line data the list does not hold.
enum { ZLIST_NO_LINE = 0x7FFFFFFF };

// Properties of a cell, a line (column -1), a column (line -1) or the whole
// list (both -1). A more precise setting wins over a wider one.
enum ZListProperty {
  ZLIST_PROP_BACK_COLOUR = 1,      // COLORREF, or 0x80000000 | system colour index
  ZLIST_PROP_TEXT_COLOUR = 2,
  ZLIST_PROP_SELECTED_BACK = 4,
  ZLIST_PROP_SELECTED_TEXT = 8,
  ZLIST_PROP_CHAR_SIZE = 32,       // per-column character metric (negative: numeric)
  ZLIST_PROP_FONT = 128,           // HFONT; 0 resets to the list's font
  ZLIST_PROP_DATA_CALLBACK = 512,  // ZListCellCallback of a cell range
  ZLIST_PROP_DATA = 1024           // line data of a line; the callback context of the list
};

// Cell styles (SetStyle value and mask).
enum ZListStyle {
  ZLIST_STYLE_FIXED_LOOK = 0x002,  // drawn as a button face
  ZLIST_STYLE_ALIGN_RIGHT = 0x008
};

// Notification message sent to the list's parent: wParam = code, lParam =
// ZListCommandRecord*. The list acts on codes 16 and 17 only when the answer
// is non-zero.
enum { ZLIST_WM_COMMAND = 3024 };
enum ZListCommandCode {
  ZLIST_CMD_CONTEXT = 2,        // right button on a cell
  ZLIST_CMD_DOUBLE_CLICK = 4,   // double click on a cell
  ZLIST_CMD_COLUMN_QUERY = 9,   // answer 1 for a numeric column
  ZLIST_CMD_COLUMN_MOVED = 16,  // source -> target
  ZLIST_CMD_COLUMN_REMOVED = 17 // source
};
// Message to the list: lParam = column position; the next WM_GETTEXT of the
// list answers that column's title.
enum { ZLIST_WM_SELECT_TITLE = 2026 };

#pragma pack(push, 1)
struct ZListCommandRecord {
  HWND list;
  uint32_t controlId;
  uint32_t code;
  uint32_t reserved1[2];
  int32_t line;          // byte 20; -1 when no line is concerned
  int32_t column;        // byte 24; -1 when no column is concerned
  uint8_t reserved2[44];
  int32_t source;        // byte 72
  int32_t target;        // byte 76
};
#pragma pack(pop)
static_assert(sizeof(ZListCommandRecord) == 80, "list command record layout");

// Value type of a column: how the list reads the 8-byte value of a cell.
struct ZListColumnDesc {
  uint16_t valueType;    // 1 int32, 2 double, 4 double sorted as int64,
                         // 7 and 8 FILETIME, 3, 5, 6 text
  uint16_t reserved;
  uint32_t one;
};

struct ZListSortField {
  int32_t column;        // column position (the view stores the identifier)
  int32_t ascending;     // 1 ascending, 0 descending
};

// Cell data: writes the text (truncated to textSize, terminated) and the
// value (8 bytes, typed by the column) of a cell; returns 1.
typedef int(__stdcall* ZListCellCallback)(void* context, int line, void* lineData, int column,
                                          char* text, int textSize, void* value);
// Sort value: lineData null asks whether the column sorts as text (non-zero).
// Otherwise writes the text or the 8-byte value and returns lineData.
typedef INT_PTR(__stdcall* ZListSortCallback)(void* context, void* lineData, int column,
                                              char* text, int textSize, void* value);
// Default order of two lines: negative, 0 or positive.
typedef int(__stdcall* ZListOrderCallback)(void* context, void* first, void* second, int reserved);

ZLIST_API HWND CreateListClientEx(HINSTANCE instance, HWND parent, int flags);
ZLIST_API int SetSuspendedInvalidation(HWND list, int flags);
ZLIST_API int ListSortEnable(HWND list, ZListSortCallback callback, void* context);
ZLIST_API int EnableColumnsDND(HWND list, int enable);
ZLIST_API int ListFilteringEnable(HWND list, ZListCellCallback callback, void* context);
ZLIST_API int ListFormattingEnable(HWND list, ZListCellCallback callback, void* context);
ZLIST_API int SetFixed(HWND list, int rows, int columns);
ZLIST_API int AddColumn(HWND list, int width, const ZListColumnDesc* desc);
ZLIST_API int ListDefSortEnableEx(HWND list, ZListOrderCallback callback, void* context, int a, int b);
ZLIST_API int InsLineWithData(HWND list, void* data);
ZLIST_API int UpdateLineWithData(HWND list, void* data);
ZLIST_API int DelLineWithData(HWND list, void* data);
ZLIST_API int GetDefaultIndex(HWND list, void* data);
ZLIST_API int SetRowDataCallBack(HWND list, int line, ZListCellCallback callback);
ZLIST_API int SetData(HWND list, int line, int column, const char* text);
ZLIST_API int SetStyle(HWND list, int line, int column, int style, int mask);
ZLIST_API int SetProperty(HWND list, int line, int column, int property, INT_PTR value);
ZLIST_API INT_PTR GetProperty(HWND list, int line, int column, int property);
ZLIST_API int SetPropertyWithData(HWND list, void* data, int column, int property, INT_PTR value);
ZLIST_API int ResetPropertyWithData(HWND list, void* data, int column, int property);
ZLIST_API INT_PTR GetPropertyWithData(HWND list, void* data, int column, int property);
ZLIST_API int SetLineHeight(HWND list, int height);
ZLIST_API int SetStandardSchema(HWND list);
ZLIST_API int GetColumnWidth(HWND list, int column);
ZLIST_API int GetXSize(HWND list, int* width);
ZLIST_API int GetNRows(HWND list);
ZLIST_API int GetNFixedRows(HWND list);
ZLIST_API int GetNColumns(HWND list);
ZLIST_API int DelLines(HWND list, int first, int count);
ZLIST_API int GetSelection(HWND list);
ZLIST_API int SetSelection(HWND list, int line, int select);
ZLIST_API int ListGetSortFields(HWND list, int count, ZListSortField* fields);
ZLIST_API int ListSetSortFields(HWND list, int count, const ZListSortField* fields);
ZLIST_API int ListGetFiltersEx(HWND list, int count, void* records);
ZLIST_API int ListSetFiltersEx(HWND list, int count, const void* records);
ZLIST_API int ListGetFormatting(HWND list);
ZLIST_API int ListGetFormattingEx(HWND list, int count, void* records);
ZLIST_API int ListSetFormattingEx(HWND list, int count, const void* records);

// Sizes of the list's filter and formatting array elements.
enum { ZLIST_FILTER_RECORD_SIZE = 552, ZLIST_FORMAT_RECORD_SIZE = 1056 };
