#include "module/settings/settings_paths.h"

#include <windows.h>

std::string HostProgramFolder() {
  char name[512];
  DWORD length = GetModuleFileNameA(NULL, name, sizeof(name));
  // A name that filled the whole buffer was cut and names no real folder.
  if (length == 0 || length >= sizeof(name)) return std::string();
  return FolderOfPath(std::string(name, length));
}

std::string FolderOfPath(const std::string& path) {
  std::string::size_type slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

std::string SettingsFilePath(const std::string& folder) { return JoinPath(folder, "info.ini"); }
