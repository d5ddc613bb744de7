// The folder of the running test program: the plug-in keeps info.ini and its
// log there, as it does beside the terminal's program.
#pragma once

#include <windows.h>

#include <string>

inline std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

// Removes the plug-in's files beside the test program before and after a test,
// so no test sees another's settings or log.
class CleanHostProgramFolder {
 public:
  CleanHostProgramFolder() { Clean(); }
  ~CleanHostProgramFolder() { Clean(); }
  std::string File(const char* name) const { return TestProgramFolder() + "\\" + name; }

 private:
  void Clean() const {
    DeleteFileA(File("info.ini").c_str());
    DeleteFileA(File("VantrelFM.log").c_str());
  }
};
