#include "module/settings/settings_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(SettingsPathsTest, SettingsFileSitsInTheFolderWithOneBackslash) {
  EXPECT_EQ(SettingsFilePath("C:\\Host"), "C:\\Host\\info.ini");
  EXPECT_EQ(JoinPath("C:\\Host", "SFRBodyFP"), "C:\\Host\\SFRBodyFP");
}

TEST(SettingsPathsTest, FolderOfPathCutsBeforeTheLastBackslash) {
  EXPECT_EQ(FolderOfPath("C:\\Host\\info.ini"), "C:\\Host");
  EXPECT_EQ(FolderOfPath("C:\\a\\b\\host.exe"), "C:\\a\\b");
  EXPECT_EQ(FolderOfPath("host.exe"), "host.exe");
}

TEST(SettingsPathsTest, HostProgramFolderIsTheFolderOfTheRunningExecutable) {
  char name[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, name, sizeof(name));
  ASSERT_GT(length, 0u);
  std::string folder = HostProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(folder + "\\", std::string(name).substr(0, folder.size() + 1));
  EXPECT_EQ(std::string(name).find('\\', folder.size() + 1), std::string::npos);
  EXPECT_EQ(SettingsFilePath(folder).find("\\\\"), std::string::npos);
}

}  // namespace
