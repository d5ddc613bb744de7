#include "module/file_helpers.h"

#include "sdk/modal_loops.h"

#include <commdlg.h>

namespace {
// Display text and pattern, each closed by a zero, and a zero after the last.
constexpr char kAllFilesFilter[] = "All (*.*)\0*.*\0";
constexpr DWORD kOpenFileStructSize = 88;
}  // namespace

bool BrowseForFile(HWND owner, char* buffer, DWORD bufferSize) {
  if (buffer == nullptr || bufferSize == 0) return false;
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = kOpenFileStructSize;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kAllFilesFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = bufferSize;
  // Relative paths of the settings (the address files) are read against the
  // current folder, which browsing would otherwise leave where the file was.
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  return ChooseFileToOpen(&dialog);
}

bool FileTimeToHhmmssYyyymmdd(const FILETIME& fileTime, int* date, int* time) {
  SYSTEMTIME system;
  if (!FileTimeToSystemTime(&fileTime, &system)) return false;
  if (date != nullptr) *date = (system.wYear * 100 + system.wMonth) * 100 + system.wDay;
  if (time != nullptr) *time = (system.wHour * 100 + system.wMinute) * 100 + system.wSecond;
  return true;
}
