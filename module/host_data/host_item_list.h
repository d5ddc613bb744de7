// CHostItemList: one of the module's filter handles, a host list of texts the
// tables offer in their filters. Each text goes to the host once; adding it
// again gives back the host's item from the first time.
#pragma once

#include "sdk/host_api.h"

#include <map>
#include <string>

class CHostItemList {
 public:
  CHostItemList() = default;
  CHostItemList(const CHostItemList&) = delete;
  CHostItemList& operator=(const CHostItemList&) = delete;

  // Host function 52's item for the text.
  uint32_t Add(const std::string& text);
  // Releases the host's entries (host function 51) and forgets the texts.
  void Release();

  host::ItemList* Handle() { return &m_list; }
  const host::ItemList* Handle() const { return &m_list; }
  const std::map<std::string, uint32_t>& Items() const { return m_items; }

 private:
  host::ItemList m_list = {};
  std::map<std::string, uint32_t> m_items;
};
