// A folder of scratch files for a test, removed with everything written to it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

class TempFolder {
 public:
  explicit TempFolder(const std::string& name) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    m_path = std::string(base) + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& file : m_files) DeleteFileA(file.c_str());
    RemoveDirectoryA(m_path.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = m_path + "\\" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    m_files.push_back(path);
    return path;
  }

 private:
  std::string m_path;
  std::vector<std::string> m_files;
};
