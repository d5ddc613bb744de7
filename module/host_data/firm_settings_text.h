// Firms' broker settings texts as the host delivers them (host function 130)
// into one buffer of the host's own (host functions 3 and 4), taken at the
// first fetch and kept until Release. Every firm announcement and every full
// run fetches texts of up to 5 MB: a fresh buffer is zeroed whole, which
// costs milliseconds, so the buffer is kept and later zeroed only as far as
// the previous text reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CFirmSettingsText {
 public:
  // The most characters of a text the host delivers.
  static constexpr uint32_t kCapacity = 5242880;

  CFirmSettingsText() = default;
  CFirmSettingsText(const CFirmSettingsText&) = delete;
  CFirmSettingsText& operator=(const CFirmSettingsText&) = delete;

  // Replaces the text with the firm's; true when the host said it filled the
  // buffer. A text the host does not deliver leaves an empty text.
  bool Fetch(const char* firm);

  // Gives the buffer back to the host, which must still be there: the owner
  // calls this before the host lets the plug-in go, never from a destructor.
  void Release();

  // The text last fetched, empty when the host had none or gave no buffer.
  std::string_view Text() const { return {m_buffer != nullptr ? m_buffer : "", m_length}; }

 private:
  char* m_buffer = nullptr;
  size_t m_length = 0;  // the buffer is zero beyond the text
};
