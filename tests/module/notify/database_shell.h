// The databases that with_databases.sh prepares, read back with their own
// command-line clients from this (Windows) test program.
#pragma once

#include "module/temp_folder.h"

#include <windows.h>

#include <cstdlib>
#include <string>

inline std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The databases' folder as this process sees it.
inline std::string DbFolder() { return "Z:" + Env("VANTREL_DB_DIR"); }

// Runs a shell command line in the databases' folder. Wine starts Unix
// programs but gives no handle to wait on: the command renames its output
// into place when it is done.
inline std::string RunUnix(const std::string& command) {
  static int count = 0;
  std::string out = "out" + std::to_string(++count);
  DeleteFileA((DbFolder() + "/" + out).c_str());
  std::string line = "/bin/sh -c \"cd $VANTREL_DB_DIR && (" + command + ") > " + out +
                     ".part 2>&1; mv " + out + ".part " + out + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return "<cannot start /bin/sh>";
  for (int waited = 0; waited < 300 && !FileExists(DbFolder() + "/" + out); ++waited) Sleep(100);
  return ReadFileBytes(DbFolder() + "/" + out);
}

// Runs SQL on the SQLite file of the data source VanTrelLite: one row a
// line, columns split by "|".
inline std::string SqliteQuery(const std::string& sql) {
  WriteFileBytes(DbFolder() + "/q.sql", sql + ";\n");
  return RunUnix("sqlite3 -bail mc.db < q.sql");
}
