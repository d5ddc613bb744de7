// A firm's broker settings text as the host delivers it (host function 130)
// into a buffer of the host's own (host functions 3 and 4), held for as long
// as this object lives.
#pragma once

#include <cstdint>

class CFirmSettingsText {
 public:
  // The most characters of a text the host delivers.
  static constexpr uint32_t kCapacity = 5242880;

  explicit CFirmSettingsText(const char* firm);
  ~CFirmSettingsText();
  CFirmSettingsText(const CFirmSettingsText&) = delete;
  CFirmSettingsText& operator=(const CFirmSettingsText&) = delete;

  // True when the host said it filled the buffer.
  bool Delivered() const { return m_delivered; }
  // The text, empty when the host had none or gave no buffer; always terminated.
  const char* Text() const { return m_buffer != nullptr ? m_buffer : ""; }

 private:
  char* m_buffer = nullptr;
  bool m_delivered = false;
};
