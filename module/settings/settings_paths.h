#pragma once

#include <string>

// Where the module's files live: info.ini, the message-body files and the log
// all sit in the host program's folder.

// The folder of the host program's executable, without a trailing "\";
// empty when the executable's name cannot be had.
std::string HostProgramFolder();

// The part of a path before its last "\"; the whole path when it has none.
std::string FolderOfPath(const std::string& path);

// folder + "\" + name.
std::string JoinPath(const std::string& folder, const std::string& name);

// The settings file of a folder: folder + "\info.ini".
std::string SettingsFilePath(const std::string& folder);
