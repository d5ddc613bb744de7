#pragma once

#include <string>
#include <vector>

// A fresh, empty folder for one test, removed with everything in it when the
// test ends; info.ini, the body files and the log of a test live there.
class CTempFolder {
 public:
  CTempFolder();
  ~CTempFolder();
  CTempFolder(const CTempFolder&) = delete;
  CTempFolder& operator=(const CTempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

// Raw file and profile access for checking what the module wrote.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// "<missing>" when the key is absent.
std::string ReadIniValue(const std::string& path, const char* section, const char* key);
void WriteIniValue(const std::string& path, const char* section, const char* key,
                   const std::string& value);
// Every message of a log (its lines' text after the stamp) that begins with
// start, each followed by "\n".
std::string LogMessages(const std::string& log, const std::string& start);
// The margin-call message files in folder, each as its UID line and its
// body's first line with "|" between them, sorted; the files are removed, so
// the next call sees only what was written since.
std::vector<std::string> TakeMessageFiles(const std::string& folder);
