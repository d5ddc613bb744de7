#include "host/standin/window_state_store.h"

#include <cstring>

void WindowStateStore::BeginSection(uint32_t a, uint32_t b) {
  EndSection();
  if (b == kRestoreTag) {
    if (a >= records_.size()) return;
    mode_ = Mode::Reading;
    reading_ = &records_[a];
    position_ = 0;
  } else {
    mode_ = Mode::Writing;
    writing_.clear();
  }
}

void WindowStateStore::EndSection() {
  if (mode_ == Mode::Writing) records_.push_back(writing_);
  mode_ = Mode::None;
  writing_.clear();
  reading_ = nullptr;
  position_ = 0;
}

void WindowStateStore::Write(const void* data, uint32_t length) {
  if (mode_ != Mode::Writing || !data) return;
  const auto* bytes = static_cast<const uint8_t*>(data);
  writing_.insert(writing_.end(), bytes, bytes + length);
}

bool WindowStateStore::Read(void* data, uint32_t length) {
  if (mode_ != Mode::Reading || !data || length > reading_->size() - position_) return false;
  std::memcpy(data, reading_->data() + position_, length);
  position_ += length;
  return true;
}

void WindowStateStore::WriteString(const char* text) {
  uint32_t length = text ? static_cast<uint32_t>(std::strlen(text)) : 0;
  Write(&length, sizeof length);
  Write(text, length);
}

bool WindowStateStore::ReadString(char* buffer) {
  if (!buffer) return false;
  buffer[0] = 0;
  uint32_t length = 0;
  if (!Read(&length, sizeof length) || length > reading_->size() - position_) return false;
  std::string text(length, '\0');
  if (length && !Read(&text[0], length)) return false;
  size_t kept = text.size() < 259 ? text.size() : 259;
  std::memcpy(buffer, text.data(), kept);
  buffer[kept] = 0;
  return true;
}

void WindowStateStore::Clear() {
  EndSection();
  records_.clear();
  savedWindows_.clear();
}
