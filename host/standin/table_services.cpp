#include "host/standin/table_services.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/standin/window_state_store.h"

namespace {

const uint32_t kTableSettingsMarker = 0x54535643;  // what the table service writes into a layout

std::string Line(const char* format, int a, int b = 0, int c = 0) {
  char text[64];
  snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void CopyError(char* error, int size, const std::string& text) {
  if (error && size > 0) lstrcpynA(error, text.c_str(), size);
}

typedef int(__stdcall* DimensionsCallback)(void*, int*, int*, int*, int*);
typedef double(__stdcall* CellCallback)(void*, int, int, int, int, char*, int, int*);
typedef int(__stdcall* CountCallback)(void*);
typedef const char*(__stdcall* TitleCallback)(void*, int);

}  // namespace

bool TableServices::ListServiceRunning(int id) const {
  auto it = running_.find(id);
  return it != running_.end() && it->second;
}

std::vector<uint8_t> TableServices::RegisteredSettings(int id) const {
  auto it = settings_.find(id);
  return it == settings_.end() ? std::vector<uint8_t>() : it->second;
}

void TableServices::FillDefaultBlock(void* block) {
  if (!block) return;
  uint32_t size = 532;
  std::memcpy(block, &size, sizeof size);
  Note("81");
}

int TableServices::StartTableService(void* callbacks, int flag) {
  Note(Line("83 %d", flag));
  if (!on_ || !callbacks) return 0;
  auto* words = static_cast<uint32_t*>(callbacks);
  if (words[0] != 64) return 0;
  auto* block = reinterpret_cast<uint32_t*>(words[3]);
  void* view = reinterpret_cast<void*>(words[4]);
  // The service reads the shown columns through the table's callbacks.
  auto count = reinterpret_cast<CountCallback>(words[5]);
  auto title = reinterpret_cast<TitleCallback>(words[7]);
  int columns = count ? count(view) : 0;
  std::string titles;
  for (int i = 0; i < columns && title; ++i) {
    const char* t = title(view, i);
    titles += std::string(i ? "|" : "") + (t ? t : "");
  }
  Note("83 columns " + titles);
  if (block) block[kTableBlockRunning] = 1;
  return 1;
}

void TableServices::InitTableBlock(uint32_t* block) {
  if (!block) return;
  std::memset(block, 0, 672);
  block[kTableBlockStartOnMessage] = on_ && startOnMessage_ ? 1 : 0;
  Note("84");
}

int TableServices::StopTableService(uint32_t* block) {
  if (!block) return 0;
  int was = block[kTableBlockRunning] ? 1 : 0;
  block[kTableBlockRunning] = 0;
  Note(Line("85 %d", was));
  return was;
}

void TableServices::SaveTableSettings(uint32_t* block) {
  if (!on_ || !block) return;
  store_.Write(&kTableSettingsMarker, sizeof kTableSettingsMarker);
  store_.Write(&block[kTableBlockStartAfterRestore], 4);
  Note("86");
}

void TableServices::LoadTableSettings(uint32_t* block) {
  if (!on_ || !block) return;
  uint32_t marker = 0, restart = 0;
  if (store_.Read(&marker, 4) && marker == kTableSettingsMarker && store_.Read(&restart, 4))
    block[kTableBlockStartAfterRestore] = restart;
  Note("87");
}

void TableServices::ReportTableRow(uint32_t*, void* row, int operation) {
  Note(Line("88 %d %d", row ? 1 : 0, operation));
}

void TableServices::RegisterList(int32_t* id, const void* settings, uint32_t length) {
  if (!id) return;
  if (*id == 0) *id = nextId_++;
  const auto* bytes = static_cast<const uint8_t*>(settings);
  settings_[*id] = bytes ? std::vector<uint8_t>(bytes, bytes + length) : std::vector<uint8_t>();
  Note(Line("163 %d %d", *id, static_cast<int>(length)));
}

int TableServices::StartList(int id, int flag, const char* caption, char*, int) {
  Note(Line("165 %d %d", id, flag) + " " + (caption ? caption : ""));
  if (!on_) return 0;
  running_[id] = true;
  return 1;
}

int TableServices::StopList(int id, int* wasRunning, char* error, int size) {
  Note(Line("166 %d", id));
  if (wasRunning) *wasRunning = ListServiceRunning(id) ? 1 : 0;
  running_[id] = false;
  return 1;
}

void TableServices::ListCleared(int id) { Note(Line("167 %d", id)); }

void TableServices::ReleaseList(int id) {
  running_[id] = false;
  Note(Line("168 %d", id));
}

int TableServices::ReportListRow(int id, int line, int operation, char* error, int size) {
  Note(Line("169 %d %d", line, operation));
  if (!failNextReport_.empty()) {
    CopyError(error, size, failNextReport_);
    failNextReport_.clear();
    return 0;
  }
  return 1;
}

int TableServices::ListRunning(int id) const { return on_ && ListServiceRunning(id) ? 1 : 0; }
int TableServices::RestartAfterRestore(int) const { return on_ && restartAfterRestore_ ? 1 : 0; }
int TableServices::StartOnMessage(int) const { return on_ && startOnMessage_ ? 1 : 0; }

int TableServices::GetListSettings(int id, void** data, uint32_t* length) {
  if (!on_ || !data || !length) return 0;
  std::vector<uint8_t> bytes = RegisteredSettings(id);
  if (bytes.empty()) bytes = {'L', 'S', static_cast<uint8_t>(id)};
  *data = std::malloc(bytes.size());
  if (!*data) return 0;
  std::memcpy(*data, bytes.data(), bytes.size());
  *length = static_cast<uint32_t>(bytes.size());
  Note(Line("173 %d %d", id, static_cast<int>(bytes.size())));
  return 1;
}

void TableServices::FreeListSettings(void* data) {
  std::free(data);
  Note("174");
}

void TableServices::ReleaseTable(int which, uint32_t*) { Note(Line("%d", which)); }

int TableServices::RunListDialog(void* view, HWND, void* dimensions, void* cell, char* error, int size) {
  if (!on_) return 1;
  int rows = 0, fixed = 0, columns = 0, fourth = 0;
  auto dims = reinterpret_cast<DimensionsCallback>(dimensions);
  if (!dims || !dims(view, &rows, &fixed, &columns, &fourth)) {
    CopyError(error, size, "no list");
    return 0;
  }
  char title[256] = {};
  int textFlag = 0;
  auto cellOf = reinterpret_cast<CellCallback>(cell);
  if (cellOf && columns > 1) cellOf(view, 0, 0, 0, 1, title, sizeof title, &textFlag);
  Note(Line("177 %d %d %d", rows, fixed, columns) + " " + title);
  if (listDialogShown_) MessageBoxA(nullptr, title, "Список", MB_OK);
  return 1;
}

void TableServices::ReportError(const char* text) {
  errors_.push_back(text ? text : "");
  Note("45");
}
