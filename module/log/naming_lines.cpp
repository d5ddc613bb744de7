#include "module/log/naming_lines.h"

#include "module/log/vantrel_log.h"

std::vector<std::string> LinesNaming(const std::string& head, const std::vector<std::string>& names,
                                     const std::string& tail) {
  std::vector<std::string> lines;
  if (names.empty()) return lines;
  std::string line = head + names.front();
  for (size_t i = 1; i < names.size(); ++i) {
    if (line.size() + 2 + names[i].size() + tail.size() > kLogMessageLength) {
      lines.push_back(line + tail);
      line = head + names[i];
    } else {
      line += ", " + names[i];
    }
  }
  lines.push_back(line + tail);
  return lines;
}
