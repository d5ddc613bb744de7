#include "module/host_data/firm_settings_text.h"

#include "sdk/host_call.h"

#include <cstring>

void CFirmSettingsText::Release() {
  if (m_buffer != nullptr) HostCall<4>(m_buffer);
  m_buffer = nullptr;
  m_length = 0;
}

bool CFirmSettingsText::Fetch(const char* firm) {
  if (m_buffer == nullptr) {
    m_buffer = static_cast<char*>(HostCall<3>(kCapacity + 1));
    if (m_buffer == nullptr) return false;
    std::memset(m_buffer, 0, kCapacity);  // the last byte is set after every fetch
  } else {
    std::memset(m_buffer, 0, m_length);
  }
  const bool delivered = HostCall<130>(firm, m_buffer, static_cast<int>(kCapacity)) == 1;
  m_buffer[kCapacity] = 0;
  m_length = std::strlen(m_buffer);
  return delivered;
}
