// The lines of the module's own text files (message bodies, address files):
// a carriage return ends a line and line feeds are dropped, so files written
// on any system read alike.
#pragma once

#include <functional>
#include <string>

// Calls onLine for every line, the last one too (even when empty); false when
// the file cannot be opened.
bool ForEachTextFileLine(const std::string& path, const std::function<void(const std::string&)>& onLine);
