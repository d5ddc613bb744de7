#include "module/host_data/host_item_list.h"

#include "sdk/host_call.h"

uint32_t CHostItemList::Add(const std::string& text) {
  const auto found = m_items.find(text);
  if (found != m_items.end()) return found->second;
  const uint32_t item = HostCall<52>(&m_list, text.c_str());
  m_items.emplace(text, item);
  return item;
}

void CHostItemList::Release() {
  HostCall<51>(&m_list);
  m_items.clear();
}
