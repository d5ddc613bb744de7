// The open-file dialog of the settings dialogs and the packed date and time
// of a file time.
#pragma once

#include <windows.h>

// The buffer holds the initial name on entry and the chosen path on return;
// true when the user chose an existing file.
bool BrowseForFile(HWND owner, char* buffer, DWORD bufferSize);

// Date YYYYMMDD and time HHMMSS of the file time; null outputs are skipped.
// False when the file time cannot be converted.
bool FileTimeToHhmmssYyyymmdd(const FILETIME& fileTime, int* date, int* time);
