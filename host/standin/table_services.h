// The host's list service and table service as the stand-in offers them:
// inert by default (nothing runs, nothing is saved), or switched on so that
// a test sees what the tables report to them.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <map>
#include <string>
#include <vector>

class WindowStateStore;

class TableServices {
 public:
  explicit TableServices(WindowStateStore& store) : store_(store) {}

  void SetOn(bool on) { on_ = on; }
  bool IsOn() const { return on_; }
  // Answers of host functions 171 and 172 for every list service; the
  // second also marks new table-service blocks to start on message 4045.
  void SetRestartFlags(bool afterRestore, bool onMessage) {
    restartAfterRestore_ = afterRestore;
    startOnMessage_ = onMessage;
  }
  // The next row report (host function 169) fails with this text.
  void FailNextRowReport(const std::string& text) { failNextReport_ = text; }
  // The list dialog (host function 177) shows a box titled with the list's
  // first title until the user closes it, as the host's own dialog runs
  // its loop.
  void SetListDialogShown(bool shown) { listDialogShown_ = shown; }

  // What the services were told, one line per call, e.g. "169 3 1".
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  const std::vector<std::string>& Errors() const { return errors_; }
  bool ListServiceRunning(int id) const;
  // The list settings registered for a service id (host function 163).
  std::vector<uint8_t> RegisteredSettings(int id) const;

  // Host functions.
  void FillDefaultBlock(void* block);                                           // 81
  int StartTableService(void* callbacks, int flag);                             // 83
  void InitTableBlock(uint32_t* block);                                         // 84
  int StopTableService(uint32_t* block);                                        // 85
  void SaveTableSettings(uint32_t* block);                                      // 86
  void LoadTableSettings(uint32_t* block);                                      // 87
  void ReportTableRow(uint32_t* block, void* row, int operation);               // 88
  void RegisterList(int32_t* id, const void* settings, uint32_t length);        // 163, 164
  int StartList(int id, int flag, const char* caption, char* error, int size);    // 165
  int StopList(int id, int* wasRunning, char* error, int size);                 // 166
  void ListCleared(int id);                                                     // 167
  void ReleaseList(int id);                                                     // 168
  int ReportListRow(int id, int line, int operation, char* error, int size);    // 169
  int ListRunning(int id) const;                                                // 170
  int RestartAfterRestore(int id) const;                                        // 171
  int StartOnMessage(int id) const;                                             // 172
  int GetListSettings(int id, void** data, uint32_t* length);                   // 173
  void FreeListSettings(void* data);                                            // 174
  void ReleaseTable(int which, uint32_t* block);                                // 175, 176
  int RunListDialog(void* view, HWND table, void* dimensions, void* cell, char* error, int size);  // 177
  void ReportError(const char* text);                                           // 45

 private:
  void Note(const std::string& line) { log_.push_back(line); }

  WindowStateStore& store_;
  bool on_ = false;
  bool restartAfterRestore_ = false;
  bool startOnMessage_ = false;
  std::string failNextReport_;
  bool listDialogShown_ = false;
  int nextId_ = 1;
  std::map<int, bool> running_;
  std::map<int, std::vector<uint8_t>> settings_;
  std::vector<std::string> log_;
  std::vector<std::string> errors_;
};

// Indexes of the table-service block dwords the tables read.
enum { kTableBlockRunning = 14, kTableBlockStartAfterRestore = 20, kTableBlockStartOnMessage = 21 };
