#include "module/settings/profile_section.h"

#include "module/settings/profile_write_batch.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <cstring>
#include <vector>

CProfileSection::CProfileSection(const std::string& path, const std::string& section,
                                 std::size_t bufferSize)
    : m_path(path), m_section(section), m_bufferSize(bufferSize < 2 ? 2 : bufferSize) {}

int CProfileSection::ReadInt(const char* key, int defaultValue) const {
  return static_cast<int>(
      GetPrivateProfileIntA(m_section.c_str(), key, defaultValue, m_path.c_str()));
}

bool CProfileSection::ReadBool(const char* key, bool defaultValue) const {
  return ReadInt(key, defaultValue ? 1 : 0) != 0;
}

double CProfileSection::ReadDouble(const char* key, const char* defaultText) const {
  return std::atof(ReadString(key, defaultText).c_str());
}

std::string CProfileSection::ReadString(const char* key, const char* defaultText) const {
  bool filled = false;
  return ReadThroughBuffer(key, defaultText, m_bufferSize, &filled);
}

std::string CProfileSection::ReadWholeString(const char* key, const char* defaultText) const {
  // The profile function cuts a value that does not fit and then reports the
  // buffer as full; grow until it fits.
  std::size_t size = m_bufferSize;
  for (;;) {
    bool filled = false;
    std::string value = ReadThroughBuffer(key, defaultText, size, &filled);
    if (!filled) return value;
    size *= 2;
  }
}

std::uint32_t CProfileSection::ReadColour(const char* key, std::uint32_t current) const {
  char defaultText[16];
  std::snprintf(defaultText, sizeof(defaultText), "%lu", static_cast<unsigned long>(current));
  std::string text = ReadString(key, defaultText);
  return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

std::string CProfileSection::ReadThroughBuffer(const char* key, const char* defaultText,
                                               std::size_t bufferSize, bool* filled) const {
  std::vector<char> buffer(bufferSize, '\0');
  DWORD length = GetPrivateProfileStringA(m_section.c_str(), key, defaultText, buffer.data(),
                                          static_cast<DWORD>(buffer.size()), m_path.c_str());
  *filled = length + 1 >= bufferSize;
  return std::string(buffer.data(), length);
}

namespace {
// A list of names, each ended by a zero and the list by another, read
// through a buffer grown until the list fits.
std::set<std::string> ReadNameList(const std::function<DWORD(char*, DWORD)>& read) {
  std::vector<char> buffer(4096);
  for (;;) {
    const DWORD length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length + 2 < buffer.size()) {
      std::set<std::string> names;
      for (const char* name = buffer.data(); *name != 0 && name < buffer.data() + length;
           name += std::strlen(name) + 1) {
        std::string lower(name);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.insert(lower);
      }
      return names;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}
}  // namespace

std::set<std::string> CProfileSection::SectionNames(const std::string& path) {
  return ReadNameList([&](char* buffer, DWORD size) {
    return GetPrivateProfileSectionNamesA(buffer, size, path.c_str());
  });
}

std::set<std::string> CProfileSection::KeyNames() const {
  return ReadNameList([&](char* buffer, DWORD size) {
    return GetPrivateProfileStringA(m_section.c_str(), nullptr, "", buffer, size, m_path.c_str());
  });
}

void CProfileSection::WriteString(const char* key, const std::string& value) const {
  if (CProfileWriteBatch* batch = CProfileWriteBatch::Of(m_path))
    batch->Write(m_section, key, value);
  else
    WritePrivateProfileStringA(m_section.c_str(), key, value.c_str(), m_path.c_str());
}

void CProfileSection::WriteInt(const char* key, int value) const {
  WriteString(key, std::to_string(value));
}

void CProfileSection::WriteBool(const char* key, bool value) const {
  WriteString(key, value ? "1" : "0");
}

void CProfileSection::WriteDouble(const char* key, double value, const char* format) const {
  char text[512];
  std::snprintf(text, sizeof(text), format, value);
  WriteString(key, text);
}

void CProfileSection::WriteColour(const char* key, std::uint32_t value) const {
  WriteString(key, std::to_string(static_cast<unsigned long>(value)));
}
