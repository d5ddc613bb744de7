// The stdcall functions the list and the host's table services call back.
#pragma once

#include <windows.h>

#include "sdk/zlist_api.h"

// The list's callbacks; the first argument is the table (list property 1024).
int __stdcall TableRowDataCallback(void* table, int line, void* row, int position, char* text, int textSize,
                                   void* value);
int __stdcall TableRowNumberCallback(void* table, int line, void* row, int position, char* text, int textSize,
                                     void* value);
INT_PTR __stdcall TableSortCallback(void* table, void* row, int position, char* text, int textSize, void* value);
int __stdcall TableRowOrderCallback(void* table, void* first, void* second, int reserved);

// The list service's callbacks; the first argument is the view.
int __stdcall ListServiceDimensions(void* view, int* rows, int* fixedRows, int* columns, int* fourth);
int __stdcall ListServiceReady(void* view);
int __stdcall ListServiceColumns(void* view);
double __stdcall ListServiceCell(void* view, int mode, int titleFlag, int line, int position, char* text,
                                 int textSize, int* textFlag);

// The table service's callbacks, in the order of its block.
int __stdcall TableServiceShownCount(void* view);
double __stdcall TableServiceCellValue(void* view, int mode, void* row, int id, char* text, int titleFlag,
                                       int* textFlag);
const char* __stdcall TableServiceShownTitle(void* view, int position);
int __stdcall TableServiceShownId(void* view, int position);
int __stdcall TableServiceShownShortFlag(void* view, int position);
int __stdcall TableServiceShownKind(void* view, int position);
int __stdcall TableServiceSchemaCount(void* view);
const char* __stdcall TableServiceSchemaTitle(void* view, int n);
int __stdcall TableServiceSchemaId(void* view, int n);
int __stdcall TableServiceSchemaShortFlag(void* view, int n);
int __stdcall TableServiceSchemaKind(void* view, int n);
