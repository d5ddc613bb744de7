// Client filter files: the clients a risk table shows or leaves out.
#pragma once

#include <windows.h>

#include <string>

// The profile functions the file is read with take a path shorter than
// MAX_PATH; past about 515 characters some of them fault the whole process.
bool ClientFilterPathFits(const std::string& path);

// What became of a filter file the module was asked to read.
enum class EClientFilterRead {
  kRead,
  // Refused before anything was touched: the filters stay as they were.
  kPathTooLong,
  // The file could not be opened: the filters are left empty, so the tables
  // show every client.
  kUnreadable,
};

// What the manager is told when a filter file's path is too long to read.
extern const char kClientFilterPathRefusal[];

// Tells the manager, in a box over owner, why the file was not read and
// what the tables now show; nothing when it was read.
void TellClientFilterFailure(HWND owner, EClientFilterRead result, const std::string& path);
