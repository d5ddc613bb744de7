// Client filter files: the clients a risk table shows or leaves out.
#pragma once

#include <string>

// The profile functions the file is read with take a path shorter than
// MAX_PATH; past about 515 characters some of them fault the whole process.
bool ClientFilterPathFits(const std::string& path);

// What the manager is told when a filter file's path is too long to read.
extern const char kClientFilterPathRefusal[];
