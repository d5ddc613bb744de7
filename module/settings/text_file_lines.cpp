#include "module/settings/text_file_lines.h"

#include <cstdio>

bool ForEachTextFileLine(const std::string& path, const std::function<void(const std::string&)>& onLine) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::string line;
  for (int c = std::fgetc(file);; c = std::fgetc(file)) {
    if (c == EOF || c == '\r') {
      onLine(line);
      line.clear();
      if (c == EOF) break;
    } else if (c != '\n') {
      line += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return true;
}
