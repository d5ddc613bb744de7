#include "dl/support/ini_dump.h"

namespace DL::Testing {

std::string DumpIni(const TIniFile& ini) {
  std::string dump;
  for (const std::string& name : ini.GetSectionNames()) {
    dump += "[" + name + "]\n";
    for (const auto& entry : ini.ReadSection(name)) {
      dump += entry.first + "=" + entry.second + "\n";
    }
  }
  return dump;
}

}  // namespace DL::Testing
