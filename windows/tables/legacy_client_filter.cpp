#include "windows/tables/legacy_client_filter.h"

#include <cstring>

#include "sdk/host_call.h"

namespace {
constexpr uint32_t kExcludeMode = 1;

// The host says whether a text passes; with the filter's mode that tells
// whether the filter holds the text.
bool Holds(const host::FilterSelection& filter, const host::ItemList* clients, const char* text) {
  if (HostCall<53>(&filter) == 0) return false;
  const bool passes = HostCall<58>(text, clients, &filter) != 0;
  return filter.reserved1 == kExcludeMode ? !passes : passes;
}
}  // namespace

void DropLegacyClientFilter(host::FilterSelection& filter, const host::ItemList* clients,
                            const std::function<void()>& dropItems) {
  if (clients == nullptr || clients->entries == nullptr) return;
  bool legacy = false, held = false;
  for (int32_t n = 0; n < clients->count; ++n) {
    const char* text = clients->entries[n].text;
    if (text != nullptr && std::strchr(text, '(') != nullptr) continue;
    legacy = true;
    if (text != nullptr && Holds(filter, clients, text)) held = true;
  }
  if (held) HostCall<54>(&filter);
  if (legacy && HostCall<53>(&filter) == 0) dropItems();
}
