// The host's saved layout of plug-in windows, kept in memory: one record per
// window, written between a begin and an end of a section and read back in
// the same way when the layout is restored.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

class WindowStateStore {
 public:
  // Second value of a section begun for reading: the first is the record.
  static const uint32_t kRestoreTag = 0x52455354;

  void BeginSection(uint32_t a, uint32_t b);
  // A section read ends here: bytes it left unread are dropped.
  void EndSection();
  void AfterWindowSaved(uint32_t hostValue) { savedWindows_.push_back(hostValue); }

  void Write(const void* data, uint32_t length);
  // False past the end of the record, or outside a section read.
  bool Read(void* data, uint32_t length);
  void WriteString(const char* text);
  // Reads into a buffer of 260 bytes, always terminated.
  bool ReadString(char* buffer);

  const std::vector<std::vector<uint8_t>>& Records() const { return records_; }
  std::vector<std::vector<uint8_t>>& Records() { return records_; }
  const std::vector<uint32_t>& SavedWindows() const { return savedWindows_; }
  void Clear();
  bool InSection() const { return mode_ != Mode::None; }

 private:
  enum class Mode { None, Writing, Reading } mode_ = Mode::None;
  std::vector<std::vector<uint8_t>> records_;
  std::vector<uint8_t> writing_;
  const std::vector<uint8_t>* reading_ = nullptr;
  size_t position_ = 0;
  std::vector<uint32_t> savedWindows_;
};
