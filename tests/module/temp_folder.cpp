#include "temp_folder.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

CTempFolder::CTempFolder() {
  char base[MAX_PATH];
  DWORD length = GetTempPathA(sizeof(base), base);
  if (length == 0 || length >= sizeof(base)) throw std::runtime_error("no temporary folder");
  std::string root(base, length);
  if (!root.empty() && root.back() == '\\') root.pop_back();
  static unsigned counter = 0;
  for (;;) {
    m_path = root + "\\vantrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    if (CreateDirectoryA(m_path.c_str(), NULL)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + m_path);
  }
}

CTempFolder::~CTempFolder() { RemoveTree(m_path); }

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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
