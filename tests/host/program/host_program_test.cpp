// host.exe opens its frame maximized, as a risk manager keeps the terminal:
// a table the plug-in opens takes its default size from the host's MDI area,
// so a frame smaller than the screen would cut off columns the screen has
// room for.
#include "support/host_program_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {
struct FrameSearch {
  DWORD process;
  HWND frame;
};

// The frame is the program's visible top-level window with a menu bar.
BOOL CALLBACK FindFrame(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<FrameSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window) || GetMenu(window) == nullptr) return TRUE;
  search->frame = window;
  return FALSE;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TEST(HostProgram, OpensItsFrameMaximizedWithThePluginLoaded) {
  CleanHostProgramFolder folder;  // the plug-in keeps its files beside host.exe
  const std::string ready = folder.File("host-program-ready.txt");
  DeleteFileA(ready.c_str());
  std::string line = "\"" + folder.File("host.exe") + "\" --ready-file \"" + ready + "\" --exit-after 2";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, TestProgramFolder().c_str(),
                             &startup, &process));
  for (int waited = 0; waited < 200 && !FileExists(ready); ++waited) Sleep(50);
  EXPECT_TRUE(FileExists(ready)) << "host.exe initialised the plug-in within 10 s";

  FrameSearch search = {process.dwProcessId, nullptr};
  EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.frame, nullptr);
  EXPECT_TRUE(IsZoomed(search.frame));

  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0) << "host.exe ends after 2 s";
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u) << "0: the plug-in initialised, then stopped and unloaded";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileA(ready.c_str());
}
