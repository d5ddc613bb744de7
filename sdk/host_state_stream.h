// The host's window-state stream through host functions 62 (write) and 63
// (read).
#pragma once

#include "sdk/state_stream.h"

class HostStateStream : public StateStream {
 public:
  void Write(const void* data, uint32_t length) override;
  bool Read(void* data, uint32_t length) override;
};
