#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

// The buffer a settings string is read through unless its reader says
// otherwise: such a value keeps at most kProfileValueLength characters.
constexpr std::size_t kProfileValueBuffer = 512;
constexpr std::size_t kProfileValueLength = kProfileValueBuffer - 1;

// One section of a Windows profile (INI) file, read and written only through
// the Win32 private-profile functions with an explicit file path.
// Value conventions of the module's settings: flags are written "1"/"0" and any
// non-zero number reads as true; doubles are read with atof; colours are
// written as unsigned decimals.
class CProfileSection {
 public:
  // Strings are read through a buffer of bufferSize bytes, so they keep at
  // most bufferSize - 1 characters.
  CProfileSection(const std::string& path, const std::string& section,
                  std::size_t bufferSize = kProfileValueBuffer);

  int ReadInt(const char* key, int defaultValue) const;
  bool ReadBool(const char* key, bool defaultValue) const;
  double ReadDouble(const char* key, const char* defaultText) const;
  std::string ReadString(const char* key, const char* defaultText) const;
  // Reads the whole value however long it is.
  std::string ReadWholeString(const char* key, const char* defaultText) const;
  // The colour's current value is the default.
  std::uint32_t ReadColour(const char* key, std::uint32_t current) const;

  // The names of the file's sections and of this section's keys, in lower
  // case, as the profile functions compare them.
  static std::set<std::string> SectionNames(const std::string& path);
  std::set<std::string> KeyNames() const;

  void WriteString(const char* key, const std::string& value) const;
  void WriteInt(const char* key, int value) const;
  void WriteBool(const char* key, bool value) const;
  // format is "%f" for the settings' doubles, "%.2f" where two decimals are kept.
  void WriteDouble(const char* key, double value, const char* format = "%f") const;
  void WriteColour(const char* key, std::uint32_t value) const;

 private:
  std::string ReadThroughBuffer(const char* key, const char* defaultText, std::size_t bufferSize,
                                bool* filled) const;

  std::string m_path;
  std::string m_section;
  std::size_t m_bufferSize;
};
