#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Message files: one text file per margin call in each directory that the
// setting MC2ZDirectories lists, which another program picks up.

// The directories of the ";"-separated setting, each ending in "\"; empty
// segments name no directory.
std::vector<std::string> MessageFileDirectories(const std::string& setting);

// The client code as a part of a file name: path separators, characters a
// file name cannot hold and ".." become "_", so the file stays in its
// directory.
std::string FileNameSafeCode(const std::string& clientCode);

// "Msg<YYYYMMDDhhmmss><counter, at least 4 digits>-<client code>.txt".
std::string MessageFileName(const SYSTEMTIME& time, int counter, const std::string& clientCode);

// "UID=<first>, <second>..." — the first line of the file and the log's
// account of where the call went.
std::string MessageFileUidLine(const std::vector<int>& uids);

// The file's bytes: the UID line and the body, each ending in a line break,
// every line break written as CR LF.
std::string MessageFileContent(const std::vector<int>& uids, const std::string& body);

// A directory that took no file: "<directory>" (why), the why being "does
// not exist", "no free file name" or "system error <code>".
struct TMessageFileOutcome {
  std::vector<std::string> Written;  // full paths of the files created
  std::vector<std::string> Failed;   // one per directory that took none
};

// Creates one new file per directory under the first free counter of that
// second; an existing file is never opened, so a file that a reader holds or
// a call of the same second wrote stays as it is. A directory that fails is
// reported and the next one still gets its file.
TMessageFileOutcome WriteMessageFiles(const std::string& directories, const SYSTEMTIME& time,
                                      const std::string& clientCode, const std::string& content);
