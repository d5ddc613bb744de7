// Reading fields of the host's records by byte offset.
#pragma once

#include "sdk/host_api.h"

#include <cstring>
#include <string>

namespace host {
namespace record {

template <typename T>
T Read(const uint8_t* record, int offset) {
  T value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

inline bool ContainsMask(uint32_t flags, uint32_t mask) { return (flags & mask) == mask; }

// Texts in host records are fixed fields; a text longer than the field never matches.
inline bool SameFixedText(const uint8_t* record, int offset, int capacity, const char* text) {
  return text != nullptr && std::strlen(text) < static_cast<size_t>(capacity) &&
         std::strncmp(reinterpret_cast<const char*>(record + offset), text, capacity) == 0;
}

// A fixed text field read no further than its capacity, ended or not.
inline std::string FixedText(const uint8_t* record, int offset, size_t capacity) {
  const char* text = reinterpret_cast<const char*>(record + offset);
  return std::string(text, strnlen(text, capacity));
}

constexpr int kClassCodeCapacity = kClassFlags - kClassCode;

}  // namespace record
}  // namespace host
