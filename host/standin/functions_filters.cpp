// Host functions 50 to 58 and 160: the item lists behind the plug-in's filter
// handles, the tables' filter selections over them, the filter dialog, and
// filters kept in a window's saved state.
#include "host/standin/standin_host.h"

#include <cstring>
#include <string>
#include <vector>

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
bool Holds(const host::ItemList* list, const host::FilterSelection* filter, const char* text) {
  if (list == nullptr || list->entries == nullptr) return false;
  for (int32_t n = 0; n < filter->count; ++n) {
    const int32_t position = filter->positions[n];
    if (position >= 0 && position < list->count && list->entries[position].text != nullptr &&
        std::strcmp(list->entries[position].text, text) == 0)
      return true;
  }
  return false;
}

// The filter becomes the items of these texts, added to the list as needed.
void FillFilter(host::FilterSelection* filter, host::ItemList* list, const std::vector<std::string>& texts) {
  const uint32_t mode = filter->reserved1;
  EmptyFilter(filter);
  filter->reserved1 = mode;
  for (const std::string& text : texts) AddToFilter(Host().Market().AddItem(list, text), filter);
}

// The user's choice queued by the test or scenario; without one, cancelled.
void __stdcall EditFilter(HWND, const char* title, host::ItemList* list, host::FilterSelection* filter) {
  Host().Log().Record(50, title ? title : "");
  std::vector<std::string> texts;
  if (list != nullptr && filter != nullptr && Host().Market().TakeFilterChoice(&texts)) FillFilter(filter, list, texts);
}

void __stdcall CopyFilter(host::FilterSelection* destination, const host::FilterSelection* source) {
  Host().Log().Record(55);
  if (destination == nullptr || source == nullptr || destination == source) return;
  EmptyFilter(destination);
  *destination = *source;
  destination->positions = nullptr;
  if (source->count <= 0) return;
  const size_t bytes = sizeof(int32_t) * source->count;
  destination->positions = static_cast<int32_t*>(HeapAlloc(GetProcessHeap(), 0, bytes));
  if (destination->positions == nullptr) destination->count = 0;
  else std::memcpy(destination->positions, source->positions, bytes);
}

// The exclude mode, the count and the text of each item.
void __stdcall SaveFilter(const host::FilterSelection* filter, const host::ItemList* list) {
  Host().Log().Record(56);
  WindowStateStore& store = Host().SdkWindows().Store();
  const host::FilterSelection none = {};
  if (filter == nullptr) filter = &none;
  std::vector<std::string> texts;
  for (int32_t n = 0; list != nullptr && list->entries != nullptr && n < filter->count; ++n) {
    const int32_t position = filter->positions[n];
    if (position >= 0 && position < list->count && list->entries[position].text != nullptr)
      texts.push_back(list->entries[position].text);
  }
  const uint32_t head[2] = {filter->reserved1, static_cast<uint32_t>(texts.size())};
  store.Write(head, sizeof head);
  for (const std::string& text : texts) store.WriteString(text.c_str());
}

void __stdcall LoadFilter(host::FilterSelection* filter, host::ItemList* list) {
  Host().Log().Record(57);
  WindowStateStore& store = Host().SdkWindows().Store();
  uint32_t head[2] = {};
  if (filter == nullptr || list == nullptr || !store.Read(head, sizeof head)) return;
  std::vector<std::string> texts;
  char text[260];
  for (uint32_t n = 0; n < head[1] && store.ReadString(text); ++n) texts.push_back(text);
  filter->reserved1 = head[0];
  FillFilter(filter, list, texts);
}

// An empty filter lets everything pass; otherwise its items pass, or with the
// exclude mode everything else.
int __stdcall FilterAccepts(const char* text, const host::ItemList* list, const host::FilterSelection* filter) {
  Host().Log().Record(58, text ? text : "");
  if (filter == nullptr || filter->count <= 0) return 1;
  const bool held = text != nullptr && Holds(list, filter, text);
  return (filter->reserved1 == 1 ? !held : held) ? 1 : 0;
}
}  // namespace

void InstallFilterFunctions(StandInHost& host) {
  host.Install<50>(EditFilter);
  host.Install<51>(ClearItemList);
  host.Install<52>(AddItem);
  host.Install<53>(IsFilterActive);
  host.Install<54>(EmptyFilter);
  host.Install<55>(CopyFilter);
  host.Install<56>(SaveFilter);
  host.Install<57>(LoadFilter);
  host.Install<58>(FilterAccepts);
  host.Install<160>(AddToFilter);
}
