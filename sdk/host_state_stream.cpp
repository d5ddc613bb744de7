#include "sdk/host_state_stream.h"

#include "sdk/host_call.h"

void HostStateStream::Write(const void* data, uint32_t length) {
  HostCall<62>(data, length);
}

bool HostStateStream::Read(void* data, uint32_t length) {
  return HostCall<63>(data, length) != 0;
}
