#pragma once

#include <string>

namespace DL::Testing {

// A second reader of the settings grammar, written line by line from the
// grammar table for the tests only, as plainly as possible and without any
// care for speed. Returns the same dump as DumpIni.
std::string ReferenceIniDump(const std::string& text, char commentChar);

}  // namespace DL::Testing
