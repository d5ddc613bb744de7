#pragma once

#include <string>

#include "dl/store/ini_file.h"

namespace DL::Testing {

// The whole content of a reader as one text: "[name]" for each section in
// the reader's order, then "key=value" and a line feed for each of its keys.
std::string DumpIni(const TIniFile& ini);

}  // namespace DL::Testing
