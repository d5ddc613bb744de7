// Host functions 51 to 54 and 160: the item lists behind the plug-in's filter
// handles and the tables' filter selections over them.
#include "host/standin/standin_host.h"

#include <string>

namespace {
StandInHost& Host() { return *StandInHost::Current(); }

void __stdcall ClearItemList(host::ItemList* list) {
  Host().Log().Record(51);
  if (list != nullptr) Host().Market().ClearItems(list);
}

uint32_t __stdcall AddItem(host::ItemList* list, const char* text) {
  Host().Log().Record(52, text ? text : "");
  return list != nullptr && text != nullptr ? Host().Market().AddItem(list, text) : 0;
}

int __stdcall IsFilterActive(const host::FilterSelection* filter) {
  Host().Log().Record(53);
  return filter != nullptr && filter->count > 0 ? 1 : 0;
}

void __stdcall EmptyFilter(host::FilterSelection* filter) {
  Host().Log().Record(54);
  if (filter == nullptr) return;
  if (filter->positions != nullptr) HeapFree(GetProcessHeap(), 0, filter->positions);
  *filter = host::FilterSelection{};
}

// The selection's array is a host buffer (host function 3), so it grows on the
// same heap.
void __stdcall AddToFilter(uint32_t item, host::FilterSelection* filter) {
  Host().Log().Record(160, std::to_string(item));
  const int position = Host().Market().ItemPosition(item);
  if (filter == nullptr || position < 0) return;
  const size_t bytes = sizeof(int32_t) * (filter->count + 1);
  HANDLE heap = GetProcessHeap();
  void* grown = filter->positions == nullptr
                    ? HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes)
                    : HeapReAlloc(heap, HEAP_ZERO_MEMORY, filter->positions, bytes);
  if (grown == nullptr) return;
  filter->positions = static_cast<int32_t*>(grown);
  filter->positions[filter->count++] = position;
}
}  // namespace

void InstallFilterFunctions(StandInHost& host) {
  host.Install<51>(ClearItemList);
  host.Install<52>(AddItem);
  host.Install<53>(IsFilterActive);
  host.Install<54>(EmptyFilter);
  host.Install<160>(AddToFilter);
}
