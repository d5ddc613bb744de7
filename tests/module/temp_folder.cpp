#include "temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

CTempFolder::CTempFolder() {
  static unsigned counter = 0;
  const fs::path root = fs::temp_directory_path();
  do {
    m_path = (root / ("vantrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(++counter))).string();
  } while (!fs::create_directory(m_path));
}

CTempFolder::~CTempFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  if (!(file << bytes)) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) { return fs::exists(path); }

std::string ReadIniValue(const std::string& path, const char* section, const char* key) {
  std::vector<char> buffer(65536);
  DWORD length = GetPrivateProfileStringA(section, key, "<missing>", buffer.data(),
                                          static_cast<DWORD>(buffer.size()), path.c_str());
  return std::string(buffer.data(), length);
}

void WriteIniValue(const std::string& path, const char* section, const char* key,
                   const std::string& value) {
  WritePrivateProfileStringA(section, key, value.c_str(), path.c_str());
}

std::string LogMessages(const std::string& log, const std::string& start) {
  std::string messages;
  for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1))
    messages += log.substr(at, log.find_first_of("\r\n", at) - at) + "\n";
  return messages;
}

std::vector<std::string> TakeMessageFiles(const std::string& folder) {
  std::vector<std::string> calls;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\Msg*.txt").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    const std::string path = folder + "\\" + found.cFileName, text = ReadFileBytes(path);
    const size_t end = text.find("\r\n");
    calls.push_back(text.substr(0, end) + "|" + text.substr(end + 2, text.find("\r\n", end + 2) - end - 2));
    DeleteFileA(path.c_str());
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  std::sort(calls.begin(), calls.end());
  return calls;
}
