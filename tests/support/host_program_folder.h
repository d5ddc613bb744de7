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
    for (const char* body : kBodyFiles) DeleteFileA(File(body).c_str());
  }

  // Each margin-call body goes into a file of its own beside info.ini when
  // the plug-in is unloaded; a long one left behind would be read by the
  // next test's plug-in.
  static constexpr const char* kBodyFiles[] = {"LowFundsBody", "SFRBody", "SFRBodyFP", "CLGOBody",
                                               "ECLGOBody",    "MLBody",  "UPBody",    "ML2Body",
                                               "SFRBody2",     "SFRBody2FP", "ML2Body2"};
};
