#include "module/notify/message_file.h"

#include <cstdio>
#include <cstring>

namespace {

const int kLastCounter = 9999999;

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates the file only when no file of that name exists; false with the
// system's error code otherwise.
bool CreateNewFile(const std::string& path, const std::string& content, DWORD* error) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return false;
  }
  DWORD written = 0;
  const bool complete = WriteFile(file, content.data(), static_cast<DWORD>(content.size()),
                                  &written, nullptr) && written == content.size();
  *error = complete ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  return complete;
}

}  // namespace

std::vector<std::string> MessageFileDirectories(const std::string& setting) {
  std::vector<std::string> directories;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = setting.find(';', start);
    std::string segment = setting.substr(start, end - start);
    if (!segment.empty()) {
      if (segment.back() != '\\') segment += '\\';
      directories.push_back(segment);
    }
    if (end == std::string::npos) return directories;
    start = end + 1;
  }
}

std::string FileNameSafeCode(const std::string& clientCode) {
  std::string safe;
  for (char c : clientCode) {
    const unsigned char code = static_cast<unsigned char>(c);
    const bool forbidden = code < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr;
    const bool secondDot = c == '.' && !safe.empty() && safe.back() == '.';
    if (secondDot) safe.back() = '_';
    safe += forbidden || secondDot ? '_' : c;
  }
  return safe;
}

std::string MessageFileName(const SYSTEMTIME& time, int counter, const std::string& clientCode) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "Msg%d%02d%02d%02d%02d%02d%04d-", time.wYear, time.wMonth,
                time.wDay, time.wHour, time.wMinute, time.wSecond, counter);
  return stamp + FileNameSafeCode(clientCode) + ".txt";
}

std::string MessageFileUidLine(const std::vector<int>& uids) {
  std::string line = "UID=";
  for (std::size_t i = 0; i < uids.size(); ++i)
    line += (i == 0 ? "" : ", ") + std::to_string(uids[i]);
  return line;
}

std::string MessageFileContent(const std::vector<int>& uids, const std::string& body) {
  const std::string text = MessageFileUidLine(uids) + "\n" + body + "\n";
  // Every line ends with one CR LF: the engine's texts end their lines with
  // LF, a text edited by hand comes with CR LF already.
  std::string content;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) content += '\r';
    content += text[i];
  }
  return content;
}

TMessageFileOutcome WriteMessageFiles(const std::string& directories, const SYSTEMTIME& time,
                                      const std::string& clientCode, const std::string& content) {
  TMessageFileOutcome outcome;
  for (const std::string& directory : MessageFileDirectories(directories)) {
    const std::string named = "\"" + directory + "\" (";
    if (!IsDirectory(directory)) {
      outcome.Failed.push_back(named + "does not exist)");
      continue;
    }
    DWORD error = ERROR_FILE_EXISTS;
    for (int counter = 0; counter <= kLastCounter && error == ERROR_FILE_EXISTS; ++counter) {
      const std::string path = directory + MessageFileName(time, counter, clientCode);
      if (CreateNewFile(path, content, &error)) outcome.Written.push_back(path);
    }
    if (error == ERROR_FILE_EXISTS)
      outcome.Failed.push_back(named + "no free file name)");
    else if (error != ERROR_SUCCESS)
      outcome.Failed.push_back(named + "system error " + std::to_string(error) + ")");
  }
  return outcome;
}
