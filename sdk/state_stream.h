// The host's window-state stream as the plug-in windows see it: bytes are
// appended when the host saves its layout and read back in the same order
// when it restores it.
#pragma once

#include <stdint.h>

class StateStream {
 public:
  virtual ~StateStream() = default;
  virtual void Write(const void* data, uint32_t length) = 0;
  // False when fewer than `length` bytes are left; the buffer is then
  // not to be used.
  virtual bool Read(void* data, uint32_t length) = 0;

  void WriteU32(uint32_t value) { Write(&value, sizeof value); }
  bool ReadU32(uint32_t* value) { return Read(value, sizeof *value); }
};
