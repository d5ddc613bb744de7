// A window-state stream held in memory, for tests of what windows save.
#pragma once

#include <cstring>
#include <vector>

#include "sdk/state_stream.h"

class MemoryStateStream : public StateStream {
 public:
  MemoryStateStream() = default;
  explicit MemoryStateStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  void Write(const void* data, uint32_t length) override {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + length);
  }
  bool Read(void* data, uint32_t length) override {
    if (length > bytes_.size() - position_) return false;
    std::memcpy(data, bytes_.data() + position_, length);
    position_ += length;
    return true;
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t Unread() const { return bytes_.size() - position_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};
