#include "host/standin/market_model.h"

#include <iterator>

void MarketModel::SetParameter(int securityIndex, const std::string& name, double value) {
  m_parameters[{securityIndex, name}] = value;
}

bool MarketModel::Parameter(int securityIndex, const std::string& name, double* value) const {
  const auto found = m_parameters.find({securityIndex, name});
  if (found == m_parameters.end()) return false;
  *value = found->second;
  return true;
}

void MarketModel::SetClientValue(const std::string& firm, const std::string& client, int number,
                                 ClientValue value) {
  m_clientValues[{firm, client, number}] = value;
}

const ClientValue* MarketModel::FindClientValue(const std::string& firm,
                                                const std::string& client, int number) const {
  const auto found = m_clientValues.find({firm, client, number});
  return found == m_clientValues.end() ? nullptr : &found->second;
}

void MarketModel::SetRefreshWords(uint32_t wordA, uint32_t wordB) {
  m_wordA = wordA;
  m_wordB = wordB;
}

bool MarketModel::IsAccepted(uint32_t key) const {
  const auto found = m_items.find(key);
  return found != m_items.end() && m_accepted.count(found->second.text) != 0;
}

uint32_t MarketModel::AddItem(host::ItemList* list, const std::string& text) {
  const auto known = m_itemKeys.find({list, text});
  if (known != m_itemKeys.end()) return known->second;
  int32_t& capacity = m_capacity[list];
  if (list->entries == nullptr) capacity = 0;
  if (list->count >= capacity) {
    const int32_t grownCapacity = capacity < 16 ? 16 : capacity * 2;
    const size_t bytes = sizeof(host::ItemEntry) * grownCapacity;
    HANDLE heap = GetProcessHeap();
    void* grown = list->entries == nullptr ? HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes)
                                           : HeapReAlloc(heap, HEAP_ZERO_MEMORY, list->entries, bytes);
    if (grown == nullptr) return 0;
    list->entries = static_cast<host::ItemEntry*>(grown);
    capacity = grownCapacity;
  }
  const uint32_t key = m_nextItemKey++;
  Item& item = m_items[key] = Item{text, list, list->count};
  m_itemKeys[{list, text}] = key;
  list->entries[list->count] = {item.text.c_str(), key};
  ++list->count;
  return key;
}

void MarketModel::ClearItems(host::ItemList* list) {
  for (auto it = m_items.begin(); it != m_items.end();)
    it = it->second.list == list ? m_items.erase(it) : std::next(it);
  for (auto it = m_itemKeys.begin(); it != m_itemKeys.end();)
    it = it->first.first == list ? m_itemKeys.erase(it) : std::next(it);
  m_capacity.erase(list);
  if (list->entries != nullptr) HeapFree(GetProcessHeap(), 0, list->entries);
  list->entries = nullptr;
  list->count = 0;
}

int MarketModel::ItemPosition(uint32_t key) const {
  const auto found = m_items.find(key);
  return found == m_items.end() ? -1 : found->second.position;
}

bool MarketModel::TakeFilterChoice(std::vector<std::string>* texts) {
  if (m_filterChoices.empty()) return false;
  *texts = m_filterChoices.front();
  m_filterChoices.erase(m_filterChoices.begin());
  return true;
}

void MarketModel::Clear() {
  m_filterChoices.clear();
  m_parameters.clear();
  m_clientValues.clear();
  m_wordA = m_wordB = 0;
  m_accepted.clear();
  m_items.clear();
  m_itemKeys.clear();
  m_capacity.clear();
  m_nextItemKey = 1;
}
