// The heaps of the test's process, each validated: a write into a freed
// block shows under Wine's heap checks (WINEDEBUG=warn+heap). The C++
// objects live in the C runtime's own heap, not in the process heap, so
// every heap is asked.
#pragma once

#include <windows.h>

#include <vector>

inline bool EveryHeapIsValid() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr));
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  for (HANDLE heap : heaps)
    if (!HeapValidate(heap, 0, nullptr)) return false;
  return !heaps.empty();
}
